#include "CCTexture2D.h"

#include <GLES/glext.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Assert.h"
#include "CCConfiguration.h"
#include "CCTexturePVR.h"
#include "CGContext.h"
#include "GLExtensions.h"
#include "Log.h"
#include "ccTypes.h"
#include "ccUtils.h"

namespace {
CCTexture2DPixelFormat gDefaultAlphaPixelFormat = kCCTexture2DPixelFormat_Default;
bool gRecordsAlphaCells = false;
bool gPVRHaveAlphaPremultiplied = false;

bool isPOT(unsigned v) {
  return v != 0 && (v & (v - 1)) == 0;
}

// 32-bit pixels (R in the lowest byte) to 16 bits, in place: the output never
// overtakes the input.
void convertTo16Bits(unsigned char* buffer, std::size_t pixels, CCTexture2DPixelFormat format) {
  const unsigned char* in = buffer;
  auto* out = reinterpret_cast<unsigned short*>(buffer);
  for (std::size_t i = 0; i < pixels; ++i, in += 4) {
    unsigned r = in[0], g = in[1], b = in[2], a = in[3];
    unsigned short value = 0;
    if (format == kCCTexture2DPixelFormat_RGB565)
      value = static_cast<unsigned short>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    else if (format == kCCTexture2DPixelFormat_RGBA4444)
      value =
          static_cast<unsigned short>((r >> 4) << 12 | (g >> 4) << 8 | (b >> 4) << 4 | (a >> 4));
    else
      value =
          static_cast<unsigned short>((r >> 3) << 11 | (g >> 3) << 6 | (b >> 3) << 1 | (a >> 7));
    out[i] = value;
  }
}

CCTexture2DPixelFormat formatOfPVRTable(GLenum format, GLenum type) {
  if (format == GL_RGBA && type == GL_UNSIGNED_BYTE) return kCCTexture2DPixelFormat_RGBA8888;
  if (format == GL_RGB && type == GL_UNSIGNED_SHORT_5_6_5) return kCCTexture2DPixelFormat_RGB565;
  if (format == GL_ALPHA) return kCCTexture2DPixelFormat_A8;
  if (type == GL_UNSIGNED_SHORT_4_4_4_4) return kCCTexture2DPixelFormat_RGBA4444;
  if (type == GL_UNSIGNED_SHORT_5_5_5_1) return kCCTexture2DPixelFormat_RGB5A1;
  return kCCTexture2DPixelFormat_Automatic;
}
}  // namespace

CCTexture2D::CCTexture2D() = default;

CCTexture2D::~CCTexture2D() {
  if (name_) glDeleteTextures(1, &name_);
}

void CCTexture2D::setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format) {
  gDefaultAlphaPixelFormat = format;
}
CCTexture2DPixelFormat CCTexture2D::defaultAlphaPixelFormat() {
  return gDefaultAlphaPixelFormat;
}

void CCTexture2D::setRecordsAlphaCells(bool on) {
  gRecordsAlphaCells = on;
}
bool CCTexture2D::recordsAlphaCells() {
  return gRecordsAlphaCells;
}
void CCTexture2D::PVRImagesHavePremultipliedAlpha(bool haveAlphaPremultiplied) {
  gPVRHaveAlphaPremultiplied = haveAlphaPremultiplied;
}

CGSize CCTexture2D::contentSize() const {
  float scale = CC_CONTENT_SCALE_FACTOR();
  return {size_.width / scale, size_.height / scale};
}

std::string CCTexture2D::description() const {
  char fields[160];
  std::snprintf(fields, sizeof fields,
                " | Name = %u | Dimensions = %ux%u | Coordinates = (%.2f, %.2f)>", name_, width_,
                height_, double(maxS_), double(maxT_));
  return objectAddressPrefix(this) + fields;
}

bool CCTexture2D::fitsMaximumSize(unsigned width, unsigned height) const {
  unsigned maxSize = unsigned(CCConfiguration::sharedConfiguration()->maxTextureSize());
  if (width <= maxSize && height <= maxSize) return true;
  CCLOGWARN("Image (%u x %u) is bigger than the supported %u x %u", width, height, maxSize,
            maxSize);
  return false;
}

