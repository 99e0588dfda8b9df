#include "CCSprite.h"

#include <cstdio>
#include <utility>

#include "Assert.h"
#include "CCTextureCache.h"

namespace {
CGRect rectPointsToPixels(CGRect r) {
  float f = CC_CONTENT_SCALE_FACTOR();
  return CGRectMake(r.origin.x * f, r.origin.y * f, r.size.width * f, r.size.height * f);
}
CGRect rectPixelsToPoints(CGRect r) {
  float f = CC_CONTENT_SCALE_FACTOR();
  return CGRectMake(r.origin.x / f, r.origin.y / f, r.size.width / f, r.size.height / f);
}
}  // namespace

Ptr<CCSprite> CCSprite::sprite() {
  return makeObject<CCSprite>();
}

Ptr<CCSprite> CCSprite::spriteWithTexture(CCTexture2D* texture) {
  auto sprite = makeObject<CCSprite>();
  return sprite->initWithTexture(texture) ? sprite : nullptr;
}

Ptr<CCSprite> CCSprite::spriteWithTexture(CCTexture2D* texture, CGRect rect) {
  auto sprite = makeObject<CCSprite>();
  return sprite->initWithTexture(texture, rect) ? sprite : nullptr;
}

Ptr<CCSprite> CCSprite::spriteWithFile(const std::string& filename) {
  auto sprite = makeObject<CCSprite>();
  return sprite->initWithFile(filename) ? sprite : nullptr;
}

Ptr<CCSprite> CCSprite::spriteWithFile(const std::string& filename, CGRect rect) {
  auto sprite = makeObject<CCSprite>();
  return sprite->initWithFile(filename, rect) ? sprite : nullptr;
}

Ptr<CCSprite> CCSprite::spriteWithCGImage(CGImage* image, const std::string& key) {
  auto sprite = makeObject<CCSprite>();
  return sprite->initWithCGImage(image, key) ? sprite : nullptr;
}

CCSprite::CCSprite() {
  CCSprite::init();
}

CCSprite::~CCSprite() = default;

