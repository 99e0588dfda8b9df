#pragma once
#include <cstddef>

#include "CGGeometry.h"
#include "CGImage.h"
#include "NSObject.h"

// A bitmap context over caller-owned memory, 8 bits per component. Layouts:
// RGB with kCGImageAlphaPremultipliedLast (bytes R, G, B, A) or
// kCGImageAlphaNoneSkipLast (R, G, B, unused); no colour space with
// kCGImageAlphaOnly (one alpha byte); monochrome with kCGImageAlphaNone (grey).
// Memory rows run from the top of the picture.
class CGContext : public NSObject {
 public:
  static Ptr<CGContext> bitmapContext(unsigned char* data, std::size_t width, std::size_t height,
                                      std::size_t bytesPerRow, CGColorSpaceModel space,
                                      CGImageAlphaInfo info);

  unsigned char* data() const { return data_; }
  std::size_t width() const { return width_; }
  std::size_t height() const { return height_; }
  std::size_t bytesPerRow() const { return bytesPerRow_; }
  CGImageAlphaInfo alphaInfo() const { return info_; }
  CGColorSpaceModel colorSpaceModel() const { return space_; }
  std::size_t bytesPerPixel() const {
    return info_ == kCGImageAlphaOnly || info_ == kCGImageAlphaNone ? 1 : 4;
  }

  // Draws the image at its own size with its lower-left corner at `origin`
  // (y upwards from the bottom of the context, as the graphics model has it),
  // replacing what was there. Only positions that keep the image inside the
  // context are accepted.
  bool drawImage(CGPoint origin, const CGImage& image);

 private:
  CGContext() = default;
  unsigned char* data_ = nullptr;
  std::size_t width_ = 0, height_ = 0, bytesPerRow_ = 0;
  CGColorSpaceModel space_ = kCGColorSpaceModelRGB;
  CGImageAlphaInfo info_ = kCGImageAlphaPremultipliedLast;
};
