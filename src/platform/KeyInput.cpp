#include "KeyInput.h"

#include <SDL.h>

#include <utility>

#include "DrawRevision.h"

namespace {
struct NamedKey {
  SDL_Keycode code;
  const char* name;
};

constexpr NamedKey kNamedKeys[] = {
    {SDLK_RIGHT, "Right"},
    {SDLK_LEFT, "Left"},
    {SDLK_UP, "Up"},
    {SDLK_DOWN, "Down"},
    {SDLK_PAGEUP, "PageUp"},
    {SDLK_PAGEDOWN, "PageDown"},
    {SDLK_HOME, "Home"},
    {SDLK_END, "End"},
    {SDLK_SPACE, "Space"},
    {SDLK_ESCAPE, "Escape"},
    {SDLK_RETURN, "Enter"},
    {SDLK_TAB, "Tab"},
    {SDLK_BACKSPACE, "Backspace"},
    {SDLK_DELETE, "Delete"},
    {SDLK_MINUS, "Minus"},
    {SDLK_EQUALS, "Plus"},  // "=" and "+" share a key
    {SDLK_PLUS, "Plus"},
    // The keypad's keys go by the names of the main keys of the same meaning.
    {SDLK_KP_ENTER, "Enter"},
    {SDLK_KP_MINUS, "Minus"},
    {SDLK_KP_PLUS, "Plus"},
};

bool isLatinLetter(std::int32_t keycode) {
  return keycode >= SDLK_a && keycode <= SDLK_z;
}

bool isDigit(std::int32_t keycode) {
  return keycode >= SDLK_0 && keycode <= SDLK_9;
}

bool isLetterPlace(std::int32_t scancode) {
  return scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
}

std::optional<std::string> nameOf(std::int32_t keycode, std::int32_t scancode) {
  for (const NamedKey& k : kNamedKeys)
    if (keycode == k.code) return k.name;
  if (isLatinLetter(keycode)) return std::string(1, char('A' + (keycode - SDLK_a)));
  if (isDigit(keycode)) return std::string(1, char('0' + (keycode - SDLK_0)));
  // A layout without a Latin letter there: the letter the key's place has.
  if (isLetterPlace(scancode)) return std::string(1, char('A' + (scancode - SDL_SCANCODE_A)));
  return std::nullopt;
}
}  // namespace

KeyInput& KeyInput::shared() {
  static KeyInput input;
  return input;
}

void KeyInput::press(const KeyStroke& press) {
  DrawRevision::bump();
  if (keyHandler_) keyHandler_(press);
}

void KeyInput::roll(int notches) {
  DrawRevision::bump();
  if (notches != 0 && wheelHandler_) wheelHandler_(notches);
}

std::optional<KeyStroke> KeyInput::fromWindowKey(std::int32_t keycode, std::int32_t scancode,
                                                 std::uint16_t modifiers, bool repeat) {
  // Ctrl+Q must not read as Q, nor Alt+Left as a page turn behind the window manager's back.
  if (modifiers & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) return std::nullopt;
  if (auto name = nameOf(keycode, scancode))
    return KeyStroke{std::move(*name), repeat, (modifiers & KMOD_SHIFT) != 0};
  return std::nullopt;
}

int KeyInput::notchesFromWindowWheel(std::int32_t steps, bool flipped) {
  // The window system counts steps away from the reader as positive.
  return flipped ? steps : -steps;
}
