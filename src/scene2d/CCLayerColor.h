#pragma once
#include "CCLayer.h"
#include "CCProtocols.h"

// A solid, optionally translucent rectangle the size of its content.
class CCLayerColor : public CCLayer, public CCRGBAProtocol, public CCBlendProtocol {
 public:
  static Ptr<CCLayerColor> layerWithColor(ccColor4B color);
  static Ptr<CCLayerColor> layerWithColor(ccColor4B color, float width, float height);
  CCLayerColor();
  explicit CCLayerColor(ccColor4B color);
  CCLayerColor(ccColor4B color, float width, float height);

  void changeWidth(float width);
  void changeHeight(float height);
  void changeWidth(float width, float height);

  ccColor3B color() const override { return color_; }
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override { return opacity_; }
  void setOpacity(GLubyte opacity) override;
  ccBlendFunc blendFunc() const override { return blendFunc_; }
  void setBlendFunc(ccBlendFunc blendFunc) override {
    blendFunc_ = blendFunc;
    DrawRevision::bump();
  }

  void setContentSize(CGSize size) override;
  void draw() override;

 protected:
  void initWithColor(ccColor4B color, float width, float height);
  virtual void updateColor();

  GLubyte opacity_ = 0;
  ccColor3B color_;
  GLfloat squareVertices_[4 * 2] = {};
  ccColor4B squareColors_[4];
  ccBlendFunc blendFunc_{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
};
