#include "CGImage.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "Log.h"

namespace {
// Deflate cannot shrink data by more than about 1032:1; a PNG whose header
// claims more pixel bytes than that ratio allows is refused before any
// allocation, whatever it says.
constexpr std::size_t kMaxDeflateRatio = 1040;
constexpr std::size_t kMaxSide = 1u << 15;

struct PNGReader {
  const std::vector<unsigned char>* data;
  std::size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* reader = static_cast<PNGReader*>(png_get_io_ptr(png));
  if (length > reader->data->size() - reader->offset) png_error(png, "truncated PNG data");
  std::memcpy(out, reader->data->data() + reader->offset, length);
  reader->offset += length;
}

// The decoders' errors are kept for the image to report, naming its file.
void pngError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}
void pngWarning(png_structp, png_const_charp) {}

// RAII for a libpng read structure.
struct PNGRead {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::string error;
  PNGRead() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, pngError, pngWarning);
    if (png) info = png_create_info_struct(png);
  }
  ~PNGRead() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct JPEGError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr cinfo) {
  auto* error = reinterpret_cast<JPEGError*>(cinfo->err);
  cinfo->err->format_message(cinfo, error->message);
  std::longjmp(error->jump, 1);
}
void jpegSilence(j_common_ptr, int) {}

bool isPNG(const std::vector<unsigned char>& data) {
  return data.size() >= 8 && png_sig_cmp(data.data(), 0, 8) == 0;
}
bool isJPEG(const std::vector<unsigned char>& data) {
  return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}
}  // namespace

Ptr<CGImage> CGImage::imageWithData(std::vector<unsigned char> data, const std::string& name) {
  auto image = Ptr<CGImage>::adopt(new CGImage());
  image->data_ = std::move(data);
  image->name_ = name;
  bool ok = false;
  if (isPNG(image->data_)) {
    image->source_ = Source::PNG;
    ok = image->readPNGHeader();
  } else if (isJPEG(image->data_)) {
    image->source_ = Source::JPEG;
    ok = image->readJPEGHeader();
  } else {
    image->warn("image data is neither PNG nor JPEG");
  }
  return ok ? image : nullptr;
}

void CGImage::warn(const std::string& text) const {
  if (name_.empty())
    logMessage(LogLevel::Warning, text);
  else
    logWarningOnce("image:" + name_, "image " + name_ + ": " + text);
}

Ptr<CGImage> CGImage::imageWithRGBA(std::size_t width, std::size_t height,
                                    const unsigned char* rgba, bool hasAlpha) {
  if (!rgba || width == 0 || height == 0) return nullptr;
  auto image = Ptr<CGImage>::adopt(new CGImage());
  image->source_ = Source::RGBA;
  image->data_.assign(rgba, rgba + width * height * 4);
  image->width_ = width;
  image->height_ = height;
  image->alphaInfo_ = hasAlpha ? kCGImageAlphaLast : kCGImageAlphaNoneSkipLast;
  return image;
}

Ptr<CGImage> CGImage::maskWithAlpha(std::size_t width, std::size_t height,
                                    const unsigned char* alpha) {
  if (!alpha || width == 0 || height == 0) return nullptr;
  auto image = Ptr<CGImage>::adopt(new CGImage());
  image->source_ = Source::Mask;
  image->data_.assign(alpha, alpha + width * height);
  image->width_ = width;
  image->height_ = height;
  image->alphaInfo_ = kCGImageAlphaOnly;
  image->colorSpace_ = kCGColorSpaceModelNone;
  return image;
}

bool CGImage::hasAlpha() const {
  return alphaInfo_ == kCGImageAlphaPremultipliedLast ||
         alphaInfo_ == kCGImageAlphaPremultipliedFirst || alphaInfo_ == kCGImageAlphaLast ||
         alphaInfo_ == kCGImageAlphaFirst || alphaInfo_ == kCGImageAlphaOnly;
}

bool CGImage::readPNGHeader() {
  PNGRead read;
  if (!read.info) return false;
  PNGReader reader{&data_, 0};
  if (setjmp(png_jmpbuf(read.png))) {
    warn("PNG decoding failed: " + read.error);
    return false;
  }
  png_set_read_fn(read.png, &reader, readFromMemory);
  png_read_info(read.png, read.info);
  png_uint_32 w = png_get_image_width(read.png, read.info);
  png_uint_32 h = png_get_image_height(read.png, read.info);
  int depth = png_get_bit_depth(read.png, read.info);
  int type = png_get_color_type(read.png, read.info);
  std::size_t rowBytes = png_get_rowbytes(read.png, read.info);
  if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide ||
      (rowBytes + 1) * h > data_.size() * kMaxDeflateRatio) {
    warn("PNG header claims " + std::to_string(w) + "x" + std::to_string(h) + " pixels, refused");
    return false;
  }
  width_ = w;
  height_ = h;
  bitsPerComponent_ = std::size_t(depth);
  bool alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(read.png, read.info, PNG_INFO_tRNS);
  alphaInfo_ = alpha ? kCGImageAlphaLast : kCGImageAlphaNone;
  colorSpace_ =
      (type & PNG_COLOR_MASK_COLOR) ? kCGColorSpaceModelRGB : kCGColorSpaceModelMonochrome;
  return true;
}

