#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// A key pressed, by its name: "Right", "Left", "Up", "Down", "PageUp",
// "PageDown", "Home", "End", "Space", "Escape", "Enter", "Tab", "Backspace",
// "Delete", "Minus", "Plus" (the "=" key, shifted or not), a Latin letter "A" to "Z" or a digit "0"
// to "9". Window keys (F11, Ctrl+Q, Ctrl+R) stay with the host. Shift comes along with the key.
struct KeyStroke {
  std::string key;
  bool repeat = false;  // sent by the keyboard's auto-repeat while the key is held
  bool shift = false;   // pressed with Shift
  bool operator==(const KeyStroke&) const = default;
};

// Keyboard and mouse wheel of a desktop window, handed to one listener each.
// The window's event pump feeds it, and scripts feed it by key name; the
// listener decides which keys mean something.
class KeyInput {
 public:
  static KeyInput& shared();

  using KeyHandler = std::function<void(const KeyStroke&)>;
  // Notches rolled: positive towards the reader (scrolling down), negative away.
  using WheelHandler = std::function<void(int notches)>;
  void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }
  void setWheelHandler(WheelHandler handler) { wheelHandler_ = std::move(handler); }

  void press(const KeyStroke& press);
  void roll(int notches);

  // From the window system's key code, physical key and modifier bits: nothing
  // for keys without a name above and for chords with Ctrl, Alt or the system
  // key. Letters go by the layout, or by their place when the layout has no
  // Latin letter there (a Russian keyboard's M key types "ь").
  static std::optional<KeyStroke> fromWindowKey(std::int32_t keycode, std::int32_t scancode,
                                                std::uint16_t modifiers, bool repeat);
  // From the window system's wheel event: its vertical steps, and whether the
  // system reports them flipped ("natural" scrolling).
  static int notchesFromWindowWheel(std::int32_t steps, bool flipped);

 private:
  KeyHandler keyHandler_;
  WheelHandler wheelHandler_;
};
