#include "CC3Camera.h"

#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <cmath>

#include "CC3Light.h"
#include "CC3LocalContentNode.h"
#include "CC3NodeTestSupport.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3World.h"
#include "GLTestContext.h"
#include "TestSupport.h"

namespace {

constexpr UIDeviceOrientation kPortrait = UIDeviceOrientationPortrait;
constexpr UIDeviceOrientation kLandscapeLeft = UIDeviceOrientationLandscapeLeft;

// The book's set-up: a full-screen 1024 x 768 layer held in landscape.
void useBookViewport(CC3World* world) {
  world->viewportManager()->updateBounds({{0, 0}, {1024, 768}}, kLandscapeLeft, {1024, 768}, 1);
}

void useSquareViewport(CC3World* world, float side) {
  world->viewportManager()->updateBounds({{0, 0}, {side, side}}, kPortrait, {side, side}, 1);
}

// A unit square in its own xy plane facing +z, with normals for lighting.
class SquareNode : public CC3LocalContentNode {
 public:
  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor*) override {
    static const GLfloat square[] = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0,
                                     -0.5f, 0.5f,  0, 0.5f, 0.5f,  0};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, square);
    glNormal3f(0, 0, 1);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

}  // namespace

TEST(CC3CameraTest, LensSettingsMarkTheProjectionDirtyAndZoomIsNoTransform) {
  LeakScope leaks;
  auto camera = CC3Camera::nodeWithName("Camera");
  EXPECT_EQ(camera->fieldOfView(), 45.0f);
  EXPECT_EQ(camera->nearClippingPlane(), 0.5f);
  EXPECT_EQ(camera->farClippingPlane(), 1000.0f);
  EXPECT_FALSE(camera->isProjectionDirty());
  EXPECT_TRUE(camera->modelviewMatrix()->isIdentity());
  EXPECT_TRUE(camera->projectionMatrix()->isIdentity());

  for (auto change : {+[](CC3Camera* c) { c->setFieldOfView(60); },
                      +[](CC3Camera* c) { c->setNearClippingPlane(1); },
                      +[](CC3Camera* c) { c->setFarClippingPlane(500); },
                      +[](CC3Camera* c) { c->setUniformScale(0.7f); }}) {
    camera->updateTransformMatrices();
    camera->buildPerspective();  // clean: nothing to build, no viewport needed
    change(camera);
    EXPECT_TRUE(camera->isProjectionDirty());
    EXPECT_FALSE(camera->isTransformDirty());
    // Outside a world there is no viewport to build the projection for.
    EXPECT_ASSERTION(camera->buildPerspective(),
                     "Camera projection matrix cannot be updated before setting the viewport");
    EXPECT_TRUE(camera->isProjectionDirty());
    // In a world with a viewport it builds, and the next round starts clean.
    auto world = CC3World::world();
    world->addChild(camera);
    useSquareViewport(world, 100);
    camera->buildPerspective();
    EXPECT_FALSE(camera->isProjectionDirty());
    camera->remove();
  }
  EXPECT_EQ(camera->uniformScale(), 0.7f);
  EXPECT_EQ(camera->world(), nullptr);
  EXPECT_ASSERTION(camera->projectNode(nullptr), "Camera cannot project a nil node.");
  EXPECT_TRUE(camera->fullDescription().ends_with(", FOV: 60.00, near: 1.00, far: 500.00"))
      << camera->fullDescription();
}

