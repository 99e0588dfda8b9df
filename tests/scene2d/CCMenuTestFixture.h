#pragma once
// A running director over a 1024 x 768 landscape view on the virtual clock,
// for menus that take touches from the view and run actions.
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "CCDirectorDisplayLink.h"
#include "CCMenu.h"
#include "CCScene.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "Log.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"
#include "UIDevice.h"

// Records the calls of menu items.
class MenuTarget : public NSObject {
 public:
  void pressed(NSObject* sender) { senders.push_back(sender); }
  void plain() { ++plainCalls; }
  std::vector<NSObject*> senders;
  int plainCalls = 0;
};

class MenuFixture : public ::testing::Test {
 protected:
  // The first frame opens the process's GL display and wakes platform
  // services that stay for the run; count objects only after that.
  static void SetUpTestSuite() {
    CCDirector::setDirectorType(kCCDirectorTypeDisplayLink);
    auto view = EAGLView::viewWithFrame(CGRectMake(0, 0, 768, 1024), kEAGLColorFormatRGBA8,
                                        GL_DEPTH_COMPONENT16_OES);
    CCDirector::sharedDirector()->setOpenGLView(view);
    UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
    CCDirector::sharedDirector()->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
    CCDirector::sharedDirector()->runWithScene(CCScene::node());
    CCDirector::sharedDirector()->drawScene();
    int w = 0, h = 0;
    view->context()->snapshotPresentedFrame(w, h);
    CCDirector::sharedDirector()->end();
    CCDirector::purgeSharedDirector();
    NSAutoreleasePool::current().drain();
  }
  void SetUp() override {
    savedLevel_ = logLevel();
    setLogLevel(LogLevel::Silent);
    CCTouchDispatcher::sharedDispatcher();
    liveBefore_ = NSObject::liveObjectCount();
    ASSERT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    director = CCDirector::sharedDirector();
    view = EAGLView::viewWithFrame(CGRectMake(0, 0, 768, 1024), kEAGLColorFormatRGBA8,
                                   GL_DEPTH_COMPONENT16_OES);
    ASSERT_TRUE(view);
    director->setOpenGLView(view.get());
    UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
    director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
    scene = CCScene::node();
  }
  void TearDown() override {
    for (UITouch* t : touches_) t->release();
    touches_.clear();
    scene = nullptr;
    director->end();
    CCDirector::purgeSharedDirector();
    view = nullptr;
    CCTextureCache::purgeSharedTextureCache();
    NSAutoreleasePool::current().drain();
    setLogLevel(savedLevel_);
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }

  // Runs the scene and draws its first frame, which enters it.
  void run() {
    director->runWithScene(scene);
    director->drawScene();
    NSAutoreleasePool::current().drain();
  }
  void nextFrame() {
    clock->advance(1.0 / 60);
    director->drawScene();
    NSAutoreleasePool::current().drain();
  }
  void readFrame() {
    int w = 0, h = 0;
    frame_ = view->context()->snapshotPresentedFrame(w, h);
    width_ = w;
    height_ = h;
  }
  // RGB at scene point (x, y), origin bottom-left.
  std::array<int, 3> at(int x, int y) const {
    const std::size_t i = (std::size_t(height_ - 1 - y) * std::size_t(width_) + std::size_t(x)) * 4;
    return {frame_[i], frame_[i + 1], frame_[i + 2]};
  }

  // Fingers by number, at scene points; the view of a landscape-left device
  // has the scene's axes swapped.
  UITouch* down(CGPoint scenePoint) {
    auto* t = new UITouch(view.get(), CGPointMake(scenePoint.y, scenePoint.x), 0);
    touches_.push_back(t);
    view->touchesBegan({t}, nullptr);
    return t;
  }
  void move(UITouch* t, CGPoint scenePoint) {
    t->moveTo(CGPointMake(scenePoint.y, scenePoint.x), UITouchPhaseMoved, 0);
    view->touchesMoved({t}, nullptr);
  }
  void up(UITouch* t, CGPoint scenePoint) {
    t->moveTo(CGPointMake(scenePoint.y, scenePoint.x), UITouchPhaseEnded, 0);
    view->touchesEnded({t}, nullptr);
  }
  void cancel(UITouch* t) {
    t->moveTo(t->locationInView(view.get()), UITouchPhaseCancelled, 0);
    view->touchesCancelled({t}, nullptr);
  }

  ScopedVirtualClock clock;
  CCDirector* director = nullptr;
  Ptr<EAGLView> view;
  Ptr<CCScene> scene;
  std::vector<unsigned char> frame_;
  int width_ = 0, height_ = 0;

 private:
  std::vector<UITouch*> touches_;
  std::int64_t liveBefore_ = 0;
  LogLevel savedLevel_ = LogLevel::Error;
};
