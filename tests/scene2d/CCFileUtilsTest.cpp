#include "CCFileUtils.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "ccTypes.h"
#include "ccUtils.h"

namespace {
struct ScopedScale {
  explicit ScopedScale(float scale) : saved(__ccContentScaleFactor) {
    __ccContentScaleFactor = scale;
  }
  ~ScopedScale() { __ccContentScaleFactor = saved; }
  float saved;
};

void touch(const std::string& path) {
  std::ofstream(path) << "x";
}
}  // namespace

TEST(ccUtils, NextPOT) {
  EXPECT_EQ(ccNextPOT(0), 0u);
  EXPECT_EQ(ccNextPOT(1), 1u);
  EXPECT_EQ(ccNextPOT(2), 2u);
  EXPECT_EQ(ccNextPOT(3), 4u);
  EXPECT_EQ(ccNextPOT(300), 512u);
  EXPECT_EQ(ccNextPOT(1000), 1024u);
  EXPECT_EQ(ccNextPOT(1024), 1024u);
  EXPECT_EQ(ccNextPOT(1025), 2048u);
  EXPECT_EQ(ccNextPOT(0x80000000u), 0x80000000u);
}

TEST(CCFileUtils, DoubleResolutionNamesApplyOnlyAtScaleTwo) {
  TempDir dir;
  touch(dir.file("bg.png"));
  touch(dir.file("bg-hd.png"));
  touch(dir.file("a.pvr.ccz"));
  touch(dir.file("a-hd.pvr.ccz"));
  touch(dir.file("b.pvr.gz"));
  touch(dir.file("b-hd.pvr.gz"));
  touch(dir.file("plain.png"));
  {
    ScopedScale scale(1);
    EXPECT_EQ(CCFileUtils::getDoubleResolutionImage(dir.file("bg.png")), dir.file("bg.png"));
    EXPECT_EQ(ccRemoveHDSuffixFromFile(dir.file("bg-hd.png")), dir.file("bg-hd.png"));
  }
  ScopedScale scale(2);
  EXPECT_EQ(CCFileUtils::getDoubleResolutionImage(dir.file("bg.png")), dir.file("bg-hd.png"));
  EXPECT_EQ(CCFileUtils::fullPathFromRelativePath(dir.file("bg.png")), dir.file("bg-hd.png"));
  EXPECT_EQ(CCFileUtils::getDoubleResolutionImage(dir.file("a.pvr.ccz")), dir.file("a-hd.pvr.ccz"));
  EXPECT_EQ(CCFileUtils::getDoubleResolutionImage(dir.file("b.pvr.gz")), dir.file("b-hd.pvr.gz"));
  // Already "-hd", or no such file: unchanged.
  EXPECT_EQ(CCFileUtils::getDoubleResolutionImage(dir.file("bg-hd.png")), dir.file("bg-hd.png"));
  EXPECT_EQ(CCFileUtils::getDoubleResolutionImage(dir.file("plain.png")), dir.file("plain.png"));

  // Only the last component loses its "-hd", every one of them.
  EXPECT_EQ(ccRemoveHDSuffixFromFile("dir-hd/bg-hd.png"), "dir-hd/bg.png");
  EXPECT_EQ(ccRemoveHDSuffixFromFile("x-hd-hd.pvr.ccz"), "x.pvr.ccz");
}

TEST(CCFileUtils, RelativeNamesResolveInTheBundleAndEmptyIsAnError) {
  ScopedScale scale(1);
  EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("/abs/none.png"), "/abs/none.png");
  EXPECT_EQ(CCFileUtils::fullPathFromRelativePath("no-such-picture.png"), "no-such-picture.png");
  EXPECT_ASSERTION(CCFileUtils::fullPathFromRelativePath(""), "CCFileUtils: Invalid path");
}
