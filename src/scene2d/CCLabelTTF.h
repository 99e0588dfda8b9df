#pragma once
#include <optional>
#include <string>
#include <vector>

#include "CCSprite.h"
#include "NSStringDrawing.h"

// A sprite showing a text drawn with a platform font. Every change of text
// renders a new alpha-only texture; the text takes the sprite's colour. A
// highlighted part renders a colour texture instead: the text white (times
// the sprite's colour), the part in its own colour.
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

  // A new text drops the highlight: its bytes belonged to the old one.
  void setString(const std::string& string);
  // Draws bytes [begin, end) of the text in `color` (an empty or out-of-range
  // part draws nothing highlighted); renders only when something changes.
  void setHighlight(std::size_t begin, std::size_t end, ccColor3B color);
  void clearHighlight();
  const std::optional<TextHighlight>& highlight() const { return highlight_; }
  // Where each range of the text is drawn in the label's texture (pixels from
  // its top-left corner); CGRectZero for a range not drawn.
  std::vector<CGRect> rectsOfRanges(const std::vector<TextRange>& ranges) const;
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
  std::optional<TextHighlight> highlight_;

  void render();
};
