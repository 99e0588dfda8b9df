#pragma once
#include <gtest/gtest.h>

#include <GLES/gl.h>

#include <array>
#include <string>
#include <vector>

#include "CC3Material.h"
#include "CC3NodeTestSupport.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3VertexArrayMeshModel.h"
#include "CCConfiguration.h"
#include "CCTextureCache.h"
#include "GLTestContext.h"
#include "Log.h"
#include "PNGWriter.h"
#include "TestSupport.h"

// A 64 x 64 headless GL context whose projection maps x and y one unit to a
// pixel (origin bottom-left, z from -100 to 100), with the state engine made
// and pictures written into a temporary folder.
class MeshGLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.ok());
    CCConfiguration::purgeSharedConfiguration();
    CCConfiguration::sharedConfiguration();
    savedLevel_ = logLevel();
    setLogLevel(LogLevel::Silent);
    glViewport(0, 0, gl_.width(), gl_.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, GLfloat(gl_.width()), 0, GLfloat(gl_.height()), -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Lasting singletons, made before any leak count.
    CC3OpenGLES11Engine::engine();
    CCTextureCache::sharedTextureCache();
  }

  void TearDown() override {
    CCTextureCache::purgeSharedTextureCache();
    CC3OpenGLES11Engine::purgeEngine();
    CCConfiguration::purgeSharedConfiguration();
    setLogLevel(savedLevel_);
  }

  // As the world opens and closes a draw pass.
  void openPass() {
    CC3Material::resetSwitching();
    CC3VertexArrayMeshModel::resetSwitching();
    CC3OpenGLES11Engine::engine()->open();
  }
  void closePass() {
    CC3OpenGLES11Engine::engine()->close();
    glFinish();
  }

  std::array<unsigned char, 4> pixel(int x, int y) const { return gl_.pixel(x, y); }

  // A picture whose top half is `top` and bottom half `bottom` (rows are
  // written top first, as image files hold them).
  std::string writeHalves(const std::string& name, int width, int height,
                          std::array<unsigned char, 4> top, std::array<unsigned char, 4> bottom) {
    std::vector<unsigned char> data(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c)
          data[(std::size_t(y) * width + x) * 4 + c] = (y < height / 2 ? top : bottom)[c];
    std::string path = dir_.file(name), error;
    EXPECT_TRUE(writePNG(path, data.data(), width, height, error)) << error;
    return path;
  }
  std::string writeFilled(const std::string& name, int width, int height,
                          std::array<unsigned char, 4> rgba) {
    return writeHalves(name, width, height, rgba, rgba);
  }

  GLTestContext gl_;
  TempDir dir_;
  LogLevel savedLevel_ = LogLevel::Error;
};

inline ::testing::AssertionResult rgbNear(std::array<unsigned char, 4> actual,
                                          std::array<int, 3> expected, int tolerance = 3) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(int(actual[i]) - expected[i]) > tolerance)
      return ::testing::AssertionFailure()
             << "colour (" << int(actual[0]) << ", " << int(actual[1]) << ", " << int(actual[2])
             << ") is not (" << expected[0] << ", " << expected[1] << ", " << expected[2] << ")";
  return ::testing::AssertionSuccess();
}
