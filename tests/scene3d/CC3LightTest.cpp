#include "CC3Light.h"

#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <string>
#include <vector>

#include "CC3Camera.h"
#include "CC3LocalContentNode.h"
#include "CC3NodeTestSupport.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3World.h"
#include "GLTestContext.h"
#include "TestSupport.h"

namespace {

// A square facing +z that notes which GL lights are on while it is drawn.
class LightWatchingSquare : public CC3LocalContentNode {
 public:
  std::vector<bool> lightsOn;
  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor*) override {
    lightsOn.clear();
    for (GLenum light = GL_LIGHT0; light < GL_LIGHT0 + 4; ++light)
      lightsOn.push_back(glIsEnabled(light));
    static const GLfloat square[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, square);
    glNormal3f(0, 0, 1);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

class CC3LightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.ok());
    glViewport(0, 0, gl_.width(), gl_.height());
    CC3OpenGLES11Engine::engine();  // a lasting singleton, made before any leak count
  }
  void TearDown() override {
    CC3Light::setLightPoolStartIndex(0);
    CC3OpenGLES11Engine::purgeEngine();
  }

  static GLint maxLights() {
    GLint count = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &count);
    return count;
  }

  GLTestContext gl_{32, 32};
};

}  // namespace

TEST_F(CC3LightTest, IndicesComeFromThePoolAndGoBack) {
  LeakScope leaks;
  ASSERT_GE(maxLights(), 4);
  auto first = CC3Light::node();
  auto second = CC3Light::node();
  EXPECT_EQ(first->lightIndex(), 0u);
  EXPECT_EQ(second->lightIndex(), 1u);
  EXPECT_EQ(CC3Light::lightCount(), 2u);
  EXPECT_EQ(first->gles11Light()->lightIndex(), 0u);
  EXPECT_EQ(second->gles11LightCap()->name(), GLenum(GL_LIGHT1));

  first = nullptr;
  EXPECT_EQ(CC3Light::lightIndexPool()[0], 0);
  auto third = CC3Light::node();
  EXPECT_EQ(third->lightIndex(), 0u);

  // A copy is a light of its own, with its own GL light.
  Ptr<CC3Node> copy = third->copy();
  auto* copiedLight = dynamic_cast<CC3Light*>(copy.get());
  ASSERT_NE(copiedLight, nullptr);
  EXPECT_EQ(copiedLight->lightIndex(), 2u);
  // Initialising again does not take a second index.
  copiedLight->init();
  EXPECT_EQ(copiedLight->lightIndex(), 2u);
  EXPECT_EQ(CC3Light::lightCount(), 3u);

  // Every platform light taken: the next one is refused.
  std::vector<Ptr<CC3Light>> rest;
  while (CC3Light::lightCount() < GLuint(maxLights())) rest.push_back(CC3Light::node());
  EXPECT_ASSERTION(CC3Light::node(), "Too many lights. Only " + std::to_string(maxLights()) +
                                         " lights may be created.");
  rest.clear();
  copy = nullptr;
  second = nullptr;
  third = nullptr;
  EXPECT_EQ(CC3Light::lightCount(), 0u);
}

TEST_F(CC3LightTest, ReservedIndicesAreSkippedAndSwitchedOff) {
  LeakScope leaks;
  CC3Light::setLightPoolStartIndex(2);
  auto light = CC3Light::node();
  EXPECT_EQ(light->lightIndex(), 2u);
  EXPECT_EQ(CC3Light::lightCount(), 3u);

  // Code outside the engine left its lights on.
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHT1);
  glEnable(GL_LIGHT3);
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  CC3Light::disableReservedLights();
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
  engine->close();
}

TEST_F(CC3LightTest, LocationIsHomogeneousAndScaleNeverApplies) {
  LeakScope leaks;
  auto parent = CC3Node::node();
  auto light = CC3Light::nodeWithName("Lamp");
  parent->addChild(light);
  parent->setScale({2, 2, 2});
  light->setScale({5, 5, 5});
  light->setLocation({1, 2, 3});
  parent->updateTransformMatrices();

  EXPECT_EQ(light->homogeneousLocation(), (CC3Vec4{2, 4, 6, 0}));
  EXPECT_EQ(light->globalScale(), (CC3Vec3{2, 2, 2}));
  // Only the parent's scale is in the matrix, not the light's own.
  EXPECT_FLOAT_EQ(CC3Vec3Length(light->transformMatrix()->transformDirection({1, 0, 0})), 2.0f);
  EXPECT_FALSE(light->isTransformRigid());
  parent->setScale(kCC3Vec3Unit);
  EXPECT_TRUE(light->isTransformRigid());  // its own scale is no matter

  light->setIsDirectionalOnly(false);
  EXPECT_EQ(light->homogeneousLocation().w, 1.0f);
  parent->updateTransformMatrices();
  EXPECT_EQ(light->homogeneousLocation(), (CC3Vec4{1, 2, 3, 1}));
  EXPECT_NE(light->fullDescription().find(", homoLoc: " + NSStringFromCC3Vec4({1, 2, 3, 1}) +
                                          ", ambient: "),
            std::string::npos);
}

