#include "lumoAppDelegate.h"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cmath>

#include "CCDirector.h"
#include "CCTexture2D.h"
#include "DemoScene.h"
#include "DisplayGeometry.h"
#include "EAGLView.h"
#include "Log.h"
#include "MobClick.h"
#include "NSNotificationCenter.h"
#include "PlatformHost.h"
#include "UIDevice.h"
#include "UIScreen.h"
#include "lumoLayer.h"
#include "lumoWorld.h"

namespace {
using lumoBookNames::kCreditsDidFinishNotification;
using lumoBookNames::kShowCreditsNotification;
constexpr CGSize kCreditsSize{707, 483};
// The credits turn by quarter turns of 1.57 radians, a hair short of a right
// angle: the card's slight tilt is part of how it has always looked.
constexpr float kCreditsQuarterTurn = 1.57f;
static_assert(3 * kCreditsQuarterTurn == 4.71f, "three quarter turns make 4.71 radians");

// Where the credits card sits on the portrait screen: centred on whole
// pixels, so that turned it stands in the middle of the landscape picture
// (its centre half a pixel from the picture's).
CGRect creditsFrame() {
  const CGSize screen = UIScreen::mainScreen().bounds().size;
  return {{std::floor((screen.width - kCreditsSize.width) / 2),
           std::floor((screen.height - kCreditsSize.height) / 2)},
          kCreditsSize};
}

// Upright in the landscape picture, whichever way the device is turned.
float creditsRotation() {
  const UIDeviceOrientation orientation = UIDevice::currentDevice().orientation();
  return float(DisplayGeometry::landscapeViewQuarterTurns(orientation)) * kCreditsQuarterTurn;
}
}  // namespace

lumoAppDelegate::~lumoAppDelegate() {
  NSNotificationCenter::defaultCenter().removeObserver(this);
  releaseWorld();
}

void lumoAppDelegate::releaseWorld() {
  // Pending delayed calls hold the world; let it go now, not at process exit.
  if (cc3World_) NSObject::cancelPreviousPerformRequestsWithTarget(cc3World_.get());
  cc3World_ = nullptr;
}

void lumoAppDelegate::applicationDidFinishLaunching(UIApplication*) {
  window_ = makeObject<UIWindow>(UIScreen::mainScreen().bounds());
  if (!CCDirector::setDirectorType(kCCDirectorTypeDisplayLink))
    CCDirector::setDirectorType(kCCDirectorTypeNSTimer);
  CCDirector* director = CCDirector::sharedDirector();
  director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
  director->setAnimationInterval(1.0 / 60);
  director->setDisplayFPS(false);
  auto view =
      EAGLView::viewWithFrame(window_->bounds(), kEAGLColorFormatRGBA8, GL_DEPTH_COMPONENT16_OES,
                              false, nullptr, samples_ > 0, unsigned(samples_));
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
  // Creating the world builds the first page; a demonstration replaces the book.
  if (demo_.empty())
    cc3World_ = openingPage_ > 1 ? lumoWorld::worldOpenAt(openingPage_) : lumoWorld::world();
  CGSize size = director->winSize();
  auto layer = lumoLayer::layerWithColor(ccc4(0, 0, 0, 255), size.width, size.height);
  if (cc3World_) {
    layer->setCc3World(cc3World_.get());
    // The page navigator is drawn flat over the book, on its layer.
    cc3World_->reader().setOverlayHost([this]() -> CCNode* {
      return viewController_ ? viewController_->controlledNode() : nullptr;
    });
    cc3World_->play();
  } else {
    DemoScene::addTo(demo_, layer.get());
  }
  layer->scheduleUpdate();
  viewController_ = CCNodeController::controller();
  viewController_->setDoesAutoRotate(true);
  viewController_->runSceneOnNode(layer.get());
  auto& center = NSNotificationCenter::defaultCenter();
  center.addObserver(this, SELECTOR(lumoAppDelegate::shouldShowCredits), kShowCreditsNotification,
                     nullptr);
  initAnalytics();
  center.addObserver(this, SELECTOR(lumoAppDelegate::orientationChanged),
                     UIDeviceOrientationDidChangeNotification, nullptr);
  launched_ = true;
}

