#include "lumoAppDelegate.h"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include "CCDirector.h"
#include "CCTexture2D.h"
#include "DemoScene.h"
#include "EAGLView.h"
#include "Log.h"
#include "PlatformHost.h"
#include "UIScreen.h"
#include "lumoLayer.h"
#include "lumoWorld.h"

lumoAppDelegate::~lumoAppDelegate() {
  releaseWorld();
}

void lumoAppDelegate::releaseWorld() {
  // Pending delayed calls hold the world; let it go now, not at process exit.
  if (cc3World_) NSObject::cancelPreviousPerformRequestsWithTarget(cc3World_.get());
  cc3World_ = nullptr;
}

void lumoAppDelegate::applicationDidFinishLaunching(UIApplication*) {
  window_ = makeObject<UIWindow>(UIScreen::mainScreen().bounds());
  if (!CCDirector::setDirectorType(3)) CCDirector::setDirectorType(0);
  CCDirector* director = CCDirector::sharedDirector();
  director->setDeviceOrientation(3);
  director->setAnimationInterval(1.0 / 60);
  director->setDisplayFPS(false);
  auto view =
      EAGLView::viewWithFrame(window_->bounds(), kEAGLColorFormatRGBA8, GL_DEPTH_COMPONENT16_OES);
  if (!view) {
    logMessage(LogLevel::Error, "cannot create the GL view");
    PlatformHost::shared().quit(2);
    return;
  }
  view->setMultipleTouchEnabled(true);
  glView_ = view.get();
  director->setOpenGLView(view.get());
  window_->addSubview(view.get());
  window_->makeKeyAndVisible();
  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
  CGSize size = director->winSize();
  auto layer = lumoLayer::layerWithColor(ccc4(0, 0, 0, 255), size.width, size.height);
  if (demo_.empty()) {
    // Creating the world builds the first page.
    cc3World_ = lumoWorld::world();
    layer->setCc3World(cc3World_.get());
    cc3World_->play();
  } else {
    // A demonstration is shown instead of the book.
    DemoScene::addTo(demo_, layer.get());
  }
  layer->scheduleUpdate();
  viewController_ = CCNodeController::controller();
  viewController_->setDoesAutoRotate(true);
  viewController_->runSceneOnNode(layer.get());
  launched_ = true;
}

void lumoAppDelegate::applicationWillResignActive(UIApplication*) {
  CCDirector::sharedDirector()->pause();
}

void lumoAppDelegate::applicationDidBecomeActive(UIApplication*) {
  CCDirector::sharedDirector()->resume();
}

void lumoAppDelegate::applicationDidEnterBackground(UIApplication*) {
  CCDirector::sharedDirector()->stopAnimation();
}

void lumoAppDelegate::applicationWillEnterForeground(UIApplication*) {
  CCDirector::sharedDirector()->startAnimation();
}

void lumoAppDelegate::applicationDidReceiveMemoryWarning(UIApplication*) {
  CCDirector::sharedDirector()->purgeCachedData();
  if (cc3World_) cc3World_->cleanCaches();
}

void lumoAppDelegate::applicationSignificantTimeChange(UIApplication*) {
  CCDirector::sharedDirector()->setNextDeltaTimeZero(true);
}

void lumoAppDelegate::applicationWillTerminate(UIApplication*) {
  CCDirector* director = CCDirector::sharedDirector();
  if (EAGLView* view = director->openGLView()) view->removeFromSuperview();
  viewController_ = nullptr;
  window_ = nullptr;
  releaseWorld();
  glView_ = nullptr;
  director->end();
}
