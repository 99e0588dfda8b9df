#include "CC3Layer.h"

#include <gtest/gtest.h>

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <array>
#include <cmath>
#include <vector>

#include "CC3Billboard.h"
#include "CC3Camera.h"
#include "CC3Light.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CC3World.h"
#include "CCDirectorDisplayLink.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCSharedServices.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "NSAutoreleasePool.h"
#include "PNGWriter.h"
#include "TestSupport.h"
#include "UIDevice.h"

namespace {

struct Selection {
  CC3Node* node;
  GLuint type;
  CGPoint point;
};

// The book's arrangement in small: a camera with a lamp on it, a large
// textured plane at the back and a small coloured one in front, right of
// the centre.
class StageWorld : public CC3World {
 public:
  void initializeWorld() override {
    auto camera = CC3Camera::nodeWithName("Camera");
    camera->setLocation({0, 0, 10});
    addChild(camera);
    auto lamp = CC3Light::nodeWithName("Lamp");
    lamp->setLocation({-2, 0, 0});
    camera->addChild(lamp);
  }
  void nodeSelected(CC3Node* node, GLuint type, CGPoint point) override {
    selections.push_back({node, type, point});
  }
  ~StageWorld() override {
    if (destroyed) *destroyed = true;
  }
  std::vector<Selection> selections;
  bool* destroyed = nullptr;
};

// A display-link director over a 1024 x 768 landscape-left view on the
// virtual clock, running a scene with one 3D layer.
class CC3LayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    director = CCDirector::sharedDirector();
    view = EAGLView::viewWithFrame(CGRectMake(0, 0, 768, 1024), kEAGLColorFormatRGBA8,
                                   GL_DEPTH_COMPONENT16_OES);
    ASSERT_TRUE(view);
    director->setOpenGLView(view.get());
    UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
    director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);

    world = makeObject<StageWorld>();
    world->init();
    layer = CC3Layer::layerWithColor(ccc4(0, 0, 0, 255), 1024, 768);
    layer->setIsTouchEnabled(true);
    layer->setCc3World(world);
    world->play();
    CCScheduler::sharedScheduler()->scheduleUpdateForTarget(layer.get(), 0, false);
    scene = CCScene::node();
    scene->addChild(layer);
  }
  void TearDown() override {
    CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(layer.get());
    for (UITouch* t : touches_) t->release();
    touches_.clear();
    scene = nullptr;
    layer = nullptr;
    world = nullptr;
    director->end();
    CCSharedServices::purgeAll();
    view = nullptr;
    NSAutoreleasePool::current().drain();
  }

  void addPlanes() {
    // 8 x 8 of solid blue for the back plane's texture.
    std::vector<unsigned char> blue(8 * 8 * 4);
    for (std::size_t i = 0; i < blue.size(); i += 4) blue[i + 2] = blue[i + 3] = 255;
    std::string error;
    ASSERT_TRUE(writePNG(dir.file("blue.png"), blue.data(), 8, 8, error)) << error;
    auto texture = CC3Texture::textureFromFile(dir.file("blue.png"));
    ASSERT_TRUE(texture);

    // From 10 away, 123.6 pixels to the unit at z = 0 and 103 at z = -2.
    back = CC3PlaneNode::nodeWithName("back");
    back->populateAsCenteredRectangleWithSize({6, 6}, texture, false);
    back->setLocation({0, 0, -2});  // x 203 to 821, y 75 to 693
    back->setIsTouchEnabled(true);
    front = CC3PlaneNode::nodeWithName("front");
    front->populateAsCenteredRectangleWithSize({2, 2});
    front->setPureColor({1, 0, 0, 1});
    front->setLocation({2, 0, 0});  // x 636 to 883, y 260 to 508
    front->setIsTouchEnabled(true);
    world->addChild(back);
    world->addChild(front);
  }

  void run() {
    director->runWithScene(scene);
    frame();
    frame();
  }
  void frame() {
    clock->advance(1.0 / 60);
    director->drawScene();
    NSAutoreleasePool::current().drain();
  }
  // RGB at scene point (x, y), origin bottom-left, of the last presented frame.
  std::array<int, 3> at(int x, int y) {
    int w = 0, h = 0;
    std::vector<unsigned char> pixels = view->context()->snapshotPresentedFrame(w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    const std::size_t i = (std::size_t(h - 1 - y) * std::size_t(w) + std::size_t(x)) * 4;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
  }
  // A tap at a scene point: the view of a landscape-left device has the axes swapped.
  void tap(CGPoint p) {
    auto* t = new UITouch(view.get(), CGPointMake(p.y, p.x), 0);
    touches_.push_back(t);
    view->touchesBegan({t}, nullptr);
    t->moveTo(CGPointMake(p.y, p.x), UITouchPhaseEnded, 0);
    view->touchesEnded({t}, nullptr);
  }

  ScopedVirtualClock clock;
  TempDir dir;
  CCDirector* director = nullptr;
  Ptr<EAGLView> view;
  Ptr<StageWorld> world;
  Ptr<CC3Layer> layer;
  Ptr<CCScene> scene;
  Ptr<CC3PlaneNode> back, front;

 private:
  std::vector<UITouch*> touches_;
};

}  // namespace

