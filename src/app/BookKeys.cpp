#include "BookKeys.h"

namespace {
struct KeyName {
  BookKey key;
  const char* name;
};
constexpr KeyName kKeyNames[] = {
    {BookKey::Right, "Right"},   {BookKey::Left, "Left"},   {BookKey::PageDown, "PageDown"},
    {BookKey::PageUp, "PageUp"}, {BookKey::Space, "Space"}, {BookKey::Home, "Home"},
    {BookKey::Escape, "Escape"}, {BookKey::Enter, "Enter"}, {BookKey::G, "G"},
    {BookKey::A, "A"},           {BookKey::Minus, "Minus"}, {BookKey::Plus, "Plus"},
    {BookKey::M, "M"},           {BookKey::N, "N"},         {BookKey::H, "H"},
    {BookKey::R, "R"},           {BookKey::S, "S"},         {BookKey::V, "V"},
};
}  // namespace

std::optional<BookKey> BookKeys::named(const std::string& name) {
  for (const KeyName& k : kKeyNames)
    if (name == k.name) return k.key;
  return std::nullopt;
}

std::string BookKeys::nameOf(BookKey key) {
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return {};
}

const std::vector<BookKey>& BookKeys::all() {
  static const std::vector<BookKey> keys = [] {
    std::vector<BookKey> all;
    for (const KeyName& k : kKeyNames) all.push_back(k.key);
    return all;
  }();
  return keys;
}