bool CCTexture2D::initWithData(const void* data, CCTexture2DPixelFormat pixelFormat,
                               unsigned pixelsWide, unsigned pixelsHigh, CGSize contentSize) {
  GLenum format = 0, type = 0;
  switch (pixelFormat) {
    case kCCTexture2DPixelFormat_RGBA8888:
      format = GL_RGBA;
      type = GL_UNSIGNED_BYTE;
      break;
    case kCCTexture2DPixelFormat_RGB565:
      format = GL_RGB;
      type = GL_UNSIGNED_SHORT_5_6_5;
      break;
    case kCCTexture2DPixelFormat_A8:
      format = GL_ALPHA;
      type = GL_UNSIGNED_BYTE;
      break;
    case kCCTexture2DPixelFormat_RGBA4444:
      format = GL_RGBA;
      type = GL_UNSIGNED_SHORT_4_4_4_4;
      break;
    case kCCTexture2DPixelFormat_RGB5A1:
      format = GL_RGBA;
      type = GL_UNSIGNED_SHORT_5_5_5_1;
      break;
    default:
      CCAssert(false, "");
  }
  if (!name_) glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  width_ = pixelsWide;
  height_ = pixelsHigh;
  setAntiAliasTexParameters();
  // Rows of 1- and 2-byte pixels are packed, not padded to 4 bytes.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), GLsizei(pixelsWide), GLsizei(pixelsHigh), 0, format,
               type, data);
  size_ = contentSize;
  format_ = pixelFormat;
  maxS_ = pixelsWide ? contentSize.width / float(pixelsWide) : 0;
  maxT_ = pixelsHigh ? contentSize.height / float(pixelsHigh) : 0;
  hasPremultipliedAlpha_ = false;
  return true;
}

bool CCTexture2D::initWithImage(UIImage* image) {
  return image ? initWithImage(image->CGImage()) : false;
}

bool CCTexture2D::initWithImage(CGImage* image) {
  if (!image) return false;
  unsigned imageW = unsigned(image->width()), imageH = unsigned(image->height());
  unsigned potW = ccNextPOT(imageW), potH = ccNextPOT(imageH);
  if (!fitsMaximumSize(potW, potH)) return false;

  bool hasAlpha = image->hasAlpha();
  CCTexture2DPixelFormat pixelFormat;
  if (image->colorSpaceModel() != kCGColorSpaceModelNone)
    pixelFormat = (hasAlpha || image->bitsPerComponent() >= 8) ? gDefaultAlphaPixelFormat
                                                               : kCCTexture2DPixelFormat_RGB565;
  else
    pixelFormat = kCCTexture2DPixelFormat_A8;
  CCAssert(pixelFormat >= kCCTexture2DPixelFormat_RGBA8888 &&
               pixelFormat <= kCCTexture2DPixelFormat_RGB5A1,
           "Invalid pixel format");

  bool alphaOnly = pixelFormat == kCCTexture2DPixelFormat_A8;
  bool premultiplied = hasAlpha && !alphaOnly && pixelFormat != kCCTexture2DPixelFormat_RGB565;
  std::size_t bytesPerPixel = alphaOnly ? 1 : 4;
  std::size_t pixels = std::size_t(potW) * potH;
  auto* data = static_cast<unsigned char*>(std::calloc(pixels, bytesPerPixel));
  if (!data) return false;
  auto context = CGContext::bitmapContext(
      data, potW, potH, potW * bytesPerPixel,
      alphaOnly ? kCGColorSpaceModelNone : kCGColorSpaceModelRGB,
      alphaOnly ? kCGImageAlphaOnly
                : (premultiplied ? kCGImageAlphaPremultipliedLast : kCGImageAlphaNoneSkipLast));
  // The image sits in the top-left corner: the unused area is right and below.
  if (!context || !context->drawImage(CGPointMake(0, float(potH - imageH)), *image)) {
    std::free(data);
    return false;
  }
  if (premultiplied && recordsAlphaCells())
    alphaCells_ = CCTextureAlphaCells(data, potW, potH, imageW, imageH);
  if (pixelFormat == kCCTexture2DPixelFormat_RGB565 ||
      pixelFormat == kCCTexture2DPixelFormat_RGBA4444 ||
      pixelFormat == kCCTexture2DPixelFormat_RGB5A1)
    convertTo16Bits(data, pixels, pixelFormat);

  initWithData(data, pixelFormat, potW, potH, CGSizeMake(float(imageW), float(imageH)));
  hasPremultipliedAlpha_ = premultiplied;
  hasAlpha_ = hasAlpha;
  std::free(data);
  return true;
}

