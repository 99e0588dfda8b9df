#include <gtest/gtest.h>

#include <string>

#include "lmStageInfo.h"

namespace {

TEST(lmStageInfoTest, FreshRecordStartsOnTheCoverInRussian) {
  Ptr<lmStageInfo> info = lmStageInfo::stageInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->curStageIndex(), 1);
  EXPECT_EQ(info->curLangTag(), 2000);
  EXPECT_EQ(info->rotation(), (CC3Vec3{-90, 0, 0}));
  EXPECT_EQ(info->asideLocation(), (CC3Vec3{0, 60, 400}));
  EXPECT_TRUE(info->canAccelerometer());
  EXPECT_FALSE(info->lockDrag());
  EXPECT_EQ(info->curGroundName(), "");
  EXPECT_EQ(info->nextGroundName(), "");
  EXPECT_EQ(info->preGroundName(), "");
  EXPECT_EQ(info->shouldRemoveGroundName(), "");
  EXPECT_EQ(info->normalElementInTouch(), "");
}

TEST(lmStageInfoTest, FieldsKeepWhatIsWrittenIndependently) {
  Ptr<lmStageInfo> info = lmStageInfo::stageInfo();
  info->setCurStageIndex(7);
  info->setCurLangTag(2001);
  info->setRotation(CC3Vec3{-85, 3, 0});
  info->setCanAccelerometer(false);
  info->setLockDrag(true);
  info->setCurGroundName("ground7");
  info->setNextGroundName("ground8");
  info->setPreGroundName("ground6");
  info->setShouldRemoveGroundName("ground5");
  info->setNormalElementInTouch("s7layer3-t");
  EXPECT_EQ(info->curStageIndex(), 7);
  EXPECT_EQ(info->curLangTag(), 2001);
  EXPECT_EQ(info->rotation(), (CC3Vec3{-85, 3, 0}));
  EXPECT_EQ(info->asideLocation(), (CC3Vec3{0, 60, 400}));
  EXPECT_FALSE(info->canAccelerometer());
  EXPECT_TRUE(info->lockDrag());
  EXPECT_EQ(info->curGroundName(), "ground7");
  EXPECT_EQ(info->nextGroundName(), "ground8");
  EXPECT_EQ(info->preGroundName(), "ground6");
  EXPECT_EQ(info->shouldRemoveGroundName(), "ground5");
  EXPECT_EQ(info->normalElementInTouch(), "s7layer3-t");

  // init puts every field back, as a replayed book expects.
  ASSERT_TRUE(info->init());
  EXPECT_EQ(info->curStageIndex(), 1);
  EXPECT_EQ(info->curGroundName(), "");
  EXPECT_EQ(info->rotation(), (CC3Vec3{-90, 0, 0}));
}

TEST(lmStageInfoTest, SettingANameToItselfKeepsIt) {
  Ptr<lmStageInfo> info = lmStageInfo::stageInfo();
  info->setCurGroundName("ground3");
  info->setCurGroundName(info->curGroundName());
  EXPECT_EQ(info->curGroundName(), "ground3");
  info->setNormalElementInTouch("s3layer2l-t");
  info->setNormalElementInTouch(info->normalElementInTouch());
  EXPECT_EQ(info->normalElementInTouch(), "s3layer2l-t");
}

}  // namespace
