#pragma once
#include "ccTypes.h"

// Nodes whose colour and opacity can be changed (tints and fades).
class CCRGBAProtocol {
 public:
  virtual ~CCRGBAProtocol() = default;
  virtual ccColor3B color() const = 0;
  virtual void setColor(ccColor3B color) = 0;
  virtual GLubyte opacity() const = 0;
  virtual void setOpacity(GLubyte opacity) = 0;
  virtual void setOpacityModifyRGB(bool) {}
  virtual bool doesOpacityModifyRGB() const { return false; }
};

// Nodes drawn with a configurable blend function.
class CCBlendProtocol {
 public:
  virtual ~CCBlendProtocol() = default;
  virtual ccBlendFunc blendFunc() const = 0;
  virtual void setBlendFunc(ccBlendFunc blendFunc) = 0;
};