bool CGImage::readJPEGHeader() {
  jpeg_decompress_struct cinfo{};
  JPEGError error{};
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jpegErrorExit;
  error.manager.emit_message = jpegSilence;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    warn(std::string("JPEG decoding failed: ") + error.message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data_.data(), static_cast<unsigned long>(data_.size()));
  jpeg_read_header(&cinfo, TRUE);
  width_ = cinfo.image_width;
  height_ = cinfo.image_height;
  bool supported = cinfo.jpeg_color_space != JCS_CMYK && cinfo.jpeg_color_space != JCS_YCCK;
  colorSpace_ = cinfo.num_components == 1 ? kCGColorSpaceModelMonochrome : kCGColorSpaceModelRGB;
  jpeg_destroy_decompress(&cinfo);
  alphaInfo_ = kCGImageAlphaNone;
  bitsPerComponent_ = 8;
  if (!supported || width_ == 0 || height_ == 0 || width_ > kMaxSide || height_ > kMaxSide) {
    warn("JPEG of " + std::to_string(width_) + "x" + std::to_string(height_) +
         " pixels in an unsupported form, refused");
    return false;
  }
  return true;
}

bool CGImage::decodeRGBA(unsigned char* rows, std::size_t bytesPerRow) const {
  switch (source_) {
    case Source::PNG:
      return decodePNG(rows, bytesPerRow);
    case Source::JPEG:
      return decodeJPEG(rows, bytesPerRow);
    case Source::RGBA:
      for (std::size_t y = 0; y < height_; ++y) {
        unsigned char* out = rows + y * bytesPerRow;
        std::memcpy(out, data_.data() + y * width_ * 4, width_ * 4);
        if (!hasAlpha())
          for (std::size_t x = 0; x < width_; ++x) out[x * 4 + 3] = 255;
      }
      return true;
    case Source::Mask:
      for (std::size_t y = 0; y < height_; ++y) {
        unsigned char* out = rows + y * bytesPerRow;
        const unsigned char* in = data_.data() + y * width_;
        for (std::size_t x = 0; x < width_; ++x) {
          out[x * 4] = out[x * 4 + 1] = out[x * 4 + 2] = 0;
          out[x * 4 + 3] = in[x];
        }
      }
      return true;
  }
  return false;
}

namespace {
// Only parameters cross libpng's longjmp here, so no local can be clobbered.
bool readPNGRows(png_structp png, png_infop info, PNGReader* reader, png_bytep* rowPointers,
                 std::size_t width, std::size_t height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, reader, readFromMemory);
  png_read_info(png, info);
  if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height)
    return false;
  int type = png_get_color_type(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != width * 4) return false;
  png_read_image(png, rowPointers);
  return true;
}
}  // namespace

bool CGImage::decodePNG(unsigned char* rows, std::size_t bytesPerRow) const {
  PNGRead read;
  if (!read.info) return false;
  PNGReader reader{&data_, 0};
  std::vector<png_bytep> rowPointers(height_);
  for (std::size_t y = 0; y < height_; ++y) rowPointers[y] = rows + y * bytesPerRow;
  if (readPNGRows(read.png, read.info, &reader, rowPointers.data(), width_, height_)) return true;
  if (!read.error.empty()) warn("PNG decoding failed: " + read.error);
  return false;
}

bool CGImage::decodeJPEG(unsigned char* rows, std::size_t bytesPerRow) const {
  jpeg_decompress_struct cinfo{};
  JPEGError error{};
  cinfo.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jpegErrorExit;
  error.manager.emit_message = jpegSilence;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    warn(std::string("JPEG decoding failed: ") + error.message);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data_.data(), static_cast<unsigned long>(data_.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&cinfo);
  bool ok = cinfo.output_width == width_ && cinfo.output_height == height_ &&
            cinfo.output_components == 4;
  while (ok && cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rows + std::size_t(cinfo.output_scanline) * bytesPerRow;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  if (ok) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return ok;
}
