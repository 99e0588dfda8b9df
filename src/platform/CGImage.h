#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "NSObject.h"

enum CGImageAlphaInfo {
  kCGImageAlphaNone = 0,
  kCGImageAlphaPremultipliedLast = 1,
  kCGImageAlphaPremultipliedFirst = 2,
  kCGImageAlphaLast = 3,
  kCGImageAlphaFirst = 4,
  kCGImageAlphaNoneSkipLast = 5,
  kCGImageAlphaNoneSkipFirst = 6,
  kCGImageAlphaOnly = 7
};

// The colour space of an image; a mask image has none.
enum CGColorSpaceModel {
  kCGColorSpaceModelNone = -1,
  kCGColorSpaceModelMonochrome = 0,
  kCGColorSpaceModelRGB = 1
};

// A decodable picture. Creating one from file data reads only the header; the
// pixels are decoded when the image is drawn into a bitmap context, straight
// into the context's memory.
class CGImage : public NSObject {
 public:
  // PNG (libpng) or JPEG (libjpeg-turbo) data, told apart by signature; null
  // when the header is not readable or claims more than the data can hold.
  // `name` is the file the data came from: its warnings name it, once each.
  static Ptr<CGImage> imageWithData(std::vector<unsigned char> data,
                                    const std::string& name = std::string());
  // Pixels already in memory: straight-alpha RGBA rows from the top. With
  // `hasAlpha` false the fourth byte is ignored.
  static Ptr<CGImage> imageWithRGBA(std::size_t width, std::size_t height,
                                    const unsigned char* rgba, bool hasAlpha);
  // A mask: one coverage byte per pixel, rows from the top, no colour space.
  static Ptr<CGImage> maskWithAlpha(std::size_t width, std::size_t height,
                                    const unsigned char* alpha);

  // The file the data came from, as given to imageWithData; empty for pixels
  // made in memory.
  const std::string& name() const { return name_; }
  std::size_t width() const { return width_; }
  std::size_t height() const { return height_; }
  std::size_t bitsPerComponent() const { return bitsPerComponent_; }
  CGImageAlphaInfo alphaInfo() const { return alphaInfo_; }
  CGColorSpaceModel colorSpaceModel() const { return colorSpace_; }
  bool hasAlpha() const;

  // Decodes into rows of straight-alpha RGBA (alpha 255 where the image has
  // none), `bytesPerRow` apart, top row first. False (logged) on damaged data.
  bool decodeRGBA(unsigned char* rows, std::size_t bytesPerRow) const;

 private:
  enum class Source { PNG, JPEG, RGBA, Mask };
  CGImage() = default;
  bool readPNGHeader();
  bool readJPEGHeader();
  bool decodePNG(unsigned char* rows, std::size_t bytesPerRow) const;
  bool decodeJPEG(unsigned char* rows, std::size_t bytesPerRow) const;
  void warn(const std::string& text) const;

  Source source_ = Source::RGBA;
  std::vector<unsigned char> data_;
  std::string name_;
  std::size_t width_ = 0, height_ = 0, bitsPerComponent_ = 8;
  CGImageAlphaInfo alphaInfo_ = kCGImageAlphaNone;
  CGColorSpaceModel colorSpace_ = kCGColorSpaceModelRGB;
};