TEST_F(CC3LayerTest, ViewportCoversTheLandscapeFramebuffer) {
  run();
  CC3ViewportManager* vpm = world->viewportManager();
  EXPECT_EQ(vpm->viewport(), CC3ViewportMake(0, 0, 768, 1024));
  EXPECT_EQ(vpm->layerBounds(), CGRectMake(0, 0, 1024, 768));
  EXPECT_EQ(world->activeCamera(), world->getNodeNamed("Camera"));
  EXPECT_EQ(world->lights().size(), 1u);
  EXPECT_EQ(layer->description(), "CC3Layer");
}

TEST_F(CC3LayerTest, PlanesAreDrawnNearestInFrontAndEachIsPickedAtItsPixel) {
  addPlanes();
  run();
  std::array<int, 3> red = at(760, 384), blue = at(350, 384), backdrop = at(50, 50);
  EXPECT_EQ(red, (std::array<int, 3>{255, 0, 0}));
  EXPECT_GT(blue[2], 120);  // lit texture
  EXPECT_LT(blue[0], 40);
  EXPECT_LT(blue[1], 40);
  EXPECT_EQ(backdrop, (std::array<int, 3>{0, 0, 0}));
  // The front plane's edges are where the camera puts them.
  EXPECT_EQ(at(630, 384)[2], blue[2]);
  EXPECT_EQ(at(640, 384)[0], 255);
  EXPECT_EQ(at(760, 255)[0], 0);
  EXPECT_EQ(at(760, 265)[0], 255);

  tap({760, 384});
  frame();  // drawn for picking
  EXPECT_TRUE(world->selections.empty());
  frame();  // delivered at the start of the update
  ASSERT_EQ(world->selections.size(), 2u);
  EXPECT_EQ(world->selections[0].node, front.get());
  EXPECT_EQ(world->selections[0].type, GLuint(kCCTouchBegan));
  EXPECT_EQ(world->selections[1].type, GLuint(kCCTouchEnded));
  EXPECT_EQ(world->selections[1].point, CGPointMake(760, 384));

  world->selections.clear();
  tap({350, 384});
  frame();
  frame();
  ASSERT_EQ(world->selections.size(), 2u);
  EXPECT_EQ(world->selections[0].node, back.get());

  world->selections.clear();
  tap({50, 50});
  frame();
  frame();
  ASSERT_EQ(world->selections.size(), 2u);
  EXPECT_EQ(world->selections[0].node, nullptr);

  // The picking colours never reach the presented frame.
  EXPECT_EQ(at(760, 384), red);
}

TEST_F(CC3LayerTest, TouchOutsideTheLayerIsNotClaimed) {
  run();
  layer->setContentSize({512, 384});
  tap({800, 600});
  EXPECT_EQ(world->touchHandler()->queuedTouchCount(), 0u);
  tap({100, 100});
  EXPECT_EQ(world->touchHandler()->queuedTouchCount(), 2u);
  EXPECT_EQ(world->touchHandler()->touchPoint(), CGPointMake(100, 100));
}

TEST_F(CC3LayerTest, ReplacingTheWorldKeepsTheOldOneToTheEndOfTheScope) {
  run();
  bool destroyed = false;
  world->destroyed = &destroyed;
  world = nullptr;  // only the layer holds it now
  auto replacement = CC3World::world();
  layer->setCc3World(replacement);
  EXPECT_FALSE(destroyed);  // kept by the pool
  EXPECT_EQ(replacement->viewportManager()->viewport(), CC3ViewportMake(0, 0, 768, 1024));
  NSAutoreleasePool::current().drain();
  EXPECT_TRUE(destroyed);
}

TEST_F(CC3LayerTest, BillboardsFollowTheirNodeAndAreDrawnOverTheWorld) {
  addPlanes();
  // 40 x 40 points of yellow, its corner where the node is seen.
  auto square = CCLayerColor::layerWithColor(ccc4(255, 255, 0, 255), 40, 40);
  auto billboard = CC3Billboard::nodeWithName("label", square);
  billboard->setLocation({-2, 0, 0});  // seen at (265, 384)
  billboard->setUnityScaleDistance(10);
  world->addChild(billboard);
  ASSERT_EQ(world->billboards().size(), 1u);
  run();
  EXPECT_NEAR(square->position().x, 265, 1);
  EXPECT_NEAR(square->position().y, 384, 1);
  EXPECT_NEAR(square->scaleX(), 10 / std::sqrt(104.0f), 1e-5f);  // 10 / its distance
  EXPECT_EQ(at(285, 404), (std::array<int, 3>{255, 255, 0}));
  EXPECT_EQ(at(285, 374)[0], 0);  // below it, the back plane

  // Hidden, it is not drawn; removed, it leaves the list.
  billboard->setVisible(false);
  frame();
  EXPECT_EQ(at(285, 404)[0], 0);
  billboard->remove();
  EXPECT_TRUE(world->billboards().empty());
}