void lumoAppDelegate::shouldShowCredits(NSNotification* notification) {
  UIView* screen = viewController_ ? viewController_->view() : nullptr;
  if (!screen || screen->viewWithTag(kDimmingViewTag)) return;
  auto credits = CreditsView::viewControllerWithNibName("CreditsView");
  credits->setIsEnLan(notification->userInfo().boolValue(lumoBookNames::kCreditsLanguageKey));
  UIView* view = credits->view();
  if (!view) {
    // Every tap asks again; the reader's log says it once.
    logWarningOnce("credits:" + credits->loadError(), "credits not shown: " + credits->loadError());
    // On the next turn of the run loop: the ending menu locks dragging after
    // it has asked for the credits, and this must come after that.
    performSelector(SELECTOR(lumoAppDelegate::postCreditsDidFinish), 0);
    return;
  }
  view->setFrame(creditsFrame());
  view->setRotation(creditsRotation());
  auto dimming = makeObject<UIView>(UIScreen::mainScreen().bounds());
  dimming->setBackgroundColor(UIColor{0, 0, 0, 1});
  dimming->setAlpha(0.5f);
  dimming->setTag(kDimmingViewTag);
  view->setTag(kCreditsViewTag);
  credits->setCvDelegate(this);
  screen->addSubview(dimming.get());
  screen->addSubview(view);
  creditsView_ = credits;
  closingCredits_ = false;
  MobClick::event("credits");
}

void lumoAppDelegate::orientationChanged(NSNotification*) {
  UIView* screen = viewController_ ? viewController_->view() : nullptr;
  if (UIView* credits = screen ? screen->viewWithTag(kCreditsViewTag) : nullptr)
    credits->setRotation(creditsRotation());
}

void lumoAppDelegate::didClickQuitButton() {
  UIView* screen = viewController_ ? viewController_->view() : nullptr;
  // A second tap while the screen closes changes nothing.
  if (!screen || closingCredits_) return;
  closingCredits_ = true;
  UIView::beginAnimations("creditView", nullptr);
  UIView::setAnimationDelegate(this);
  UIView::setAnimationDidStopSelector(SELECTOR(lumoAppDelegate::removeViewsFromViewController));
  if (UIView* dimming = screen->viewWithTag(kDimmingViewTag)) dimming->setAlpha(0.5f);
  UIView::commitAnimations();
}

void lumoAppDelegate::removeViewsFromViewController() {
  UIView* screen = viewController_ ? viewController_->view() : nullptr;
  UIView* dimming = screen ? screen->viewWithTag(kDimmingViewTag) : nullptr;
  UIView* credits = screen ? screen->viewWithTag(kCreditsViewTag) : nullptr;
  closingCredits_ = false;
  if (!dimming && !credits) return;  // closed already
  if (dimming) dimming->removeFromSuperview();
  if (credits) credits->removeFromSuperview();
  creditsView_ = nullptr;
  postCreditsDidFinish();
}

void lumoAppDelegate::postCreditsDidFinish() {
  NSNotificationCenter::defaultCenter().postNotificationName(kCreditsDidFinishNotification,
                                                             nullptr);
}

void lumoAppDelegate::initAnalytics() {
  MobClick::setDelegate(this, 1);
  MobClick::setCrashReportEnabled(true);
  MobClick::appLaunched();
}

std::string lumoAppDelegate::appKey() {
  return "4f2a9c61d08e7b35a1c6e902";
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
  NSNotificationCenter::defaultCenter().removeObserver(this);
  cancelPreviousPerformRequestsWithTarget(this);
  creditsView_ = nullptr;
  if (EAGLView* view = director->openGLView()) view->removeFromSuperview();
  viewController_ = nullptr;
  window_ = nullptr;
  releaseWorld();
  glView_ = nullptr;
  director->end();
}
