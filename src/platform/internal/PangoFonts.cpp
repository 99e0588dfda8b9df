#include "PangoFonts.h"

namespace PangoFonts {
PangoFontMap* fontMap() {
  static PangoFontMap* map = pango_cairo_font_map_new();  // lives for the process
  return map;
}

std::mutex& mutex() {
  static std::mutex lock;
  return lock;
}
}  // namespace PangoFonts
