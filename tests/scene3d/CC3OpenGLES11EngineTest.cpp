#include <gtest/gtest.h>

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <vector>

#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11Engine.h"
#include "GLTestContext.h"
#include "NSObject.h"
#include "TestSupport.h"

namespace {

// The 2D engine's view of GL, read straight from the library.
struct GLSnapshot {
  std::vector<GLint> integers;
  std::vector<GLfloat> floats;
};

GLSnapshot snapshot() {
  GLSnapshot s;
  for (GLenum cap : {GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_TEXTURE_2D,
                     GL_ALPHA_TEST, GL_LIGHT0, GL_SCISSOR_TEST, GL_DITHER, GL_VERTEX_ARRAY,
                     GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_NORMAL_ARRAY}) {
    s.integers.push_back(glIsEnabled(cap));
  }
  for (GLenum name : {GL_BLEND_SRC, GL_BLEND_DST, GL_MATRIX_MODE, GL_DEPTH_FUNC, GL_FRONT_FACE,
                      GL_CULL_FACE_MODE, GL_SHADE_MODEL, GL_ACTIVE_TEXTURE,
                      GL_CLIENT_ACTIVE_TEXTURE, GL_ARRAY_BUFFER_BINDING, GL_STENCIL_CLEAR_VALUE}) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    s.integers.push_back(v);
  }
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  s.integers.insert(s.integers.end(), viewport, viewport + 4);
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  s.integers.push_back(mask);
  for (GLenum name : {GL_COLOR_CLEAR_VALUE, GL_CURRENT_COLOR}) {
    GLfloat v[4];
    glGetFloatv(name, v);
    s.floats.insert(s.floats.end(), v, v + 4);
  }
  GLfloat depth = 0;
  glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
  s.floats.push_back(depth);
  return s;
}

// A 2D engine's typical state, unlike the GL defaults wherever that is possible.
void set2DState() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DITHER);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glMatrixMode(GL_PROJECTION);
  glDepthFunc(GL_GREATER);
  glFrontFace(GL_CW);
  glCullFace(GL_FRONT);
  glShadeModel(GL_FLAT);
  glDepthMask(GL_FALSE);
  glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
  glClearDepthf(0.5f);
  glClearStencil(3);
  glColor4f(0.5f, 0.25f, 1.0f, 0.75f);
  glViewport(1, 2, 30, 40);
}

class CC3OpenGLES11EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.ok()); }
  void TearDown() override { CC3OpenGLES11Engine::purgeEngine(); }

  static std::uint64_t sets() { return CC3OpenGLES11Calls::setCount(); }

  // What a 3D pass does to the pipeline (cf. the world's draw pass).
  static void draw3D(CC3OpenGLES11Engine* e) {
    auto* caps = e->serverCapabilities();
    caps->cullFace()->enable();
    caps->depthTest()->enable();
    caps->blend()->disable();
    caps->texture2D()->disable();
    caps->lighting()->enable();
    caps->lightAt(0)->enable();
    caps->alphaTest()->enable();
    caps->scissorTest()->enable();
    caps->dither()->enable();
    e->clientCapabilities()->colorArray()->disable();
    e->clientCapabilities()->normalArray()->enable();
    e->materials()->blend()->applySource(GL_ONE, GL_ZERO);
    e->state()->cullFace()->setValue(GL_BACK);
    e->state()->frontFace()->setValue(GL_CCW);
    e->state()->depthFunction()->setValue(GL_LEQUAL);
    e->state()->depthMask()->setValue(true);
    e->state()->shadeModel()->setValue(GL_SMOOTH);
    e->state()->clearColor()->setValue({0, 0, 0, 0});
    e->state()->clearDepth()->setValue(1.0f);
    e->state()->clearStencil()->setValue(0);
    e->state()->color()->setValue({1, 1, 1, 1});
    e->state()->viewport()->setValue({0, 0, 64, 64});
    e->textures()->activeTexture()->setValue(1);
    e->textures()->clientActiveTexture()->setValue(1);
    e->matrices()->modelview()->push();
    e->matrices()->modelview()->identity();
    e->matrices()->modelview()->pop();
    e->state()->clearDepthBuffer();
  }

  GLTestContext gl_;
};

}  // namespace

