#include "UIFont.h"

#include <cmath>

namespace {
struct FontAlias {
  const char* name;
  const char* family;
  bool bold;
  bool italic;
};

// The device's font names the book and the engine use. A family may be a list:
// the first installed one draws, and each later one supplies the glyphs the
// earlier ones lack. The rounded face of the narration is Comfortaa (Latin,
// Cyrillic and the typographic punctuation); DejaVu stands behind it.
// Lines are 1.2 em apart, as the device's fonts space them.
constexpr FontAlias kAliases[] = {
    {"ArialRoundedMTBold", "Comfortaa,DejaVu Sans", true, false},
    {"Arial Rounded MT Bold", "Comfortaa,DejaVu Sans", true, false},
    {"Marker Felt", "DejaVu Sans Condensed", true, false},
    {"MarkerFelt-Thin", "DejaVu Sans Condensed", false, false},
    {"MarkerFelt-Wide", "DejaVu Sans Condensed", true, false},
    {"Arial", "DejaVu Sans", false, false},
    {"ArialMT", "DejaVu Sans", false, false},
    {"Arial-BoldMT", "DejaVu Sans", true, false},
    {"Helvetica", "DejaVu Sans", false, false},
    {"Helvetica-Bold", "DejaVu Sans", true, false},
    {"Helvetica-Oblique", "DejaVu Sans", false, true},
    {"Georgia", "DejaVu Serif", false, false},
    {"Times New Roman", "DejaVu Serif", false, false},
    {"TimesNewRomanPSMT", "DejaVu Serif", false, false},
    {"Courier", "DejaVu Sans Mono", false, false},
    {"Courier New", "DejaVu Sans Mono", false, false},
};
constexpr float kLineSpacing = 1.2f;
}  // namespace

Ptr<UIFont> UIFont::fontWithName(const std::string& fontName, float fontSize) {
  if (!(fontSize > 0)) return nullptr;
  for (const FontAlias& alias : kAliases) {
    if (fontName != alias.name) continue;
    auto font = Ptr<UIFont>::adopt(new UIFont());
    font->fontName_ = fontName;
    font->family_ = alias.family;
    font->bold_ = alias.bold;
    font->italic_ = alias.italic;
    font->pointSize_ = fontSize;
    font->lineHeight_ = std::round(fontSize * kLineSpacing);
    return font;
  }
  return nullptr;
}

std::vector<std::string> UIFont::knownFontNames() {
  std::vector<std::string> names;
  for (const FontAlias& alias : kAliases) names.push_back(alias.name);
  return names;
}
