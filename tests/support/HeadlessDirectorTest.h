#pragma once
// Header-only: used by the 2D and 3D engine tests, which link the engine.
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "CCDirectorDisplayLink.h"
#include "CCScene.h"
#include "CCSharedServices.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "NSAutoreleasePool.h"
#include "UIAccelerometer.h"
#include "UIApplication.h"
#include "UIDevice.h"

// A display-link director drawing into a headless 768 x 1024 GL view held in
// landscape left; each test ends with the director gone and no object leaked.
class HeadlessDirectorTest : public ::testing::Test {
 protected:
  // The first frame opens the process's GL display and wakes platform
  // services that stay for the run; objects are counted only after that.
  static void SetUpTestSuite() {
    UIAccelerometer::sharedAccelerometer();
    UIApplication::sharedApplication();
    CCDirector::setDirectorType(kCCDirectorTypeDisplayLink);
    auto view = makeView();
    CCDirector::sharedDirector()->setOpenGLView(view);
    CCDirector::sharedDirector()->runWithScene(CCScene::node());
    CCDirector::sharedDirector()->drawScene();
    int w = 0, h = 0;
    view->context()->snapshotPresentedFrame(w, h);
    CCDirector::sharedDirector()->end();
    CCSharedServices::purgeAll();
  }

  void SetUp() override {
    liveBefore_ = NSObject::liveObjectCount();
    ASSERT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    director = CCDirector::sharedDirector();
    view = makeView();
    ASSERT_TRUE(view);
    director->setOpenGLView(view.get());
    hold(UIDeviceOrientationLandscapeLeft);
  }

  void TearDown() override {
    director->end();
    CCSharedServices::purgeAll();
    view = nullptr;
    UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }

  static Ptr<EAGLView> makeView() {
    return EAGLView::viewWithFrame(CGRectMake(0, 0, 768, 1024), kEAGLColorFormatRGBA8,
                                   GL_DEPTH_COMPONENT16_OES);
  }

  // Turns the device and the director to `orientation`.
  void hold(UIDeviceOrientation orientation) {
    UIDevice::currentDevice().setOrientation(orientation);
    director->setDeviceOrientation(orientation);
  }

  // Keeps the last presented frame, upright, for `at`.
  void readFrame() {
    int w = 0, h = 0;
    frame_ = view->context()->snapshotPresentedFrame(w, h);
    width_ = w;
    height_ = h;
  }
  void drawFrame() {
    director->drawScene();
    readFrame();
  }
  // RGBA at picture point (x, y), origin bottom-left of the upright picture.
  std::array<int, 4> at(int x, int y) const {
    const std::size_t i = (std::size_t(height_ - 1 - y) * std::size_t(width_) + std::size_t(x)) * 4;
    return {frame_[i], frame_[i + 1], frame_[i + 2], frame_[i + 3]};
  }

  CCDirector* director = nullptr;
  Ptr<EAGLView> view;
  std::vector<unsigned char> frame_;
  int width_ = 0, height_ = 0;

 private:
  std::int64_t liveBefore_ = 0;
};
