#include "CC3Billboard.h"

#include <gtest/gtest.h>

#include <GLES/gl.h>

#include "CC3Camera.h"
#include "CC3NodeTestSupport.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3World.h"
#include "CCActionInterval.h"
#include "CCLayerColor.h"
#include "GLTestContext.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {

// A playing world on a 64 x 64 context whose viewport maps 2D points to
// pixels one to one, with a camera at (0, 0, 450) looking down -z and the 2D
// state the director keeps between frames.
class CC3BillboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok());
    CC3OpenGLES11Engine::engine();
    world = CC3World::world();
    world->viewportManager()->updateBounds(CGRectMake(0, 0, 64, 64), UIDeviceOrientationPortrait,
                                           CGSizeMake(64, 64), 1);
    camera = CC3Camera::nodeWithName("Camera");
    camera->setLocation({0, 0, 450});
    world->addChild(camera);
    label = CCLayerColor::layerWithColor({255, 0, 0, 255}, 8, 8);
    billboard = CC3Billboard::nodeWithName("text", label);
    world->addChild(billboard);
    world->play();

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, 64, 0, 64, -1024, 1024);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
  }
  void TearDown() override {
    billboard = nullptr;
    camera = nullptr;
    label = nullptr;
    world = nullptr;
    NSAutoreleasePool::current().drain();
    CC3OpenGLES11Engine::purgeEngine();
  }
  void frame() {
    world->updateWorld(1.0f / 60);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    world->drawWorld();
    glFinish();
  }
  // The 2D node's scale once the billboard stands at z = `z`.
  CGPoint scaleAt(GLfloat z) {
    billboard->setLocation({0, 0, z});
    world->updateWorld(1.0f / 60);
    return CGPointMake(label->scaleX(), label->scaleY());
  }

  GLTestContext gl;
  Ptr<CC3World> world;
  Ptr<CC3Camera> camera;
  Ptr<CCLayerColor> label;
  Ptr<CC3Billboard> billboard;
};

}  // namespace

TEST_F(CC3BillboardTest, CreationDefaultsAndTheWorldsList) {
  EXPECT_EQ(billboard->billboard(), label.get());
  EXPECT_EQ(billboard->offsetPosition(), CGPointZero);
  EXPECT_FLOAT_EQ(billboard->unityScaleDistance(), 0);
  EXPECT_NE(dynamic_cast<CC3BillboardBoundingBoxArea*>(billboard->boundingVolume()), nullptr);
  ASSERT_EQ(world->billboards().size(), 1u);
  EXPECT_EQ(world->billboards()[0].get(), billboard.get());
  // Its own content is never part of the 3D pass.
  EXPECT_FALSE(billboard->doesIntersectFrustum(camera->frustum()));
  EXPECT_FALSE(billboard->hasLocalContent());
}

TEST_F(CC3BillboardTest, ScaleFollowsTheDistanceFromTheCamera) {
  billboard->setUnityScaleDistance(450);
  EXPECT_FLOAT_EQ(scaleAt(0).x, 1.0f);
  EXPECT_FLOAT_EQ(scaleAt(-450).x, 0.5f);
  CGPoint near = scaleAt(225);
  EXPECT_FLOAT_EQ(near.x, 2.0f);
  EXPECT_FLOAT_EQ(near.y, 2.0f);

  // The node's own scale multiplies in, per axis.
  billboard->setScale({2, 1, 1});
  CGPoint stretched = scaleAt(0);
  EXPECT_FLOAT_EQ(stretched.x, 2.0f);
  EXPECT_FLOAT_EQ(stretched.y, 1.0f);
  billboard->setScale({1, 1, 1});

  // A maximum keeps near content from growing.
  billboard->setMaximumBillboardScale(CGPointMake(1, 1));
  EXPECT_FLOAT_EQ(scaleAt(225).x, 1.0f);
  // Equal minimum and maximum fix it, whatever the distance or the node's scale.
  billboard->setMinimumBillboardScale(CGPointMake(2, 2));
  billboard->setMaximumBillboardScale(CGPointMake(2, 2));
  billboard->setScale({3, 3, 3});
  EXPECT_FLOAT_EQ(scaleAt(-300).x, 2.0f);
  EXPECT_FLOAT_EQ(scaleAt(100).y, 2.0f);
  billboard->setScale({1, 1, 1});

  // Without a unity distance the near clipping distance stands in for it.
  billboard->setMinimumBillboardScale(CGPointZero);
  billboard->setMaximumBillboardScale(CGPointZero);
  billboard->setUnityScaleDistance(0);
  EXPECT_FLOAT_EQ(scaleAt(0).x, 0.5f / 450);
  // Closer than the near clipping distance counts as at it.
  EXPECT_FLOAT_EQ(scaleAt(449.9f).x, 1.0f);
}

