#include "CGImage.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CGContext.h"
#include "Log.h"
#include "MemoryMeter.h"
#include "TestSupport.h"
#include "UIImage.h"

namespace {
using Bytes = std::vector<unsigned char>;

// Encodes rows of `channels` bytes per pixel (or packed for bit depths below 8).
Bytes encodePNG(int width, int height, int colorType, int bitDepth, const Bytes& rows) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t length) {
        auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + length);
      },
      nullptr);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::size_t stride = rows.size() / std::size_t(height);
  for (int y = 0; y < height; ++y)
    png_write_row(png, const_cast<png_bytep>(rows.data() + std::size_t(y) * stride));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// Progressive and without chroma subsampling, the form that makes libjpeg
// keep the most while it decodes.
Bytes encodeJPEG(int width, int height, unsigned char r, unsigned char g, unsigned char b,
                 bool progressive = false) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error{};
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) {
    jpeg_simple_progression(&cinfo);
    for (int c = 0; c < 3; ++c)
      cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&cinfo, TRUE);
  Bytes row(std::size_t(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[std::size_t(x) * 3] = r;
    row[std::size_t(x) * 3 + 1] = g;
    row[std::size_t(x) * 3 + 2] = b;
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&cinfo);
  return out;
}

// Rewrites the IHDR size of a PNG (and its checksum).
Bytes withClaimedSize(Bytes png, unsigned width, unsigned height) {
  auto put = [&](std::size_t at, unsigned v) {
    png[at] = static_cast<unsigned char>(v >> 24);
    png[at + 1] = static_cast<unsigned char>(v >> 16);
    png[at + 2] = static_cast<unsigned char>(v >> 8);
    png[at + 3] = static_cast<unsigned char>(v);
  };
  put(16, width);
  put(20, height);
  put(29, unsigned(crc32(0, png.data() + 12, 17)));
  return png;
}

// Rewrites the frame size in a JPEG's start-of-frame header.
Bytes withClaimedJPEGSize(Bytes jpeg, unsigned width, unsigned height) {
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
      jpeg[i + 6] = static_cast<unsigned char>(height);
      jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
      jpeg[i + 8] = static_cast<unsigned char>(width);
      break;
    }
  return jpeg;
}

// `count` zTXt chunks whose texts inflate to `inflated` bytes each, put after
// the IHDR.
Bytes withTextBombs(Bytes png, int count, std::size_t inflated) {
  const Bytes zeros(inflated, 0);
  uLongf size = compressBound(uLong(zeros.size()));
  Bytes body = {'z', 'T', 'X', 't', 'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
  body.resize(body.size() + size);
  compress(body.data() + 13, &size, zeros.data(), uLong(zeros.size()));
  body.resize(13 + size);
  const std::size_t length = body.size() - 4;
  const uLong crc = crc32(0, body.data(), uInt(body.size()));
  Bytes chunk = {static_cast<unsigned char>(length >> 24), static_cast<unsigned char>(length >> 16),
                 static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length)};
  chunk.insert(chunk.end(), body.begin(), body.end());
  for (int shift : {24, 16, 8, 0}) chunk.push_back(static_cast<unsigned char>(crc >> shift));
  for (int i = 0; i < count; ++i)
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());  // signature 8, IHDR 25
  return png;
}

std::string writeFile(const TempDir& dir, const char* name, const Bytes& bytes) {
  std::FILE* file = std::fopen(dir.file(name).c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return dir.file(name);
}

constexpr std::size_t kMiB = std::size_t(1) << 20;

struct QuietLog {
  QuietLog() : saved(logLevel()) { setLogLevel(LogLevel::Silent); }
  ~QuietLog() { setLogLevel(saved); }
  LogLevel saved;
};
}  // namespace

