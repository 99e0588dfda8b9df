#include "CCDirectorIOS.h"

#include <GLES/gl.h>

#include "CCGLU.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
#include "DeviceRotation.h"
#include "DrawRevision.h"
#include "EAGLView.h"
#include "Log.h"
#include "UIApplication.h"
#include "UIScreen.h"

CCDirectorIOS::CCDirectorIOS() {
  __ccContentScaleFactor = 1;
  runningThread_ = std::this_thread::get_id();
}

void CCDirectorIOS::drawScene() {
  calculateDeltaTime();
  if (!isPaused_) CCScheduler::sharedScheduler()->tick(dt);
  // Nothing changed: the view keeps showing the last picture.
  if (!nextScene_ && !frameNeedsDrawing()) {
    noteFrameSkipped();
    return;
  }
  // Read before drawing: a change made while drawing (a pick's answer) draws next frame.
  const unsigned long revision = DrawRevision::current();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (nextScene_) setNextScene();
  glPushMatrix();
  applyOrientation();
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_TEXTURE_2D);
  if (runningScene_) runningScene_->visit();
  if (notificationNode_) notificationNode_->visit();
  if (displayFPS_) showFPS();
  glDisable(GL_TEXTURE_2D);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glPopMatrix();
  noteFrameRendered(revision);
  if (openGLView_) openGLView_->swapBuffers();
}

void CCDirectorIOS::setProjection(ccDirectorProjection projection) {
  const float w = winSizeInPixels_.width, h = winSizeInPixels_.height;
  switch (projection) {
    case kCCDirectorProjection2D:
      glViewport(0, 0, GLsizei(w), GLsizei(h));
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      glOrthof(0, w, 0, h, -1024 * contentScaleFactor(), 1024 * contentScaleFactor());
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      break;
    case kCCDirectorProjection3D:
      glViewport(0, 0, GLsizei(w), GLsizei(h));
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      ccgluPerspective(60, w / h, 0.5f, 1500.0f);
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      ccgluLookAt(w / 2, h / 2, getZEye(), w / 2, h / 2, 0, 0, 1, 0);
      break;
    case kCCDirectorProjectionCustom:
      if (projectionDelegate_) projectionDelegate_->updateProjection();
      break;
    default:
      CCLOG("Director: unrecognized projection");
      break;
  }
  projection_ = projection;
}

void CCDirectorIOS::applyOrientation() {
  if (!UIDeviceOrientationIsValidInterfaceOrientation(deviceOrientation_) ||
      deviceOrientation_ == UIDeviceOrientationPortrait)
    return;
  const float w = winSizeInPixels_.width / 2, h = winSizeInPixels_.height / 2;
  glTranslatef(w, h, 0);
  glRotatef(DeviceRotation::degrees(deviceOrientation_), 0, 0, 1);
  if (UIDeviceOrientationIsLandscape(deviceOrientation_))
    glTranslatef(-h, -w, 0);
  else
    glTranslatef(-w, -h, 0);
}

void CCDirectorIOS::setDeviceOrientation(UIDeviceOrientation orientation) {
  if (orientation == deviceOrientation_) return;
  deviceOrientation_ = orientation;
  if (UIDeviceOrientationIsValidInterfaceOrientation(orientation))
    UIApplication::sharedApplication().setStatusBarOrientation(orientation, false);
  else
    CCLOG("Director: Unknown device orientation");
}

namespace {
// A view point (the portrait view, origin top-left) to a GL point (the
// picture, origin bottom-left) for a held orientation.
DeviceRotation viewToGL(UIDeviceOrientation orientation) {
  return DeviceRotation::pictureToDevice(orientation).inverse().withTargetYFlipped();
}
}  // namespace

CGPoint CCDirectorIOS::convertToGL(CGPoint p) const {
  if (!UIDeviceOrientationIsValidInterfaceOrientation(deviceOrientation_)) return {0, 0};
  const CGSize view = winSizeInPoints_;
  const CGSize picture =
      UIDeviceOrientationIsLandscape(deviceOrientation_) ? CGSize{view.height, view.width} : view;
  return viewToGL(deviceOrientation_).map(p, picture);
}

CGPoint CCDirectorIOS::convertToUI(CGPoint p) const {
  if (!UIDeviceOrientationIsValidInterfaceOrientation(deviceOrientation_)) return {0, 0};
  return viewToGL(deviceOrientation_).inverse().map(p, winSizeInPoints_);
}

void CCDirectorIOS::updateContentScaleFactor() {
  // Every view here takes a scale factor.
  if (openGLView_) {
    openGLView_->eaglLayer()->setContentsScale(__ccContentScaleFactor);
    isContentScaleSupported_ = true;
  }
}

void CCDirectorIOS::setContentScaleFactor(float scaleFactor) {
  if (scaleFactor == __ccContentScaleFactor) return;
  __ccContentScaleFactor = scaleFactor;
  winSizeInPixels_ = {winSizeInPoints_.width * scaleFactor, winSizeInPoints_.height * scaleFactor};
  if (openGLView_) updateContentScaleFactor();
  setProjection(projection_);
}

bool CCDirectorIOS::enableRetinaDisplay(bool enabled) {
  if (enabled && __ccContentScaleFactor == 2) return true;
  if (!enabled && __ccContentScaleFactor == 1) return true;
  if (!openGLView_ || UIScreen::mainScreen().scale() == 1) return false;
  setContentScaleFactor(enabled ? 2 : 1);
  return true;
}

void CCDirectorIOS::setOpenGLView(EAGLView* view) {
  if (view == openGLView_.get()) return;
  CCDirector::setOpenGLView(view);
  winSizeInPixels_ = {winSizeInPoints_.width * __ccContentScaleFactor,
                      winSizeInPoints_.height * __ccContentScaleFactor};
  if (__ccContentScaleFactor != 1) updateContentScaleFactor();
  CCTouchDispatcher* dispatcher = CCTouchDispatcher::sharedDispatcher();
  view->setTouchDelegate(dispatcher);
  dispatcher->setDispatchEvents(true);
}

void CCDirectorIOS::reshapeProjection(CGSize) {
  if (!openGLView_) return;
  winSizeInPoints_ = openGLView_->bounds().size;
  winSizeInPixels_ = {winSizeInPoints_.width * __ccContentScaleFactor,
                      winSizeInPoints_.height * __ccContentScaleFactor};
  setProjection(projection_);
}

void CCDirectorIOS::end() {
  CCTouchDispatcher::sharedDispatcher()->removeAllDelegates();
  CCDirector::end();
}
