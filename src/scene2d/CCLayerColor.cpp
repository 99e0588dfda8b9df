#include "CCLayerColor.h"

#include "CCDirector.h"

Ptr<CCLayerColor> CCLayerColor::layerWithColor(ccColor4B color) {
  return makeObject<CCLayerColor>(color);
}

Ptr<CCLayerColor> CCLayerColor::layerWithColor(ccColor4B color, float width, float height) {
  return makeObject<CCLayerColor>(color, width, height);
}

CCLayerColor::CCLayerColor() : CCLayerColor(ccc4(0, 0, 0, 0)) {}

CCLayerColor::CCLayerColor(ccColor4B color) {
  CGSize s = CCDirector::sharedDirector()->winSize();
  initWithColor(color, s.width, s.height);
}

CCLayerColor::CCLayerColor(ccColor4B color, float width, float height) {
  initWithColor(color, width, height);
}

void CCLayerColor::initWithColor(ccColor4B color, float width, float height) {
  blendFunc_ = {GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
  color_ = {color.r, color.g, color.b};
  opacity_ = color.a;
  for (GLfloat& v : squareVertices_) v = 0;
  updateColor();
  // Not virtual here: a subclass is not built yet.
  CCLayerColor::setContentSize({width, height});
}

void CCLayerColor::changeWidth(float width) {
  setContentSize({width, contentSize_.height});
}

void CCLayerColor::changeHeight(float height) {
  setContentSize({contentSize_.width, height});
}

void CCLayerColor::changeWidth(float width, float height) {
  setContentSize({width, height});
}

void CCLayerColor::setColor(ccColor3B color) {
  color_ = color;
  updateColor();
}

void CCLayerColor::setOpacity(GLubyte opacity) {
  opacity_ = opacity;
  updateColor();
}

void CCLayerColor::updateColor() {
  for (ccColor4B& c : squareColors_) c = {color_.r, color_.g, color_.b, opacity_};
  DrawRevision::bump();
}

void CCLayerColor::setContentSize(CGSize size) {
  // Triangle strip (0,0), (w,0), (0,h), (w,h), in pixels.
  const float f = CC_CONTENT_SCALE_FACTOR();
  squareVertices_[2] = size.width * f;
  squareVertices_[5] = size.height * f;
  squareVertices_[6] = size.width * f;
  squareVertices_[7] = size.height * f;
  CCLayer::setContentSize(size);
}

void CCLayerColor::draw() {
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisable(GL_TEXTURE_2D);
  glVertexPointer(2, GL_FLOAT, 0, squareVertices_);
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, squareColors_);
  bool newBlend = false;
  if (blendFunc_.src != GL_ONE || blendFunc_.dst != GL_ONE_MINUS_SRC_ALPHA) {
    newBlend = true;
    glBlendFunc(blendFunc_.src, blendFunc_.dst);
  } else if (opacity_ != 255) {
    newBlend = true;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  if (newBlend) glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_TEXTURE_2D);
}
