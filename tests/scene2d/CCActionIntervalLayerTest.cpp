// A coloured layer moved and faded by actions, drawn through the director
// frame by frame on the virtual clock and read back from the GL frame.
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <gtest/gtest.h>

#include <vector>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCDirectorDisplayLink.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "NSAutoreleasePool.h"
#include "HeadlessDirectorTest.h"
#include "TestSupport.h"
#include "UIDevice.h"

namespace {

class Marker : public NSObject {
 public:
  void done() { ++calls; }
  int calls = 0;
};

class CCActionIntervalLayerTest : public HeadlessDirectorTest {
 protected:
  // One frame as the display link delivers it: 1/60 s later, then a draw.
  void nextFrame() {
    clock->advance(1.0 / 60);
    director->drawScene();
    NSAutoreleasePool::current().drain();
  }
  // Grey level at scene point (x, y), origin bottom-left; -1 when not grey.
  int greyAt(int x, int y) const {
    auto p = at(x, y);
    return p[0] == p[1] && p[1] == p[2] ? p[0] : -1;
  }

  ScopedVirtualClock clock;
};

TEST_F(CCActionIntervalLayerTest, LayerMovesAndFadesAsItsActionsSay) {
  auto scene = CCScene::node();
  auto layer = CCLayerColor::layerWithColor(ccc4(255, 255, 255, 255), 100, 100);
  layer->setPosition({100, 300});
  scene->addChild(layer);
  auto marker = makeObject<Marker>();
  director->runWithScene(scene);
  // Registered paused: the scene is entered during the next draw.
  layer->runAction(
      CCSequence::actions({CCSpawn::actions({CCMoveBy::actionWithDuration(1, {500, 0}),
                                             CCFadeTo::actionWithDuration(1, 0)}),
                           CCCallFunc::actionWithTarget(marker, SELECTOR(Marker::done))}));
  director->drawScene();  // enters the scene
  readFrame();
  ASSERT_EQ(width_, 1024);
  ASSERT_EQ(height_, 768);
  EXPECT_EQ(greyAt(150, 350), 255);
  EXPECT_EQ(greyAt(250, 350), 0);

  nextFrame();  // the first step counts no time
  EXPECT_EQ(layer->position(), CGPointMake(100, 300));
  EXPECT_EQ(layer->opacity(), 255);

  for (int i = 0; i < 30; ++i) nextFrame();  // 0.5 s
  EXPECT_NEAR(layer->position().x, 350, 0.01);
  EXPECT_EQ(layer->position().y, 300);
  EXPECT_NEAR(layer->opacity(), 127, 1);
  readFrame();
  EXPECT_NEAR(greyAt(400, 350), 127, 3);  // white at half opacity over black
  EXPECT_EQ(greyAt(150, 350), 0);         // the place it left
  EXPECT_EQ(greyAt(460, 350), 0);

  for (int i = 0; i < 15; ++i) nextFrame();  // 0.75 s
  EXPECT_NEAR(layer->position().x, 475, 0.01);
  EXPECT_NEAR(layer->opacity(), 63, 1);
  readFrame();
  EXPECT_NEAR(greyAt(525, 350), 63, 3);
  EXPECT_EQ(greyAt(470, 350), 0);
  EXPECT_EQ(marker->calls, 0);

  for (int i = 0; i < 14; ++i) nextFrame();  // one frame short of 1 s
  EXPECT_EQ(marker->calls, 0);
  nextFrame();
  EXPECT_EQ(marker->calls, 1);
  EXPECT_EQ(layer->position(), CGPointMake(600, 300));
  EXPECT_EQ(layer->opacity(), 0);
  readFrame();
  EXPECT_EQ(greyAt(650, 350), 0);
  nextFrame();
  EXPECT_EQ(marker->calls, 1);
  EXPECT_EQ(layer->numberOfRunningActions(), 0u);
}

}  // namespace