bool CCTexture2D::initWithString(const std::string& string, const std::string& fontName,
                                 float fontSize) {
  auto font = UIFont::fontWithName(fontName, fontSize);
  if (!font) {
    logWarningOnce("font:" + fontName, "Unable to load font " + fontName);
    return false;
  }
  CGSize dimensions = NSStringDrawing::sizeWithFont(string, *font);
  return initWithString(string, dimensions, UITextAlignmentCenter, font.get());
}

bool CCTexture2D::initWithString(const std::string& string, CGSize dimensions,
                                 UITextAlignment alignment, const std::string& fontName,
                                 float fontSize) {
  auto font = UIFont::fontWithName(fontName, fontSize);
  if (!font) {
    logWarningOnce("font:" + fontName, "Unable to load font " + fontName);
    return false;
  }
  return initWithString(string, dimensions, alignment, font.get());
}

bool CCTexture2D::initWithString(const std::string& string, CGSize dimensions,
                                 UITextAlignment alignment, UIFont* font) {
  CCAssert(font, "Invalid font");
  if (!(dimensions.width >= 0 && dimensions.height >= 0)) return false;
  // An empty text still gets a (blank) one-pixel texture.
  unsigned potW = ccNextPOT(std::max(1u, unsigned(dimensions.width)));
  unsigned potH = ccNextPOT(std::max(1u, unsigned(dimensions.height)));
  if (!fitsMaximumSize(potW, potH)) return false;
  std::vector<unsigned char> data(std::size_t(potW) * potH, 0);
  auto context = CGContext::bitmapContext(data.data(), potW, potH, potW, kCGColorSpaceModelNone,
                                          kCGImageAlphaOnly);
  if (!context) return false;
  NSStringDrawing::drawInRect(*context, string,
                              CGRectMake(0, 0, dimensions.width, dimensions.height), *font,
                              UILineBreakModeWordWrap, alignment);
  return initWithData(data.data(), kCCTexture2DPixelFormat_A8, potW, potH, dimensions);
}

bool CCTexture2D::initWithString(const std::string& string, CGSize dimensions,
                                 UITextAlignment alignment, UIFont* font,
                                 const TextHighlight& highlight) {
  CCAssert(font, "Invalid font");
  if (!(dimensions.width >= 0 && dimensions.height >= 0)) return false;
  unsigned potW = ccNextPOT(std::max(1u, unsigned(dimensions.width)));
  unsigned potH = ccNextPOT(std::max(1u, unsigned(dimensions.height)));
  if (!fitsMaximumSize(potW, potH)) return false;
  std::vector<unsigned char> data(std::size_t(potW) * potH * 4, 0);
  auto context = CGContext::bitmapContext(data.data(), potW, potH, potW * 4, kCGColorSpaceModelRGB,
                                          kCGImageAlphaPremultipliedLast);
  if (!context) return false;
  NSStringDrawing::drawInRect(*context, string,
                              CGRectMake(0, 0, dimensions.width, dimensions.height), *font,
                              UILineBreakModeWordWrap, alignment, highlight);
  if (!initWithData(data.data(), kCCTexture2DPixelFormat_RGBA8888, potW, potH, dimensions))
    return false;
  hasPremultipliedAlpha_ = true;
  return true;
}