TEST_F(CC3OpenGLES11EngineTest, OpenAndCloseGiveThe2DStateBack) {
  set2DState();
  GLSnapshot before = snapshot();
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  // Two frames: the second relies on values read once in the first.
  for (int frame = 0; frame < 2; ++frame) {
    engine->open();
    draw3D(engine);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    engine->close();
    GLSnapshot after = snapshot();
    ASSERT_EQ(after.integers, before.integers) << "frame " << frame;
    ASSERT_EQ(after.floats, before.floats) << "frame " << frame;
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

TEST_F(CC3OpenGLES11EngineTest, BlendingOnBeforeTheFirstPassIsSwitchedBackOn) {
  glEnable(GL_BLEND);
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* blend = engine->serverCapabilities()->blend();
  EXPECT_TRUE(blend->valueIsKnown());
  EXPECT_TRUE(blend->value());
  EXPECT_TRUE(blend->originalValue());
  blend->disable();
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  engine->close();
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(CC3OpenGLES11EngineTest, RedundantSetsMakeNoGLCall) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* depthTest = engine->serverCapabilities()->depthTest();
  depthTest->disable();  // as read: GL's default is off
  std::uint64_t start = sets();
  depthTest->enable();
  depthTest->enable();
  EXPECT_EQ(sets() - start, 1u);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

  // A frame's worth of repeated requests over a dozen pieces of state.
  start = sets();
  auto* state = engine->state();
  for (int i = 0; i < 10000; ++i) {
    switch (i % 12) {
      case 0:
        depthTest->enable();
        break;
      case 1:
        engine->serverCapabilities()->cullFace()->enable();
        break;
      case 2:
        engine->materials()->blend()->applySource(GL_SRC_ALPHA, GL_ONE);
        break;
      case 3:
        state->color()->setValue({0.5f, 0.5f, 0.5f, 1});
        break;
      case 4:
        state->depthFunction()->setValue(GL_LEQUAL);
        break;
      case 5:
        state->viewport()->setValue({0, 0, 32, 32});
        break;
      case 6:
        engine->textures()->textureBinding()->setValue(0);
        break;
      case 7:
        engine->matrices()->mode()->setValue(GL_MODELVIEW);
        break;
      case 8:
        engine->clientCapabilities()->vertexArray()->enable();
        break;
      case 9:
        engine->materials()->diffuseColor()->setValue({1, 0, 0, 1});
        break;
      case 10:
        engine->lighting()->worldAmbientLight()->setValue({0.2f, 0.2f, 0.2f, 1});
        break;
      case 11:
        state->clearColor()->setValue({0, 0, 0, 1});
        break;
    }
  }
  std::uint64_t through = sets() - start;
  EXPECT_LE(through, 12u);
  // And those that got through really changed GL.
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 32);
  GLint src = 0;
  glGetIntegerv(GL_BLEND_DST, &src);
  EXPECT_EQ(src, GL_ONE);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_EQ(diffuse[1], 0.0f);
  engine->close();
}

TEST_F(CC3OpenGLES11EngineTest, FixedAndFloatColoursBothReachGL) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* color = engine->state()->color();
  std::uint64_t start = sets();
  color->setFixedValue({255, 0, 0, 255});
  color->setFixedValue({255, 0, 0, 255});
  EXPECT_EQ(sets() - start, 1u);
  // The same colour as floats still goes to GL: the tracker cannot know
  // that the two forms agree.
  color->setValue({1, 0, 0, 1});
  EXPECT_EQ(sets() - start, 2u);
  color->setValue({1, 0, 0, 1});
  EXPECT_EQ(sets() - start, 2u);
  // And back to bytes after floats.
  color->setFixedValue({255, 0, 0, 255});
  EXPECT_EQ(sets() - start, 3u);
  GLfloat current[4];
  glGetFloatv(GL_CURRENT_COLOR, current);
  EXPECT_EQ(current[0], 1.0f);
  EXPECT_EQ(current[1], 0.0f);
  engine->close();
}

