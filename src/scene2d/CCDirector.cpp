#include "CCDirector.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "Assert.h"
#include "CCActionManager.h"
#include "CCDirectorDisplayLink.h"
#include "CCDirectorFast.h"
#include "CCDirectorFastThreaded.h"
#include "CCDirectorTimer.h"
#include "CCLabelTTF.h"
#include "CCScheduler.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "Clock.h"
#include "DrawRevision.h"
#include "EAGLView.h"
#include "FrameLog.h"
#include "Log.h"
#include "UIDevice.h"

CCDirector*& CCDirector::sharedInstance() {
  static CCDirector* instance = nullptr;
  return instance;
}

CCDirector* CCDirector::sharedDirector() {
  return sharedDirectorOf<CCDirectorTimer>();
}

void CCDirector::purgeSharedDirector() {
  if (CCDirector* d = sharedInstance()) d->release();
}

namespace {
// Numeric comparison of dotted versions: "4.3" >= "3.1".
bool versionAtLeast(const std::string& version, const std::string& minimum) {
  std::stringstream a(version), b(minimum);
  std::string x, y;
  while (true) {
    bool hasX = bool(std::getline(a, x, '.')), hasY = bool(std::getline(b, y, '.'));
    if (!hasX && !hasY) return true;
    long vx = hasX ? std::strtol(x.c_str(), nullptr, 10) : 0;
    long vy = hasY ? std::strtol(y.c_str(), nullptr, 10) : 0;
    if (vx != vy) return vx > vy;
  }
}
}  // namespace

bool CCDirector::setDirectorType(ccDirectorType type) {
  CCAssert(type >= kCCDirectorTypeNSTimer && type <= kCCDirectorTypeDisplayLink,
           "Unknown director type");
  switch (type) {
    case kCCDirectorTypeNSTimer:
      CCDirectorTimer::sharedDirector();
      break;
    case kCCDirectorTypeMainLoop:
      CCDirectorFast::sharedDirector();
      break;
    case kCCDirectorTypeThreadMainLoop:
      CCDirectorFastThreaded::sharedDirector();
      break;
    case kCCDirectorTypeDisplayLink:
      if (!versionAtLeast(UIDevice::currentDevice().systemVersion(), "3.1")) return false;
      CCDirectorDisplayLink::sharedDirector();
      break;
    default:
      break;
  }
  return true;
}

CCDirector::CCDirector() {
  CCAssert(sharedInstance() == nullptr, "Attempted to allocate a second instance of a singleton.");
  sharedInstance() = this;
  scenesStack_.reserve(10);
  runningThread_ = std::this_thread::get_id();
}

CCDirector::~CCDirector() {
  if (sharedInstance() == this) sharedInstance() = nullptr;
}

void CCDirector::stampLastUpdate() {
  TimeValue now;
  if (Clock::current().now(now)) {
    lastUpdate_.tv_sec = time_t(now.seconds);
    lastUpdate_.tv_usec = suseconds_t(now.microseconds);
  }
}

void CCDirector::calculateDeltaTime() {
  TimeValue now;
  if (!Clock::current().now(now)) {
    CCLOG("error in gettimeofday");
    dt = 0;
    return;
  }
  if (nextDeltaTimeZero_) {
    dt = 0;
    nextDeltaTimeZero_ = false;
  } else {
    dt = float(now.microseconds - lastUpdate_.tv_usec) / 1000000.0f +
         float(now.seconds - lastUpdate_.tv_sec);
    dt = std::max(0.0f, dt);
  }
  lastUpdate_.tv_sec = time_t(now.seconds);
  lastUpdate_.tv_usec = suseconds_t(now.microseconds);
}

// MARK: scenes

void CCDirector::runWithScene(CCScene* scene) {
  CCAssert(scene != nullptr, "Argument must be non-nil");
  CCAssert(runningScene_ == nullptr,
           "You can't run an scene if another Scene is running. Use replaceScene or pushScene "
           "instead");
  pushScene(scene);
  startAnimation();
}

void CCDirector::replaceScene(CCScene* scene) {
  CCAssert(scene != nullptr, "Argument must be non-nil");
  if (scenesStack_.empty())
    scenesStack_.push_back(scene);
  else
    scenesStack_.back() = scene;
  sendCleanupToScene_ = true;
  nextScene_ = scene;
}

void CCDirector::pushScene(CCScene* scene) {
  CCAssert(scene != nullptr, "Argument must be non-nil");
  sendCleanupToScene_ = false;
  scenesStack_.push_back(scene);
  nextScene_ = scene;
}

void CCDirector::popScene() {
  CCAssert(runningScene_ != nullptr, "A running Scene is needed");
  scenesStack_.pop_back();
  if (scenesStack_.empty()) {
    end();
    return;
  }
  sendCleanupToScene_ = true;
  nextScene_ = scenesStack_.back().get();
}

void CCDirector::setNextScene() {
  // Transition scenes are not part of this engine: every switch is immediate.
  const bool runningIsTransition = false;
  const bool newIsTransition = false;
  if (!newIsTransition && runningScene_) {
    runningScene_->onExit();
    if (sendCleanupToScene_) runningScene_->cleanup();
  }
  runningScene_ = nextScene_;
  nextScene_ = nullptr;
  if (!runningIsTransition && runningScene_) {
    runningScene_->onEnter();
    runningScene_->onEnterTransitionDidFinish();
  }
}

