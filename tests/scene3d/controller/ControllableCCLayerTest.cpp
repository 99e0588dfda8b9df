#include "ControllableCCLayer.h"

#include <gtest/gtest.h>

#include <vector>

#include "CCActionManager.h"
#include "CCDirector.h"
#include "CCScheduler.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {

class HomeLayer : public ControllableCCLayer {
 public:
  using ControllableCCLayer::ControllableCCLayer;
  std::vector<CGSize> previousHomes;

 protected:
  void didUpdateHomeContentSizeFrom(CGSize old) override { previousHomes.push_back(old); }
};

class Listener : public CCNode {
 public:
  void deviceOrientationDidChange(UIDeviceOrientation o) override { seen.push_back(o); }
  std::vector<int> seen;
};

// A director without a view: only its orientation matters here.
class ControllableCCLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    director = CCDirector::sharedDirector();
    director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
  }
  void TearDown() override {
    director->end();
    CCDirector::purgeSharedDirector();
    NSAutoreleasePool::current().drain();
  }
  CCDirector* director = nullptr;
};

TEST_F(ControllableCCLayerTest, HomeSizeIsThePortraitView) {
  auto layer = makeObject<HomeLayer>();
  EXPECT_FALSE(layer->isColored());
  EXPECT_TRUE(layer->alignContentSizeWithDeviceOrientation());
  layer->setContentSize({1024, 768});
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(768, 1024));
  layer->previousHomes.clear();

  director->setDeviceOrientation(UIDeviceOrientationPortrait);
  layer->setContentSize({300, 200});
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(300, 200));
  ASSERT_EQ(layer->previousHomes.size(), 1u);
  EXPECT_EQ(layer->previousHomes[0], CGSizeMake(768, 1024));

  // The same size again, or a size giving the same home, calls no hook.
  layer->setContentSize({300, 200});
  director->setDeviceOrientation(UIDeviceOrientationLandscapeRight);
  layer->setContentSize({200, 300});
  EXPECT_EQ(layer->previousHomes.size(), 1u);

  // An orientation the layer cannot place leaves the home size.
  director->setDeviceOrientation(UIDeviceOrientationFaceDown);
  EXPECT_ASSERTION(layer->setContentSize({10, 20}), "Unknown device orientation");
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(300, 200));
}

TEST_F(ControllableCCLayerTest, OrientationTurnsTheSizeAndReachesTheChildren) {
  auto layer = ControllableCCLayer::layerWithColor(ccc4(1, 2, 3, 255), 1024, 768);
  EXPECT_TRUE(layer->isColored());
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(768, 1024));
  auto child = makeObject<Listener>();
  layer->addChild(child);

  director->setDeviceOrientation(UIDeviceOrientationLandscapeRight);
  layer->deviceOrientationDidChange(UIDeviceOrientationLandscapeRight);
  EXPECT_EQ(layer->contentSize(), CGSizeMake(1024, 768));
  director->setDeviceOrientation(UIDeviceOrientationPortrait);
  layer->deviceOrientationDidChange(UIDeviceOrientationPortrait);
  EXPECT_EQ(layer->contentSize(), CGSizeMake(768, 1024));
  EXPECT_EQ(layer->homeContentSize(), CGSizeMake(768, 1024));
  EXPECT_EQ(child->seen, (std::vector<int>{4, 1}));

  EXPECT_ASSERTION(layer->deviceOrientationDidChange(UIDeviceOrientationFaceUp),
                   "Change to unknown device orientation");

  // Not aligned: the size stays, the children still hear of it.
  layer->setAlignContentSizeWithDeviceOrientation(false);
  layer->deviceOrientationDidChange(UIDeviceOrientationLandscapeLeft);
  EXPECT_EQ(layer->contentSize(), CGSizeMake(768, 1024));
  EXPECT_EQ(child->seen.back(), 3);
}

}  // namespace
