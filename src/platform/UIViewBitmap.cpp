#include "UIViewBitmap.h"

#include "CGImage.h"

bool UIViewBitmap::setImage(const CGImage& image) {
  width = int(image.width());
  height = int(image.height());
  rgba.assign(std::size_t(width) * std::size_t(height) * 4, 0);
  if (empty() || !image.decodeRGBA(rgba.data(), std::size_t(width) * 4)) {
    *this = UIViewBitmap{};
    return false;
  }
  for (std::size_t i = 0; i < rgba.size(); i += 4) {
    const unsigned a = rgba[i + 3];
    for (std::size_t c = 0; c < 3; ++c)
      rgba[i + c] = (unsigned char)((rgba[i + c] * a + 127) / 255);
  }
  return true;
}

void UIViewBitmap::darken(float factor) {
  const unsigned scale = unsigned(factor * 256);
  for (std::size_t i = 0; i < rgba.size(); i += 4)
    for (std::size_t c = 0; c < 3; ++c) rgba[i + c] = (unsigned char)((rgba[i + c] * scale) >> 8);
}
