#include "CairoHtmlContainer.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "CairoBitmap.h"
#include "DisplayGeometry.h"
#include "Log.h"
#include "NSBundle.h"
#include "NSData.h"
#include "PangoFonts.h"

namespace {
constexpr std::size_t kMaxResourceBytes = 16 << 20;
constexpr int kDefaultFontSize = 16;
constexpr const char* kDefaultFontName = "DejaVu Sans";

// The families the program ships stand in for CSS's generic names.
std::string pangoFamilies(const char* cssFamilies) {
  std::string out;
  std::string list = cssFamilies ? cssFamilies : "";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string name = list.substr(start, end - start);
    name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
    name.erase(std::remove(name.begin(), name.end(), '\''), name.end());
    const auto first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
    name = first == std::string::npos ? "" : name.substr(first, last - first + 1);
    if (name == "serif") name = "DejaVu Serif";
    if (name == "sans-serif") name = "DejaVu Sans";
    if (name == "monospace") name = "DejaVu Sans Mono";
    if (!name.empty()) out += (out.empty() ? "" : ",") + name;
    start = end + 1;
  }
  return out.empty() ? kDefaultFontName : out + "," + kDefaultFontName;
}

cairo_t* cairoOf(litehtml::uint_ptr hdc) {
  return reinterpret_cast<cairo_t*>(hdc);
}

