#include "CC3World.h"

#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <cmath>
#include <vector>

#include "CC3Camera.h"
#include "CC3Light.h"
#include "CC3LocalContentNode.h"
#include "CC3NodeTestSupport.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3PlaneNode.h"
#include "CCTouchDispatcher.h"
#include "GLTestContext.h"

namespace {

// Notes the steps it is updated with and what it sees of the transforms.
class Recorder : public CC3Node {
 public:
  static Ptr<Recorder> make() {
    auto r = makeObject<Recorder>();
    r->init();
    return r;
  }
  void update(ccSeconds dt) override {
    steps.push_back(dt);
    if (parent()) parentGlobalSeen = parent()->globalLocation();
    ownGlobalSeen = globalLocation();
  }
  std::vector<ccSeconds> steps;
  CC3Vec3 parentGlobalSeen = kCC3Vec3Zero, ownGlobalSeen = kCC3Vec3Zero;
};

// Notes whether lighting was on when it was drawn.
class LightingProbe : public CC3LocalContentNode {
 public:
  static Ptr<LightingProbe> make() {
    auto p = makeObject<LightingProbe>();
    p->init();
    return p;
  }
  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor*) override {
    lightingOn.push_back(glIsEnabled(GL_LIGHTING) == GL_TRUE);
  }
  std::vector<bool> lightingOn;
};

struct Selection {
  CC3Node* node;
  GLuint type;
  CGPoint point;
};

class TouchWorld : public CC3World {
 public:
  static Ptr<TouchWorld> make() {
    auto w = makeObject<TouchWorld>();
    w->init();
    return w;
  }
  void nodeSelected(CC3Node* node, GLuint type, CGPoint point) override {
    selections.push_back({node, type, point});
  }
  std::vector<Selection> selections;
};

// Builds its scene in the initialisation hook.
class BuiltWorld : public CC3World {
 public:
  void initializeWorld() override {
    hadSequencer = drawingSequencer() != nullptr;
    auto content = CC3LocalContentNode::nodeWithName("content");
    addChild(content);
  }
  bool hadSequencer = false;
};

// A 64 x 64 GL context and a playing world whose portrait viewport covers it
// one to one, so 2D points and framebuffer pixels coincide.
class CC3WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    CC3OpenGLES11Engine::engine();
    world = TouchWorld::make();
    world->viewportManager()->updateBounds(CGRectMake(0, 0, 64, 64), UIDeviceOrientationPortrait,
                                           CGSizeMake(64, 64), 1);
  }
  void TearDown() override {
    world = nullptr;
    NSAutoreleasePool::current().drain();
    CC3OpenGLES11Engine::purgeEngine();
  }
  // A camera at (0, 0, 10) looking down -z.
  Ptr<CC3Camera> addCamera(const char* name) {
    auto camera = CC3Camera::nodeWithName(name);
    camera->setLocation({0, 0, 10});
    world->addChild(camera);
    return camera;
  }
  void frame(ccSeconds dt = 1.0f / 60) {
    world->updateWorld(dt);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    world->drawWorld();
    glFinish();
  }

  GLTestContext gl;
  Ptr<TouchWorld> world;
};

}  // namespace

TEST_F(CC3WorldTest, CreationDefaultsAndTheInitialisationHook) {
  EXPECT_FALSE(world->isRunning());
  EXPECT_FLOAT_EQ(world->maxUpdateInterval(), 0.06666667f);
  EXPECT_EQ(world->ambientLight(), (ccColor4F{0.2f, 0.2f, 0.2f, 1.0f}));
  EXPECT_TRUE(world->isUsingDrawingSequence());
  EXPECT_EQ(world->drawingSequence()->count(), 0u);
  EXPECT_EQ(world->activeCamera(), nullptr);
  EXPECT_EQ(world->touchHandler()->world(), world.get());
  EXPECT_EQ(world->viewportManager()->world(), world.get());

  auto built = makeObject<BuiltWorld>();
  built->init();
  EXPECT_TRUE(built->hadSequencer);
  ASSERT_EQ(built->drawingSequence()->count(), 1u);
  EXPECT_EQ(built->drawingSequence()->objectAtIndex(0), built->getNodeNamed("content"));
}

