#include "CCCamera.h"

#include <cfloat>
#include <cstdio>

#include "CCGLU.h"
#include "ccTypes.h"

CCCamera::CCCamera() {
  restore();
}

float CCCamera::getZEye() {
  return FLT_EPSILON;
}

void CCCamera::restore() {
  eyeX_ = eyeY_ = 0;
  eyeZ_ = getZEye();
  centerX_ = centerY_ = centerZ_ = 0;
  upX_ = 0;
  upY_ = 1;
  upZ_ = 0;
  dirty_ = false;
}

void CCCamera::locate() {
  if (dirty_) ccgluLookAt(eyeX_, eyeY_, eyeZ_, centerX_, centerY_, centerZ_, upX_, upY_, upZ_);
}

void CCCamera::setEyeX(float x, float y, float z) {
  const float f = CC_CONTENT_SCALE_FACTOR();
  eyeX_ = x * f;
  eyeY_ = y * f;
  eyeZ_ = z * f;
  dirty_ = true;
}

void CCCamera::setCenterX(float x, float y, float z) {
  const float f = CC_CONTENT_SCALE_FACTOR();
  centerX_ = x * f;
  centerY_ = y * f;
  centerZ_ = z * f;
  dirty_ = true;
}

void CCCamera::setUpX(float x, float y, float z) {
  upX_ = x;
  upY_ = y;
  upZ_ = z;
  dirty_ = true;
}

void CCCamera::eyeX(float* x, float* y, float* z) const {
  *x = eyeX_;
  *y = eyeY_;
  *z = eyeZ_;
}

void CCCamera::centerX(float* x, float* y, float* z) const {
  *x = centerX_;
  *y = centerY_;
  *z = centerZ_;
}

void CCCamera::upX(float* x, float* y, float* z) const {
  *x = upX_;
  *y = upY_;
  *z = upZ_;
}

std::string CCCamera::description() const {
  char text[96];
  std::snprintf(text, sizeof text, " | center = (%.2f,%.2f,%.2f)>", centerX_, centerY_, centerZ_);
  return objectAddressPrefix(this) + text;
}
