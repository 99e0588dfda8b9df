#pragma once
// Platform-internal: litehtml's drawing container over Cairo and Pango.
// Only the platform library has internal/ on its include path.
#include <cairo.h>
#include <litehtml/litehtml.h>
#include <pango/pango.h>

#include <map>
#include <string>
#include <vector>

// Draws a litehtml document with Cairo (hdc is a cairo_t*) and Pango text.
// Images and style sheets are read only from the program's resource folders;
// everything else a page names is ignored. A link that is clicked is kept for
// the caller to act on (`takeClickedLink`).
class CairoHtmlContainer : public litehtml::document_container {
 public:
  CairoHtmlContainer();
  ~CairoHtmlContainer();
  CairoHtmlContainer(const CairoHtmlContainer&) = delete;
  CairoHtmlContainer& operator=(const CairoHtmlContainer&) = delete;

  // How elements look before a page's own styles (the user agent's sheet).
  static const char* masterStyleSheet();

  void setViewport(int width, int height);
  // The folder relative links and images of the page are resolved against.
  void setBaseFolder(const std::string& folder) { baseFolder_ = folder; }
  const std::string& caption() const { return caption_; }
  // The href of the last clicked link, cleared by the call.
  std::string takeClickedLink();

  litehtml::uint_ptr create_font(const char* faceName, int size, int weight,
                                 litehtml::font_style italic, unsigned int decoration,
                                 litehtml::font_metrics* fm) override;
  void delete_font(litehtml::uint_ptr hFont) override;
  int text_width(const char* text, litehtml::uint_ptr hFont) override;
  void draw_text(litehtml::uint_ptr hdc, const char* text, litehtml::uint_ptr hFont,
                 litehtml::web_color color, const litehtml::position& pos) override;
  int pt_to_px(int pt) const override;
  int get_default_font_size() const override;
  const char* get_default_font_name() const override;
  void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
  void load_image(const char* src, const char* baseurl, bool redraw_on_ready) override;
  void get_image_size(const char* src, const char* baseurl, litehtml::size& sz) override;
  void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
  void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                    const litehtml::position& draw_pos, bool root) override;
  void set_caption(const char* caption) override;
  void set_base_url(const char* base_url) override;
  void link(const std::shared_ptr<litehtml::document>& doc,
            const litehtml::element::ptr& el) override;
  void on_anchor_click(const char* url, const litehtml::element::ptr& el) override;
  void set_cursor(const char* cursor) override;
  void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
  void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                  litehtml::tstring& baseurl) override;
  void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                bool valid_x, bool valid_y) override;
  void del_clip() override;
  void get_client_rect(litehtml::position& client) const override;
  std::shared_ptr<litehtml::element> create_element(
      const char* tag_name, const litehtml::string_map& attributes,
      const std::shared_ptr<litehtml::document>& doc) override;
  void get_media_features(litehtml::media_features& media) const override;
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

 private:
  struct Font {
    PangoFontDescription* description = nullptr;
    int ascent = 0, descent = 0, xHeight = 0;
    unsigned decoration = 0;
  };
  struct Clip {
    litehtml::position box;
    litehtml::border_radiuses radius;
  };

  PangoContext* pango_ = nullptr;
  std::map<std::string, cairo_surface_t*> images_;  // by resolved path; null: unreadable
  std::vector<Clip> clips_;
  std::string baseFolder_, caption_, clickedLink_;
  int viewportWidth_ = 0, viewportHeight_ = 0;

  std::string resolve(const char* url, const char* baseurl) const;
  cairo_surface_t* image(const char* src, const char* baseurl);
  PangoLayout* layoutFor(const char* text, const Font& font) const;
  void applyClips(cairo_t* cr) const;
};
