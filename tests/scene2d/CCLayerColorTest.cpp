#include "CCLayerColor.h"

#include <GLES/gl.h>
#include <GLES/glext.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "CCActionManager.h"
#include "CCDirectorDisplayLink.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "NSAutoreleasePool.h"
#include "HeadlessDirectorTest.h"
#include "TestSupport.h"
#include "UIAccelerometer.h"
#include "UIDevice.h"

namespace {

using Pixel = std::array<int, 3>;

class CCLayerColorTest : public HeadlessDirectorTest {
 protected:
  Pixel at(int x, int y) const {
    auto p = HeadlessDirectorTest::at(x, y);
    return {p[0], p[1], p[2]};
  }
  ScopedVirtualClock clock;
};

constexpr Pixel kBlue{0, 0, 255}, kGreen{0, 255, 0}, kRed{255, 0, 0}, kBlack{0, 0, 0};

// A blue backdrop, a green 200 x 100 layer at (100, 100) and, on the
// backdrop, a red 100 x 50 layer at (600, 400) turned 90 degrees about its
// centre, so that it stands upright over x 625..675, y 375..475.
void buildTwoLayersAndARotatedChild(CCScene* scene) {
  auto backdrop = CCLayerColor::layerWithColor(ccc4(0, 0, 255, 255));
  auto green = CCLayerColor::layerWithColor(ccc4(0, 255, 0, 255), 200, 100);
  green->setPosition({100, 100});
  auto red = CCLayerColor::layerWithColor(ccc4(255, 0, 0, 255), 100, 50);
  red->setPosition({600, 400});
  red->setRotation(90);
  backdrop->addChild(red);
  scene->addChild(backdrop);
  scene->addChild(green);
}

void expectTwoLayersAndARotatedChild(int width, int height,
                                     const std::function<Pixel(int, int)>& at) {
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);
  EXPECT_EQ(at(10, 10), kBlue);
  EXPECT_EQ(at(1010, 750), kBlue);
  EXPECT_EQ(at(105, 105), kGreen);
  EXPECT_EQ(at(295, 195), kGreen);
  EXPECT_EQ(at(305, 150), kBlue);
  EXPECT_EQ(at(200, 205), kBlue);
  // Inside the turned rectangle, outside where it would be unturned, and back.
  EXPECT_EQ(at(650, 470), kRed);
  EXPECT_EQ(at(630, 380), kRed);
  EXPECT_EQ(at(690, 425), kBlue);
  EXPECT_EQ(at(610, 425), kBlue);
}

TEST_F(CCLayerColorTest, LayersAppearWhereTheTransformsSayInBothLandscapes) {
  for (UIDeviceOrientation o :
       {UIDeviceOrientationLandscapeLeft, UIDeviceOrientationLandscapeRight}) {
    SCOPED_TRACE(o);
    hold(o);
    auto scene = CCScene::node();
    buildTwoLayersAndARotatedChild(scene);
    if (director->runningScene())
      director->replaceScene(scene);
    else
      director->runWithScene(scene);
    drawFrame();
    expectTwoLayersAndARotatedChild(width_, height_, [this](int x, int y) { return at(x, y); });
  }
}

TEST_F(CCLayerColorTest, TranslucentLayerBlendsBySourceAlphaAndRestoresTheBlendFunction) {
  hold(UIDeviceOrientationLandscapeLeft);
  auto scene = CCScene::node();
  auto half = CCLayerColor::layerWithColor(ccc4(255, 255, 255, 128), 512, 768);
  auto custom = CCLayerColor::layerWithColor(ccc4(200, 100, 50, 255), 100, 100);
  custom->setPosition({700, 100});
  custom->setBlendFunc({GL_ZERO, GL_ONE});  // draws nothing
  scene->addChild(half);
  scene->addChild(custom);
  director->runWithScene(scene);
  drawFrame();
  const Pixel grey = at(100, 300);
  for (int c : grey) EXPECT_NEAR(c, 128, 2);
  EXPECT_EQ(at(800, 300), kBlack);
  EXPECT_EQ(at(750, 150), kBlack);
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_ONE);
  EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);

  // Colour and opacity changes reach the vertices.
  half->setColor(ccc3(0, 255, 0));
  half->setOpacity(255);
  half->changeWidth(256);
  drawFrame();
  EXPECT_EQ(at(100, 300), kGreen);
  EXPECT_EQ(at(300, 300), kBlack);
}

