#include "CairoBitmap.h"

#include <cstdint>
#include <cstring>
#include <vector>

void CairoBitmap::copySurface(cairo_surface_t* surface, UIViewBitmap& out) {
  cairo_surface_flush(surface);
  out.width = cairo_image_surface_get_width(surface);
  out.height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  out.rgba.resize(std::size_t(out.width) * std::size_t(out.height) * 4);
  unsigned char* dst = out.rgba.data();
  for (int y = 0; y < out.height; ++y) {
    const unsigned char* row = data + std::size_t(y) * std::size_t(stride);
    for (int x = 0; x < out.width; ++x, dst += 4) {
      std::uint32_t p;
      std::memcpy(&p, row + std::size_t(x) * 4, 4);
      dst[0] = (unsigned char)(p >> 16);
      dst[1] = (unsigned char)(p >> 8);
      dst[2] = (unsigned char)p;
      dst[3] = (unsigned char)(p >> 24);
    }
  }
}

cairo_surface_t* CairoBitmap::surfaceWithImage(const CGImage& image) {
  const int w = int(image.width()), h = int(image.height());
  if (w <= 0 || h <= 0) return nullptr;
  std::vector<unsigned char> rgba(std::size_t(w) * std::size_t(h) * 4);
  if (!image.decodeRGBA(rgba.data(), std::size_t(w) * 4)) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* src = rgba.data();
  for (int y = 0; y < h; ++y) {
    unsigned char* row = data + std::size_t(y) * std::size_t(stride);
    for (int x = 0; x < w; ++x, src += 4) {
      const std::uint32_t a = src[3];
      const std::uint32_t p =
          a << 24 | (src[0] * a / 255) << 16 | (src[1] * a / 255) << 8 | (src[2] * a / 255);
      std::memcpy(row + std::size_t(x) * 4, &p, 4);
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}