TEST(CGImage, PNGWithAlphaIsPremultipliedIntoTheTopLeftOfTheContext) {
  // 2 x 1: half-transparent red, then opaque blue.
  Bytes rows = {255, 0, 0, 128, 0, 0, 255, 255};
  auto image = CGImage::imageWithData(encodePNG(2, 1, PNG_COLOR_TYPE_RGBA, 8, rows));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 2u);
  EXPECT_EQ(image->height(), 1u);
  EXPECT_TRUE(image->hasAlpha());
  EXPECT_EQ(image->bitsPerComponent(), 8u);
  EXPECT_EQ(image->colorSpaceModel(), kCGColorSpaceModelRGB);

  Bytes buffer(4 * 4 * 2, 0);  // 4 x 2 context
  auto context = CGContext::bitmapContext(buffer.data(), 4, 2, 16, kCGColorSpaceModelRGB,
                                          kCGImageAlphaPremultipliedLast);
  ASSERT_TRUE(context);
  // Lower-left origin: y = 1 puts the one-row image on the top row.
  ASSERT_TRUE(context->drawImage(CGPointMake(0, 1), *image));
  Bytes expected = {128, 0, 0, 128, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0,
                    0,   0, 0, 0,   0, 0, 0,   0,   0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(buffer, expected);
  EXPECT_FALSE(context->drawImage(CGPointMake(3, 0), *image));  // would spill over the edge
}

TEST(CGImage, OpaqueAndLowDepthPNGsDecodeToOpaqueRGB) {
  auto rgb = CGImage::imageWithData(encodePNG(1, 1, PNG_COLOR_TYPE_RGB, 8, {10, 20, 30}));
  ASSERT_TRUE(rgb);
  EXPECT_FALSE(rgb->hasAlpha());
  Bytes pixel(4, 0);
  ASSERT_TRUE(rgb->decodeRGBA(pixel.data(), 4));
  EXPECT_EQ(pixel, (Bytes{10, 20, 30, 255}));

  // 4-bit grey: two pixels packed in one byte, 0xF and 0x0.
  auto grey = CGImage::imageWithData(encodePNG(2, 1, PNG_COLOR_TYPE_GRAY, 4, {0xF0}));
  ASSERT_TRUE(grey);
  EXPECT_EQ(grey->bitsPerComponent(), 4u);
  EXPECT_EQ(grey->colorSpaceModel(), kCGColorSpaceModelMonochrome);
  Bytes pixels(8, 0);
  ASSERT_TRUE(grey->decodeRGBA(pixels.data(), 8));
  EXPECT_EQ(pixels, (Bytes{255, 255, 255, 255, 0, 0, 0, 255}));
}

TEST(CGImage, JPEGDecodesOpaque) {
  auto image = CGImage::imageWithData(encodeJPEG(16, 8, 200, 30, 40));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width(), 16u);
  EXPECT_EQ(image->height(), 8u);
  EXPECT_FALSE(image->hasAlpha());
  Bytes pixels(16 * 8 * 4);
  ASSERT_TRUE(image->decodeRGBA(pixels.data(), 16 * 4));
  EXPECT_NEAR(pixels[0], 200, 4);
  EXPECT_NEAR(pixels[1], 30, 4);
  EXPECT_NEAR(pixels[2], 40, 4);
  EXPECT_EQ(pixels[3], 255);
}

