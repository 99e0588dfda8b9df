#include "KeyInput.h"

#include <SDL.h>

#include <utility>

namespace {
struct KeyName {
  Key key;
  const char* name;
  SDL_Keycode code;
  SDL_Scancode place;  // for letters only
};

constexpr KeyName kKeys[] = {
    {Key::Right, "Right", SDLK_RIGHT, SDL_SCANCODE_UNKNOWN},
    {Key::Left, "Left", SDLK_LEFT, SDL_SCANCODE_UNKNOWN},
    {Key::PageDown, "PageDown", SDLK_PAGEDOWN, SDL_SCANCODE_UNKNOWN},
    {Key::PageUp, "PageUp", SDLK_PAGEUP, SDL_SCANCODE_UNKNOWN},
    {Key::Space, "Space", SDLK_SPACE, SDL_SCANCODE_UNKNOWN},
    {Key::Home, "Home", SDLK_HOME, SDL_SCANCODE_UNKNOWN},
    {Key::Escape, "Escape", SDLK_ESCAPE, SDL_SCANCODE_UNKNOWN},
    {Key::Enter, "Enter", SDLK_RETURN, SDL_SCANCODE_UNKNOWN},
    {Key::Minus, "Minus", SDLK_MINUS, SDL_SCANCODE_UNKNOWN},
    // Plus shares its key with "=" on most layouts.
    {Key::Plus, "Plus", SDLK_EQUALS, SDL_SCANCODE_UNKNOWN},
    // The keypad's keys of the same meaning, without names of their own.
    {Key::Enter, "", SDLK_KP_ENTER, SDL_SCANCODE_UNKNOWN},
    {Key::Minus, "", SDLK_KP_MINUS, SDL_SCANCODE_UNKNOWN},
    {Key::Plus, "", SDLK_KP_PLUS, SDL_SCANCODE_UNKNOWN},
    {Key::Plus, "", SDLK_PLUS, SDL_SCANCODE_UNKNOWN},
    {Key::M, "M", SDLK_m, SDL_SCANCODE_M},
    {Key::N, "N", SDLK_n, SDL_SCANCODE_N},
    {Key::H, "H", SDLK_h, SDL_SCANCODE_H},
    {Key::R, "R", SDLK_r, SDL_SCANCODE_R},
    {Key::S, "S", SDLK_s, SDL_SCANCODE_S},
};

bool isLatinLetter(std::int32_t keycode) {
  return keycode >= SDLK_a && keycode <= SDLK_z;
}
}  // namespace

KeyInput& KeyInput::shared() {
  static KeyInput input;
  return input;
}

void KeyInput::press(const KeyStroke& press) {
  if (keyHandler_) keyHandler_(press);
}

void KeyInput::roll(int notches) {
  if (notches != 0 && wheelHandler_) wheelHandler_(notches);
}

std::optional<Key> KeyInput::keyNamed(const std::string& name) {
  for (const KeyName& k : kKeys)
    if (!name.empty() && name == k.name) return k.key;
  return std::nullopt;
}

std::string KeyInput::nameOf(Key key) {
  for (const KeyName& k : kKeys)
    if (k.key == key) return k.name;
  return {};
}

const std::vector<Key>& KeyInput::allKeys() {
  static const std::vector<Key> keys = [] {
    std::vector<Key> all;
    for (const KeyName& k : kKeys)
      if (*k.name) all.push_back(k.key);
    return all;
  }();
  return keys;
}

std::optional<KeyStroke> KeyInput::fromWindowKey(std::int32_t keycode, std::int32_t scancode,
                                                 std::uint16_t modifiers, bool repeat) {
  // Ctrl+Q must not read as Q, nor Alt+Left as a page turn behind the window manager's back.
  if (modifiers & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) return std::nullopt;
  for (const KeyName& k : kKeys)
    if (keycode == k.code) return KeyStroke{k.key, repeat};
  if (isLatinLetter(keycode)) return std::nullopt;
  for (const KeyName& k : kKeys)
    if (k.place != SDL_SCANCODE_UNKNOWN && scancode == k.place) return KeyStroke{k.key, repeat};
  return std::nullopt;
}

int KeyInput::notchesFromWindowWheel(std::int32_t steps, bool flipped) {
  // The window system counts steps away from the reader as positive.
  return flipped ? steps : -steps;
}
