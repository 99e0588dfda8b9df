#include <gtest/gtest.h>

#include "CCConfiguration.h"
#include "GLMultisample.h"
#include "GLTestContext.h"
#include "UIDevice.h"

namespace {
class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.ok()); }
  void TearDown() override {
    UIDevice::currentDevice().setSystemVersion("4.3");
    CCConfiguration::purgeSharedConfiguration();
  }
  // A configuration read afresh on an OS of `version`.
  static CCConfiguration* readOn(const char* version) {
    UIDevice::currentDevice().setSystemVersion(version);
    CCConfiguration::purgeSharedConfiguration();
    return CCConfiguration::sharedConfiguration();
  }
  GLTestContext gl_;
};
}  // namespace

TEST_F(ConfigurationTest, ExtensionNamesMatchWholeNamesOnly) {
  CCConfiguration* configuration = readOn("4.3");
  EXPECT_TRUE(configuration->checkForGLExtension("GL_OES_framebuffer_object"));
  EXPECT_FALSE(configuration->checkForGLExtension("GL_OES_framebuffer"));
  EXPECT_FALSE(configuration->checkForGLExtension("OES_framebuffer_object"));
  EXPECT_TRUE(configuration->checkForGLExtension("GL_EXT_discard_framebuffer"));
  EXPECT_FALSE(configuration->checkForGLExtension("GL_EXT_discard"));
}

TEST_F(ConfigurationTest, OSVersionIsEncodedByteByByteAndGatesMultisampling) {
  EXPECT_EQ(CCConfiguration::encodeOSVersion("4.2.1"), 0x04020100u);
  EXPECT_EQ(CCConfiguration::encodeOSVersion("4"), 0x04000000u);
  CCConfiguration* configuration = readOn("4.2.1");
  EXPECT_EQ(configuration->OSVersion(), 0x04020100u);
  EXPECT_EQ(configuration->maxSamplesAllowed(), ccglMaxSamples());
  EXPECT_GT(configuration->maxSamplesAllowed(), 0);
  EXPECT_EQ(readOn("3.2")->maxSamplesAllowed(), 0);
}