bool CCTexture2D::initWithPVRTCData(const void* data, int level, int bpp, bool hasAlpha,
                                    int length) {
  if (!CCConfiguration::sharedConfiguration()->supportsPVRTC()) {
    logWarningOnce("pvrtc", "PVRTC textures are not supported by this GL; they are not loaded");
    return false;
  }
  GLenum format;
  if (hasAlpha)
    format = bpp == 4 ? GL_COMPRESSED_RGBA_PVRTC_4BPPV1_IMG : GL_COMPRESSED_RGBA_PVRTC_2BPPV1_IMG;
  else
    format = bpp == 4 ? GL_COMPRESSED_RGB_PVRTC_4BPPV1_IMG : GL_COMPRESSED_RGB_PVRTC_2BPPV1_IMG;
  GLsizei size = std::max(32, bpp * length * length / 8);
  if (!name_) glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  setAntiAliasTexParameters();
  glCompressedTexImage2D(GL_TEXTURE_2D, level, format, length, length, 0, size, data);
  size_ = CGSizeMake(float(length), float(length));
  width_ = height_ = unsigned(length);
  maxS_ = maxT_ = 1;
  hasPremultipliedAlpha_ = gPVRHaveAlphaPremultiplied;
  return true;
}

bool CCTexture2D::initWithPVRFile(const std::string& path) {
  auto pvr = CCTexturePVR::pvrTextureWithContentsOfFile(path);
  if (!pvr) return false;
  pvr->setRetainName(true);
  if (name_) glDeleteTextures(1, &name_);
  name_ = pvr->name();
  width_ = pvr->width();
  height_ = pvr->height();
  size_ = CGSizeMake(float(width_), float(height_));
  format_ = formatOfPVRTable(pvr->glFormat(), pvr->glType());
  maxS_ = maxT_ = 1;
  hasPremultipliedAlpha_ = gPVRHaveAlphaPremultiplied;
  setAntiAliasTexParameters();
  return true;
}

void CCTexture2D::drawAtPoint(CGPoint point) {
  GLfloat coordinates[] = {0, maxT_, maxS_, maxT_, 0, 0, maxS_, 0};
  GLfloat width = GLfloat(width_) * maxS_, height = GLfloat(height_) * maxT_;
  GLfloat vertices[] = {point.x, point.y,          0, width + point.x, point.y,          0,
                        point.x, height + point.y, 0, width + point.x, height + point.y, 0};
  glBindTexture(GL_TEXTURE_2D, name_);
  glVertexPointer(3, GL_FLOAT, 0, vertices);
  glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void CCTexture2D::drawInRect(CGRect rect) {
  GLfloat coordinates[] = {0, maxT_, maxS_, maxT_, 0, 0, maxS_, 0};
  GLfloat x = rect.origin.x, y = rect.origin.y;
  GLfloat right = x + rect.size.width, top = y + rect.size.height;
  GLfloat vertices[] = {x, y, 0, right, y, 0, x, top, 0, right, top, 0};
  glBindTexture(GL_TEXTURE_2D, name_);
  glVertexPointer(3, GL_FLOAT, 0, vertices);
  glTexCoordPointer(2, GL_FLOAT, 0, coordinates);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void CCTexture2D::setTexParameters(const ccTexParams& params) {
  CCAssert((isPOT(width_) && isPOT(height_)) ||
               (params.wrapS == GL_CLAMP_TO_EDGE && params.wrapT == GL_CLAMP_TO_EDGE),
           "GL_CLAMP_TO_EDGE should be used in NPOT textures");
  glBindTexture(GL_TEXTURE_2D, name_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(params.minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(params.magFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(params.wrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(params.wrapT));
}

void CCTexture2D::setAntiAliasTexParameters() {
  setTexParameters({GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE});
}

void CCTexture2D::setAliasTexParameters() {
  setTexParameters({GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE});
}

void CCTexture2D::generateMipmap() {
  CCAssert(isPOT(width_) && isPOT(height_), "Mimpap texture only works in POT textures");
  glBindTexture(GL_TEXTURE_2D, name_);
  ccglGenerateMipmap(GL_TEXTURE_2D);
}

void CCTexture2D::releaseData(void* data) {
  std::free(data);
}
void* CCTexture2D::keepData(void* data, unsigned) {
  return data;
}
