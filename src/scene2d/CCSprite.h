#pragma once
#include <GLES/gl.h>

#include <string>

#include "CCActionInstant.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "CCTexture2D.h"
#include "CGImage.h"
#include "ccTypes.h"

// A node drawing one rectangle of a texture as a coloured, textured quad. The
// quad is in the node's own pixel space: top-left, bottom-left, top-right,
// bottom-right, drawn as a triangle strip in that order.
class CCSprite : public CCNode,
                 public CCRGBAProtocol,
                 public CCBlendProtocol,
                 public CCFlipProtocol {
 public:
  static Ptr<CCSprite> sprite();
  static Ptr<CCSprite> spriteWithTexture(CCTexture2D* texture);
  static Ptr<CCSprite> spriteWithTexture(CCTexture2D* texture, CGRect rect);
  static Ptr<CCSprite> spriteWithFile(const std::string& filename);
  static Ptr<CCSprite> spriteWithFile(const std::string& filename, CGRect rect);
  static Ptr<CCSprite> spriteWithCGImage(CGImage* image, const std::string& key);

  CCSprite();
  ~CCSprite() override;

  // Resets the sprite to no texture, white, opaque, unflipped, centred anchor.
  virtual bool init();
  bool initWithTexture(CCTexture2D* texture);
  bool initWithTexture(CCTexture2D* texture, CGRect rect);
  bool initWithFile(const std::string& filename);
  bool initWithFile(const std::string& filename, CGRect rect);
  bool initWithCGImage(CGImage* image, const std::string& key);

  // The used part of the texture, in points / in pixels.
  void setTextureRect(CGRect rect);
  void setTextureRectInPixels(CGRect rect, bool rotated, CGSize untrimmedSize);
  CGRect textureRect() const { return rect_; }
  CGRect textureRectInPixels() const { return rectInPixels_; }
  bool textureRectRotated() const { return rectRotated_; }
  CGPoint offsetPositionInPixels() const { return offsetPositionInPixels_; }

  bool flipX() const { return flipX_; }
  void setFlipX(bool flip) override;
  bool flipY() const { return flipY_; }
  void setFlipY(bool flip) override;

  ccColor3B color() const override;
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override { return opacity_; }
  void setOpacity(GLubyte opacity) override;
  void setOpacityModifyRGB(bool modify) override;
  bool doesOpacityModifyRGB() const override { return opacityModifyRGB_; }

  ccBlendFunc blendFunc() const override { return blendFunc_; }
  void setBlendFunc(ccBlendFunc blendFunc) override {
    blendFunc_ = blendFunc;
    DrawRevision::bump();
  }

  CCTexture2D* texture() const { return texture_.get(); }
  virtual void setTexture(CCTexture2D* texture);
  void updateBlendFunc();
  void updateColor();

  const ccV3F_C4B_T2F_Quad& quad() const { return quad_; }
  bool usesBatchNode() const { return false; }

  void draw() override;
  std::string description() const override;

 protected:
  void updateTextureCoords(CGRect rectInPixels);

  ccBlendFunc blendFunc_{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
  Ptr<CCTexture2D> texture_;
  CGRect rect_ = CGRectZero;
  CGRect rectInPixels_ = CGRectZero;
  bool rectRotated_ = false;
  CGPoint offsetPositionInPixels_ = CGPointZero;
  CGPoint unflippedOffsetPositionFromCenter_ = CGPointZero;
  ccV3F_C4B_T2F_Quad quad_{};
  GLubyte opacity_ = 255;
  ccColor3B color_ = ccWHITE;
  ccColor3B colorUnmodified_ = ccWHITE;
  bool opacityModifyRGB_ = true;
  bool flipX_ = false;
  bool flipY_ = false;
};
