#pragma once
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "CCConfiguration.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "GLTestContext.h"
#include "Log.h"
#include "PNGWriter.h"
#include "TestSupport.h"
#include "ccTypes.h"

// A headless GL context with a 2D projection of one unit per pixel, a fresh
// configuration read from it, and an empty texture cache afterwards.
class TextureTest : public ::testing::Test {
 protected:
  explicit TextureTest(int size = 64) : gl_(size, size) {}

  void SetUp() override {
    ASSERT_TRUE(gl_.ok());
    CCConfiguration::purgeSharedConfiguration();
    CCConfiguration::sharedConfiguration();
    savedLevel_ = logLevel();
    setLogLevel(LogLevel::Silent);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, float(gl_.width()), 0, float(gl_.height()), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  }

  void TearDown() override {
    CCTextureCache::purgeSharedTextureCache();
    CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
    __ccContentScaleFactor = 1;
    setLogLevel(savedLevel_);
  }

  // Draws the texture's used part into `rect` without blending.
  void drawTexture(CCTexture2D* texture, CGRect rect) {
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    texture->setAliasTexParameters();
    texture->drawInRect(rect);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
  }

  std::array<unsigned char, 4> pixel(int x, int y) const { return gl_.pixel(x, y); }

  std::string writeImage(const std::string& name, int width, int height,
                         const std::vector<unsigned char>& rgba) {
    std::string path = dir_.file(name), error;
    EXPECT_TRUE(writePNG(path, rgba.data(), width, height, error)) << error;
    return path;
  }

  // A picture of one colour.
  std::string writeFilled(const std::string& name, int width, int height,
                          std::array<unsigned char, 4> rgba) {
    std::vector<unsigned char> data(std::size_t(width) * height * 4);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = rgba[i % 4];
    return writeImage(name, width, height, data);
  }

  GLTestContext gl_;
  TempDir dir_;
  LogLevel savedLevel_ = LogLevel::Error;
};

inline ::testing::AssertionResult colourNear(std::array<unsigned char, 4> actual,
                                             std::array<int, 3> expected, int tolerance = 2) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(int(actual[i]) - expected[i]) > tolerance)
      return ::testing::AssertionFailure()
             << "colour (" << int(actual[0]) << ", " << int(actual[1]) << ", " << int(actual[2])
             << ") is not (" << expected[0] << ", " << expected[1] << ", " << expected[2] << ")";
  return ::testing::AssertionSuccess();
}
