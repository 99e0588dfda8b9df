#include "CGContext.h"

#include <vector>

Ptr<CGContext> CGContext::bitmapContext(unsigned char* data, std::size_t width, std::size_t height,
                                        std::size_t bytesPerRow, CGColorSpaceModel space,
                                        CGImageAlphaInfo info) {
  bool rgb = space == kCGColorSpaceModelRGB &&
             (info == kCGImageAlphaPremultipliedLast || info == kCGImageAlphaNoneSkipLast);
  bool alphaOnly = space == kCGColorSpaceModelNone && info == kCGImageAlphaOnly;
  bool grey = space == kCGColorSpaceModelMonochrome && info == kCGImageAlphaNone;
  if (!data || width == 0 || height == 0 || !(rgb || alphaOnly || grey)) return nullptr;
  auto context = Ptr<CGContext>::adopt(new CGContext());
  context->data_ = data;
  context->width_ = width;
  context->height_ = height;
  context->space_ = space;
  context->info_ = info;
  if (bytesPerRow < width * context->bytesPerPixel()) return nullptr;
  context->bytesPerRow_ = bytesPerRow;
  return context;
}

bool CGContext::drawImage(CGPoint origin, const CGImage& image) {
  if (origin.x < 0 || origin.y < 0) return false;
  std::size_t left = std::size_t(origin.x), bottom = std::size_t(origin.y);
  std::size_t w = image.width(), h = image.height();
  if (left + w > width_ || bottom + h > height_) return false;
  std::size_t top = height_ - bottom - h;
  unsigned char* first = data_ + top * bytesPerRow_ + left * bytesPerPixel();

  if (bytesPerPixel() == 4) {
    // Decode straight into the context, then premultiply in place.
    if (!image.decodeRGBA(first, bytesPerRow_)) return false;
    if (!image.hasAlpha()) return true;
    bool keepAlpha = info_ == kCGImageAlphaPremultipliedLast;
    for (std::size_t y = 0; y < h; ++y) {
      unsigned char* p = first + y * bytesPerRow_;
      for (std::size_t x = 0; x < w; ++x, p += 4) {
        unsigned a = p[3];
        if (a == 255) continue;
        p[0] = static_cast<unsigned char>((p[0] * a + 127) / 255);
        p[1] = static_cast<unsigned char>((p[1] * a + 127) / 255);
        p[2] = static_cast<unsigned char>((p[2] * a + 127) / 255);
        if (!keepAlpha) p[3] = 255;
      }
    }
    return true;
  }

  // One byte per pixel: decode a row-sized scratch image, keep alpha or grey.
  std::vector<unsigned char> scratch(w * h * 4);
  if (!image.decodeRGBA(scratch.data(), w * 4)) return false;
  for (std::size_t y = 0; y < h; ++y) {
    unsigned char* out = first + y * bytesPerRow_;
    const unsigned char* in = scratch.data() + y * w * 4;
    for (std::size_t x = 0; x < w; ++x, in += 4) {
      if (info_ == kCGImageAlphaOnly) {
        out[x] = in[3];
      } else {
        unsigned luminance = (in[0] * 77u + in[1] * 150u + in[2] * 29u) >> 8;
        out[x] = static_cast<unsigned char>((luminance * in[3] + 127) / 255);
      }
    }
  }
  return true;
}
