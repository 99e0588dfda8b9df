#include "CGImage.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "Log.h"

namespace {
// Deflate cannot shrink data by more than about 1032:1; a PNG whose header
// claims more pixel bytes than that ratio allows is refused before any
// allocation, whatever it says.
constexpr std::size_t kMaxDeflateRatio = 1040;
// A picture's metadata (an ICC profile, text) is a few hundred KB at most; a
// larger chunk marks a damaged or hostile file.
constexpr png_alloc_size_t kPNGMaxChunkBytes = png_alloc_size_t(4) << 20;
constexpr png_uint_32 kPNGMaxStoredChunks = 32;
// A progressive JPEG keeps the whole picture's coefficients while it decodes:
// two bytes per sample, at most three samples per pixel, so up to 1.5 times
// its RGBA size.
constexpr long kJPEGMaxWorkBytes = long(2 * kCGImageMaxDecodedBytes);
constexpr std::size_t kPNGSignatureBytes = 8;

std::uint32_t readBE32(const unsigned char* p) {
  return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

std::string mebibytes(std::size_t bytes) {
  return std::to_string((bytes + (std::size_t(1) << 20) - 1) >> 20) + " MiB";
}

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

// RAII for a libpng read structure, with libpng's own limits behind the size
// check: no chunk makes it allocate more than a picture's metadata needs, and
// the metadata is skipped unread (only the pixels are used), so no compressed
// text or profile is ever inflated.
struct PNGRead {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::string error;
  PNGRead() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, pngError, pngWarning);
    if (!png) return;
    info = png_create_info_struct(png);
    png_set_user_limits(png, kCGImageMaxSide, kCGImageMaxSide);
    png_set_chunk_malloc_max(png, kPNGMaxChunkBytes);
    png_set_chunk_cache_max(png, kPNGMaxStoredChunks);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
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

// Makes libjpeg fail rather than hold more than a picture at the limit needs.
void limitJPEG(jpeg_decompress_struct& cinfo) {
  cinfo.mem->max_memory_to_use = kJPEGMaxWorkBytes;
}

bool isPNG(const std::vector<unsigned char>& data) {
  return data.size() >= kPNGSignatureBytes && png_sig_cmp(data.data(), 0, kPNGSignatureBytes) == 0;
}

// The size in the IHDR chunk, which must come first, read before libpng is
// asked anything; zero when the data does not start that way.
void peekPNGSize(const std::vector<unsigned char>& data, std::size_t& width, std::size_t& height) {
  const unsigned char* ihdr = data.data() + kPNGSignatureBytes;
  if (data.size() < kPNGSignatureBytes + 16 || std::memcmp(ihdr + 4, "IHDR", 4) != 0) return;
  width = readBE32(ihdr + 8);
  height = readBE32(ihdr + 12);
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
  if (std::string why = refusalForFileSize(image->data_.size()); !why.empty()) {
    image->warn(why);
  } else if (isPNG(image->data_)) {
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

std::string CGImage::refusalForSize(std::size_t width, std::size_t height,
                                    std::size_t bitsPerPixel) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width > kCGImageMaxSide || height > kCGImageMaxSide)
    return size + ", over the limit of " + std::to_string(kCGImageMaxSide) + " pixels a side";
  const std::size_t bytes = (width * height * bitsPerPixel + 7) / 8;
  if (bytes > kCGImageMaxDecodedBytes)
    return size + ", " + mebibytes(bytes) + " decoded, over the limit of " +
           mebibytes(kCGImageMaxDecodedBytes);
  return std::string();
}

std::string CGImage::refusalForFileSize(std::size_t bytes) {
  if (bytes <= kCGImageMaxFileBytes) return std::string();
  return "file of " + mebibytes(bytes) + " refused: over the limit of " +
         mebibytes(kCGImageMaxFileBytes) + " for a picture file";
}

bool CGImage::hasAlpha() const {
  return alphaInfo_ == kCGImageAlphaPremultipliedLast ||
         alphaInfo_ == kCGImageAlphaPremultipliedFirst || alphaInfo_ == kCGImageAlphaLast ||
         alphaInfo_ == kCGImageAlphaFirst || alphaInfo_ == kCGImageAlphaOnly;
}

bool CGImage::readPNGHeader() {
  std::size_t claimedWidth = 0, claimedHeight = 0;
  peekPNGSize(data_, claimedWidth, claimedHeight);
  if (std::string why = refusalForSize(claimedWidth, claimedHeight); !why.empty()) {
    warn("PNG of " + why + ", refused");
    return false;
  }
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
  if (w == 0 || h == 0 || (rowBytes + 1) * h > data_.size() * kMaxDeflateRatio) {
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
  limitJPEG(cinfo);
  jpeg_mem_src(&cinfo, data_.data(), static_cast<unsigned long>(data_.size()));
  jpeg_read_header(&cinfo, TRUE);
  width_ = cinfo.image_width;
  height_ = cinfo.image_height;
  bool supported = cinfo.jpeg_color_space != JCS_CMYK && cinfo.jpeg_color_space != JCS_YCCK;
  colorSpace_ = cinfo.num_components == 1 ? kCGColorSpaceModelMonochrome : kCGColorSpaceModelRGB;
  jpeg_destroy_decompress(&cinfo);
  alphaInfo_ = kCGImageAlphaNone;
  bitsPerComponent_ = 8;
  if (std::string why = refusalForSize(width_, height_); !why.empty()) {
    warn("JPEG of " + why + ", refused");
    return false;
  }
  if (!supported || width_ == 0 || height_ == 0) {
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
  limitJPEG(cinfo);
  jpeg_mem_src(&cinfo, data_.data(), static_cast<unsigned long>(data_.size()));
  jpeg_read_header(&cinfo, TRUE);
  // The size that passed the limits, checked again before libjpeg allocates.
  bool ok = cinfo.image_width == width_ && cinfo.image_height == height_;
  cinfo.out_color_space = JCS_EXT_RGBA;
  if (ok) jpeg_start_decompress(&cinfo);
  ok = ok && cinfo.output_width == width_ && cinfo.output_height == height_ &&
       cinfo.output_components == 4;
  while (ok && cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = rows + std::size_t(cinfo.output_scanline) * bytesPerRow;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  if (ok) jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return ok;
}
