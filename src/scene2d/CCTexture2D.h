#pragma once
#include <GLES/gl.h>

#include <string>

#include "CCTextureAlphaCells.h"
#include "CGGeometry.h"
#include "CGImage.h"
#include "NSObject.h"
#include "NSStringDrawing.h"
#include "UIFont.h"
#include "UIImage.h"

enum CCTexture2DPixelFormat {
  kCCTexture2DPixelFormat_Automatic = 0,
  kCCTexture2DPixelFormat_RGBA8888 = 1,
  kCCTexture2DPixelFormat_RGB565 = 2,
  kCCTexture2DPixelFormat_A8 = 3,
  kCCTexture2DPixelFormat_RGBA4444 = 4,
  kCCTexture2DPixelFormat_RGB5A1 = 5,
  kCCTexture2DPixelFormat_Default = kCCTexture2DPixelFormat_RGBA8888
};

struct ccTexParams {
  GLuint minFilter;
  GLuint magFilter;
  GLuint wrapS;
  GLuint wrapT;
};

// A GL texture with power-of-two sides holding an image, a text or PVR data.
// The used part is content size over texture size (maxS, maxT); texture
// coordinate (0, 0) is the content's top-left corner.
class CCTexture2D : public NSObject {
 public:
  CCTexture2D();
  ~CCTexture2D() override;

  bool initWithData(const void* data, CCTexture2DPixelFormat pixelFormat, unsigned pixelsWide,
                    unsigned pixelsHigh, CGSize contentSize);
  bool initWithImage(UIImage* image);
  bool initWithImage(CGImage* image);
  bool initWithString(const std::string& string, const std::string& fontName, float fontSize);
  bool initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                      const std::string& fontName, float fontSize);
  bool initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                      UIFont* font);
  // The text in white with one part in its own colour: a premultiplied RGBA
  // texture, the lines where the plain one puts them.
  bool initWithString(const std::string& string, CGSize dimensions, UITextAlignment alignment,
                      UIFont* font, const TextHighlight& highlight);
  bool initWithPVRFile(const std::string& path);
  bool initWithPVRTCData(const void* data, int level, int bpp, bool hasAlpha, int length);

  // Draw the used part as a triangle strip; the caller enables the vertex and
  // texture-coordinate arrays.
  void drawAtPoint(CGPoint point);
  void drawInRect(CGRect rect);

  void setTexParameters(const ccTexParams& params);
  void setAntiAliasTexParameters();
  void setAliasTexParameters();
  void generateMipmap();

  // Frees a buffer handed to an initialiser; `keepData` hands it back.
  void releaseData(void* data);
  void* keepData(void* data, unsigned length);

  static void setDefaultAlphaPixelFormat(CCTexture2DPixelFormat format);
  static CCTexture2DPixelFormat defaultAlphaPixelFormat();
  // Whether pictures loaded from now on note where they can be seen (their
  // alpha cells); off, as nothing the book draws reads them.
  static void setRecordsAlphaCells(bool on);
  static bool recordsAlphaCells();
  static void PVRImagesHavePremultipliedAlpha(bool haveAlphaPremultiplied);

  GLuint name() const { return name_; }
  unsigned pixelsWide() const { return width_; }
  unsigned pixelsHigh() const { return height_; }
  CCTexture2DPixelFormat pixelFormat() const { return format_; }
  GLfloat maxS() const { return maxS_; }
  void setMaxS(GLfloat s) { maxS_ = s; }
  GLfloat maxT() const { return maxT_; }
  void setMaxT(GLfloat t) { maxT_ = t; }
  bool hasPremultipliedAlpha() const { return hasPremultipliedAlpha_; }
  // False for a picture made from an image with no alpha: every texel opaque.
  bool hasAlpha() const { return hasAlpha_; }
  // Where an image's picture can be seen; empty for texts and PVR data.
  const CCTextureAlphaCells& alphaCells() const { return alphaCells_; }
  CGSize contentSizeInPixels() const { return size_; }
  CGSize contentSize() const;

  std::string description() const override;

 private:
  bool fitsMaximumSize(unsigned width, unsigned height) const;

  GLuint name_ = 0;
  CGSize size_ = CGSizeZero;
  unsigned width_ = 0, height_ = 0;
  CCTexture2DPixelFormat format_ = kCCTexture2DPixelFormat_Automatic;
  GLfloat maxS_ = 0, maxT_ = 0;
  bool hasPremultipliedAlpha_ = false;
  bool hasAlpha_ = true;
  CCTextureAlphaCells alphaCells_;
};
