#pragma once
#include <GLES/gl.h>

#include <cstddef>
#include <string>

#include "NSObject.h"

constexpr int CC_PVRMIPMAP_MAX = 16;

struct CCPVRMipmap {
  const unsigned char* address = nullptr;
  unsigned int length = 0;
};

// A PVR file (version 2 layout) of raw or PVRTC pixels with its mipmap
// levels, stored plain, gzip-compressed (".gz") or in a CCZ container
// (".ccz"), uploaded into a GL texture. File contents are untrusted: every
// length is checked against the data really present, and the size against
// the limits a decoded picture has (CGImage.h).
class CCTexturePVR : public NSObject {
 public:
  static Ptr<CCTexturePVR> pvrTextureWithContentsOfFile(const std::string& path);
  static Ptr<CCTexturePVR> pvrTextureWithContentsOfURL(const std::string& url);
  CCTexturePVR();
  ~CCTexturePVR() override;

  bool initWithContentsOfFile(const std::string& path);
  // file:// URLs only.
  bool initWithContentsOfURL(const std::string& url);

  // Reads the header and splits the data into mipmap levels (no GL needed);
  // the levels point into `data`, which must outlive their use.
  bool unpackPVRData(const unsigned char* data, std::size_t length, bool supportsBGRA8888);

  GLuint name() const { return name_; }
  unsigned width() const { return width_; }
  unsigned height() const { return height_; }
  bool hasAlpha() const { return hasAlpha_; }
  bool retainName() const { return retainName_; }
  void setRetainName(bool retainName) { retainName_ = retainName; }

  int numberOfMipmaps() const { return numberOfMipmaps_; }
  const CCPVRMipmap& mipmap(int level) const { return mipmaps_[level]; }
  // The row of the format table, -1 when none; its GL format and type.
  int tableFormatIndex() const { return tableFormatIndex_; }
  GLenum glFormat() const;
  GLenum glType() const;
  bool isCompressed() const;

 private:
  void reset();
  bool createGLTexture(bool supportsPVRTC);
  // Names the file being read, once per file, as a picture's warnings do.
  void warn(const std::string& text) const;

  std::string path_;
  int tableFormatIndex_ = -1;
  CCPVRMipmap mipmaps_[CC_PVRMIPMAP_MAX];
  int numberOfMipmaps_ = 0;
  unsigned width_ = 0, height_ = 0;
  GLuint name_ = 0;
  bool hasAlpha_ = false;
  bool retainName_ = false;
};
