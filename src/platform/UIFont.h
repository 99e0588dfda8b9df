#pragma once
#include <string>
#include <vector>

#include "NSObject.h"

// A font known to the platform by name. The names are the device's font names
// (as the book uses them); a fixed table maps each to an installed family.
class UIFont : public NSObject {
 public:
  // Null when the name is not one of the platform's fonts.
  static Ptr<UIFont> fontWithName(const std::string& fontName, float fontSize);
  // Every name fontWithName accepts.
  static std::vector<std::string> knownFontNames();

  const std::string& fontName() const { return fontName_; }
  float pointSize() const { return pointSize_; }
  // The installed family that draws this font, with its weight and slant.
  const std::string& familyName() const { return family_; }
  bool isBold() const { return bold_; }
  bool isItalic() const { return italic_; }
  // Distance between the baselines of two lines, in pixels.
  float lineHeight() const { return lineHeight_; }

 private:
  UIFont() = default;
  std::string fontName_, family_;
  float pointSize_ = 0, lineHeight_ = 0;
  bool bold_ = false, italic_ = false;
};
