#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "CGContext.h"
#include "CGGeometry.h"
#include "UIFont.h"

enum UILineBreakMode {
  UILineBreakModeWordWrap = 0,
  UILineBreakModeCharacterWrap = 1,
  UILineBreakModeClip = 2,
  UILineBreakModeHeadTruncation = 3,
  UILineBreakModeTailTruncation = 4,
  UILineBreakModeMiddleTruncation = 5
};

enum UITextAlignment {
  UITextAlignmentLeft = 0,
  UITextAlignmentCenter = 1,
  UITextAlignmentRight = 2
};

// A part of a text drawn in a colour of its own: bytes [begin, end) of the
// UTF-8 text. An empty range colours nothing.
struct TextHighlight {
  std::size_t begin = 0, end = 0;
  unsigned char red = 255, green = 255, blue = 255;
  bool operator==(const TextHighlight&) const = default;
};

// Bytes [begin, end) of a UTF-8 text.
struct TextRange {
  std::size_t begin = 0, end = 0;
};

// Measuring and drawing UTF-8 text. Lines break at newlines and, within a
// width, at word boundaries (a word wider than the box breaks between
// characters); only whole lines fit in a height. Sizes are whole pixels.
namespace NSStringDrawing {
// The text's own size: its lines at their natural widths.
CGSize sizeWithFont(const std::string& text, const UIFont& font);
// The size of the lines that fit in `constrained`; the truncation modes shorten
// the last fitting line with an ellipsis.
CGSize sizeWithFont(const std::string& text, const UIFont& font, CGSize constrained,
                    UILineBreakMode mode);
// How many characters of the text no installed font draws: they would show
// as boxes.
int unknownGlyphCount(const std::string& text, const UIFont& font);
// Draws the text in white (full coverage) into a one-byte-per-pixel context,
// in `rect` measured from the context's top-left corner, each line aligned
// within the rect's width and clipped to the rect. Returns the drawn size.
CGSize drawInRect(CGContext& context, const std::string& text, CGRect rect, const UIFont& font,
                  UILineBreakMode mode, UITextAlignment alignment);
// The same lines in the same places, in colour: white, the highlighted bytes
// in their colour, into a clear premultiplied RGBA context (bytes R, G, B, A).
CGSize drawInRect(CGContext& context, const std::string& text, CGRect rect, const UIFont& font,
                  UILineBreakMode mode, UITextAlignment alignment, const TextHighlight& highlight);
// Where drawInRect, in a rect of `box`'s size at the context's top-left
// corner, draws each range of the text: from its first character to its last
// one on the same line, a line high. A range on no line that fits (or empty)
// gets CGRectZero. Cheap enough for a tap: one layout of the text.
std::vector<CGRect> rectsOfRanges(const std::string& text, const UIFont& font, CGSize box,
                                  UILineBreakMode mode, UITextAlignment alignment,
                                  const std::vector<TextRange>& ranges);
}  // namespace NSStringDrawing