bool CCSprite::init() {
  opacityModifyRGB_ = true;
  opacity_ = 255;
  color_ = colorUnmodified_ = ccWHITE;
  blendFunc_ = {GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
  flipX_ = flipY_ = false;
  CCNode::setAnchorPoint(CGPointMake(0.5f, 0.5f));
  offsetPositionInPixels_ = CGPointZero;
  unflippedOffsetPositionFromCenter_ = CGPointZero;
  rectRotated_ = false;
  quad_ = {};
  for (ccV3F_C4B_T2F* v : {&quad_.tl, &quad_.bl, &quad_.tr, &quad_.br})
    v->colors = {255, 255, 255, 255};
  // No texture: straight alpha blending, colours not premultiplied.
  setTexture(nullptr);
  setTextureRect(CGRectZero);
  return true;
}

bool CCSprite::initWithTexture(CCTexture2D* texture) {
  CCAssert(texture, "Invalid texture for sprite");
  CGSize size = texture->contentSize();
  return initWithTexture(texture, CGRectMake(0, 0, size.width, size.height));
}

bool CCSprite::initWithTexture(CCTexture2D* texture, CGRect rect) {
  CCAssert(texture, "Invalid texture for sprite");
  CCSprite::init();
  setTexture(texture);
  setTextureRect(rect);
  return true;
}

bool CCSprite::initWithFile(const std::string& filename) {
  CCAssert(!filename.empty(), "Invalid filename for sprite");
  auto texture = CCTextureCache::sharedTextureCache()->addImage(filename);
  if (!texture) return false;
  CGSize size = texture->contentSize();
  return initWithTexture(texture.get(), CGRectMake(0, 0, size.width, size.height));
}

bool CCSprite::initWithFile(const std::string& filename, CGRect rect) {
  CCAssert(!filename.empty(), "Invalid filename for sprite");
  auto texture = CCTextureCache::sharedTextureCache()->addImage(filename);
  if (!texture) return false;
  return initWithTexture(texture.get(), rect);
}

bool CCSprite::initWithCGImage(CGImage* image, const std::string& key) {
  CCAssert(image, "Invalid CGImageRef for sprite");
  auto texture = CCTextureCache::sharedTextureCache()->addCGImage(image, key);
  if (!texture) return false;
  CGSize size = texture->contentSize();
  return initWithTexture(texture.get(), CGRectMake(0, 0, size.width, size.height));
}

void CCSprite::setTextureRect(CGRect rect) {
  CGRect pixels = rectPointsToPixels(rect);
  setTextureRectInPixels(pixels, false, pixels.size);
}

void CCSprite::setTextureRectInPixels(CGRect rect, bool rotated, CGSize untrimmedSize) {
  rectInPixels_ = rect;
  rect_ = rectPixelsToPoints(rect);
  rectRotated_ = rotated;
  setContentSizeInPixels(untrimmedSize);
  updateTextureCoords(rectInPixels_);

  CGPoint relativeOffset = unflippedOffsetPositionFromCenter_;
  if (flipX_) relativeOffset.x = -relativeOffset.x;
  if (flipY_) relativeOffset.y = -relativeOffset.y;
  offsetPositionInPixels_.x =
      relativeOffset.x + (contentSizeInPixels_.width - rectInPixels_.size.width) / 2;
  offsetPositionInPixels_.y =
      relativeOffset.y + (contentSizeInPixels_.height - rectInPixels_.size.height) / 2;

  float x1 = offsetPositionInPixels_.x, y1 = offsetPositionInPixels_.y;
  float x2 = x1 + rectInPixels_.size.width, y2 = y1 + rectInPixels_.size.height;
  quad_.bl.vertices = {x1, y1, 0};
  quad_.br.vertices = {x2, y1, 0};
  quad_.tl.vertices = {x1, y2, 0};
  quad_.tr.vertices = {x2, y2, 0};
}

void CCSprite::updateTextureCoords(CGRect rect) {
  DrawRevision::bump();
  if (!texture_) return;
  float atlasWidth = float(texture_->pixelsWide());
  float atlasHeight = float(texture_->pixelsHigh());
  if (rectRotated_) {
    float left = rect.origin.x / atlasWidth;
    float right = left + rect.size.height / atlasWidth;
    float top = rect.origin.y / atlasHeight;
    float bottom = top + rect.size.width / atlasHeight;
    if (flipX_) std::swap(top, bottom);
    if (flipY_) std::swap(left, right);
    quad_.bl.texCoords = {left, top};
    quad_.br.texCoords = {left, bottom};
    quad_.tl.texCoords = {right, top};
    quad_.tr.texCoords = {right, bottom};
  } else {
    float left = rect.origin.x / atlasWidth;
    float right = left + rect.size.width / atlasWidth;
    float top = rect.origin.y / atlasHeight;
    float bottom = top + rect.size.height / atlasHeight;
    if (flipX_) std::swap(left, right);
    if (flipY_) std::swap(top, bottom);
    quad_.bl.texCoords = {left, bottom};
    quad_.br.texCoords = {right, bottom};
    quad_.tl.texCoords = {left, top};
    quad_.tr.texCoords = {right, top};
  }
}

void CCSprite::setFlipX(bool flip) {
  if (flipX_ == flip) return;
  flipX_ = flip;
  setTextureRectInPixels(rectInPixels_, rectRotated_, contentSizeInPixels_);
}

void CCSprite::setFlipY(bool flip) {
  if (flipY_ == flip) return;
  flipY_ = flip;
  setTextureRectInPixels(rectInPixels_, rectRotated_, contentSizeInPixels_);
}

ccColor3B CCSprite::color() const {
  return opacityModifyRGB_ ? colorUnmodified_ : color_;
}

void CCSprite::setColor(ccColor3B color) {
  color_ = colorUnmodified_ = color;
  if (opacityModifyRGB_) {
    color_.r = static_cast<GLubyte>(color.r * opacity_ / 255);
    color_.g = static_cast<GLubyte>(color.g * opacity_ / 255);
    color_.b = static_cast<GLubyte>(color.b * opacity_ / 255);
  }
  updateColor();
}

void CCSprite::setOpacity(GLubyte opacity) {
  opacity_ = opacity;
  if (opacityModifyRGB_) setColor(colorUnmodified_);
  updateColor();
}

void CCSprite::setOpacityModifyRGB(bool modify) {
  ccColor3B oldColor = color();
  opacityModifyRGB_ = modify;
  setColor(oldColor);
}

void CCSprite::updateColor() {
  const ccColor4B c{color_.r, color_.g, color_.b, opacity_};
  const ccColor4B was = quad_.bl.colors;
  quad_.bl.colors = quad_.br.colors = quad_.tl.colors = quad_.tr.colors = c;
  if (c.r != was.r || c.g != was.g || c.b != was.b || c.a != was.a) DrawRevision::bump();
}

void CCSprite::setTexture(CCTexture2D* texture) {
  texture_ = texture;
  DrawRevision::bump();
  updateBlendFunc();
}

void CCSprite::updateBlendFunc() {
  if (texture_ && texture_->hasPremultipliedAlpha()) {
    blendFunc_ = {GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
    setOpacityModifyRGB(true);
  } else {
    blendFunc_ = {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    setOpacityModifyRGB(false);
  }
}

void CCSprite::draw() {
  bool newBlend = !(blendFunc_.src == GL_ONE && blendFunc_.dst == GL_ONE_MINUS_SRC_ALPHA);
  if (newBlend) glBlendFunc(blendFunc_.src, blendFunc_.dst);
  glBindTexture(GL_TEXTURE_2D, texture_ ? texture_->name() : 0);
  constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
  glVertexPointer(3, GL_FLOAT, stride, &quad_.tl.vertices);
  glColorPointer(4, GL_UNSIGNED_BYTE, stride, &quad_.tl.colors);
  glTexCoordPointer(2, GL_FLOAT, stride, &quad_.tl.texCoords);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  if (newBlend) glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

std::string CCSprite::description() const {
  char fields[160];
  std::snprintf(fields, sizeof fields,
                " | Rect = (%.2f,%.2f,%.2f,%.2f) | tag = %i | atlasIndex = %i>",
                double(rect_.origin.x), double(rect_.origin.y), double(rect_.size.width),
                double(rect_.size.height), tag_, -1);
  return objectAddressPrefix(this) + fields;
}