TEST(CGImage, BrokenAndLyingDataIsRefused) {
  QuietLog quiet;
  EXPECT_FALSE(CGImage::imageWithData(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_FALSE(CGImage::imageWithData(Bytes{}));

  Bytes rows(64 * 64 * 4);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<unsigned char>(i * 7);
  Bytes png = encodePNG(64, 64, PNG_COLOR_TYPE_RGBA, 8, rows);
  // Cut inside the pixel data: the header reads, the decode fails halfway
  // without writing outside the context.
  Bytes cut(png.begin(), png.begin() + long(png.size() / 2));
  auto truncated = CGImage::imageWithData(cut);
  ASSERT_TRUE(truncated);
  Bytes buffer(64 * 64 * 4 + 16, 0xAB);
  EXPECT_FALSE(truncated->decodeRGBA(buffer.data(), 64 * 4));
  for (std::size_t i = 64 * 64 * 4; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xAB);

  // A header claiming 20000 x 20000 pixels over a few bytes of data.
  EXPECT_FALSE(CGImage::imageWithData(withClaimedSize(png, 20000, 20000)));
  // A damaged JPEG body.
  Bytes jpeg = encodeJPEG(32, 32, 1, 2, 3);
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {  // cut just after the start of scan
      jpeg.resize(i + 20);
      break;
    }
  auto damaged = CGImage::imageWithData(jpeg);
  ASSERT_TRUE(damaged);  // the header is intact
  // The missing rows may come out grey, but nothing is written past the rows.
  Bytes out(32 * 32 * 4 + 16, 0xAB);
  damaged->decodeRGBA(out.data(), 32 * 4);
  for (std::size_t i = 32 * 32 * 4; i < out.size(); ++i) ASSERT_EQ(out[i], 0xAB);
}

// A picture file that cannot be used is named in one warning, however often
// its page asks for it again; a picture from memory keeps the plain warning.
TEST(CGImage, ABadFileIsNamedInOneWarning) {
  TempDir dir;
  Bytes rows(64 * 64 * 4, 0x5A);
  const Bytes png = encodePNG(64, 64, PNG_COLOR_TYPE_RGBA, 8, rows);
  const Bytes half(png.begin(), png.begin() + long(png.size() / 2));
  const Bytes noise(png.size(), 0x3C);
  auto write = [&dir](const char* name, const Bytes& bytes) {
    std::FILE* file = std::fopen(dir.file(name).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return dir.file(name);
  };
  const std::string cut = write("cut.png", half), garbage = write("noise.png", noise);
  const std::string gone = dir.file("gone.png");
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  for (int visit = 0; visit < 3; ++visit) {
    auto image = UIImage::imageWithContentsOfFile(cut);
    ASSERT_TRUE(image) << "the header of a cut file still reads";
    Bytes pixels(64 * 64 * 4);
    EXPECT_FALSE(image->CGImage()->decodeRGBA(pixels.data(), 64 * 4));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile(garbage));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile(gone));
  }
  EXPECT_FALSE(CGImage::imageWithData(noise));
  EXPECT_FALSE(CGImage::imageWithData(noise));
  const std::string log = testing::internal::GetCapturedStderr();
  setLogLevel(LogLevel::Error);
  EXPECT_EQ(log, "lumo-book: warning: image " + cut +
                     ": PNG decoding failed: truncated PNG data\n" + "lumo-book: warning: image " +
                     garbage + ": image data is neither PNG nor JPEG\n" +
                     "lumo-book: warning: cannot read image file " + gone + "\n" +
                     "lumo-book: warning: image data is neither PNG nor JPEG\n" +
                     "lumo-book: warning: image data is neither PNG nor JPEG\n");
}

// Pictures over the limits are refused from their headers, once each in the
// log, before anything is allocated for their pixels: headers that ask for
// too much, and an honest one whose few kilobytes inflate to 256 MiB as RGBA.
// The same meter sees the book's largest picture decode.
TEST(CGImage, PicturesOverTheLimitsAreRefusedBeforeTheirPixelsCostAnything) {
  TempDir dir;
  const std::string huge = writeFile(
      dir, "huge.png", encodePNG(8192, 8192, PNG_COLOR_TYPE_GRAY, 1, Bytes(8192 * 1024, 0)));
  const std::string heavy = writeFile(
      dir, "heavy.png", encodePNG(4096, 4096, PNG_COLOR_TYPE_GRAY, 1, Bytes(4096 * 512, 0)));
  const Bytes jpeg = encodeJPEG(16, 16, 10, 20, 30);
  const std::string hugeJPEG = writeFile(dir, "huge.jpg", withClaimedJPEGSize(jpeg, 8192, 8192));
  const std::string heavyJPEG = writeFile(dir, "heavy.jpg", withClaimedJPEGSize(jpeg, 4000, 4000));
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  {
    MemoryMeter meter;
    for (int visit = 0; visit < 3; ++visit)
      for (const std::string& path : {huge, heavy, hugeJPEG, heavyJPEG}) {
        auto image = UIImage::imageWithContentsOfFile(path);
        EXPECT_FALSE(image) << path;
        // What the texture loader would do with a picture let through.
        if (image && visit == 0) {
          const ::CGImage* picture = image->CGImage();
          Bytes pixels(picture->width() * picture->height() * 4);
          picture->decodeRGBA(pixels.data(), picture->width() * 4);
        }
      }
    EXPECT_LT(meter.residentGrowth(), 4 * kMiB);
    if (MemoryMeter::allocationsSeen()) {
      EXPECT_LT(meter.largestAllocation(), kMiB);
    }
  }
  const std::string log = testing::internal::GetCapturedStderr();
  setLogLevel(LogLevel::Error);
  const std::string prefix = "lumo-book: warning: image ";
  EXPECT_EQ(log,
            prefix + huge +
                ": PNG of 8192 x 8192 pixels, over the limit of 4096 pixels a side, refused\n" +
                prefix + heavy +
                ": PNG of 4096 x 4096 pixels, 64 MiB decoded, over the limit of 16 MiB, "
                "refused\n" +
                prefix + hugeJPEG +
                ": JPEG of 8192 x 8192 pixels, over the limit of 4096 pixels a side, "
                "refused\n" +
                prefix + heavyJPEG +
                ": JPEG of 4000 x 4000 pixels, 62 MiB decoded, over the limit of 16 MiB, "
                "refused\n");

  // Pictures at the limits decode, in the forms that cost the decoders most.
  for (const Bytes& atTheLimit :
       {encodeJPEG(2048, 2048, 10, 20, 30, true),
        encodePNG(4096, 1024, PNG_COLOR_TYPE_GRAY, 1, Bytes(512 * 1024, 0))}) {
    auto image = CGImage::imageWithData(atTheLimit, "limit");
    ASSERT_TRUE(image);
    Bytes pixels(image->width() * image->height() * 4);
    EXPECT_TRUE(image->decodeRGBA(pixels.data(), image->width() * 4)) << image->width();
  }

  // The book's largest picture, 1024 x 1024, decodes into its 4 MiB.
  MemoryMeter meter;
  auto largest = CGImage::imageWithData(
      encodePNG(1024, 1024, PNG_COLOR_TYPE_GRAY, 1, Bytes(1024 * 128, 0xAA)), "largest.png");
  ASSERT_TRUE(largest);
  Bytes pixels(1024 * 1024 * 4);
  EXPECT_TRUE(largest->decodeRGBA(pixels.data(), 1024 * 4));
  EXPECT_GE(meter.residentGrowth(), 4 * kMiB);
  if (MemoryMeter::allocationsSeen()) {
    EXPECT_GE(meter.largestAllocation(), 4 * kMiB);
  }
}

// Metadata is skipped unread: sixteen comments of 7 MiB each (libpng's own
// limit is 8 MB a chunk), 120 KB in the file, cost nothing, and the picture
// under them decodes.
TEST(CGImage, CompressedTextInAPNGIsNeverInflated) {
  const Bytes rows = {255, 0, 0, 255, 0, 0, 255, 255};
  const Bytes png = withTextBombs(encodePNG(2, 1, PNG_COLOR_TYPE_RGBA, 8, rows), 16, 7 * kMiB);
  MemoryMeter meter;
  auto image = CGImage::imageWithData(png, "bomb.png");
  ASSERT_TRUE(image);
  Bytes pixels(8);
  ASSERT_TRUE(image->decodeRGBA(pixels.data(), 8));
  EXPECT_EQ(pixels, rows);
  EXPECT_LT(meter.residentGrowth(), 4 * kMiB);
  if (MemoryMeter::allocationsSeen()) {
    EXPECT_LT(meter.largestAllocation(), kMiB);
  }
}
