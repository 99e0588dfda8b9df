#include "lumoAppDelegate.h"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include "CCDirector.h"
#include "CCTexture2D.h"
#include "ControllableCCLayer.h"
#include "DemoScene.h"
#include "EAGLView.h"
#include "Log.h"
#include "PlatformHost.h"
#include "UIScreen.h"

lumoAppDelegate::~lumoAppDelegate() = default;

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
  // The book's layer: opaque black until the book world stands on it.
  CGSize size = director->winSize();
  auto layer = ControllableCCLayer::layerWithColor(ccc4(0, 0, 0, 255), size.width, size.height);
  layer->scheduleUpdate();
  if (!demo_.empty()) DemoScene::addTo(demo_, layer.get());
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
}

void lumoAppDelegate::applicationSignificantTimeChange(UIApplication*) {
  CCDirector::sharedDirector()->setNextDeltaTimeZero(true);
}

void lumoAppDelegate::applicationWillTerminate(UIApplication*) {
  CCDirector* director = CCDirector::sharedDirector();
  if (EAGLView* view = director->openGLView()) view->removeFromSuperview();
  viewController_ = nullptr;
  window_ = nullptr;
  glView_ = nullptr;
  director->end();
}