TEST_F(CC3WorldTest, CamerasAndLightsAreListedAndTheFirstCameraIsActive) {
  auto first = addCamera("first");
  auto second = addCamera("second");
  EXPECT_EQ(world->activeCamera(), first.get());
  EXPECT_EQ(first->world(), world.get());
  EXPECT_EQ(second->world(), world.get());
  ASSERT_EQ(world->cameras().size(), 2u);

  // A light deep in a subtree is found too.
  auto rig = CC3Node::nodeWithName("rig");
  auto lamp = CC3Light::nodeWithName("Lamp");
  rig->addChild(lamp);
  world->addChild(rig);
  ASSERT_EQ(world->lights().size(), 1u);
  EXPECT_EQ(world->lights()[0].get(), lamp.get());

  first->remove();
  EXPECT_EQ(world->activeCamera(), second.get());
  EXPECT_EQ(first->world(), nullptr);
  second->remove();
  EXPECT_EQ(world->activeCamera(), nullptr);
  EXPECT_TRUE(world->cameras().empty());
  rig->remove();
  EXPECT_TRUE(world->lights().empty());

  // A camera kept by a caller does not point at a world that is gone.
  world->addChild(second);
  world = nullptr;
  NSAutoreleasePool::current().drain();
  EXPECT_EQ(second->world(), nullptr);
}

TEST_F(CC3WorldTest, UpdatePassClampsTheStepAndRebuildsTransformsParentFirst) {
  auto parent = CC3Node::nodeWithName("parent");
  auto child = Recorder::make();
  parent->addChild(child);
  world->addChild(parent);
  parent->setLocation({5, 0, 0});
  child->setLocation({1, 0, 0});

  // Paused: no update and no transforms.
  world->updateWorld(0.01f);
  EXPECT_TRUE(child->steps.empty());
  EXPECT_EQ(child->globalLocation(), kCC3Vec3Zero);

  world->play();
  world->updateWorld(0.01f);
  ASSERT_EQ(child->steps.size(), 1u);
  EXPECT_FLOAT_EQ(child->steps[0], 0.01f);
  // The child's logic ran after its parent's transform and before its own.
  EXPECT_EQ(child->parentGlobalSeen, (CC3Vec3{5, 0, 0}));
  EXPECT_EQ(child->ownGlobalSeen, kCC3Vec3Zero);
  EXPECT_EQ(child->globalLocation(), (CC3Vec3{6, 0, 0}));

  world->updateWorld(0.5f);
  EXPECT_FLOAT_EQ(child->steps.back(), 0.06666667f);
  world->setMaxUpdateInterval(0);
  world->updateWorld(0.5f);
  EXPECT_FLOAT_EQ(child->steps.back(), 0.5f);

  world->pause();
  world->updateWorld(0.01f);
  EXPECT_EQ(child->steps.size(), 3u);
}

TEST_F(CC3WorldTest, TouchQueueMergesRunsAndEmptiesWhenFull) {
  CC3WorldTouchHandler* h = world->touchHandler();
  world->touchEvent(kCCTouchMoved, {1, 1});
  world->touchEvent(kCCTouchMoved, {2, 2});
  EXPECT_EQ(h->queuedTouchCount(), 1u);
  EXPECT_EQ(h->touchPoint(), CGPointMake(2, 2));
  EXPECT_TRUE(h->wasTouched());

  world->touchEvent(kCCTouchEnded, {3, 3});
  world->touchEvent(kCCTouchBegan, {4, 4});
  EXPECT_EQ(h->queuedTouchCount(), 3u);
  for (GLuint i = 3; i < 16; ++i) world->touchEvent(i % 2 ? kCCTouchMoved : kCCTouchBegan, {});
  EXPECT_EQ(h->queuedTouchCount(), 16u);
  // The seventeenth distinct event drops the sixteen waiting ones.
  world->touchEvent(kCCTouchCancelled, {9, 9});
  EXPECT_EQ(h->queuedTouchCount(), 1u);
  EXPECT_EQ(h->queuedTouchAt(0), GLuint(kCCTouchCancelled));

  EXPECT_EQ(CC3WorldTouchHandler::nameOfTouchType(0), "kCCTouchBegan");
  EXPECT_EQ(CC3WorldTouchHandler::nameOfTouchType(3), "kCCTouchCancelled");
  EXPECT_EQ(CC3WorldTouchHandler::nameOfTouchType(7), "unknown touch type (7)");
}

