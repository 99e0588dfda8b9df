#include "CC3NodePickingVisitor.h"

#include <gtest/gtest.h>

#include "CC3LocalContentNode.h"
#include "CC3NodeTestSupport.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3World.h"
#include "GLTestContext.h"

TEST(CC3NodePickingVisitor, TagsAndColoursConvertBothWays) {
  EXPECT_EQ(CC3NodePickingVisitor::colorFromNodeTag(1), ccc4(0, 0, 1, 255));
  EXPECT_EQ(CC3NodePickingVisitor::colorFromNodeTag(66051), ccc4(1, 2, 3, 255));
  EXPECT_EQ(CC3NodePickingVisitor::tagFromColor(ccc4(1, 2, 3, 255)), 66051u);
  EXPECT_EQ(CC3NodePickingVisitor::tagFromColor(ccc4(1, 2, 3, 0)), 66051u);  // alpha ignored
  EXPECT_EQ(CC3NodePickingVisitor::tagFromColor(ccc4(255, 255, 255, 255)), 16777215u);
  // Only 24 bits survive.
  EXPECT_EQ(CC3NodePickingVisitor::colorFromNodeTag(16777216 + 5), ccc4(0, 0, 5, 255));
  EXPECT_FALSE(CC3NodePickingVisitor::visitor()->shouldDecorateNode());
  EXPECT_TRUE(CC3NodeDrawingVisitor::visitor()->shouldDecorateNode());
}

namespace {
// Notes the colour it was painted with and whether lighting was on.
class PaintProbe : public CC3LocalContentNode {
 public:
  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor*) override {
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    painted = ccc4(GLubyte(c[0] * 255 + 0.5f), GLubyte(c[1] * 255 + 0.5f),
                   GLubyte(c[2] * 255 + 0.5f), GLubyte(c[3] * 255 + 0.5f));
    lit = glIsEnabled(GL_LIGHTING);
    ++draws;
  }
  ccColor4B painted{0, 0, 0, 0};
  bool lit = true;
  int draws = 0;
};
}  // namespace

TEST(CC3NodePickingVisitor, PaintsOnlyTouchableNodesAndRestoresTheColour) {
  GLTestContext gl;
  ASSERT_TRUE(gl.ok());
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  {
    LeakScope leaks;
    auto world = CC3World::world();
    auto touchable = makeObject<PaintProbe>();
    touchable->initWithTag(66051);
    touchable->setIsTouchEnabled(true);
    auto untouchable = makeObject<PaintProbe>();
    untouchable->init();
    world->addChild(touchable);
    world->addChild(untouchable);
    world->updateTransformMatrices();

    gles->open();
    gles->serverCapabilities()->lighting()->enable();
    gles->state()->color()->setValue({0.5f, 0.25f, 1, 1});
    auto visitor = world->makePickVisitor();
    world->drawWithVisitor(visitor);
    EXPECT_EQ(touchable->draws, 1);
    EXPECT_EQ(touchable->painted, ccc4(1, 2, 3, 255));
    EXPECT_FALSE(touchable->lit);
    EXPECT_EQ(untouchable->draws, 0);
    EXPECT_EQ(visitor->originalColor(), (ccColor4F{0.5f, 0.25f, 1, 1}));
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_FLOAT_EQ(c[1], 0.25f);
    gles->close();
  }
  CC3OpenGLES11Engine::purgeEngine();
}
