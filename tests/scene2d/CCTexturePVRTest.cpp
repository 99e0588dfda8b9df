#include "CCTexturePVR.h"

#include <zlib.h>

#include <fstream>

#include "MemoryMeter.h"
#include "TextureTestFixture.h"

namespace {
using Bytes = std::vector<unsigned char>;

void putLE32(Bytes& b, std::size_t at, unsigned v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

Bytes pvrFile(unsigned width, unsigned height, unsigned type, const Bytes& pixels,
              unsigned alphaMask = 0, long dataLength = -1) {
  // Header and pixels sized at once: GCC 12 misreads an insert after a fixed-size header.
  Bytes file(52 + pixels.size(), 0);
  putLE32(file, 0, 52);
  putLE32(file, 4, height);
  putLE32(file, 8, width);
  putLE32(file, 16, type);
  putLE32(file, 20, dataLength < 0 ? unsigned(pixels.size()) : unsigned(dataLength));
  putLE32(file, 40, alphaMask);
  file[44] = 'P';
  file[45] = 'V';
  file[46] = 'R';
  file[47] = '!';
  std::copy(pixels.begin(), pixels.end(), file.begin() + 52);
  return file;
}

// A 4 x 4 RGBA8888 level of one colour, then 2 x 2 and 1 x 1 levels.
Bytes rgbaWithMipmaps(std::array<unsigned char, 4> colour) {
  Bytes pixels;
  for (int i = 0; i < 16 + 4 + 1; ++i) pixels.insert(pixels.end(), colour.begin(), colour.end());
  return pvrFile(4, 4, 0x12, pixels, 0xFF000000u);
}

void writeFile(const std::string& path, const Bytes& data) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

Bytes ccz(const Bytes& payload) {
  uLongf size = compressBound(uLong(payload.size()));
  Bytes out(16 + size);
  compress(out.data() + 16, &size, payload.data(), uLong(payload.size()));
  out.resize(16 + size);
  const char header[] = "CCZ!";
  std::copy(header, header + 4, out.begin());
  out[6] = 0;
  out[7] = 2;
  for (int i = 0; i < 4; ++i)
    out[12 + i] = static_cast<unsigned char>(payload.size() >> (24 - 8 * i));
  return out;
}
}  // namespace

using CCTexturePVRTest = TextureTest;

TEST(CCTexturePVR, PVRTC4MipmapLevelsCountAtLeastTwoBlocksASide) {
  // 256 x 256 at 4 bits per pixel down to 1 x 1.
  const unsigned expected[] = {32768, 8192, 2048, 512, 128, 32, 32, 32, 32};
  unsigned total = 0;
  for (unsigned length : expected) total += length;
  Bytes file = pvrFile(256, 256, 0x19, Bytes(total, 0x55), 1);
  auto pvr = makeObject<CCTexturePVR>();
  ASSERT_TRUE(pvr->unpackPVRData(file.data(), file.size(), false));
  ASSERT_EQ(pvr->numberOfMipmaps(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(pvr->mipmap(i).length, expected[i]) << "level " << i;
  EXPECT_EQ(pvr->mipmap(0).address, file.data() + 52);
  EXPECT_EQ(pvr->mipmap(1).address, file.data() + 52 + 32768);
  EXPECT_TRUE(pvr->hasAlpha());
  EXPECT_TRUE(pvr->isCompressed());
  EXPECT_EQ(pvr->width(), 256u);

  // PVRTC2 blocks are 8 x 4: a 16 x 16 level is 2 x 4 blocks of 8 bytes.
  Bytes two = pvrFile(16, 16, 0x18, Bytes(64, 0));
  ASSERT_TRUE(pvr->unpackPVRData(two.data(), two.size(), false));
  EXPECT_EQ(pvr->mipmap(0).length, 64u);
  EXPECT_FALSE(pvr->hasAlpha());
}

TEST(CCTexturePVR, HeadersThatLieOrDoNotFitAreRefused) {
  auto pvr = makeObject<CCTexturePVR>();
  auto refused = [&](const Bytes& file) {
    return !pvr->unpackPVRData(file.data(), file.size(), false);
  };
  EXPECT_TRUE(refused(pvrFile(300, 256, 0x12, Bytes(300 * 256 * 4))));  // width not a power of 2
  EXPECT_TRUE(refused(pvrFile(0, 4, 0x12, Bytes(64))));
  EXPECT_TRUE(refused(pvrFile(4, 4, 0x14, Bytes(64))));              // unknown pixel type
  EXPECT_TRUE(refused(pvrFile(4, 4, 0x1A, Bytes(64))));              // BGRA8888 unsupported
  EXPECT_TRUE(refused(pvrFile(4, 4, 0x12, Bytes(64), 0, 1 << 30)));  // data past the end
  EXPECT_TRUE(refused(pvrFile(4, 4, 0x12, Bytes(63))));              // level 0 short
  EXPECT_TRUE(refused(Bytes(51, 0)));
  Bytes badTag = pvrFile(4, 4, 0x12, Bytes(64));
  badTag[47] = '?';
  EXPECT_TRUE(refused(badTag));
  // More levels than a texture can hold: refused, not an assertion.
  EXPECT_TRUE(refused(pvrFile(1, 1, 0x1B, Bytes(17 * 4))));

  Bytes bgra = pvrFile(4, 4, 0x1A, Bytes(64));
  EXPECT_TRUE(pvr->unpackPVRData(bgra.data(), bgra.size(), true));
  // A clipped last level that still holds what GL reads is accepted: the
  // 1 x 1 level of an RGBA file counts 16 bytes but needs 4.
  EXPECT_TRUE(pvr->unpackPVRData(rgbaWithMipmaps({1, 2, 3, 4}).data(), 52 + 84, false));
}

TEST_F(CCTexturePVRTest, LoadsPlainGzipAndCCZFilesIntoTextures) {
  Bytes file = rgbaWithMipmaps({0, 200, 0, 255});
  writeFile(dir_.file("green.pvr"), file);
  gzFile gz = gzopen(dir_.file("green.pvr.gz").c_str(), "wb");
  gzwrite(gz, file.data(), unsigned(file.size()));
  gzclose(gz);
  writeFile(dir_.file("green.pvr.ccz"), ccz(file));

  int x = 4;
  for (const char* name : {"green.pvr", "green.pvr.gz", "green.pvr.ccz"}) {
    auto texture = makeObject<CCTexture2D>();
    ASSERT_TRUE(texture->initWithPVRFile(dir_.file(name))) << name;
    EXPECT_EQ(texture->pixelsWide(), 4u);
    EXPECT_EQ(texture->contentSizeInPixels(), CGSizeMake(4, 4));
    EXPECT_EQ(texture->maxS(), 1);
    EXPECT_EQ(texture->pixelFormat(), kCCTexture2DPixelFormat_RGBA8888);
    drawTexture(texture, CGRectMake(float(x), 0, 8, 8));
    EXPECT_TRUE(colourNear(pixel(x + 4, 4), {0, 200, 0})) << name;
    x += 16;
  }
  EXPECT_FALSE(makeObject<CCTexture2D>()->initWithPVRFile(dir_.file("missing.pvr")));

  // No PVRTC on this GL: a PVRTC file loads no texture.
  if (!CCConfiguration::sharedConfiguration()->supportsPVRTC()) {
    writeFile(dir_.file("c.pvr"), pvrFile(8, 8, 0x19, Bytes(32)));
    EXPECT_FALSE(makeObject<CCTexture2D>()->initWithPVRFile(dir_.file("c.pvr")));
  }
}

TEST_F(CCTexturePVRTest, ReaderDeletesItsTextureUnlessTheNameIsRetained) {
  writeFile(dir_.file("a.pvr"), pvrFile(2, 2, 0x1B, Bytes(4, 255)));
  auto pvr = CCTexturePVR::pvrTextureWithContentsOfFile(dir_.file("a.pvr"));
  ASSERT_TRUE(pvr);
  GLuint name = pvr->name();
  EXPECT_TRUE(glIsTexture(name));
  pvr = nullptr;
  EXPECT_FALSE(glIsTexture(name));

  pvr = CCTexturePVR::pvrTextureWithContentsOfURL("file://" + dir_.file("a.pvr"));
  ASSERT_TRUE(pvr);
  name = pvr->name();
  pvr->setRetainName(true);
  pvr = nullptr;
  EXPECT_TRUE(glIsTexture(name));
  glDeleteTextures(1, &name);
  EXPECT_FALSE(CCTexturePVR::pvrTextureWithContentsOfURL("http://example.invalid/a.pvr"));
}

// A PVR header over the picture limits is refused before any texture is made
// for it, plain or compressed, named once in the log.
TEST_F(CCTexturePVRTest, PVRFilesOverThePictureLimitsAreRefusedOnce) {
  const std::string huge = dir_.file("huge.pvr"), heavy = dir_.file("heavy.pvr.ccz");
  writeFile(huge, pvrFile(8192, 8192, 0x12, Bytes(64)));
  writeFile(heavy, ccz(pvrFile(4096, 2048, 0x12, Bytes(64))));
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  {
    MemoryMeter meter;
    for (int visit = 0; visit < 3; ++visit) {
      EXPECT_FALSE(CCTexturePVR::pvrTextureWithContentsOfFile(huge));
      EXPECT_FALSE(CCTexturePVR::pvrTextureWithContentsOfFile(heavy));
    }
    EXPECT_LT(meter.residentGrowth(), std::size_t(2) << 20);
    if (MemoryMeter::allocationsSeen()) {
      EXPECT_LT(meter.largestAllocation(), std::size_t(1) << 20);
    }
  }
  const std::string said = testing::internal::GetCapturedStderr();
  setLogLevel(LogLevel::Silent);
  EXPECT_EQ(said, "lumo-book: warning: image " + huge +
                      ": PVR of 8192 x 8192 pixels, over the limit of 4096 pixels a side, "
                      "refused\nlumo-book: warning: image " +
                      heavy +
                      ": PVR of 4096 x 2048 pixels, 32 MiB decoded, over the limit of 16 MiB, "
                      "refused\n");
}