TEST_F(CC3WorldTest, EventsAreDeliveredAfterTheNextDrawWithOnePickAndTheLastPoint) {
  addCamera("Camera");
  world->play();
  frame();
  world->touchEvent(kCCTouchBegan, {1, 1});
  world->touchEvent(kCCTouchMoved, {2, 2});
  world->touchEvent(kCCTouchEnded, {3, 3});
  world->updateWorld(0.01f);  // not yet picked: nothing delivered
  EXPECT_TRUE(world->selections.empty());

  world->drawWorld();
  EXPECT_FALSE(world->touchHandler()->wasTouched());
  EXPECT_TRUE(world->touchHandler()->wasPicked());
  // Queued between the pick and its delivery: goes with that pick.
  world->touchEvent(kCCTouchCancelled, {4, 4});

  // A paused world keeps drawing and picking but delivers nothing.
  world->pause();
  world->updateWorld(0.01f);
  EXPECT_TRUE(world->selections.empty());
  world->play();
  world->updateWorld(0.01f);
  ASSERT_EQ(world->selections.size(), 4u);
  for (GLuint i = 0; i < 4; ++i) {
    EXPECT_EQ(world->selections[i].type, i);
    EXPECT_EQ(world->selections[i].node, nullptr);  // nothing touchable there
    EXPECT_EQ(world->selections[i].point, CGPointMake(4, 4));
  }
  EXPECT_EQ(world->touchHandler()->queuedTouchCount(), 0u);
  world->updateWorld(0.01f);
  EXPECT_EQ(world->selections.size(), 4u);
}

