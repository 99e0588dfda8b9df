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

namespace {
// Columns holding warm ink (red, not blue) and white ink in a premultiplied RGBA buffer.
struct Colours {
  int warmLeft = 1 << 30, warmRight = -1, warmTop = 1 << 30, warmBottom = -1;
  long warm = 0, white = 0;
};

Colours coloursOf(const std::vector<unsigned char>& rgba, int width, int height) {
  Colours c;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = &rgba[(std::size_t(y) * width + x) * 4];
      EXPECT_LE(std::max({p[0], p[1], p[2]}), p[3]) << "not premultiplied at " << x << "," << y;
      if (p[3] < 200) continue;
      if (p[0] > 200 && p[2] < 100) {
        c.warmLeft = std::min(c.warmLeft, x);
        c.warmRight = std::max(c.warmRight, x);
        c.warmTop = std::min(c.warmTop, y);
        c.warmBottom = std::max(c.warmBottom, y);
        ++c.warm;
      } else if (std::min({p[0], p[1], p[2]}) > 200) {
        ++c.white;
      }
    }
  return c;
}
}  // namespace

TEST(NSStringDrawing, HighlightColoursItsBytesAndMovesNothing) {
  const int width = 512, height = 64;
  const std::string text = "Рыжик и звёздочка";  // "и" is bytes 11 to 13
  const CGRect rect = CGRectMake(0, 0, 512, 40);
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  std::vector<unsigned char> rgba(std::size_t(width) * height * 4, 0);
  auto context = CGContext::bitmapContext(rgba.data(), width, height, width * 4,
                                          kCGColorSpaceModelRGB, kCGImageAlphaPremultipliedLast);
  const CGSize drawn =
      NSStringDrawing::drawInRect(*context, text, rect, *font, UILineBreakModeWordWrap,
                                  UITextAlignmentLeft, TextHighlight{11, 13, 255, 186, 64});
  EXPECT_EQ(drawn, NSStringDrawing::sizeWithFont(text, *font));
  const Colours lit = coloursOf(rgba, width, height);
  ASSERT_GT(lit.warm, 20);
  EXPECT_GT(lit.white, 5 * lit.warm);
  // The warm ink is the middle word's: right of "Рыжик", left of "звёздочка".
  const CGSize before = NSStringDrawing::sizeWithFont("Рыжик ", *font);
  const CGSize through = NSStringDrawing::sizeWithFont("Рыжик и", *font);
  EXPECT_GE(lit.warmLeft, int(before.width) - 2);
  EXPECT_LE(lit.warmRight, int(through.width) + 2);

  // The same text in one colour covers the same pixels as the alpha-only drawing.
  std::fill(rgba.begin(), rgba.end(), 0);
  NSStringDrawing::drawInRect(*context, text, rect, *font, UILineBreakModeWordWrap,
                              UITextAlignmentLeft, TextHighlight{});
  EXPECT_EQ(coloursOf(rgba, width, height).warm, 0);
  std::vector<unsigned char> alpha(std::size_t(width) * height, 0), fromRgba(alpha.size());
  auto a8 = CGContext::bitmapContext(alpha.data(), width, height, width, kCGColorSpaceModelNone,
                                     kCGImageAlphaOnly);
  NSStringDrawing::drawInRect(*a8, text, rect, *font, UILineBreakModeWordWrap, UITextAlignmentLeft);
  for (std::size_t i = 0; i < fromRgba.size(); ++i) fromRgba[i] = rgba[i * 4 + 3];
  const Ink plain = inkOf(alpha, width, height), coloured = inkOf(fromRgba, width, height);
  EXPECT_EQ(coloured.left, plain.left);
  EXPECT_EQ(coloured.right, plain.right);
  EXPECT_NEAR(double(coloured.total), double(plain.total), 0.01 * double(plain.total));

  // Each drawing wants its own kind of context.
  EXPECT_EQ(NSStringDrawing::drawInRect(*a8, text, rect, *font, UILineBreakModeWordWrap,
                                        UITextAlignmentLeft, TextHighlight{0, 5}),
            CGSizeZero);
  EXPECT_EQ(NSStringDrawing::drawInRect(*context, text, rect, *font, UILineBreakModeWordWrap,
                                        UITextAlignmentLeft),
            CGSizeZero);
}

// A word's rect is where its ink is drawn, line by line, whatever the alignment.
TEST(NSStringDrawing, RangesAreFoundWhereTheirInkIs) {
  const int width = 300, height = 120;
  const std::string text = "Рыжик и звёздочка, и лес";  // wraps onto a second line
  const CGSize box{300, 120};
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  const std::vector<TextRange> words{{0, 10}, {11, 13}, {14, 32}, {34, 36}, {37, 43}};
  for (UITextAlignment alignment : {UITextAlignmentLeft, UITextAlignmentCenter}) {
    SCOPED_TRACE(alignment);
    const std::vector<CGRect> rects =
        NSStringDrawing::rectsOfRanges(text, *font, box, UILineBreakModeWordWrap, alignment, words);
    ASSERT_EQ(rects.size(), words.size());
    EXPECT_LT(rects[0].origin.x + rects[0].size.width, rects[1].origin.x);
    EXPECT_GT(rects[4].origin.y, rects[0].origin.y);  // the second line
    for (std::size_t i = 0; i < words.size(); ++i) {
      SCOPED_TRACE(i);
      std::vector<unsigned char> rgba(std::size_t(width) * height * 4, 0);
      auto context =
          CGContext::bitmapContext(rgba.data(), width, height, width * 4, kCGColorSpaceModelRGB,
                                   kCGImageAlphaPremultipliedLast);
      NSStringDrawing::drawInRect(*context, text, CGRectMake(0, 0, box.width, box.height), *font,
                                  UILineBreakModeWordWrap, alignment,
                                  TextHighlight{words[i].begin, words[i].end, 255, 186, 64});
      const Colours lit = coloursOf(rgba, width, height);
      ASSERT_GT(lit.warm, 10);
      EXPECT_GE(lit.warmLeft, int(rects[i].origin.x) - 1);
      EXPECT_LE(lit.warmRight, int(rects[i].origin.x + rects[i].size.width) + 1);
      EXPECT_GE(lit.warmTop, int(rects[i].origin.y) - 1);
      EXPECT_LE(lit.warmBottom, int(rects[i].origin.y + rects[i].size.height) + 1);
    }
  }
  // Past the lines that fit, or past the text: no rect.
  const auto cut =
      NSStringDrawing::rectsOfRanges(text, *font, CGSize{300, 40}, UILineBreakModeWordWrap,
                                     UITextAlignmentLeft, {{37, 43}, {40, 99}, {5, 5}});
  for (const CGRect& rect : cut) EXPECT_TRUE(CGRectEqualToRect(rect, CGRectZero));
}
