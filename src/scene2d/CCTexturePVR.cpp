#include "CCTexturePVR.h"

#include <GLES/glext.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "CCConfiguration.h"
#include "CGImage.h"
#include "Log.h"
#include "ZipUtils.h"

namespace {
constexpr std::size_t kHeaderSize = 52;

enum : unsigned {
  kPVRTextureFlagTypeRGBA4444 = 0x10,
  kPVRTextureFlagTypeRGBA5551 = 0x11,
  kPVRTextureFlagTypeRGBA8888 = 0x12,
  kPVRTextureFlagTypeRGB565 = 0x13,
  kPVRTextureFlagTypeI8 = 0x16,
  kPVRTextureFlagTypeAI88 = 0x17,
  kPVRTextureFlagTypePVRTC2 = 0x18,
  kPVRTextureFlagTypePVRTC4 = 0x19,
  kPVRTextureFlagTypeBGRA8888 = 0x1A,
  kPVRTextureFlagTypeA8 = 0x1B
};

struct PVRFormat {
  unsigned type;
  GLenum internalFormat, format, glType;
  unsigned bpp;
  bool compressed;
};

constexpr PVRFormat kFormats[] = {
    {kPVRTextureFlagTypeRGBA4444, GL_RGBA, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 16, false},
    {kPVRTextureFlagTypeRGBA5551, GL_RGBA, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, 16, false},
    {kPVRTextureFlagTypeRGBA8888, GL_RGBA, GL_RGBA, GL_UNSIGNED_BYTE, 32, false},
    {kPVRTextureFlagTypeRGB565, GL_RGB, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 16, false},
    {kPVRTextureFlagTypeI8, GL_LUMINANCE, GL_LUMINANCE, GL_UNSIGNED_BYTE, 8, false},
    {kPVRTextureFlagTypeAI88, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 16, false},
    {kPVRTextureFlagTypePVRTC2, GL_COMPRESSED_RGBA_PVRTC_2BPPV1_IMG, 0, 0, 2, true},
    {kPVRTextureFlagTypePVRTC4, GL_COMPRESSED_RGBA_PVRTC_4BPPV1_IMG, 0, 0, 4, true},
    {kPVRTextureFlagTypeBGRA8888, GL_RGBA, GL_BGRA_EXT, GL_UNSIGNED_BYTE, 32, false},
    {kPVRTextureFlagTypeA8, GL_ALPHA, GL_ALPHA, GL_UNSIGNED_BYTE, 8, false},
};

unsigned readLE32(const unsigned char* p) {
  return unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16 | unsigned(p[3]) << 24;
}

bool isPOT(unsigned v) {
  return v != 0 && (v & (v - 1)) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - long(suffix.size()),
                    [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

struct FreeDeleter {
  void operator()(unsigned char* p) const { std::free(p); }
};
}  // namespace

Ptr<CCTexturePVR> CCTexturePVR::pvrTextureWithContentsOfFile(const std::string& path) {
  auto pvr = makeObject<CCTexturePVR>();
  return pvr->initWithContentsOfFile(path) ? pvr : nullptr;
}

Ptr<CCTexturePVR> CCTexturePVR::pvrTextureWithContentsOfURL(const std::string& url) {
  auto pvr = makeObject<CCTexturePVR>();
  return pvr->initWithContentsOfURL(url) ? pvr : nullptr;
}

CCTexturePVR::CCTexturePVR() = default;

CCTexturePVR::~CCTexturePVR() {
  if (name_ && !retainName_) glDeleteTextures(1, &name_);
}

void CCTexturePVR::reset() {
  numberOfMipmaps_ = 0;
  std::fill(std::begin(mipmaps_), std::end(mipmaps_), CCPVRMipmap{});
  width_ = height_ = 0;
  tableFormatIndex_ = -1;
  hasAlpha_ = false;
  retainName_ = false;
}

GLenum CCTexturePVR::glFormat() const {
  return tableFormatIndex_ >= 0 ? kFormats[tableFormatIndex_].format : 0;
}
GLenum CCTexturePVR::glType() const {
  return tableFormatIndex_ >= 0 ? kFormats[tableFormatIndex_].glType : 0;
}
bool CCTexturePVR::isCompressed() const {
  return tableFormatIndex_ >= 0 && kFormats[tableFormatIndex_].compressed;
}

void CCTexturePVR::warn(const std::string& text) const {
  if (path_.empty())
    logMessage(LogLevel::Warning, text);
  else
    logWarningOnce("image:" + path_, "image " + path_ + ": " + text);
}

bool CCTexturePVR::initWithContentsOfFile(const std::string& path) {
  path_ = path;
  unsigned char* raw = nullptr;
  int length;
  if (endsWith(path, ".ccz"))
    length = ccInflateCCZFile(path.c_str(), &raw);
  else if (endsWith(path, ".gz"))
    length = ccInflateGZipFile(path.c_str(), &raw);
  else
    length = ccLoadFileIntoMemory(path.c_str(), &raw);
  std::unique_ptr<unsigned char, FreeDeleter> data(raw);
  if (length < 0) return false;  // the reader said why
  reset();
  if (name_) {
    glDeleteTextures(1, &name_);
    name_ = 0;
  }
  CCConfiguration* configuration = CCConfiguration::sharedConfiguration();
  bool ok = unpackPVRData(data.get(), std::size_t(length), configuration->supportsBGRA8888()) &&
            createGLTexture(configuration->supportsPVRTC());
  // The levels point into the file data, which goes now.
  std::fill(std::begin(mipmaps_), std::end(mipmaps_), CCPVRMipmap{});
  return ok;
}

bool CCTexturePVR::initWithContentsOfURL(const std::string& url) {
  const std::string scheme = "file://";
  if (url.compare(0, scheme.size(), scheme) != 0) {
    CCLOGWARN("PVR textures load from file URLs only: %s", url.c_str());
    return false;
  }
  return initWithContentsOfFile(url.substr(scheme.size()));
}

bool CCTexturePVR::unpackPVRData(const unsigned char* data, std::size_t length,
                                 bool supportsBGRA8888) {
  reset();
  if (!data || length < kHeaderSize || data[44] != 'P' || data[45] != 'V' || data[46] != 'R' ||
      data[47] != '!') {
    warn("not a PVR file");
    return false;
  }
  unsigned height = readLE32(data + 4), width = readLE32(data + 8);
  unsigned type = readLE32(data + 16) & 0xFF;
  unsigned dataLength = readLE32(data + 20);
  if (!isPOT(width) || !isPOT(height)) {
    warn("PVR size " + std::to_string(width) + "x" + std::to_string(height) +
         " is not a power of two");
    return false;
  }
  int row = -1;
  for (int i = 0; i < int(std::size(kFormats)) && row < 0; ++i)
    if (kFormats[i].type == type) row = i;
  if (row < 0) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", type);
    warn(std::string("unsupported PVR pixel type ") + hex);
    return false;
  }
  if (type == kPVRTextureFlagTypeBGRA8888 && !supportsBGRA8888) {
    warn("this GL takes no BGRA8888 PVR textures");
    return false;
  }
  if (dataLength > length - kHeaderSize) {
    warn("PVR data of " + std::to_string(dataLength) + " bytes runs past the end of the file");
    return false;
  }

  const PVRFormat& format = kFormats[row];
  // Its GL texture costs what the first level holds; the data being there
  // says nothing about what a machine can afford.
  if (std::string why = CGImage::refusalForSize(width, height, format.bpp); !why.empty()) {
    warn("PVR of " + why + ", refused");
    return false;
  }
  unsigned blockSize = 1, widthBlocksDivisor = 1, heightBlocksDivisor = 1;
  if (type == kPVRTextureFlagTypePVRTC4) {
    blockSize = 4 * 4;
    widthBlocksDivisor = heightBlocksDivisor = 4;
  } else if (type == kPVRTextureFlagTypePVRTC2) {
    blockSize = 8 * 4;
    widthBlocksDivisor = 8;
    heightBlocksDivisor = 4;
  }
  unsigned levelW = width, levelH = height, offset = 0;
  int levels = 0;
  while (offset < dataLength) {
    if (levels == CC_PVRMIPMAP_MAX) {
      warn("PVR file has more than " + std::to_string(CC_PVRMIPMAP_MAX) + " mipmap levels");
      return false;
    }
    std::uint64_t widthBlocks = std::max(2u, levelW / widthBlocksDivisor);
    std::uint64_t heightBlocks = std::max(2u, levelH / heightBlocksDivisor);
    std::uint64_t size = widthBlocks * heightBlocks * (blockSize * format.bpp / 8);
    unsigned packet = unsigned(std::min<std::uint64_t>(dataLength - offset, size));
    // GL reads a whole level of raw pixels: a clipped level must still hold them.
    std::uint64_t needed = std::uint64_t(levelW) * levelH * format.bpp / 8;
    if (!format.compressed && packet < needed) {
      warn("PVR mipmap level " + std::to_string(levels) + " holds " + std::to_string(packet) +
           " of its " + std::to_string(needed) + " bytes");
      return false;
    }
    mipmaps_[levels] = {data + kHeaderSize + offset, packet};
    ++levels;
    offset += packet;
    levelW = std::max(levelW >> 1, 1u);
    levelH = std::max(levelH >> 1, 1u);
  }
  if (levels == 0) {
    warn("PVR file holds no pixel data");
    return false;
  }
  numberOfMipmaps_ = levels;
  tableFormatIndex_ = row;
  width_ = width;
  height_ = height;
  hasAlpha_ = readLE32(data + 40) != 0;
  return true;
}

bool CCTexturePVR::createGLTexture(bool supportsPVRTC) {
  if (numberOfMipmaps_ == 0) return false;
  const PVRFormat& format = kFormats[tableFormatIndex_];
  if (format.compressed && !supportsPVRTC) {
    logWarningOnce("pvrtc", "PVRTC textures are not supported by this GL; they are not loaded");
    return false;
  }
  if (name_) glDeleteTextures(1, &name_);
  while (glGetError() != GL_NO_ERROR) {
  }
  glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  unsigned levelW = width_, levelH = height_;
  for (int level = 0; level < numberOfMipmaps_; ++level) {
    const CCPVRMipmap& mipmap = mipmaps_[level];
    if (format.compressed)
      glCompressedTexImage2D(GL_TEXTURE_2D, level, format.internalFormat, GLsizei(levelW),
                             GLsizei(levelH), 0, GLsizei(mipmap.length), mipmap.address);
    else
      glTexImage2D(GL_TEXTURE_2D, level, GLint(format.internalFormat), GLsizei(levelW),
                   GLsizei(levelH), 0, format.format, format.glType, mipmap.address);
    if (GLenum error = glGetError(); error != GL_NO_ERROR) {
      warn("PVR mipmap level " + std::to_string(level) + " upload failed: GL error " +
           std::to_string(error));
      return false;
    }
    levelW = std::max(levelW >> 1, 1u);
    levelH = std::max(levelH >> 1, 1u);
  }
  return true;
}