TEST(CC3CameraTest, TheBookCameraInLandscape) {
  LeakScope leaks;
  auto world = CC3World::world();
  auto camera = CC3Camera::nodeWithName("Camera");
  camera->setLocation({0, 100, 450});
  world->addChild(camera);
  EXPECT_EQ(camera->world(), world.get());
  EXPECT_EQ(camera->viewportManager(), world->viewportManager());
  useBookViewport(world);
  ASSERT_EQ(world->viewportManager()->viewport(), CC3ViewportMake(0, 0, 768, 1024));
  EXPECT_TRUE(camera->isProjectionDirty());
  world->updateTransformMatrices();
  camera->buildPerspective();

  CC3Frustum* frustum = camera->frustum();
  EXPECT_FLOAT_EQ(frustum->top(), 0.20710678f);
  EXPECT_FLOAT_EQ(frustum->right(), 0.15533009f);
  camera->setUniformScale(0.7f);
  camera->buildPerspective();
  EXPECT_FLOAT_EQ(frustum->top(), 0.29586683f);
  camera->setUniformScale(1);
  camera->buildPerspective();

  // The view: the camera's inverse transform, then the device's -90 degrees about z.
  CC3GLMatrix* view = camera->modelviewMatrix();
  EXPECT_VEC3_NEAR(view->transformLocation({0, 100, 0}), (CC3Vec3{0, 0, -450}), 1e-4f);
  EXPECT_VEC3_NEAR(view->transformLocation({1, 100, 450}), (CC3Vec3{0, -1, 0}), 1e-5f);

  // Straight ahead is the middle of the layer, at its distance; behind is negative.
  EXPECT_VEC3_NEAR(camera->projectLocation({0, 100, 0}), (CC3Vec3{512, 384, 450}), 1e-3f);
  EXPECT_FLOAT_EQ(camera->projectLocation({0, 100, 900}).z, -450.0f);
  EXPECT_EQ(camera->projectLocation({0, 0, 450}).z, 0.0f);  // beside: neither
  // World right is layer right: 10 units at 450 away, through the 45-degree lens.
  GLfloat yNDC = -(0.5f / 0.20710678f) * (10.0f / 450.0f);
  EXPECT_VEC3_NEAR(camera->projectLocation({10, 100, 0}),
                   (CC3Vec3{1024 - 512 * (1 + yNDC), 384, std::sqrt(450.0f * 450 + 100)}), 2e-3f);

  auto figure = CC3Node::node();
  figure->setLocation({0, 100, 0});
  world->addChild(figure);
  world->updateTransformMatrices();
  camera->projectNode(figure);
  EXPECT_VEC3_NEAR(figure->projectedLocation(), (CC3Vec3{512, 384, 450}), 1e-3f);

  // The frustum follows the camera: ahead is inside, behind is not.
  EXPECT_TRUE(frustum->doesIntersectPointAt({0, 100, 0}));
  EXPECT_FALSE(frustum->doesIntersectPointAt({0, 100, 460}));
  EXPECT_FALSE(frustum->doesIntersectPointAt({0, 100, -600}));  // past the far plane
  camera->setLocation({0, 100, 1500});
  world->updateTransformMatrices();
  camera->buildPerspective();
  EXPECT_FALSE(frustum->doesIntersectPointAt({0, 100, 0}));
}

TEST(CC3CameraTest, UnprojectedRaysProjectBackToTheirPoint) {
  LeakScope leaks;
  auto world = CC3World::world();
  auto camera = CC3Camera::node();
  camera->setLocation({0, 100, 450});
  camera->setRotation({-10, 20, 0});
  world->addChild(camera);
  useBookViewport(world);
  world->updateTransformMatrices();
  camera->buildPerspective();

  for (CGPoint p : {CGPoint{512, 384}, CGPoint{700, 200}, CGPoint{30, 300}}) {
    CC3Vec3 direction = camera->unprojectPoint(p);
    EXPECT_NEAR(CC3Vec3Length(direction), 1.0f, 1e-5f);
    CC3Vec3 along = CC3Vec3Add(camera->globalLocation(), CC3Vec3ScaleUniform(direction, 50));
    EXPECT_VEC3_NEAR(camera->projectLocation(along), (CC3Vec3{p.x, p.y, 50}), 0.05f);

    // The same ray meets the ground where the touch is.
    CC3Vec4 hit = camera->unprojectPoint(p, CC3PlaneMake(0, 1, 0, 0));
    EXPECT_NEAR(hit.y, 0.0f, 1e-3f);
    CC3Vec3 onGround = camera->projectLocation(CC3Vec3FromTruncatedCC3Vec4(hit));
    EXPECT_NEAR(onGround.x, p.x, 0.05f);
    EXPECT_NEAR(onGround.y, p.y, 0.05f);
  }
}