TEST_F(CC3LightTest, TurningOnSendsLocationDirectionAndColoursToGL) {
  LeakScope leaks;
  auto light = CC3Light::node();
  light->setLocation({0, 4, 0});
  light->setIsDirectionalOnly(false);
  light->setForwardDirection({0, -1, 0});
  light->setSpotCutoffAngle(30);
  light->setAmbientColor({0.1f, 0.2f, 0.3f, 1});
  light->setDiffuseColor({0.5f, 0.25f, 0.125f, 1});
  light->setSpecularColor({0, 0, 0, 1});
  light->updateTransformMatrices();

  GLenum gl = GL_LIGHT0 + light->lightIndex();
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  engine->matrices()->modelview()->identity();
  light->turnOn();
  EXPECT_TRUE(glIsEnabled(gl));
  GLfloat v[4];
  glGetLightfv(gl, GL_POSITION, v);
  EXPECT_EQ((CC3Vec4{v[0], v[1], v[2], v[3]}), (CC3Vec4{0, 4, 0, 1}));
  glGetLightfv(gl, GL_SPOT_DIRECTION, v);
  EXPECT_VEC3_NEAR((CC3Vec3{v[0], v[1], v[2]}), (CC3Vec3{0, -1, 0}), 1e-6f);
  glGetLightfv(gl, GL_SPOT_CUTOFF, v);
  EXPECT_EQ(v[0], 30.0f);
  glGetLightfv(gl, GL_AMBIENT, v);
  EXPECT_EQ((ccColor4F{v[0], v[1], v[2], v[3]}), (ccColor4F{0.1f, 0.2f, 0.3f, 1}));
  glGetLightfv(gl, GL_DIFFUSE, v);
  EXPECT_EQ((ccColor4F{v[0], v[1], v[2], v[3]}), (ccColor4F{0.5f, 0.25f, 0.125f, 1}));
  glGetLightfv(gl, GL_SPECULAR, v);
  EXPECT_EQ((ccColor4F{v[0], v[1], v[2], v[3]}), (ccColor4F{0, 0, 0, 1}));
  engine->close();
}

TEST_F(CC3LightTest, EachDrawPassOfAWorldSwitchesReservedAndHiddenLightsOff) {
  {
    LeakScope leaks;
    CC3Light::setLightPoolStartIndex(2);
    auto world = CC3World::world();
    world->setAmbientLight({0, 0, 0, 1});
    auto camera = CC3Camera::node();
    camera->setLocation({0, 0, 10});
    auto lamp = CC3Light::nodeWithName("Lamp");
    lamp->setLocation({-2, 0, 0});
    lamp->setIsDirectionalOnly(false);
    lamp->setDiffuseColor({0, 1, 0, 1});
    camera->addChild(lamp);
    auto square = makeObject<LightWatchingSquare>();
    square->init();
    square->setScale({4, 4, 1});
    world->addChild(camera);
    world->addChild(square);
    ASSERT_EQ(world->lights().size(), 1u);
    world->viewportManager()->updateBounds({{0, 0}, {32, 32}}, UIDeviceOrientationPortrait,
                                           {32, 32}, 1);
    world->play();

    auto frame = [&] {
      world->updateWorld(1.0f / 60);
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      world->drawWorld();
      glFinish();
    };
    // Lights left on outside the engine are off while the world draws.
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    frame();
    EXPECT_EQ(square->lightsOn, (std::vector<bool>{false, false, true, false}));
    EXPECT_GT(gl_.pixel(16, 16)[1], 150);  // green from the lamp
    EXPECT_EQ(gl_.pixel(16, 16)[0], 0);

    // Hidden itself, or with its parent hidden, the lamp is off in the next pass.
    for (CC3Node* hidden :
         {static_cast<CC3Node*>(lamp.get()), static_cast<CC3Node*>(camera.get())}) {
      hidden->hide();
      frame();
      EXPECT_EQ(square->lightsOn, (std::vector<bool>{false, false, false, false}));
      EXPECT_EQ(gl_.pixel(16, 16)[1], 0);
      hidden->show();
      frame();
      EXPECT_EQ(square->lightsOn, (std::vector<bool>{false, false, true, false}));
    }
  }
  NSAutoreleasePool::current().drain();
}
