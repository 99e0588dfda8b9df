#pragma once
#include <string>

#include "CGGeometry.h"
#include "NSObject.h"

constexpr const char* kEAGLColorFormatRGBA8 = "EAGLColorFormatRGBA8";
constexpr const char* kEAGLColorFormatRGB565 = "EAGLColorFormat565";

// The drawable surface behind a GL view: its size in points and scale.
class CAEAGLLayer : public NSObject {
 public:
  CGRect bounds() const { return bounds_; }
  void setBounds(CGRect bounds) { bounds_ = bounds; }
  float contentsScale() const { return contentsScale_; }
  void setContentsScale(float scale) { contentsScale_ = scale; }
  bool isOpaque() const { return opaque_; }
  void setOpaque(bool opaque) { opaque_ = opaque; }
  const std::string& colorFormat() const { return colorFormat_; }
  void setColorFormat(const std::string& format) { colorFormat_ = format; }
  bool retainedBacking() const { return retainedBacking_; }
  void setRetainedBacking(bool retained) { retainedBacking_ = retained; }

 private:
  CGRect bounds_ = CGRectZero;
  float contentsScale_ = 1;
  bool opaque_ = true;
  std::string colorFormat_ = kEAGLColorFormatRGBA8;
  bool retainedBacking_ = false;
};
