#pragma once
#include "CGGeometry.h"

// The emulated tablet's screen: 768 x 1024 points, portrait, scale 1.
class UIScreen {
 public:
  static UIScreen& mainScreen();
  CGRect bounds() const { return {{0, 0}, {768, 1024}}; }
  float scale() const { return scale_; }
  void setScale(float scale) { scale_ = scale; }

 private:
  float scale_ = 1;
};
