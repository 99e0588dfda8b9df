#pragma once
#include <string>

#include "NSObject.h"

// An optional look-at for one node, applied after the node's transform.
class CCCamera : public NSObject {
 public:
  CCCamera();
  static float getZEye();

  void restore();
  // Applies the look-at when the camera was changed since `restore`.
  void locate();

  void setEyeX(float x, float y, float z);
  void setCenterX(float x, float y, float z);
  void setUpX(float x, float y, float z);
  void eyeX(float* x, float* y, float* z) const;
  void centerX(float* x, float* y, float* z) const;
  void upX(float* x, float* y, float* z) const;
  bool dirty() const { return dirty_; }
  void setDirty(bool dirty) { dirty_ = dirty; }

  std::string description() const override;

 private:
  float eyeX_ = 0, eyeY_ = 0, eyeZ_ = 0;
  float centerX_ = 0, centerY_ = 0, centerZ_ = 0;
  float upX_ = 0, upY_ = 0, upZ_ = 0;
  bool dirty_ = false;
};
