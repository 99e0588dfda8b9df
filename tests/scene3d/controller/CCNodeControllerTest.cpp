#include "CCNodeController.h"

#include <GLES/gl.h>
#include <GLES/glext.h>
#include <gtest/gtest.h>

#include <vector>

#include "CCActionManager.h"
#include "CCDirectorDisplayLink.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
#include "ControllableCCLayer.h"
#include "EAGLView.h"
#include "HeadlessDirectorTest.h"
#include "NSAutoreleasePool.h"
#include "NSNotificationCenter.h"
#include "TestSupport.h"
#include "UIDevice.h"

namespace {

// Remembers the orientations it was told about.
class Watcher : public CCNode {
 public:
  void deviceOrientationDidChange(UIDeviceOrientation o) override { seen.push_back(o); }
  std::vector<int> seen;
};

// Counts changes of its home size.
class HomeLayer : public ControllableCCLayer {
 public:
  using ControllableCCLayer::ControllableCCLayer;
  std::vector<CGSize> previousHomes;

 protected:
  void didUpdateHomeContentSizeFrom(CGSize old) override { previousHomes.push_back(old); }
};

void setDevice(UIDeviceOrientation o) {
  UIDevice::currentDevice().setOrientation(o);
}

class ControllerTest : public HeadlessDirectorTest {
 protected:
  void SetUp() override {
    HeadlessDirectorTest::SetUp();
    observersBefore_ = NSNotificationCenter::defaultCenter().observerCount();
  }
  void TearDown() override {
    HeadlessDirectorTest::TearDown();
    EXPECT_EQ(NSNotificationCenter::defaultCenter().observerCount(), observersBefore_);
  }

  ScopedVirtualClock clock;
  std::size_t observersBefore_ = 0;
};

TEST_F(ControllerTest, FollowsTheDeviceBetweenTheLandscapesOnly) {
  auto controller = CCNodeController::controller();
  EXPECT_EQ(controller->view(), view.get());
  auto layer = makeObject<HomeLayer>(ccc4(0, 0, 0, 255), 1024, 768);
  auto watcher = makeObject<Watcher>();
  layer->addChild(watcher);
  controller->runSceneOnNode(layer);
  EXPECT_EQ(layer->controller(), controller.get());
  controller->setDoesAutoRotate(true);
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(768, 1024));

  setDevice(UIDeviceOrientationLandscapeRight);
  EXPECT_EQ(director->deviceOrientation(), 4);
  EXPECT_EQ(watcher->seen, std::vector<int>{4});
  EXPECT_EQ(layer->contentSize(), CGSizeMake(1024, 768));
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(768, 1024));

  // Flat, portrait and unknown positions keep the picture.
  setDevice(UIDeviceOrientationFaceUp);
  setDevice(UIDeviceOrientationPortrait);
  setDevice(UIDeviceOrientationUnknown);
  EXPECT_EQ(director->deviceOrientation(), 4);
  EXPECT_EQ(watcher->seen, std::vector<int>{4});

  // Back to the orientation the director already has: nothing reaches the node.
  setDevice(UIDeviceOrientationLandscapeRight);
  EXPECT_EQ(watcher->seen, std::vector<int>{4});
  setDevice(UIDeviceOrientationLandscapeLeft);
  EXPECT_EQ(watcher->seen, (std::vector<int>{4, 3}));
  EXPECT_TRUE(layer->previousHomes.empty());  // turning never changes the home size
}

TEST_F(ControllerTest, AutoRotateObservesOnceAndStopsWithTheController) {
  const std::size_t before = NSNotificationCenter::defaultCenter().observerCount();
  auto watcher = makeObject<Watcher>();
  {
    auto controller = CCNodeController::controller();
    controller->setControlledNode(watcher);
    controller->setDoesAutoRotate(true);
    controller->setDoesAutoRotate(true);
    EXPECT_EQ(NSNotificationCenter::defaultCenter().observerCount(), before + 1);
    setDevice(UIDeviceOrientationLandscapeRight);
    EXPECT_EQ(watcher->seen, std::vector<int>{4});
    controller->setDoesAutoRotate(false);
    setDevice(UIDeviceOrientationLandscapeLeft);
    EXPECT_EQ(watcher->seen, std::vector<int>{4});
    controller->setDoesAutoRotate(true);
  }
  // The controller is gone and no longer listens.
  setDevice(UIDeviceOrientationLandscapeRight);
  EXPECT_EQ(watcher->seen, std::vector<int>{4});
  EXPECT_EQ(NSNotificationCenter::defaultCenter().observerCount(), before);
}

TEST_F(ControllerTest, ASecondNodeReplacesTheRunningScene) {
  auto controller = CCNodeController::controller();
  auto first = ControllableCCLayer::node();
  auto second = ControllableCCLayer::node();
  controller->runSceneOnNode(first);
  director->drawScene();
  CCScene* firstScene = director->runningScene();
  ASSERT_NE(firstScene, nullptr);
  EXPECT_EQ(first->parent(), firstScene);
  EXPECT_TRUE(first->isRunning());
  controller->runSceneOnNode(second);
  director->drawScene();
  EXPECT_EQ(second->parent(), director->runningScene());
  EXPECT_FALSE(first->isRunning());
  EXPECT_EQ(controller->controlledNode(), second.get());
  EXPECT_EQ(second->controller(), controller.get());
  controller = nullptr;
  EXPECT_EQ(second->controller(), nullptr);  // no dangling pointer back
}

TEST_F(ControllerTest, ThePictureTurnsWithTheDevice) {
  auto controller = CCNodeController::controller();
  // A black window with a red block at the lower-left of the picture.
  auto layer = ControllableCCLayer::layerWithColor(ccc4(0, 0, 0, 255), 1024, 768);
  auto block = CCLayerColor::layerWithColor(ccc4(255, 0, 0, 255), 100, 100);
  layer->addChild(block);
  controller->runSceneOnNode(layer);
  controller->setDoesAutoRotate(true);
  for (UIDeviceOrientation o :
       {UIDeviceOrientationLandscapeRight, UIDeviceOrientationLandscapeLeft}) {
    SCOPED_TRACE(o);
    setDevice(o);
    director->drawScene();
    int w = 0, h = 0;
    auto frame = view->context()->snapshotPresentedFrame(w, h);
    ASSERT_EQ(w, 1024);
    ASSERT_EQ(h, 768);
    auto red = [&](int x, int y) {
      const std::size_t i = (std::size_t(h - 1 - y) * std::size_t(w) + std::size_t(x)) * 4;
      return frame[i] == 255 && frame[i + 1] == 0 && frame[i + 2] == 0;
    };
    EXPECT_TRUE(red(50, 50));
    EXPECT_FALSE(red(1000, 740));
    EXPECT_FALSE(red(150, 50));
  }
}

}  // namespace
