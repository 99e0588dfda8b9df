#include "lumoLayer.h"

#include <gtest/gtest.h>

#include <vector>

#include "CC3World.h"
#include "CCScheduler.h"
#include "HeadlessDirectorTest.h"
#include "TestSupport.h"
#include "UITouch.h"

namespace {

// Records the raw touch events the layer passes on.
class TouchRecordingWorld : public CC3World {
 public:
  void touchEvent(GLuint touchType, CGPoint point) override {
    types.push_back(touchType);
    points.push_back(point);
    CC3World::touchEvent(touchType, point);
  }
  std::vector<GLuint> types;
  std::vector<CGPoint> points;
};

// A book layer over the lower-left quarter of a landscape-left screen.
class lumoLayerTest : public HeadlessDirectorTest {
 protected:
  void SetUp() override {
    HeadlessDirectorTest::SetUp();
    world = makeObject<TouchRecordingWorld>();
    world->init();
    layer = lumoLayer::layerWithColor(ccc4(0, 0, 0, 255), 512, 384);
    layer->setCc3World(world.get());
    world->play();
    scene = CCScene::node();
    scene->addChild(layer.get());
    director->runWithScene(scene.get());
    director->drawScene();
  }
  void TearDown() override {
    for (UITouch* t : touches_) t->release();
    touches_.clear();
    scene = nullptr;
    layer = nullptr;
    world = nullptr;
    HeadlessDirectorTest::TearDown();
  }

  // A drag in scene points (origin bottom-left); the landscape-left view has
  // its axes swapped.
  void drag(CGPoint from, CGPoint to, int moves) {
    auto* t = new UITouch(view.get(), CGPointMake(from.y, from.x), 0);
    touches_.push_back(t);
    view->touchesBegan({t}, nullptr);
    for (int i = 1; i <= moves; ++i) {
      const float f = float(i) / float(moves);
      const CGPoint p{from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f};
      t->moveTo(CGPointMake(p.y, p.x), UITouchPhaseMoved, 0);
      view->touchesMoved({t}, nullptr);
    }
    t->moveTo(CGPointMake(to.y, to.x), UITouchPhaseEnded, 0);
    view->touchesEnded({t}, nullptr);
  }

  Ptr<TouchRecordingWorld> world;
  Ptr<lumoLayer> layer;
  Ptr<CCScene> scene;

 private:
  std::vector<UITouch*> touches_;
};

TEST_F(lumoLayerTest, TurnsTouchesOnAndHostsTheWorld) {
  EXPECT_TRUE(layer->isTouchEnabled());
  EXPECT_EQ(layer->mashUpWorld(), world.get());
  EXPECT_EQ(layer->className(), "lumoLayer");
}

TEST_F(lumoLayerTest, DragInsideReachesTheWorldAsBeganMovesAndEnded) {
  drag({100, 100}, {100, 300}, 3);
  ASSERT_EQ(world->types.size(), 5u);
  EXPECT_EQ(world->types.front(), GLuint(kCCTouchBegan));
  for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(world->types[i], GLuint(kCCTouchMoved));
  EXPECT_EQ(world->types.back(), GLuint(kCCTouchEnded));
  EXPECT_NEAR(world->points.front().y, 100, 1);
  EXPECT_NEAR(world->points.back().y, 300, 1);
}

TEST_F(lumoLayerTest, TouchStartingOutsideIsNotClaimed) {
  drag({800, 600}, {100, 100}, 3);
  EXPECT_TRUE(world->types.empty());
}

}  // namespace
