#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <array>

#include "CC3LocalContentNode.h"
#include "CC3NodeTestSupport.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "GLTestContext.h"

namespace {

// Draws a unit square in its own frame and notes the model-view matrix it drew with.
class SquareNode : public CC3LocalContentNode {
 public:
  std::array<GLfloat, 16> drawnWith{};
  int draws = 0;
  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor*) override {
    ++draws;
    CC3OpenGLES11Engine::engine()->matrices()->modelview()->getTop(drawnWith.data());
    static const GLfloat square[] = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0,
                                     -0.5f, 0.5f,  0, 0.5f, 0.5f,  0};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, square);
    glColor4f(1, 0, 0, 1);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

class CC3NodeDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.ok());
    glViewport(0, 0, gl_.width(), gl_.height());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();  // the view spans -1 to 1 in x and y
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    CC3OpenGLES11Engine::engine();  // a lasting singleton, made before any leak count
  }
  void TearDown() override { CC3OpenGLES11Engine::purgeEngine(); }

  GLTestContext gl_;  // 64 x 64
};

}  // namespace

TEST_F(CC3NodeDrawingTest, LocalContentIsDrawnWithTheNodeTransformAndTheStackIsRestored) {
  LeakScope leaks;
  auto group = CC3Node::node();
  auto square = makeObject<SquareNode>();
  square->init();
  group->addChild(square);
  group->setLocation({0.5f, 0, 0});
  square->setLocation({0, 0.5f, 0});
  square->setScale({0.5f, 0.5f, 1});
  group->updateTransformMatrices();

  auto visitor = CC3NodeDrawingVisitor::visitor();
  group->drawWithVisitor(visitor);
  glFinish();
  ASSERT_EQ(square->draws, 1);
  for (int i = 0; i < 16; ++i)
    EXPECT_FLOAT_EQ(square->drawnWith[i], square->transformMatrix()->glMatrix()[i]) << i;

  GLfloat after[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, after);
  EXPECT_EQ(after[12], 0);  // popped back to the identity
  EXPECT_EQ(after[0], 1);

  // The square covers x and y from 0.25 to 0.75 of the view: pixels 40 to 56.
  EXPECT_EQ(gl_.pixel(48, 48)[0], 255);
  EXPECT_EQ(gl_.pixel(36, 48)[0], 0);
  EXPECT_EQ(gl_.pixel(48, 36)[0], 0);
  EXPECT_EQ(gl_.pixel(16, 16)[0], 0);

  // Hidden: nothing drawn.
  glClear(GL_COLOR_BUFFER_BIT);
  group->setVisible(false);
  group->drawWithVisitor(visitor);
  glFinish();
  EXPECT_EQ(square->draws, 1);
  EXPECT_EQ(gl_.pixel(48, 48)[0], 0);
}