void CCDirector::end() {
  if (runningScene_) {
    runningScene_->onExit();
    runningScene_->cleanup();
  }
  runningScene_ = nullptr;
  nextScene_ = nullptr;
  scenesStack_.clear();
  stopAnimation();
  FPSLabel_ = nullptr;
  projectionDelegate_ = nullptr;
  CCScheduler::purgeSharedScheduler();
  CCActionManager::purgeSharedManager();
  CCTextureCache::purgeSharedTextureCache();
  openGLView_ = nullptr;
}

// MARK: pause and resume

void CCDirector::pause() {
  if (isPaused_) return;
  oldAnimationInterval_ = animationInterval_;
  setAnimationInterval(1 / 4.0);
  isPaused_ = true;
}

void CCDirector::resume() {
  if (!isPaused_) return;
  setAnimationInterval(oldAnimationInterval_);
  stampLastUpdate();
  isPaused_ = false;
  dt = 0;
}

// The bitmap-font cache is not part of this engine; textures are what can go.
void CCDirector::purgeCachedData() {
  CCTextureCache::sharedTextureCache()->removeUnusedTextures();
}

// MARK: view and projection

void CCDirector::setOpenGLView(EAGLView* view) {
  CCAssert(view != nullptr, "OpenGLView must be non-nil");
  if (view == openGLView_.get()) return;
  openGLView_ = view;
  CGSize size = view->bounds().size;
  winSizeInPoints_ = size;
  winSizeInPixels_ = size;
  setGLDefaultValues();
}

void CCDirector::setGLDefaultValues() {
  CCAssert(openGLView_ != nullptr, "openGLView_ must be initialized");
  setAlphaBlending(true);
  setDepthTest(true);
  setProjection(projection_);
  glClearColor(0, 0, 0, 1);
  if (!FPSLabel_) createFPSLabel();
}

// Any label that shows the rate will do; the atlas font of the original is not part of this engine.
void CCDirector::createFPSLabel() {
  const CCTexture2DPixelFormat saved = CCTexture2D::defaultAlphaPixelFormat();
  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA4444);
  Ptr<CCLabelTTF> label = CCLabelTTF::labelWithString("00.0", "Arial", 24);
  CCTexture2D::setDefaultAlphaPixelFormat(saved);
  if (!label) return;
  label->setAnchorPoint(CGPointMake(0, 0));
  label->setPosition(CGPointMake(5, 2));
  FPSLabel_ = label;
}

CCLabelTTF* CCDirector::FPSLabel() const {
  return static_cast<CCLabelTTF*>(FPSLabel_.get());
}

void CCDirector::setProjection(ccDirectorProjection projection) {
  projection_ = projection;
}

void CCDirector::reshapeProjection(CGSize size) {
  winSizeInPoints_ = size;
  winSizeInPixels_ = size;
  setProjection(projection_);
}

CGSize CCDirector::winSize() const {
  CGSize s = winSizeInPoints_;
  if (UIDeviceOrientationIsLandscape(deviceOrientation())) std::swap(s.width, s.height);
  return s;
}

CGSize CCDirector::winSizeInPixels() const {
  CGSize s = winSize();
  return {s.width * contentScaleFactor(), s.height * contentScaleFactor()};
}

void CCDirector::setAlphaBlending(bool on) {
  if (on) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  } else {
    glDisable(GL_BLEND);
  }
}

void CCDirector::setDepthTest(bool on) {
  if (on) {
    glClearDepthf(1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}

float CCDirector::getZEye() const {
  return winSizeInPixels_.height / 1.1566f;
}

// MARK: frames that change nothing

namespace {
// Off unless the program asks: a bench or test driving the director draws
// every frame it asks for.
bool gSkipsUnchangedFrames = false;
}  // namespace

void CCDirector::setSkipsUnchangedFrames(bool skips) {
  gSkipsUnchangedFrames = skips;
}

bool CCDirector::skipsUnchangedFrames() {
  return gSkipsUnchangedFrames;
}

bool CCDirector::frameNeedsDrawing() const {
  if (!gSkipsUnchangedFrames || displayFPS_ || renderedFrames_ == 0) return true;
  if (DrawRevision::current() != renderedRevision_) return true;
  return DrawRevision::changingAt(Clock::current().seconds());
}

void CCDirector::noteFrameRendered(unsigned long revision) {
  ++totalFrames_;
  ++renderedFrames_;
  lastFrameRendered_ = true;
  renderedRevision_ = revision;
  FrameLog::shared().noteDrawn();
}

void CCDirector::noteFrameSkipped() {
  ++totalFrames_;
  lastFrameRendered_ = false;
}

// MARK: frame rate

void CCDirector::showFPS() {
  ++frames_;
  accumDt_ += dt;
  if (accumDt_ > 0.1f) {
    frameRate_ = float(frames_) / accumDt_;
    frames_ = 0;
    accumDt_ = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(frameRate_));
    if (CCLabelTTF* label = FPSLabel()) label->setString(text);
  }
  if (FPSLabel_) FPSLabel_->visit();
}
