#pragma once
#include <string>

#include "CCSprite.h"
#include "NSStringDrawing.h"

// A sprite showing a text drawn with a platform font. Every change of text
// renders a new alpha-only texture; the text takes the sprite's colour.
class CCLabelTTF : public CCSprite {
 public:
  static Ptr<CCLabelTTF> labelWithString(const std::string& string, CGSize dimensions,
                                         UITextAlignment alignment, const std::string& fontName,
                                         float fontSize);
  static Ptr<CCLabelTTF> labelWithString(const std::string& string, const std::string& fontName,
                                         float fontSize);
  CCLabelTTF();
  ~CCLabelTTF() override;

  // Not supported: a label needs its text and font.
  bool init() override;
  bool initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                      const std::string& fontName, float fontSize);
  bool initWithString(const std::string& string, const std::string& fontName, float fontSize);

  void setString(const std::string& string);
  const std::string& string() const { return string_; }
  const std::string& fontName() const { return fontName_; }
  float fontSize() const { return fontSize_; }
  CGSize dimensions() const { return dimensions_; }
  UITextAlignment alignment() const { return alignment_; }

  std::string description() const override;

 private:
  CGSize dimensions_ = CGSizeZero;
  UITextAlignment alignment_ = UITextAlignmentCenter;
  std::string fontName_;
  float fontSize_ = 0;
  std::string string_;
};