TEST_F(CC3OpenGLES11EngineTest, MatrixModeChangesOnlyBetweenStacks) {
  glMatrixMode(GL_PROJECTION);
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* matrices = engine->matrices();
  std::uint64_t start = sets();
  matrices->modelview()->push();
  matrices->modelview()->push();
  EXPECT_EQ(sets() - start, 3u);  // one mode call, two pushes
  EXPECT_EQ(matrices->modelview()->getDepth(), 3u);

  GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1};
  matrices->modelview()->load(m);
  GLfloat top[16];
  matrices->modelview()->getTop(top);
  EXPECT_EQ(top[12], 5.0f);
  EXPECT_EQ(top[14], 7.0f);
  matrices->modelview()->pop();
  matrices->modelview()->pop();
  start = sets();
  matrices->projection()->identity();
  EXPECT_EQ(sets() - start, 2u);
  engine->close();
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
}

TEST_F(CC3OpenGLES11EngineTest, ReadPixelReturnsThePaintedBytes) {
  glClearColor(0, 0, 3 / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  ccColor4B pixel = CC3OpenGLES11Engine::engine()->state()->readPixelAt({10.7f, 20.2f});
  EXPECT_EQ(pixel, (ccColor4B{0, 0, 3, 255}));

  // A pixel painted on its own, and read at its truncated position.
  glEnable(GL_SCISSOR_TEST);
  glScissor(5, 6, 1, 1);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  auto* state = CC3OpenGLES11Engine::engine()->state();
  EXPECT_EQ(state->readPixelAt({5.9f, 6.9f}), (ccColor4B{255, 0, 0, 255}));
  EXPECT_EQ(state->readPixelAt({6.0f, 6.0f}), (ccColor4B{0, 0, 3, 255}));
}

TEST_F(CC3OpenGLES11EngineTest, HandlingsDecideReadingAndRestoring) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  auto* lineWidth = engine->state()->lineWidth();  // ignore
  engine->open();
  lineWidth->setValue(2);
  std::uint64_t start = sets();
  lineWidth->setValue(2);
  EXPECT_EQ(sets() - start, 0u);
  engine->close();
  // Ignored state is forgotten at every open: the first set always calls.
  engine->open();
  EXPECT_FALSE(lineWidth->valueIsKnown());
  start = sets();
  lineWidth->setValue(2);
  EXPECT_EQ(sets() - start, 1u);
  engine->close();

  // Read once: a change made outside after the first open goes unseen.
  auto* dither = engine->serverCapabilities()->dither();
  dither->setOriginalValueHandling(kCC3GLESStateOriginalValueReadOnce);
  engine->open();
  EXPECT_TRUE(dither->value());  // GL's default
  engine->close();
  glDisable(GL_DITHER);
  engine->open();
  EXPECT_TRUE(dither->value());
  engine->close();

  // Read always: seen at every open, and never restored.
  dither->setOriginalValueHandling(kCC3GLESStateOriginalValueReadAlways);
  engine->open();
  EXPECT_FALSE(dither->value());
  dither->enable();
  engine->close();
  EXPECT_TRUE(glIsEnabled(GL_DITHER));

  // Read always and restore: the outside change is both seen and given back.
  dither->setOriginalValueHandling(kCC3GLESStateOriginalValueReadAlwaysAndRestore);
  glDisable(GL_DITHER);
  engine->open();
  EXPECT_FALSE(dither->value());
  dither->enable();
  engine->close();
  EXPECT_FALSE(glIsEnabled(GL_DITHER));
}

