#include <gtest/gtest.h>

#include "GLTestContext.h"

// The headless context is a real GL ES 1.1: a clear shows up in read-back pixels.
TEST(GLContext, HeadlessClearReadsBack) {
  GLTestContext gl(32, 16);
  ASSERT_TRUE(gl.ok());
  glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  auto p = gl.pixel(31, 15);
  EXPECT_EQ(p[0], 255);
  EXPECT_NEAR(p[1], 128, 1);
  EXPECT_EQ(p[2], 0);
  EXPECT_EQ(p[3], 255);
  EXPECT_NE(std::string(reinterpret_cast<const char*>(glGetString(GL_VERSION))).find("ES-CM 1.1"),
            std::string::npos);
}

TEST(GLContext, SharegroupSharesTextures) {
  GLTestContext gl;
  ASSERT_TRUE(gl.ok());
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  unsigned char white[4] = {255, 255, 255, 255};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  auto other = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1, gl.context()->sharegroup());
  ASSERT_TRUE(other);
  ASSERT_TRUE(EAGLContext::setCurrentContext(other.get()));
  EXPECT_TRUE(glIsTexture(texture));
  EAGLContext::setCurrentContext(gl.context());
  glDeleteTextures(1, &texture);
}
