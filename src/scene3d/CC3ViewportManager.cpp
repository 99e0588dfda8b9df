#include "CC3ViewportManager.h"

#include <algorithm>

#include "CC3Camera.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3World.h"
#include "CCDirector.h"
#include "DeviceRotation.h"

namespace {

// The one-pixel pull of the viewport origin towards the window corner.
GLint pull(GLint v) {
  return v >= 2 ? v - 1 : 0;
}

GLint truncated(float v) {
  return static_cast<GLint>(v);
}

CGPoint applyMap(CC3Vec3 mx, CC3Vec3 my, CGPoint p) {
  return {mx.x * p.x + mx.y * p.y + mx.z, my.x * p.x + my.y * p.y + my.z};
}

}  // namespace

Ptr<CC3ViewportManager> CC3ViewportManager::viewportManagerOnWorld(CC3World* world) {
  auto m = makeObject<CC3ViewportManager>();
  m->initOnWorld(world);
  return m;
}

CC3ViewportManager::CC3ViewportManager() : deviceRotationMatrix_(CC3GLMatrix::identity()) {}

bool CC3ViewportManager::initOnWorld(CC3World* world) {
  world_ = world;
  deviceRotationMatrix_ = CC3GLMatrix::identity();
  layerBounds_ = CGRectZero;
  viewport_ = kCC3ViewportZero;
  return true;
}

CGRect CC3ViewportManager::layerBoundsLocal() const {
  return {CGPointZero, layerBounds_.size};
}

void CC3ViewportManager::updateBounds(CGRect bounds, UIDeviceOrientation deviceOrientation) {
  CCDirector* director = CCDirector::sharedDirector();
  updateBounds(bounds, deviceOrientation, director->winSizeInPixels(),
               director->contentScaleFactor());
}

void CC3ViewportManager::updateBounds(CGRect bounds, UIDeviceOrientation deviceOrientation,
                                      CGSize window, float s) {
  const float x = bounds.origin.x, y = bounds.origin.y;
  const float w = bounds.size.width, h = bounds.size.height;
  const GLint W = truncated(window.width), H = truncated(window.height);
  const GLfloat angle = DeviceRotation::degrees(deviceOrientation);
  GLint m = 0, n = 0, wv = 0, hv = 0;
  switch (deviceOrientation) {
    case UIDeviceOrientationPortraitUpsideDown:
      wv = std::min(truncated(w) + 2, W);
      m = pull(truncated(W - (x + w)));
      hv = std::min(truncated(h) + 1, H);
      n = truncated(H - (y + h));
      viewport_ = {m, n, wv, hv};
      glToCC2PointMapX_ = {-1 / s, 0, (wv + m) / s};
      glToCC2PointMapY_ = {0, -1 / s, (hv + n) / s};
      cc2ToGLPointMapX_ = {-s, 0, GLfloat(wv + m)};
      cc2ToGLPointMapY_ = {0, -s, GLfloat(hv + n)};
      break;
    case UIDeviceOrientationLandscapeRight:
      n = pull(truncated(x));
      hv = std::min(truncated(h) + 2, H);
      m = pull(truncated(H - (y + h)));
      wv = std::min(truncated(w) + 1, W);
      viewport_ = {m, n, hv, wv};
      glToCC2PointMapX_ = {0, 1 / s, -n / s};
      glToCC2PointMapY_ = {-1 / s, 0, (hv + m) / s};
      cc2ToGLPointMapX_ = {0, -s, GLfloat(hv + m)};
      cc2ToGLPointMapY_ = {s, 0, GLfloat(n)};
      break;
    case UIDeviceOrientationLandscapeLeft:
      wv = std::min(truncated(w) + 1, W);
      n = truncated(W - (x + w));
      m = pull(truncated(y));
      hv = std::min(truncated(h) + 2, H);
      viewport_ = {m, n, hv, wv};
      glToCC2PointMapX_ = {0, -1 / s, (wv + n) / s};
      glToCC2PointMapY_ = {1 / s, 0, -m / s};
      cc2ToGLPointMapX_ = {0, s, GLfloat(m)};
      cc2ToGLPointMapY_ = {-s, 0, GLfloat(wv + n)};
      break;
    default:  // portrait
      m = pull(truncated(x));
      n = pull(truncated(y));
      wv = std::min(truncated(w) + 2, W);
      hv = std::min(truncated(h) + 1, H);
      viewport_ = {m, n, wv, hv};
      glToCC2PointMapX_ = {1 / s, 0, -m / s};
      glToCC2PointMapY_ = {0, 1 / s, -n / s};
      cc2ToGLPointMapX_ = {s, 0, GLfloat(m)};
      cc2ToGLPointMapY_ = {0, s, GLfloat(n)};
      break;
  }
  updateDeviceRotationAngle(angle);
  layerBounds_ = bounds;
  if (CC3Camera* camera = world_ ? world_->activeCamera() : nullptr) camera->markProjectionDirty();
}

void CC3ViewportManager::updateDeviceRotationAngle(GLfloat degrees) {
  deviceRotationMatrix_->populateIdentity();
  deviceRotationMatrix_->rotateByZ(degrees);
  if (CC3Camera* camera = world_ ? world_->activeCamera() : nullptr) camera->markTransformDirty();
}

void CC3ViewportManager::openViewport() {
  CC3OpenGLES11Engine::engine()->state()->viewport()->setValue(viewport_);
}

CGPoint CC3ViewportManager::cc2PointFromGLPoint(CGPoint glPoint) const {
  return applyMap(glToCC2PointMapX_, glToCC2PointMapY_, glPoint);
}

CGPoint CC3ViewportManager::glPointFromCC2Point(CGPoint cc2Point) const {
  return applyMap(cc2ToGLPointMapX_, cc2ToGLPointMapY_, cc2Point);
}