TEST_F(CCLayerColorTest, LayerDefaultsFillTheWindow) {
  hold(UIDeviceOrientationLandscapeLeft);
  auto layer = CCLayerColor::layerWithColor(ccc4(1, 2, 3, 4));
  EXPECT_EQ(layer->contentSize(), CGSizeMake(1024, 768));
  EXPECT_FALSE(layer->isRelativeAnchorPoint());
  EXPECT_EQ(layer->anchorPoint(), CGPointMake(0.5f, 0.5f));
  EXPECT_EQ(layer->opacity(), 4);
  EXPECT_EQ(layer->color(), ccc3(1, 2, 3));
  EXPECT_EQ(layer->blendFunc(), (ccBlendFunc{GL_ONE, GL_ONE_MINUS_SRC_ALPHA}));
  EXPECT_ASSERTION(layer->ccTouchBegan(nullptr, nullptr), "Layer#ccTouchBegan override me");
}

// Takes every touch set and converts the first touch into its own space.
class TouchLayer : public CCLayerColor {
 public:
  TouchLayer() : CCLayerColor(ccc4(0, 0, 0, 255), 200, 200) {}
  void ccTouchesBegan(const UITouchSet& touches, UIEvent*) override {
    seen.push_back(convertTouchToNodeSpace(touches[0]));
    seenAR.push_back(convertTouchToNodeSpaceAR(touches[0]));
  }
  std::vector<CGPoint> seen, seenAR;
};

TEST_F(CCLayerColorTest, ViewTouchesReachARunningTouchLayerInItsOwnSpace) {
  hold(UIDeviceOrientationLandscapeLeft);
  auto scene = CCScene::node();
  auto layer = makeObject<TouchLayer>();
  layer->setPosition({250, 50});
  layer->setIsTouchEnabled(true);
  scene->addChild(layer);
  EXPECT_TRUE(CCTouchDispatcher::sharedDispatcher()->standardHandlers().empty());
  director->runWithScene(scene);
  drawFrame();
  ASSERT_EQ(CCTouchDispatcher::sharedDispatcher()->standardHandlers().size(), 1u);

  // In landscape left the view's (x, y) is the scene's (y, x).
  auto touch = makeObject<UITouch>(view.get(), CGPointMake(100, 300), 0.0);
  view->touchesBegan({touch.get()}, nullptr);
  ASSERT_EQ(layer->seen.size(), 1u);
  EXPECT_NEAR(layer->seen[0].x, 50, 1e-3f);
  EXPECT_NEAR(layer->seen[0].y, 50, 1e-3f);
  EXPECT_NEAR(layer->seenAR[0].x, -50, 1e-3f);
  EXPECT_NEAR(layer->seenAR[0].y, -50, 1e-3f);
  const CGPoint window = layer->convertToWindowSpace({50, 50});
  EXPECT_NEAR(window.x, 100, 1e-3f);
  EXPECT_NEAR(window.y, 300, 1e-3f);

  // Turning touch off, or leaving the scene, unregisters the layer.
  layer->setIsTouchEnabled(false);
  view->touchesBegan({touch.get()}, nullptr);
  EXPECT_EQ(layer->seen.size(), 1u);
  layer->setIsTouchEnabled(true);
  EXPECT_EQ(CCTouchDispatcher::sharedDispatcher()->standardHandlers().size(), 1u);
  layer->removeFromParentAndCleanup(true);
  EXPECT_TRUE(CCTouchDispatcher::sharedDispatcher()->standardHandlers().empty());
}

class TiltLayer : public CCLayerColor {
 public:
  TiltLayer() : CCLayerColor(ccc4(0, 0, 0, 255)) {}
  void accelerometer(UIAccelerometer*, const UIAcceleration& a) override { samples.push_back(a.x); }
  std::vector<double> samples;
};

TEST_F(CCLayerColorTest, AccelerometerGoesToTheRunningLayerThatAsksForIt) {
  hold(UIDeviceOrientationLandscapeLeft);
  UIAccelerometer& sensor = UIAccelerometer::sharedAccelerometer();
  auto layer = makeObject<TiltLayer>();
  layer->setIsAccelerometerEnabled(true);
  EXPECT_EQ(sensor.delegate(), nullptr);  // not running yet
  auto scene = CCScene::node();
  scene->addChild(layer);
  director->runWithScene(scene);
  drawFrame();
  EXPECT_EQ(sensor.delegate(), layer.get());
  sensor.deliver({0.25, 0, 0, 0});
  EXPECT_EQ(layer->samples, std::vector<double>{0.25});
  layer->setIsAccelerometerEnabled(false);
  EXPECT_EQ(sensor.delegate(), nullptr);
  layer->setIsAccelerometerEnabled(true);
  EXPECT_EQ(sensor.delegate(), layer.get());
  director->replaceScene(CCScene::node());
  drawFrame();
  EXPECT_EQ(sensor.delegate(), nullptr);
}

}  // namespace