TEST_F(CC3OpenGLES11EngineTest, BadHandlingIsReportedAndChangesNothing) {
  auto* depthTest = CC3OpenGLES11Engine::engine()->serverCapabilities()->depthTest();
  depthTest->setOriginalValueHandling(CC3GLESStateOriginalValueHandling(7));
  std::uint64_t start = sets();
  try {
    depthTest->open();
    ADD_FAILURE() << "expected an assertion";
  } catch (const AssertionFailure& failure) {
    EXPECT_NE(failure.message.find(" bad original value handling definition 7 for capability "
                                   "GL_DEPTH_TEST"),
              std::string::npos)
        << failure.message;
    EXPECT_EQ(failure.message.rfind("<CC3OpenGLES11StateTrackerServerCapability = ", 0), 0u)
        << failure.message;
  }
  EXPECT_FALSE(depthTest->valueIsKnown());
  EXPECT_EQ(sets(), start);
}

TEST_F(CC3OpenGLES11EngineTest, BuffersAndPointers) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* vertices = engine->vertices();
  EXPECT_EQ(vertices->bufferBinding(GL_ELEMENT_ARRAY_BUFFER), vertices->indexBuffer());
  EXPECT_EQ(vertices->bufferBinding(GL_ARRAY_BUFFER), vertices->arrayBuffer());

  GLuint buffer = vertices->generateBuffer();
  ASSERT_NE(buffer, 0u);
  vertices->arrayBuffer()->setValue(buffer);
  GLfloat data[6] = {0, 0, 0, 1, 1, 1};
  vertices->arrayBuffer()->loadBufferData(data, sizeof data, GL_STATIC_DRAW);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  // Deleting the bound buffer unbinds it in GL; a new buffer, which may
  // well get the same name, must still be bound.
  vertices->deleteBuffer(buffer);
  GLuint again = vertices->generateBuffer();
  vertices->arrayBuffer()->setValue(again);
  GLint bound = 0;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
  EXPECT_EQ(GLuint(bound), again);
  vertices->arrayBuffer()->unbind();
  vertices->deleteBuffer(again);

  // Pointers are set on every use, even when nothing changed.
  std::uint64_t start = sets();
  vertices->locations()->useElementsAt(data, 3, GL_FLOAT, 0);
  vertices->locations()->useElementsAt(data, 3, GL_FLOAT, 0);
  EXPECT_EQ(sets() - start, 2u);
  GLvoid* pointer = nullptr;
  glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
  EXPECT_EQ(pointer, static_cast<GLvoid*>(data));
  GLint size = 0;
  glGetIntegerv(GL_VERTEX_ARRAY_SIZE, &size);
  EXPECT_EQ(size, 3);

  GLfloat normals[3] = {0, 0, 1};
  vertices->normals()->useElementsAt(normals, 3, GL_FLOAT, 12);
  glGetPointerv(GL_NORMAL_ARRAY_POINTER, &pointer);
  EXPECT_EQ(pointer, static_cast<GLvoid*>(normals));
  GLint stride = 0;
  glGetIntegerv(GL_NORMAL_ARRAY_STRIDE, &stride);
  EXPECT_EQ(stride, 12);
  engine->close();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CC3OpenGLES11EngineTest, PlatformLimitsSizeTheLightAndClipPlaneTrackers) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  GLint lights = 0, planes = 0;
  glGetIntegerv(GL_MAX_LIGHTS, &lights);
  glGetIntegerv(GL_MAX_CLIP_PLANES, &planes);
  EXPECT_GE(lights, 8);
  EXPECT_EQ(engine->platform()->maxLights()->value(), lights);
  EXPECT_EQ(engine->serverCapabilities()->lightCount(), GLuint(lights));
  EXPECT_EQ(engine->lighting()->lightCount(), GLuint(lights));
  EXPECT_EQ(engine->serverCapabilities()->clipPlaneCount(), GLuint(planes));
  EXPECT_GE(engine->platform()->maxTextureChannels()->value(), 1);

  engine->open();
  auto* light = engine->lighting()->lightAt(2);
  light->diffuseColor()->setValue({0.25f, 0.5f, 0.75f, 1});
  light->spotCutoffAngle()->setValue(45);
  GLfloat diffuse[4], cutoff = 0;
  glGetLightfv(GL_LIGHT2, GL_DIFFUSE, diffuse);
  glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, &cutoff);
  EXPECT_EQ(diffuse[2], 0.75f);
  EXPECT_EQ(cutoff, 45.0f);
  engine->serverCapabilities()->lightAt(2)->enable();
  EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
  EXPECT_ASSERTION(engine->lighting()->lightAt(GLuint(lights)),
                   "Light index is beyond the platform's lights");
  engine->close();
  EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
}