TEST_F(CC3WorldTest, LightingIsOnWithLightsOrAnAmbientLight) {
  addCamera("Camera");
  auto probe = LightingProbe::make();
  world->addChild(probe);
  probe->setLocation({0, 0, 0});
  world->play();
  frame();
  world->setAmbientLight({0, 0, 0, 0});
  frame();
  auto lamp = CC3Light::nodeWithName("Lamp");
  world->addChild(lamp);
  frame();
  ASSERT_EQ(probe->lightingOn.size(), 3u);
  EXPECT_TRUE(probe->lightingOn[0]);
  EXPECT_FALSE(probe->lightingOn[1]);
  EXPECT_TRUE(probe->lightingOn[2]);
  // The 3D pass gives the 2D engine its state back.
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(CC3WorldTest, NodesOutsideTheCameraFrustumAreNotDrawn) {
  addCamera("Camera");
  auto probe = LightingProbe::make();
  auto sphere = CC3NodeSphericalBoundingVolume::boundingVolume();
  sphere->setRadius(1);
  probe->setBoundingVolume(sphere);
  world->addChild(probe);
  world->play();
  frame();
  EXPECT_EQ(probe->lightingOn.size(), 1u);
  probe->setLocation({0, 0, 12});  // behind the camera
  frame();
  probe->setLocation({100, 0, 0});  // far to the side
  frame();
  EXPECT_EQ(probe->lightingOn.size(), 1u);
  probe->setLocation({0, 0, 10.5f});  // around the camera: the sphere reaches the near plane
  frame();
  EXPECT_EQ(probe->lightingOn.size(), 2u);
  // A hidden world draws nothing.
  world->setVisible(false);
  frame();
  EXPECT_EQ(probe->lightingOn.size(), 2u);
}

TEST_F(CC3WorldTest, PickingFindsTheNearestTouchableSurface) {
  addCamera("Camera");
  // Seen from 10 away, z = 0 spans 4.14 units each side of the centre pixel 32.
  auto back = CC3PlaneNode::nodeWithName("back");
  back->populateAsCenteredRectangleWithSize({6, 6});
  back->setPureColor({0, 1, 0, 1});
  back->setLocation({0, 0, -2});
  auto front = CC3PlaneNode::nodeWithName("front");
  front->populateAsCenteredRectangleWithSize({2, 2});
  front->setPureColor({1, 0, 0, 1});
  front->setLocation({2, 0, 0});  // pixels 40 to 55 across, 24 to 40 up
  auto holder = CC3Node::nodeWithName("holder");
  holder->addChild(front);
  world->addChild(back);
  world->addChild(holder);
  world->play();
  frame();

  // What is drawn: the front plane over the back one; picking colours are painted over.
  EXPECT_EQ(gl.pixel(47, 32)[0], 255);
  EXPECT_EQ(gl.pixel(47, 32)[1], 0);
  EXPECT_EQ(gl.pixel(20, 32)[1], 255);
  EXPECT_EQ(gl.pixel(20, 32)[0], 0);
  EXPECT_EQ(gl.pixel(3, 3)[1], 0);

  auto pick = [&](CGPoint p) -> CC3Node* {
    world->selections.clear();
    world->touchEvent(kCCTouchEnded, p);
    frame();
    world->updateWorld(0.01f);
    if (world->selections.size() != 1) {
      ADD_FAILURE() << "expected one delivery, got " << world->selections.size();
      return nullptr;
    }
    return world->selections[0].node;
  };
  // Nothing touch-enabled: nothing picked.
  EXPECT_EQ(pick({47, 32}), nullptr);

  back->setIsTouchEnabled(true);
  front->setIsTouchEnabled(true);
  EXPECT_EQ(pick({47, 32}), front.get());
  EXPECT_EQ(pick({20, 32}), back.get());
  EXPECT_EQ(pick({3, 3}), nullptr);

  // An untouchable plane in front hides nothing from the pick.
  front->setIsTouchEnabled(false);
  EXPECT_EQ(pick({47, 32}), back.get());

  // A plane touchable through its parent is delivered as the parent.
  holder->setIsTouchEnabled(true);
  EXPECT_EQ(pick({47, 32}), holder.get());

  // A hidden plane is not picked; the colour state is as it was.
  front->setVisible(false);
  EXPECT_EQ(pick({47, 32}), back.get());
  EXPECT_EQ(gl.pixel(47, 32)[1], 255);
}

TEST(CC3ViewportManager, ViewportAndPointMapsFollowTheOrientation) {
  LeakScope leaks;
  auto vpm = CC3ViewportManager::viewportManagerOnWorld(nullptr);
  const CGSize landscape = CGSizeMake(1024, 768);

  // Landscape left, full screen: the whole 768 x 1024 framebuffer.
  vpm->updateBounds(CGRectMake(0, 0, 1024, 768), UIDeviceOrientationLandscapeLeft, landscape, 1);
  EXPECT_EQ(vpm->viewport(), CC3ViewportMake(0, 0, 768, 1024));
  EXPECT_EQ(vpm->glPointFromCC2Point({100, 200}), CGPointMake(200, 924));
  EXPECT_EQ(vpm->cc2PointFromGLPoint({200, 924}), CGPointMake(100, 200));
  EXPECT_EQ(vpm->layerBoundsLocal(), CGRectMake(0, 0, 1024, 768));
  // -90 degrees about z: x turns to -y.
  CC3Vec3 turned = vpm->deviceRotationMatrix()->transformDirection({1, 0, 0});
  EXPECT_VEC3_NEAR(turned, (CC3Vec3{0, -1, 0}), 1e-6f);

  // Landscape right: 90 degrees, mirrored maps.
  vpm->updateBounds(CGRectMake(0, 0, 1024, 768), UIDeviceOrientationLandscapeRight, landscape, 1);
  EXPECT_EQ(vpm->viewport(), CC3ViewportMake(0, 0, 768, 1024));
  EXPECT_EQ(vpm->glPointFromCC2Point({100, 200}), CGPointMake(568, 100));
  EXPECT_EQ(vpm->cc2PointFromGLPoint({568, 100}), CGPointMake(100, 200));

  // Portrait: the origin is pulled one pixel, the size grows by two and one.
  const CGSize portrait = CGSizeMake(768, 1024);
  vpm->updateBounds(CGRectMake(5, 1, 100, 50), UIDeviceOrientationPortrait, portrait, 1);
  EXPECT_EQ(vpm->viewport(), CC3ViewportMake(4, 0, 102, 51));
  vpm->updateBounds(CGRectMake(1, 7, 768, 1024), UIDeviceOrientationPortrait, portrait, 1);
  EXPECT_EQ(vpm->viewport(), CC3ViewportMake(0, 6, 768, 1024));
  EXPECT_EQ(vpm->glPointFromCC2Point({10, 10}), CGPointMake(10, 16));

  // Upside down, at double scale.
  vpm->updateBounds(CGRectMake(0, 0, 1536, 2048), UIDeviceOrientationPortraitUpsideDown,
                    CGSizeMake(1536, 2048), 2);
  EXPECT_EQ(vpm->viewport(), CC3ViewportMake(0, 0, 1536, 2048));
  EXPECT_EQ(vpm->glPointFromCC2Point({10, 20}), CGPointMake(1516, 2008));
  EXPECT_EQ(vpm->cc2PointFromGLPoint({1516, 2008}), CGPointMake(10, 20));
}
