#pragma once
#include "CGGeometry.h"
#include "DisplayGeometry.h"

// The emulated tablet's screen: its portrait bounds in points (DisplayGeometry), scale 1.
class UIScreen {
 public:
  static UIScreen& mainScreen();
  CGRect bounds() const { return DisplayGeometry::screenBounds(); }
  float scale() const { return scale_; }
  void setScale(float scale) { scale_ = scale; }

 private:
  float scale_ = 1;
};
