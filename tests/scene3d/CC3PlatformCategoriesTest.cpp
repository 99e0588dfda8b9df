#include <gtest/gtest.h>

#include "CC3GLMatrix.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3PlatformCategories.h"
#include "GLTestContext.h"
#include "NSAutoreleasePool.h"

TEST(CC3PlatformCategoriesTest, CopyAutoreleasedLivesUntilThePoolDrains) {
  auto original = CC3GLMatrix::identity();
  original->translateBy(cc3v(1, 2, 3));
  std::int64_t before = NSObject::liveObjectCount();
  NSAutoreleasePool pool;
  CC3GLMatrix* copy = copyAutoreleased(original.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, original.get());
  EXPECT_EQ(copy->glMatrix()[14], 3.0f);
  EXPECT_EQ(copy->retainCount(), 1u);
  EXPECT_EQ(pool.count(), 1u);
  EXPECT_EQ(NSObject::liveObjectCount(), before + 1);
  pool.drain();
  EXPECT_EQ(NSObject::liveObjectCount(), before);
  EXPECT_EQ(copyAutoreleased(static_cast<CC3GLMatrix*>(nullptr)), nullptr);
}

TEST(CC3PlatformCategoriesTest, ColourComponentCounts) {
  const GLfloat c[4] = {0.2f, 0.4f, 0.6f, 0.8f};
  EXPECT_EQ(CCC4FFromColorComponents(c, 1), (ccColor4F{0.2f, 0.2f, 0.2f, 1}));
  EXPECT_EQ(CCC4FFromColorComponents(c, 2), (ccColor4F{0.2f, 0.2f, 0.2f, 0.4f}));
  EXPECT_EQ(CCC4FFromColorComponents(c, 3), (ccColor4F{0.2f, 0.4f, 0.6f, 1}));
  EXPECT_EQ(CCC4FFromColorComponents(c, 4), (ccColor4F{0.2f, 0.4f, 0.6f, 0.8f}));
  EXPECT_EQ(CCC4FFromColorComponents(c, 0), (ccColor4F{1, 1, 1, 1}));
  EXPECT_EQ(CCC4FFromColorComponents(c, 5), (ccColor4F{1, 1, 1, 1}));
  EXPECT_EQ(CCC4FFromColorComponents(nullptr, 3), (ccColor4F{1, 1, 1, 1}));
  ccColor4F round{0.1f, 0.3f, 0.5f, 0.7f};
  EXPECT_EQ(UIColorAsCCColor4F(UIColorWithCCColor4F(round)), round);
}

TEST(CC3PlatformCategoriesTest, SetGLColorGoesThroughTheTracker) {
  GLTestContext gl;
  ASSERT_TRUE(gl.ok());
  UIColorSetGLColor(UIColor{0.25f, 0.5f, 0.75f, 1});
  GLfloat current[4];
  glGetFloatv(GL_CURRENT_COLOR, current);
  EXPECT_EQ(current[2], 0.75f);
  auto* tracker = CC3OpenGLES11Engine::engine()->state()->color();
  EXPECT_TRUE(tracker->valueIsKnown());
  EXPECT_EQ(tracker->value(), (ccColor4F{0.25f, 0.5f, 0.75f, 1}));
  CC3OpenGLES11Engine::purgeEngine();
}
