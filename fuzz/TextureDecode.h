// Shared by the PNG and JPEG targets: decodes the way the texture loader does
// and checks that only the picture's corner of the texture was written.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CGContext.h"
#include "CGImage.h"
#include "Log.h"

namespace fuzz {

// Keeps each run quick (the decoders take the same paths at any size); the
// limits of what is accepted at all are checked above it.
constexpr std::size_t kMaxTextureSide = 1024;

inline std::size_t nextPowerOfTwo(std::size_t n) {
  std::size_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

inline int decodeAsTexture(const std::uint8_t* data, std::size_t size) {
  auto image = CGImage::imageWithData(std::vector<unsigned char>(data, data + size));
  if (!image) return 0;
  const std::size_t w = image->width(), h = image->height();
  if (w == 0 || h == 0) std::abort();
  // Whatever is accepted is within what a picture may cost.
  if (!CGImage::refusalForSize(w, h).empty()) std::abort();
  const std::size_t potW = nextPowerOfTwo(w), potH = nextPowerOfTwo(h);
  if (potW > kMaxTextureSide || potH > kMaxTextureSide) return 0;

  std::vector<unsigned char> texture(potW * potH * 4, 0);
  auto context = CGContext::bitmapContext(
      texture.data(), potW, potH, potW * 4, kCGColorSpaceModelRGB,
      image->hasAlpha() ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNoneSkipLast);
  if (!context) std::abort();
  // The picture sits in the top-left corner, as the texture loader puts it.
  const bool drawn = context->drawImage(CGPointMake(0, float(potH - h)), *image);
  // Whatever the data, nothing right of or below the picture may change.
  for (std::size_t y = 0; y < potH; ++y)
    for (std::size_t x = y < h ? w * 4 : 0; x < potW * 4; ++x)
      if (texture[y * potW * 4 + x] != 0) std::abort();
  if (!drawn) return 0;
  if (!image->hasAlpha())
    for (std::size_t y = 0; y < h; ++y)
      for (std::size_t x = 0; x < w; ++x)
        if (texture[(y * potW + x) * 4 + 3] != 255) std::abort();
  return 0;
}

}  // namespace fuzz