void setColor(cairo_t* cr, const litehtml::web_color& c) {
  cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

// A rectangle with rounded corners (each corner's horizontal radius).
void roundedRectangle(cairo_t* cr, const litehtml::position& p,
                      const litehtml::border_radiuses& r) {
  const double x = p.x, y = p.y, w = p.width, h = p.height;
  auto fit = [&](int radius) { return std::clamp(double(radius), 0.0, std::min(w, h) / 2); };
  const double tl = fit(r.top_left_x), tr = fit(r.top_right_x);
  const double br = fit(r.bottom_right_x), bl = fit(r.bottom_left_x);
  if (tl + tr + br + bl == 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - tr, y + tr, tr, -M_PI / 2, 0);
  cairo_arc(cr, x + w - br, y + h - br, br, 0, M_PI / 2);
  cairo_arc(cr, x + bl, y + h - bl, bl, M_PI / 2, M_PI);
  cairo_arc(cr, x + tl, y + tl, tl, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// The master style sheet: how elements look before the page's own styles.
const char* kMasterStyleSheet = R"CSS(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset,
h1, h2, h3, h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, section,
article, aside, header, footer, nav, main, figure, figcaption { display: block; }
head, style, script, title, meta, link, base { display: none; }
li { display: list-item; }
body { margin: 8px; }
h1 { font-size: 2em; margin: 0.67em 0; }
h2 { font-size: 1.5em; margin: 0.75em 0; }
h3 { font-size: 1.17em; margin: 0.83em 0; }
h4, p, blockquote, ul, ol, dl { margin: 1.12em 0; }
h5 { font-size: 0.83em; margin: 1.5em 0; }
h6 { font-size: 0.75em; margin: 1.67em 0; }
h1, h2, h3, h4, h5, h6, b, strong, th { font-weight: bold; }
blockquote { margin-left: 40px; margin-right: 40px; }
i, cite, em, var, address { font-style: italic; }
pre, tt, code, kbd, samp { font-family: monospace; }
pre { white-space: pre; }
big { font-size: 1.17em; }
small, sub, sup { font-size: 0.83em; }
s, strike, del { text-decoration: line-through; }
u, ins { text-decoration: underline; }
hr { border: 1px inset; margin: 0.5em auto; }
ol, ul, dd { margin-left: 40px; }
ul { list-style-type: disc; }
ol { list-style-type: decimal; }
ol ul, ul ol, ul ul, ol ol { margin-top: 0; margin-bottom: 0; }
center { text-align: center; }
a[href] { color: #0000ee; text-decoration: underline; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; }
tbody { display: table-row-group; }
tfoot { display: table-footer-group; }
tr { display: table-row; }
td, th { display: table-cell; padding: 1px; vertical-align: inherit; }
th { text-align: center; }
img { display: inline-block; }
)CSS";
}  // namespace

CairoHtmlContainer::CairoHtmlContainer() {
  std::lock_guard lock(PangoFonts::mutex());
  pango_ = pango_font_map_create_context(PangoFonts::fontMap());
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(pango_, options);
  cairo_font_options_destroy(options);
}

CairoHtmlContainer::~CairoHtmlContainer() {
  for (auto& [path, surface] : images_)
    if (surface) cairo_surface_destroy(surface);
  std::lock_guard lock(PangoFonts::mutex());
  g_object_unref(pango_);
}

const char* CairoHtmlContainer::masterStyleSheet() {
  return kMasterStyleSheet;
}

void CairoHtmlContainer::setViewport(int width, int height) {
  viewportWidth_ = width;
  viewportHeight_ = height;
}

std::string CairoHtmlContainer::takeClickedLink() {
  return std::exchange(clickedLink_, std::string());
}

std::string CairoHtmlContainer::resolve(const char* url, const char* baseurl) const {
  if (!url || !*url) return {};
  std::string base = baseurl && *baseurl ? std::string(baseurl) : baseFolder_;
  // A base naming a file (a style sheet's own path) resolves from its folder.
  if (!base.empty() && base.back() != '/' && base.find('.') != std::string::npos)
    base = base.substr(0, base.find_last_of('/') + 1);
  return NSBundle::mainBundle().localPathForURL(url, base.empty() ? baseFolder_ : base);
}

cairo_surface_t* CairoHtmlContainer::image(const char* src, const char* baseurl) {
  const std::string path = resolve(src, baseurl);
  if (path.empty()) return nullptr;
  auto found = images_.find(path);
  if (found != images_.end()) return found->second;
  cairo_surface_t* surface = nullptr;
  if (auto data = NSData::dataWithContentsOfFile(path, kMaxResourceBytes)) {
    std::vector<unsigned char> bytes(data->begin(), data->end());
    if (auto decoded = CGImage::imageWithData(std::move(bytes)))
      surface = CairoBitmap::surfaceWithImage(*decoded);
  }
  if (!surface) logWarningOnce("web-image:" + path, "web page image cannot be read: " + path);
  images_[path] = surface;
  return surface;
}

litehtml::uint_ptr CairoHtmlContainer::create_font(const char* faceName, int size, int weight,
                                                   litehtml::font_style italic,
                                                   unsigned int decoration,
                                                   litehtml::font_metrics* fm) {
  std::lock_guard lock(PangoFonts::mutex());
  auto* font = new Font;
  font->description = pango_font_description_new();
  pango_font_description_set_family(font->description, pangoFamilies(faceName).c_str());
  pango_font_description_set_absolute_size(font->description, double(size) * PANGO_SCALE);
  pango_font_description_set_weight(font->description, PangoWeight(std::clamp(weight, 100, 1000)));
  pango_font_description_set_style(font->description, italic == litehtml::fontStyleItalic
                                                          ? PANGO_STYLE_ITALIC
                                                          : PANGO_STYLE_NORMAL);
  font->decoration = decoration;
  PangoFontMetrics* metrics = pango_context_get_metrics(pango_, font->description, nullptr);
  font->ascent = int(std::ceil(double(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE));
  font->descent = int(std::ceil(double(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE));
  pango_font_metrics_unref(metrics);
  PangoLayout* x = layoutFor("x", *font);
  PangoRectangle ink;
  pango_layout_get_pixel_extents(x, &ink, nullptr);
  font->xHeight = ink.height;
  g_object_unref(x);
  if (fm) {
    fm->ascent = font->ascent;
    fm->descent = font->descent;
    fm->height = font->ascent + font->descent;
    fm->x_height = font->xHeight;
    fm->draw_spaces = italic == litehtml::fontStyleItalic || decoration != 0;
  }
  return reinterpret_cast<litehtml::uint_ptr>(font);
}

void CairoHtmlContainer::delete_font(litehtml::uint_ptr hFont) {
  auto* font = reinterpret_cast<Font*>(hFont);
  if (!font) return;
  std::lock_guard lock(PangoFonts::mutex());
  pango_font_description_free(font->description);
  delete font;
}

// Called with the Pango lock held.
PangoLayout* CairoHtmlContainer::layoutFor(const char* text, const Font& font) const {
  PangoLayout* layout = pango_layout_new(pango_);
  pango_layout_set_font_description(layout, font.description);
  pango_layout_set_text(layout, text, -1);
  return layout;
}

int CairoHtmlContainer::text_width(const char* text, litehtml::uint_ptr hFont) {
  auto* font = reinterpret_cast<Font*>(hFont);
  if (!font || !text) return 0;
  std::lock_guard lock(PangoFonts::mutex());
  PangoLayout* layout = layoutFor(text, *font);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return int(std::ceil(double(logical.width) / PANGO_SCALE));
}

void CairoHtmlContainer::draw_text(litehtml::uint_ptr hdc, const char* text,
                                   litehtml::uint_ptr hFont, litehtml::web_color color,
                                   const litehtml::position& pos) {
  auto* font = reinterpret_cast<Font*>(hFont);
  if (!font || !text) return;
  cairo_t* cr = cairoOf(hdc);
  cairo_save(cr);
  applyClips(cr);
  setColor(cr, color);
  const double baseline = pos.bottom() - font->descent;
  {
    std::lock_guard lock(PangoFonts::mutex());
    PangoLayout* layout = layoutFor(text, *font);
    const double layoutBaseline = double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    cairo_move_to(cr, pos.x, baseline - layoutBaseline);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
  }
  const double width = pos.width;
  if (font->decoration & litehtml::font_decoration_underline) {
    cairo_rectangle(cr, pos.x, baseline + 1, width, 1);
    cairo_fill(cr);
  }
  if (font->decoration & litehtml::font_decoration_linethrough) {
    cairo_rectangle(cr, pos.x, baseline - font->xHeight / 2.0, width, 1);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

int CairoHtmlContainer::pt_to_px(int pt) const {
  return int(std::lround(pt * 96.0 / 72.0));
}

int CairoHtmlContainer::get_default_font_size() const {
  return kDefaultFontSize;
}

const char* CairoHtmlContainer::get_default_font_name() const {
  return kDefaultFontName;
}

void CairoHtmlContainer::draw_list_marker(litehtml::uint_ptr hdc,
                                          const litehtml::list_marker& marker) {
  cairo_t* cr = cairoOf(hdc);
  cairo_save(cr);
  applyClips(cr);
  setColor(cr, marker.color);
  const litehtml::position& p = marker.pos;
  const double cx = p.x + p.width / 2.0, cy = p.y + p.height / 2.0;
  const double r = std::max(1.0, std::min(p.width, p.height) / 2.0);
  switch (marker.marker_type) {
    case litehtml::list_style_type_circle:
      cairo_set_line_width(cr, 1);
      cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
      cairo_stroke(cr);
      break;
    case litehtml::list_style_type_square:
      cairo_rectangle(cr, p.x, p.y, p.width, p.height);
      cairo_fill(cr);
      break;
    case litehtml::list_style_type_disc:
      cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    default:  // numbered markers are drawn as text by the document
      break;
  }
  cairo_restore(cr);
}

void CairoHtmlContainer::load_image(const char* src, const char* baseurl, bool) {
  image(src, baseurl);
}

void CairoHtmlContainer::get_image_size(const char* src, const char* baseurl, litehtml::size& sz) {
  cairo_surface_t* surface = image(src, baseurl);
  sz.width = surface ? cairo_image_surface_get_width(surface) : 0;
  sz.height = surface ? cairo_image_surface_get_height(surface) : 0;
}

void CairoHtmlContainer::draw_background(litehtml::uint_ptr hdc,
                                         const litehtml::background_paint& bg) {
  cairo_t* cr = cairoOf(hdc);
  cairo_save(cr);
  applyClips(cr);
  roundedRectangle(cr, bg.clip_box, bg.border_radius);
  cairo_clip(cr);
  if (bg.color.alpha > 0) {
    setColor(cr, bg.color);
    cairo_paint(cr);
  }
  cairo_surface_t* surface =
      bg.image.empty() ? nullptr : image(bg.image.c_str(), bg.baseurl.c_str());
  if (surface && bg.image_size.width > 0 && bg.image_size.height > 0) {
    const double sx = double(bg.image_size.width) / cairo_image_surface_get_width(surface);
    const double sy = double(bg.image_size.height) / cairo_image_surface_get_height(surface);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    // Pattern space is image pixels: undo the placement and the scaling.
    cairo_matrix_t m;
    cairo_matrix_init(&m, sx, 0, 0, sy, bg.position_x, bg.position_y);
    cairo_matrix_invert(&m);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    const bool tiled = bg.repeat != litehtml::background_repeat_no_repeat;
    cairo_pattern_set_extend(pattern, tiled ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_NONE);
    cairo_set_source(cr, pattern);
    if (!tiled) {
      cairo_rectangle(cr, bg.position_x, bg.position_y, bg.image_size.width, bg.image_size.height);
      cairo_fill(cr);
    } else {
      cairo_paint(cr);
    }
    cairo_pattern_destroy(pattern);
  }
  cairo_restore(cr);
}

void CairoHtmlContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                                      const litehtml::position& p, bool) {
  cairo_t* cr = cairoOf(hdc);
  cairo_save(cr);
  applyClips(cr);
  auto visible = [](const litehtml::border& b) {
    return b.width > 0 && b.style != litehtml::border_style_none &&
           b.style != litehtml::border_style_hidden;
  };
  const litehtml::border& top = borders.top;
  const bool uniform = visible(top) && borders.left.width == top.width &&
                       borders.right.width == top.width && borders.bottom.width == top.width &&
                       visible(borders.left) && visible(borders.right) && visible(borders.bottom);
  if (uniform) {
    // One stroke, so that rounded corners stay round.
    const double half = top.width / 2.0;
    litehtml::position inner(p.x, p.y, p.width, p.height);
    cairo_save(cr);
    cairo_translate(cr, half, half);
    inner.width -= top.width;
    inner.height -= top.width;
    roundedRectangle(cr, inner, borders.radius);
    cairo_restore(cr);
    setColor(cr, top.color);
    cairo_set_line_width(cr, top.width);
    cairo_stroke(cr);
  } else {
    auto side = [&](const litehtml::border& b, double x, double y, double w, double h) {
      if (!visible(b)) return;
      setColor(cr, b.color);
      cairo_rectangle(cr, x, y, w, h);
      cairo_fill(cr);
    };
    side(borders.top, p.x, p.y, p.width, top.width);
    side(borders.bottom, p.x, p.bottom() - borders.bottom.width, p.width, borders.bottom.width);
    side(borders.left, p.x, p.y, borders.left.width, p.height);
    side(borders.right, p.right() - borders.right.width, p.y, borders.right.width, p.height);
  }
  cairo_restore(cr);
}

void CairoHtmlContainer::set_caption(const char* caption) {
  caption_ = caption ? caption : "";
}

void CairoHtmlContainer::set_base_url(const char* base_url) {
  // A <base> may move the page's base only within the resource folders.
  const std::string folder = resolve(base_url, nullptr);
  if (!folder.empty()) baseFolder_ = folder;
}

void CairoHtmlContainer::link(const std::shared_ptr<litehtml::document>&,
                              const litehtml::element::ptr&) {}

void CairoHtmlContainer::on_anchor_click(const char* url, const litehtml::element::ptr&) {
  clickedLink_ = url ? url : "";
}

void CairoHtmlContainer::set_cursor(const char*) {}

void CairoHtmlContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
  if (text.empty() || tt == litehtml::text_transform_none) return;
  if (tt == litehtml::text_transform_capitalize) {
    const char* next = g_utf8_next_char(text.c_str());
    const std::size_t firstLength = std::size_t(next - text.c_str());
    gchar* upper = g_utf8_strup(text.c_str(), gssize(firstLength));
    text = std::string(upper) + text.substr(firstLength);
    g_free(upper);
    return;
  }
  gchar* changed = tt == litehtml::text_transform_uppercase
                       ? g_utf8_strup(text.c_str(), gssize(text.size()))
                       : g_utf8_strdown(text.c_str(), gssize(text.size()));
  text = changed;
  g_free(changed);
}

void CairoHtmlContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url,
                                    litehtml::tstring& baseurl) {
  const std::string path = resolve(url.c_str(), baseurl.c_str());
  auto data = path.empty() ? std::nullopt : NSData::dataWithContentsOfFile(path, kMaxResourceBytes);
  if (!data) {
    logWarningOnce("web-css:" + url, "web page style sheet not loaded: " + url);
    return;
  }
  text = *data;
  baseurl = path;
}

void CairoHtmlContainer::set_clip(const litehtml::position& pos,
                                  const litehtml::border_radiuses& bdr_radius, bool, bool) {
  clips_.push_back({pos, bdr_radius});
}

void CairoHtmlContainer::del_clip() {
  if (!clips_.empty()) clips_.pop_back();
}

void CairoHtmlContainer::applyClips(cairo_t* cr) const {
  for (const Clip& clip : clips_) {
    roundedRectangle(cr, clip.box, clip.radius);
    cairo_clip(cr);
  }
}

void CairoHtmlContainer::get_client_rect(litehtml::position& client) const {
  client = litehtml::position(0, 0, viewportWidth_, viewportHeight_);
}

std::shared_ptr<litehtml::element> CairoHtmlContainer::create_element(
    const char*, const litehtml::string_map&, const std::shared_ptr<litehtml::document>&) {
  return nullptr;
}

void CairoHtmlContainer::get_media_features(litehtml::media_features& media) const {
  media.type = litehtml::media_type_screen;
  media.width = viewportWidth_;
  media.height = viewportHeight_;
  // The tablet as the book holds it: landscape.
  media.device_width = DisplayGeometry::kLongSide;
  media.device_height = DisplayGeometry::kShortSide;
  media.color = 8;
  media.monochrome = 0;
  media.color_index = 256;
  media.resolution = 96;
}

void CairoHtmlContainer::get_language(litehtml::tstring& language,
                                      litehtml::tstring& culture) const {
  language = "en";
  culture = "";
}
