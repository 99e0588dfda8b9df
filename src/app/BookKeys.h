#pragma once
#include <optional>
#include <string>
#include <vector>

// The keys the book answers to, by the names the key input gives them.
enum class BookKey {
  Right,
  Left,
  PageDown,
  PageUp,
  Space,
  Home,
  Escape,
  Enter,
  G,
  A,
  Minus,
  Plus,
  M,
  N,
  H,
  R,
  S,
  V
};

// The keys' names as key input and scripts give them: "Right", "Left",
// "PageDown", "PageUp", "Space", "Home", "Escape", "Enter", "G", "A", "Minus",
// "Plus", "M", "N", "H", "R", "S", "V". Apart from KeyCommands, so that what
// only reads names (scripts) needs nothing of the book.
class BookKeys {
 public:
  static std::optional<BookKey> named(const std::string& name);
  static std::string nameOf(BookKey key);
  static const std::vector<BookKey>& all();
};
