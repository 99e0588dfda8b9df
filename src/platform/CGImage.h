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

// What one picture may cost, whatever its file says. The book's largest
// picture is 1024 x 1024 (4 MiB decoded); pictures from a book folder may be
// four times that, so a 2048 x 2048 background for a double-resolution screen
// still loads, while one file can no longer make the program hold hundreds
// of megabytes. A texture rounds the sides up to powers of two: at most twice
// the decoded size again.
constexpr std::size_t kCGImageMaxSide = 4096;
constexpr std::size_t kCGImageMaxDecodedBytes = std::size_t(16) << 20;  // as RGBA
// A picture file larger than its pixels is padding or metadata: 16-bit
// channels double the raw size, nothing real needs more.
constexpr std::size_t kCGImageMaxFileBytes = 2 * kCGImageMaxDecodedBytes;

// A decodable picture. Creating one from file data reads only the header; the
// pixels are decoded when the image is drawn into a bitmap context, straight
// into the context's memory.
class CGImage : public NSObject {
 public:
  // PNG (libpng) or JPEG (libjpeg-turbo) data, told apart by signature; null
  // when the header is not readable, claims more than the data can hold or
  // is over the limits above (checked before anything is allocated for it).
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
  // Why a picture of this size is refused, naming the limit; empty when it
  // is within the limits above. `bitsPerPixel` is what it takes decoded.
  static std::string refusalForSize(std::size_t width, std::size_t height,
                                    std::size_t bitsPerPixel = 32);
  // The same for a picture file of `bytes`.
  static std::string refusalForFileSize(std::size_t bytes);

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