TEST(CC3CameraTest, InheritedScaleNeverReachesTheViewAndTargetsAreFollowed) {
  LeakScope leaks;
  auto world = CC3World::world();
  auto rig = CC3Node::node();
  auto camera = CC3Camera::node();
  rig->addChild(camera);
  world->addChild(rig);
  useSquareViewport(world, 100);
  rig->setScale({2, 2, 2});
  camera->setLocation({0, 0, 10});
  world->updateTransformMatrices();
  camera->buildPerspective();

  EXPECT_VEC3_NEAR(camera->globalLocation(), (CC3Vec3{0, 0, 20}), 1e-5f);
  EXPECT_EQ(camera->globalScale(), (CC3Vec3{2, 2, 2}));
  EXPECT_FALSE(camera->isTransformRigid());
  CC3GLMatrix* view = camera->modelviewMatrix();
  EXPECT_VEC3_NEAR(view->transformLocation({0, 0, 0}), (CC3Vec3{0, 0, -20}), 1e-5f);
  EXPECT_NEAR(CC3Vec3Length(view->transformDirection({1, 0, 0})), 1.0f, 1e-6f);

  // A 90-degree lens on a square viewport, by hand: one unit right at two
  // away lands halfway to the right edge.
  camera->setFieldOfView(90);
  camera->buildPerspective();
  EXPECT_VEC3_NEAR(camera->projectLocation({1, 0, 18}), (CC3Vec3{75, 50, std::sqrt(5.0f)}), 1e-3f);

  // A new target is looked at during the next perspective build.
  auto target = CC3Node::node();
  target->setLocation({20, 0, 20});
  world->addChild(target);
  world->updateTransformMatrices();
  camera->setTarget(target);
  camera->buildPerspective();
  EXPECT_VEC3_NEAR(camera->forwardDirection(), (CC3Vec3{1, 0, 0}), 1e-5f);
  EXPECT_VEC3_NEAR(camera->modelviewMatrix()->transformLocation({20, 0, 20}), (CC3Vec3{0, 0, -20}),
                   1e-4f);
  EXPECT_VEC3_NEAR(camera->projectLocation({20, 0, 20}), (CC3Vec3{50, 50, 20}), 1e-3f);
}

TEST(CC3CameraTest, ALitSquareDrawnThroughTheCamera) {
  GLTestContext gl(64, 64);
  ASSERT_TRUE(gl.ok());
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  {
    LeakScope leaks;
    auto world = CC3World::world();
    auto camera = CC3Camera::nodeWithName("Camera");
    camera->setLocation({0, 0, 10});
    camera->setFieldOfView(90);  // 10 units either side at the square's distance
    auto lamp = CC3Light::nodeWithName("Lamp");
    lamp->setLocation({-2, 0, 0});
    lamp->setIsDirectionalOnly(false);
    lamp->setDiffuseColor({1, 0, 0, 1});
    camera->addChild(lamp);
    auto square = makeObject<SquareNode>();
    square->init();
    square->setLocation({2, 0, 0});
    square->setScale({10, 10, 1});
    world->addChild(camera);
    world->addChild(square);
    useSquareViewport(world, 64);
    world->updateTransformMatrices();
    camera->buildPerspective();
    EXPECT_EQ(lamp->homogeneousLocation(), (CC3Vec4{-2, 0, 10, 1}));

    GLfloat projectionBefore[16];
    auto drawFrame = [&] {
      engine->open();
      engine->state()->viewport()->setValue(world->viewportManager()->viewport());
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      engine->serverCapabilities()->lighting()->enable();
      engine->lighting()->worldAmbientLight()->setValue({0, 0, 0, 1});
      glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
      camera->open();
      lamp->turnOn();
      auto visitor = CC3NodeDrawingVisitor::visitor();
      square->drawWithVisitor(visitor);
      camera->close();
      engine->close();
      glFinish();
    };
    drawFrame();

    // 3.2 pixels a unit: the square spans x from -3 to 7, y from -5 to 5.
    for (int x : {24, 32, 52}) {
      auto lit = gl.pixel(x, 32);
      EXPECT_GT(lit[0], 120) << x;
      EXPECT_EQ(lit[1], 0) << x;
      EXPECT_EQ(lit[2], 0) << x;
    }
    EXPECT_EQ(gl.pixel(20, 32)[0], 0);
    EXPECT_EQ(gl.pixel(57, 32)[0], 0);
    EXPECT_EQ(gl.pixel(32, 50)[0], 0);
    EXPECT_GT(gl.pixel(32, 46)[0], 120);
    GLfloat projectionAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(projectionAfter[i], projectionBefore[i]) << i;

    // The lamp off, nothing lights the square.
    lamp->hide();
    drawFrame();
    EXPECT_EQ(gl.pixel(32, 32)[0], 0);
  }
  CC3OpenGLES11Engine::purgeEngine();
}
