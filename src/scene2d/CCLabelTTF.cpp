#include "CCLabelTTF.h"

#include <algorithm>
#include <cstdio>

#include "Assert.h"

Ptr<CCLabelTTF> CCLabelTTF::labelWithString(const std::string& string, CGSize dimensions,
                                            UITextAlignment alignment, const std::string& fontName,
                                            float fontSize) {
  auto label = makeObject<CCLabelTTF>();
  return label->initWithString(string, dimensions, alignment, fontName, fontSize) ? label : nullptr;
}

Ptr<CCLabelTTF> CCLabelTTF::labelWithString(const std::string& string, const std::string& fontName,
                                            float fontSize) {
  auto label = makeObject<CCLabelTTF>();
  return label->initWithString(string, fontName, fontSize) ? label : nullptr;
}

CCLabelTTF::CCLabelTTF() = default;
CCLabelTTF::~CCLabelTTF() = default;

bool CCLabelTTF::init() {
  CCAssert(false, "CCLabelTTF: Init not supported. Use initWithString");
  return false;
}

bool CCLabelTTF::initWithString(const std::string& string, CGSize dimensions,
                                UITextAlignment alignment, const std::string& fontName,
                                float fontSize) {
  CCSprite::init();
  float scale = CC_CONTENT_SCALE_FACTOR();
  dimensions_ = CGSizeMake(dimensions.width * scale, dimensions.height * scale);
  alignment_ = alignment;
  fontName_ = fontName;
  fontSize_ = fontSize * scale;
  setString(string);
  return true;
}

bool CCLabelTTF::initWithString(const std::string& string, const std::string& fontName,
                                float fontSize) {
  CCSprite::init();
  dimensions_ = CGSizeZero;
  fontName_ = fontName;
  fontSize_ = fontSize * CC_CONTENT_SCALE_FACTOR();
  setString(string);
  return true;
}

void CCLabelTTF::setString(const std::string& string) {
  string_ = string;
  highlight_.reset();
  render();
}

void CCLabelTTF::setHighlight(std::size_t begin, std::size_t end, ccColor3B color) {
  end = std::min(end, string_.size());
  if (begin >= end) {
    clearHighlight();
    return;
  }
  const TextHighlight wanted{begin, end, color.r, color.g, color.b};
  if (highlight_ == wanted) return;
  highlight_ = wanted;
  render();
}

void CCLabelTTF::clearHighlight() {
  if (!highlight_) return;
  highlight_.reset();
  render();
}

void CCLabelTTF::render() {
  auto texture = makeObject<CCTexture2D>();
  bool made = false;
  if (highlight_) {
    auto font = UIFont::fontWithName(fontName_, fontSize_);
    CGSize size = dimensions_;
    if (font && CGSizeEqualToSize(size, CGSizeZero))
      size = NSStringDrawing::sizeWithFont(string_, *font);
    made = font && texture->initWithString(string_, size, alignment_, font.get(), *highlight_);
  } else {
    made = CGSizeEqualToSize(dimensions_, CGSizeZero)
               ? texture->initWithString(string_, fontName_, fontSize_)
               : texture->initWithString(string_, dimensions_, alignment_, fontName_, fontSize_);
  }
  // An unknown font leaves the label without a texture: it draws nothing.
  setTexture(made ? texture.get() : nullptr);
  CGSize size = made ? texture->contentSize() : CGSizeZero;
  setTextureRect(CGRectMake(0, 0, size.width, size.height));
}

std::vector<CGRect> CCLabelTTF::rectsOfRanges(const std::vector<TextRange>& ranges) const {
  auto font = UIFont::fontWithName(fontName_, fontSize_);
  if (!font) return std::vector<CGRect>(ranges.size(), CGRectZero);
  // As render() draws: a label without dimensions is its text's own size, centred.
  const bool sized = !CGSizeEqualToSize(dimensions_, CGSizeZero);
  const CGSize box = sized ? dimensions_ : NSStringDrawing::sizeWithFont(string_, *font);
  return NSStringDrawing::rectsOfRanges(string_, *font, box, UILineBreakModeWordWrap,
                                        sized ? alignment_ : UITextAlignmentCenter, ranges);
}

std::string CCLabelTTF::description() const {
  char fields[200];
  std::snprintf(fields, sizeof fields, " | FontName = %s, FontSize = %.1f>", fontName_.c_str(),
                double(fontSize_));
  return objectAddressPrefix(this) + fields;
}