TEST_F(CC3OpenGLES11EngineTest, EngineIsReleasedWhenPurged) {
  CC3OpenGLES11Engine::purgeEngine();
  std::int64_t before = NSObject::liveObjectCount();
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  EXPECT_EQ(CC3OpenGLES11Engine::engine(), engine);
  EXPECT_GT(NSObject::liveObjectCount(), before + 50);
  CC3OpenGLES11Engine::purgeEngine();
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}

TEST_F(CC3OpenGLES11EngineTest, DrawsThroughTheTrackedVertexState) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* state = engine->state();
  state->viewport()->setValue({0, 0, 64, 64});
  engine->matrices()->projection()->identity();
  engine->matrices()->modelview()->identity();
  engine->serverCapabilities()->depthTest()->disable();
  engine->serverCapabilities()->texture2D()->disable();
  engine->serverCapabilities()->lighting()->disable();
  state->clearColor()->setValue({0, 0, 0, 1});
  state->clearColorBuffer();

  // The whole viewport in red, as an array.
  const GLfloat quad[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
  engine->clientCapabilities()->vertexArray()->enable();
  engine->clientCapabilities()->colorArray()->disable();
  engine->vertices()->locations()->useElementsAt(quad, 3, GL_FLOAT, 0);
  state->color()->setFixedValue({255, 0, 0, 255});
  engine->vertices()->drawVerticiesAs(GL_TRIANGLE_STRIP, 0, 4);
  // The left half in green, as indexed triangles.
  const GLfloat left[] = {-1, -1, 0, 0, -1, 0, -1, 1, 0, 0, 1, 0};
  const GLushort indices[] = {0, 1, 2, 2, 1, 3};
  engine->vertices()->locations()->useElementsAt(left, 3, GL_FLOAT, 0);
  state->color()->setValue({0, 1, 0, 1});
  engine->vertices()->drawIndicies(indices, 6, GL_UNSIGNED_SHORT, GL_TRIANGLES);

  EXPECT_EQ(state->readPixelAt({48, 32}), (ccColor4B{255, 0, 0, 255}));
  EXPECT_EQ(state->readPixelAt({16, 32}), (ccColor4B{0, 255, 0, 255}));
  engine->close();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CC3OpenGLES11EngineTest, StateIsReadOnlyAtTheFirstOpen) {
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  std::uint64_t start = CC3OpenGLES11Calls::queryCount();
  engine->open();
  engine->close();
  EXPECT_GT(CC3OpenGLES11Calls::queryCount() - start, 30u);
  // Later passes trust what was read; with nothing changed in between,
  // opening and closing cost no GL call at all.
  start = CC3OpenGLES11Calls::queryCount();
  std::uint64_t setsBefore = sets();
  for (int frame = 0; frame < 5; ++frame) {
    engine->open();
    engine->close();
  }
  EXPECT_EQ(CC3OpenGLES11Calls::queryCount(), start);
  EXPECT_EQ(sets(), setsBefore);
}
