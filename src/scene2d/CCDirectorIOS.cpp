#include "CCDirectorIOS.h"

#include <GLES/gl.h>

#include "CCGLU.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
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
  ++totalFrames_;
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
  const float w = winSizeInPixels_.width / 2, h = winSizeInPixels_.height / 2;
  switch (deviceOrientation_) {
    case 2:
      glTranslatef(w, h, 0);
      glRotatef(180, 0, 0, 1);
      glTranslatef(-w, -h, 0);
      break;
    case 3:
      glTranslatef(w, h, 0);
      glRotatef(-90, 0, 0, 1);
      glTranslatef(-h, -w, 0);
      break;
    case 4:
      glTranslatef(w, h, 0);
      glRotatef(90, 0, 0, 1);
      glTranslatef(-h, -w, 0);
      break;
    default:
      break;
  }
}

void CCDirectorIOS::setDeviceOrientation(int orientation) {
  if (orientation == deviceOrientation_) return;
  deviceOrientation_ = orientation;
  if (orientation >= 1 && orientation <= 4)
    UIApplication::sharedApplication().setStatusBarOrientation(orientation, false);
  else
    CCLOG("Director: Unknown device orientation");
}

CGPoint CCDirectorIOS::convertToGL(CGPoint p) const {
  const float W = winSizeInPoints_.width, H = winSizeInPoints_.height;
  switch (deviceOrientation_) {
    case 1:
      return {p.x, H - p.y};
    case 2:
      return {W - p.x, p.y};
    case 3:
      return {p.y, p.x};
    case 4:
      return {H - p.y, W - p.x};
    default:
      return {0, 0};
  }
}

CGPoint CCDirectorIOS::convertToUI(CGPoint p) const {
  const float W = winSizeInPoints_.width, H = winSizeInPoints_.height;
  switch (deviceOrientation_) {
    case 1:
      return {p.x, H - p.y};
    case 2:
      return {W - p.x, p.y};
    case 3:
      return {p.y, p.x};
    case 4:
      return {W - p.y, H - p.x};
    default:
      return {0, 0};
  }
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
