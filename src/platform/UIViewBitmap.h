#pragma once
#include <vector>

class CGImage;

// What a view shows over its background colour: premultiplied RGBA, rows from the top.
struct UIViewBitmap {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;

  bool empty() const { return width <= 0 || height <= 0; }
  // Decodes `image` into this bitmap; false (and empty) when it cannot be decoded.
  bool setImage(const CGImage& image);
  // Scales the colour of every pixel by `factor` (0 to 1), keeping alpha.
  void darken(float factor);
};