TEST_F(CC3BillboardTest, TwoDNodeStandsAtTheProjectedPointPlusTheOffset) {
  billboard->setOffsetPosition(CGPointMake(0, 16));
  billboard->setUnityScaleDistance(450);
  frame();
  EXPECT_NEAR(label->position().x, 32, 1e-3);
  EXPECT_NEAR(label->position().y, 48, 1e-3);
  // The 8 x 8 layer is drawn from its lower-left corner at (32, 48).
  EXPECT_EQ(gl.pixel(36, 52)[0], 255);
  EXPECT_EQ(gl.pixel(36, 44)[0], 0);
  EXPECT_EQ(gl.pixel(28, 52)[0], 0);
  // The 3D pass gave the 2D engine its state back before the 2D node drew.
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

  // Behind the camera the 2D node goes far off screen and is not drawn.
  billboard->setLocation({0, 0, 600});
  frame();
  EXPECT_LT(label->position().x, -1e37f);
  EXPECT_EQ(gl.pixel(36, 52)[0], 0);
}

TEST_F(CC3BillboardTest, ContentOutsideTheBoundsOrHiddenIsNotDrawn) {
  billboard->setUnityScaleDistance(450);
  frame();
  ASSERT_EQ(gl.pixel(36, 36)[0], 255);
  EXPECT_TRUE(billboard->doesIntersectBounds(CGRectMake(0, 0, 64, 64)));
  EXPECT_FALSE(billboard->doesIntersectBounds(CGRectMake(0, 0, 16, 16)));
  std::string text = billboard->boundingVolume()->description();
  EXPECT_NE(text.find("with bounding box: {{32, 32}, {8, 8}}"), std::string::npos) << text;

  billboard->setOffsetPosition(CGPointMake(100, 0));
  frame();
  EXPECT_FALSE(billboard->doesIntersectBounds(CGRectMake(0, 0, 64, 64)));
  billboard->setOffsetPosition(CGPointZero);

  // Hidden through an ancestor: not drawn, though the 2D node keeps its flag.
  auto holder = CC3Node::nodeWithName("holder");
  world->addChild(holder);
  holder->addChild(billboard);
  holder->setVisible(false);
  frame();
  EXPECT_EQ(gl.pixel(36, 36)[0], 0);
  EXPECT_TRUE(label->visible());
  // Setting the 2D node again takes the billboard's visibility, ancestors included.
  billboard->setBillboard(label);
  EXPECT_FALSE(label->visible());
  holder->setVisible(true);
  billboard->setVisible(true);
  EXPECT_TRUE(label->visible());
  billboard->setVisible(false);
  EXPECT_FALSE(label->visible());
}

TEST(CC3BillboardNoWorldTest, CopiesKeepSettingsButNotThe2DNodeAndAbsentPartsAreSafe) {
  // 2D nodes make the engine's shared services on first use: not a leak.
  CCLayerColor::layerWithColor({0, 0, 0, 255});
  LeakScope leaks;
  auto layer = CCLayerColor::layerWithColor({0, 0, 255, 255}, 4, 4);
  auto billboard = CC3Billboard::nodeWithBillboard(layer);
  billboard->setOffsetPosition(CGPointMake(-12, 0));
  billboard->setUnityScaleDistance(45);
  billboard->setMaximumBillboardScale(CGPointMake(3, 4));
  auto copy = Ptr<CC3Billboard>(static_cast<CC3Billboard*>(billboard->copy().get()));
  EXPECT_EQ(copy->billboard(), nullptr);
  EXPECT_EQ(copy->offsetPosition(), CGPointMake(-12, 0));
  EXPECT_FLOAT_EQ(copy->unityScaleDistance(), 45);
  EXPECT_EQ(copy->maximumBillboardScale(), CGPointMake(3, 4));
  EXPECT_EQ(copy->boundingVolume()->node(), copy.get());
  EXPECT_FALSE(copy->doesIntersectBounds(CGRectMake(0, 0, 64, 64)));
  EXPECT_NE(copy->boundingVolume()->description().find("with bounding box: none"),
            std::string::npos);

  // Without a camera or a 2D node nothing moves and nothing is drawn.
  billboard->faceCamera(nullptr);
  EXPECT_EQ(layer->position(), CGPointZero);
  copy->draw2dWithinBounds(CGRectMake(0, 0, 64, 64));
  std::string text = billboard->fullDescription();
  EXPECT_NE(text.find(", offset: {-12, 0}, unity distance: 45.00, min: {0, 0}, max: {3, 4}"),
            std::string::npos)
      << text;
}

namespace {
// 3D nodes take the 2D engine's fades; a billboard passes its parent's fade to
// its 2D node, so a panel's text fades with the panel.
TEST_F(CC3BillboardTest, FadesReachTheTwoDNodeThroughItsParent) {
  auto parent = CC3Node::nodeWithName("panel");
  world->addChild(parent);
  parent->addChild(billboard);
  parent->setOpacity(0);
  EXPECT_EQ(label->opacity(), 0);
  EXPECT_EQ(billboard->opacity(), 0);
  auto fade = CCFadeIn::actionWithDuration(0.5f);
  fade->startWithTarget(parent.get());
  fade->update(0.5f);
  EXPECT_EQ(label->opacity(), 127);
  fade->update(1);
  EXPECT_EQ(label->opacity(), 255);
  billboard->setColor(ccc3(0, 255, 0));
  EXPECT_EQ(label->color(), ccc3(0, 255, 0));
  EXPECT_EQ(billboard->color(), ccc3(0, 255, 0));
}
}  // namespace
