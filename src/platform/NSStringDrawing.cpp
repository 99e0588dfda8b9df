#include "NSStringDrawing.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

#include "PangoFonts.h"

namespace {
// A laid-out text: the lines that fit, with their widths.
class TextLayout {
 public:
  TextLayout(const std::string& text, const UIFont& font, CGSize box, UILineBreakMode mode)
      : lineHeight_(font.lineHeight()) {
    context_ = pango_font_map_create_context(PangoFonts::fontMap());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);

    layout_ = pango_layout_new(context_);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.familyName().c_str());
    pango_font_description_set_weight(description,
                                      font.isBold() ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(description,
                                     font.isItalic() ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description, font.pointSize() * PANGO_SCALE);
    pango_layout_set_font_description(layout_, description);

    PangoFontMetrics* metrics = pango_context_get_metrics(context_, description, nullptr);
    ascent_ = float(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    descent_ = float(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);
    pango_font_description_free(description);

    pango_layout_set_text(layout_, text.c_str(), int(text.size()));
    if (box.width > 0) {
      pango_layout_set_width(layout_, int(box.width * PANGO_SCALE));
      pango_layout_set_wrap(
          layout_, mode == UILineBreakModeCharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    }
    int total = pango_layout_get_line_count(layout_);
    int fit = total;
    if (box.height > 0 && lineHeight_ > 0)
      fit = std::clamp(int(std::floor(box.height / lineHeight_)), 1, total);
    if (fit < total && mode >= UILineBreakModeHeadTruncation) {
      PangoEllipsizeMode ellipsis = mode == UILineBreakModeHeadTruncation ? PANGO_ELLIPSIZE_START
                                    : mode == UILineBreakModeTailTruncation
                                        ? PANGO_ELLIPSIZE_END
                                        : PANGO_ELLIPSIZE_MIDDLE;
      pango_layout_set_ellipsize(layout_, ellipsis);
      pango_layout_set_height(layout_, -fit);
      fit = std::min(fit, pango_layout_get_line_count(layout_));
    }
    lines_ = text.empty() ? 0 : fit;
  }
  ~TextLayout() {
    g_object_unref(layout_);
    g_object_unref(context_);
  }
  TextLayout(const TextLayout&) = delete;
  TextLayout& operator=(const TextLayout&) = delete;

  // Colours bytes [begin, end) of the text; the layout's lines stay as they are.
  void colour(const TextHighlight& highlight) {
    if (highlight.begin >= highlight.end) return;
    PangoAttrList* list = pango_attr_list_new();
    PangoAttribute* colour =
        pango_attr_foreground_new(guint16(highlight.red * 257), guint16(highlight.green * 257),
                                  guint16(highlight.blue * 257));
    colour->start_index = guint(highlight.begin);
    colour->end_index = guint(highlight.end);
    pango_attr_list_insert(list, colour);
    pango_layout_set_attributes(layout_, list);
    pango_attr_list_unref(list);
  }

  // Shows the lines that fit, each aligned within the rect's width and clipped to it.
  void show(cairo_t* cr, CGRect rect, UITextAlignment alignment) const {
    cairo_rectangle(cr, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_clip(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    for (int i = 0; i < lines_; ++i) {
      float spare = rect.size.width - lineWidth(i);
      float x = alignment == UITextAlignmentCenter  ? spare / 2
                : alignment == UITextAlignmentRight ? spare
                                                    : 0;
      cairo_move_to(cr, rect.origin.x + x, rect.origin.y + baseline(i));
      pango_cairo_show_layout_line(cr, line(i));
    }
  }

  // Where bytes [begin, end) are drawn by show() in a rect at (0, 0) `width` wide.
  CGRect rectOf(TextRange range, float width, UITextAlignment alignment) const {
    if (range.begin >= range.end) return CGRectZero;
    std::size_t last = range.end - 1;  // the first byte of the range's last character
    while (last > range.begin && (text()[last] & 0xC0) == 0x80) --last;
    int line = 0, lineOfLast = 0, from = 0, to = 0;
    pango_layout_index_to_line_x(layout_, int(range.begin), FALSE, &line, &from);
    pango_layout_index_to_line_x(layout_, int(last), TRUE, &lineOfLast, &to);
    if (line < 0 || line >= lines_) return CGRectZero;
    if (lineOfLast != line) to = int(lineWidth(line) * PANGO_SCALE);
    const float spare = width - lineWidth(line);
    const float x = alignment == UITextAlignmentCenter  ? spare / 2
                    : alignment == UITextAlignmentRight ? spare
                                                        : 0;
    return CGRectMake(x + float(from) / PANGO_SCALE, float(line) * lineHeight_,
                      float(to - from) / PANGO_SCALE, lineHeight_);
  }

  int lines() const { return lines_; }
  const char* text() const { return pango_layout_get_text(layout_); }
  int unknownGlyphs() const { return pango_layout_get_unknown_glyphs_count(layout_); }
  PangoLayoutLine* line(int i) const { return pango_layout_get_line_readonly(layout_, i); }
  float lineWidth(int i) const {
    PangoRectangle logical;
    pango_layout_line_get_extents(line(i), nullptr, &logical);
    return float(logical.width) / PANGO_SCALE;
  }
  // Baseline of line i below the top, the glyphs centred in the line height.
  float baseline(int i) const {
    return float(i) * lineHeight_ + (lineHeight_ - ascent_ - descent_) / 2 + ascent_;
  }
  CGSize size() const {
    float width = 0;
    for (int i = 0; i < lines_; ++i) width = std::max(width, lineWidth(i));
    return {std::ceil(width), float(lines_) * lineHeight_};
  }

 private:
  PangoContext* context_ = nullptr;
  PangoLayout* layout_ = nullptr;
  float lineHeight_, ascent_ = 0, descent_ = 0;
  int lines_ = 0;
};
}  // namespace

namespace NSStringDrawing {

CGSize sizeWithFont(const std::string& text, const UIFont& font) {
  std::lock_guard lock(PangoFonts::mutex());
  return TextLayout(text, font, CGSizeZero, UILineBreakModeWordWrap).size();
}

CGSize sizeWithFont(const std::string& text, const UIFont& font, CGSize constrained,
                    UILineBreakMode mode) {
  std::lock_guard lock(PangoFonts::mutex());
  CGSize size = TextLayout(text, font, constrained, mode).size();
  if (constrained.width > 0) size.width = std::min(size.width, constrained.width);
  return size;
}

int unknownGlyphCount(const std::string& text, const UIFont& font) {
  std::lock_guard lock(PangoFonts::mutex());
  return TextLayout(text, font, CGSizeZero, UILineBreakModeWordWrap).unknownGlyphs();
}

CGSize drawInRect(CGContext& context, const std::string& text, CGRect rect, const UIFont& font,
                  UILineBreakMode mode, UITextAlignment alignment) {
  if (context.bytesPerPixel() != 1) return CGSizeZero;
  std::lock_guard lock(PangoFonts::mutex());
  TextLayout layout(text, font, rect.size, mode);
  int width = int(context.width()), height = int(context.height());
  int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
  bool direct = std::size_t(stride) == context.bytesPerRow();
  std::vector<unsigned char> scratch(direct ? 0 : std::size_t(stride) * height);
  unsigned char* pixels = direct ? context.data() : scratch.data();
  if (!direct)
    for (int y = 0; y < height; ++y)
      std::memcpy(pixels + y * stride, context.data() + y * context.bytesPerRow(), width);

  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_A8, width, height, stride);
  cairo_t* cr = cairo_create(surface);
  layout.show(cr, rect, alignment);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  if (!direct)
    for (int y = 0; y < height; ++y)
      std::memcpy(context.data() + y * context.bytesPerRow(), pixels + y * stride, width);
  return layout.size();
}

CGSize drawInRect(CGContext& context, const std::string& text, CGRect rect, const UIFont& font,
                  UILineBreakMode mode, UITextAlignment alignment, const TextHighlight& highlight) {
  if (context.bytesPerPixel() != 4 || context.alphaInfo() != kCGImageAlphaPremultipliedLast)
    return CGSizeZero;
  std::lock_guard lock(PangoFonts::mutex());
  TextLayout layout(text, font, rect.size, mode);
  layout.colour(highlight);
  const int width = int(context.width()), height = int(context.height());
  // Cairo draws native 32-bit words, alpha in the top byte, straight into the
  // context when its rows are as cairo wants them; then red and blue swap.
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
  const bool direct = std::size_t(stride) == context.bytesPerRow() &&
                      reinterpret_cast<std::uintptr_t>(context.data()) % 4 == 0;
  std::vector<unsigned char> scratch(direct ? 0 : std::size_t(stride) * std::size_t(height), 0);
  unsigned char* pixels = direct ? context.data() : scratch.data();
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, width, height, stride);
  cairo_t* cr = cairo_create(surface);
  if (!direct) {
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  }
  layout.show(cr, rect, alignment);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  // Only the rect's rows hold ink.
  const int rows = std::clamp(int(std::ceil(rect.origin.y + rect.size.height)), 0, height);
  for (int y = 0; y < rows; ++y) {
    auto* word = reinterpret_cast<std::uint32_t*>(pixels + std::size_t(y) * std::size_t(stride));
    unsigned char* row = context.data() + std::size_t(y) * context.bytesPerRow();
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = word[x];
      if (p == 0) continue;
      row[4 * x] = (p >> 16) & 0xFF;
      row[4 * x + 1] = (p >> 8) & 0xFF;
      row[4 * x + 2] = p & 0xFF;
      row[4 * x + 3] = p >> 24;
    }
  }
  return layout.size();
}

std::vector<CGRect> rectsOfRanges(const std::string& text, const UIFont& font, CGSize box,
                                  UILineBreakMode mode, UITextAlignment alignment,
                                  const std::vector<TextRange>& ranges) {
  std::lock_guard lock(PangoFonts::mutex());
  TextLayout layout(text, font, box, mode);
  std::vector<CGRect> rects;
  rects.reserve(ranges.size());
  for (const TextRange& range : ranges)
    rects.push_back(range.end <= text.size() ? layout.rectOf(range, box.width, alignment)
                                             : CGRectZero);
  return rects;
}

}  // namespace NSStringDrawing
