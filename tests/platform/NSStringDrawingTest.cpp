#include "NSStringDrawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "CGContext.h"
#include "UIFont.h"

namespace {
// Columns and rows of an A8 buffer that hold any ink.
struct Ink {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
  long total = 0;
};

Ink inkOf(const std::vector<unsigned char>& buffer, int width, int height) {
  Ink ink;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (unsigned char v = buffer[std::size_t(y) * width + x]; v > 64) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
        ink.total += v;
      }
  return ink;
}

Ink draw(const std::string& text, int width, int height, CGRect rect, UITextAlignment alignment,
         float size = 30) {
  std::vector<unsigned char> buffer(std::size_t(width) * height, 0);
  auto context =
      CGContext::bitmapContext(buffer.data(), std::size_t(width), std::size_t(height),
                               std::size_t(width), kCGColorSpaceModelNone, kCGImageAlphaOnly);
  auto font = UIFont::fontWithName("ArialRoundedMTBold", size);
  NSStringDrawing::drawInRect(*context, text, rect, *font, UILineBreakModeWordWrap, alignment);
  return inkOf(buffer, width, height);
}
}  // namespace

TEST(UIFont, KnownNamesOnly) {
  EXPECT_FALSE(UIFont::fontWithName("NoSuchFont", 12));
  EXPECT_FALSE(UIFont::fontWithName("ArialRoundedMTBold", 0));
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->fontName(), "ArialRoundedMTBold");
  EXPECT_TRUE(font->isBold());
  EXPECT_FLOAT_EQ(font->lineHeight(), 36);
  EXPECT_FLOAT_EQ(UIFont::fontWithName("ArialRoundedMTBold", 20)->lineHeight(), 24);
  EXPECT_TRUE(UIFont::fontWithName("Marker Felt", 32));
}

TEST(NSStringDrawing, SizesCountWholeLinesAndWrapAtWords) {
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  CGSize one = NSStringDrawing::sizeWithFont("Hello", *font);
  EXPECT_EQ(one.height, 36);
  EXPECT_GT(one.width, 50);
  EXPECT_LT(one.width, 150);
  EXPECT_EQ(one.width, float(int(one.width)));  // whole pixels
  CGSize two = NSStringDrawing::sizeWithFont("Hello\nHello world", *font);
  EXPECT_EQ(two.height, 72);
  EXPECT_GT(two.width, one.width);
  EXPECT_EQ(NSStringDrawing::sizeWithFont("", *font).height, 0);

  std::string longText = "one two three four five six seven eight nine ten eleven twelve";
  CGSize wrapped = NSStringDrawing::sizeWithFont(longText, *font, CGSizeMake(200, 1000),
                                                 UILineBreakModeWordWrap);
  EXPECT_LE(wrapped.width, 200);
  EXPECT_GE(wrapped.height, 4 * 36);
  EXPECT_EQ(int(wrapped.height) % 36, 0);
  // Only whole lines within the height; truncation keeps the same line count.
  CGSize clipped = NSStringDrawing::sizeWithFont(longText, *font, CGSizeMake(200, 100),
                                                 UILineBreakModeHeadTruncation);
  EXPECT_EQ(clipped.height, 72);
  EXPECT_LE(clipped.width, 200);

  // Laid out again in the box it measured, an untruncated text keeps its
  // lines (labels are made with the measured size as their box).
  for (float width : {200.f, 333.f, 1024.f}) {
    CGSize measured = NSStringDrawing::sizeWithFont(longText, *font, CGSizeMake(width, 1000),
                                                    UILineBreakModeHeadTruncation);
    EXPECT_EQ(NSStringDrawing::sizeWithFont(longText, *font, measured, UILineBreakModeWordWrap),
              measured)
        << width;
  }
}

TEST(NSStringDrawing, DrawsInkWhereTheAlignmentPutsIt) {
  CGRect rect = CGRectMake(0, 0, 256, 36);
  Ink left = draw("II", 256, 64, rect, UITextAlignmentLeft);
  Ink right = draw("II", 256, 64, rect, UITextAlignmentRight);
  Ink centre = draw("II", 256, 64, rect, UITextAlignmentCenter);
  ASSERT_GT(left.total, 0);
  EXPECT_LT(left.left, 10);
  EXPECT_GT(right.right, 245);
  EXPECT_NEAR((centre.left + centre.right) / 2.0, 128, 4);
  // Everything lies in the rectangle's rows, from the top.
  EXPECT_GE(left.top, 0);
  EXPECT_LT(left.bottom, 36);

  // A second line starts one line height (36) lower.
  Ink lines = draw("I\nI", 64, 128, CGRectMake(0, 0, 64, 128), UITextAlignmentLeft);
  EXPECT_NEAR(lines.bottom - left.bottom, 36, 1);

  // Cyrillic text has glyphs: as much ink as Latin text of the same length.
  Ink cyrillic = draw("Привет", 256, 64, rect, UITextAlignmentLeft);
  Ink latin = draw("Privet", 256, 64, rect, UITextAlignmentLeft);
  EXPECT_GT(cyrillic.total, latin.total / 2);
  EXPECT_GT(cyrillic.right - cyrillic.left, 60);

  // Clipped to the rectangle: a rect of 20 rows shows no ink below row 20.
  Ink clipped = draw("II", 256, 64, CGRectMake(0, 0, 256, 20), UITextAlignmentLeft);
  EXPECT_LT(clipped.bottom, 20);
}

TEST(NSStringDrawing, NarrationFontDrawsCyrillicAndTypographicPunctuation) {
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  ASSERT_TRUE(font);
  EXPECT_EQ(NSStringDrawing::unknownGlyphCount("Ёжик, «звёздочка» — ой… “Star” it’s", *font), 0);
  // A character no font has is counted, once per occurrence.
  EXPECT_EQ(NSStringDrawing::unknownGlyphCount("a\U0010FFFDb\U0010FFFD", *font), 2);
}
