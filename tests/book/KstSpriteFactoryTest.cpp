#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "KstSpriteFactory.h"
#include "KstStage.h"
#include "Log.h"
#include "TestSupport.h"

namespace {

using Lines = std::vector<std::string>;

TEST(KstSpriteFactoryTest, GroundLineGivesEveryField) {
  Ptr<KstSpriteId> record =
      KstSpriteFactory::spriteIdWithLine("ground1+0+1024,2000|1,1|0,30,0|-90,0,0");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->identifier(), "ground1");
  EXPECT_EQ(record->layerId(), 0);
  EXPECT_EQ(record->path(), "ground1.png");
  EXPECT_EQ(record->width(), 1024);
  EXPECT_EQ(record->height(), 2000);
  EXPECT_EQ(record->widthScale(), 1);
  EXPECT_EQ(record->heightScale(), 1);
  EXPECT_EQ(record->location(), (CC3Vec3{0, 30, 0}));
  EXPECT_EQ(record->rotation(), (CC3Vec3{-90, 0, 0}));
}

TEST(KstSpriteFactoryTest, SuffixStaysInIdentifierAndPath) {
  Ptr<KstSpriteId> record =
      KstSpriteFactory::spriteIdWithLine("s1layer3-cn+3+824,280|1,1|0,-100,230|90,0,0");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->identifier(), "s1layer3-cn");
  EXPECT_EQ(record->path(), "s1layer3-cn.png");
  EXPECT_EQ(record->layerId(), 3);
  EXPECT_EQ(record->location(), (CC3Vec3{0, -100, 230}));
}

TEST(KstSpriteFactoryTest, FractionalScalesAndNegativeLocations) {
  Ptr<KstSpriteId> record =
      KstSpriteFactory::spriteIdWithLine("s17layer2-t+2+1319,495|0.45,0.5|10,-220,0|90,0,0");
  ASSERT_TRUE(record);
  EXPECT_FLOAT_EQ(record->widthScale(), 0.45f);
  EXPECT_FLOAT_EQ(record->heightScale(), 0.5f);
  EXPECT_EQ(record->location(), (CC3Vec3{10, -220, 0}));
}

TEST(KstSpriteFactoryTest, SignedZeroReadsAsPlainZero) {
  Ptr<KstSpriteId> record =
      KstSpriteFactory::spriteIdWithLine("s13layer4r-t+4+230,517|1.0,1.0|-0,-20,0|90,0,0");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->location().x, 0.0f);
  EXPECT_FALSE(std::signbit(record->location().x));
}

TEST(KstSpriteFactoryTest, PageListOfOnlyItsNumberGivesNoRecords) {
  std::int32_t index = -1;
  EXPECT_TRUE(KstSpriteFactory::createWithStageInfo(Lines{"5"}, &index).empty());
  EXPECT_EQ(index, 5);
}

TEST(KstSpriteFactoryTest, EmptyPageListWritesZeroAndDoesNotCrash) {
  std::int32_t index = -1;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(KstSpriteFactory::createWithStageInfo(Lines{}, &index).empty());
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(KstSpriteFactory::createWithStageInfo(Lines{"3"}, nullptr).empty());
}

TEST(KstSpriteFactoryTest, CoverGivesEightRecords) {
  Ptr<KstStage> stage = KstStage::stage();
  std::int32_t index = 0;
  KstSpriteDictionary records = KstSpriteFactory::createWithStageInfo(stage->grounds()[0], &index);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(records.size(), 8u);
  ASSERT_EQ(records.count("s1layer2r-t"), 1u);
  EXPECT_EQ(records.at("s1layer2r-t")->width(), 449);
  EXPECT_EQ(records.at("background1")->layerId(), 10);
}

TEST(KstSpriteFactoryTest, LaterLineWithTheSameIdentifierWins) {
  KstSpriteDictionary records = KstSpriteFactory::createWithStageInfo(
      Lines{"7", "dup+1+10,10|1,1|0,0,0|0,0,0", "dup+2+20,30|1,1|5,6,7|0,0,0"}, nullptr);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records.at("dup")->layerId(), 2);
  EXPECT_EQ(records.at("dup")->width(), 20);
  EXPECT_EQ(records.at("dup")->location(), (CC3Vec3{5, 6, 7}));
}

TEST(KstSpriteFactoryTest, ExtraPartsGroupsAndNumbersAreIgnored) {
  Ptr<KstSpriteId> record =
      KstSpriteFactory::spriteIdWithLine("a+1+2,3,99|4,5,99|6,7,8,99|9,10,11,99|extra+more");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->width(), 2);
  EXPECT_EQ(record->height(), 3);
  EXPECT_EQ(record->heightScale(), 5);
  EXPECT_EQ(record->location(), (CC3Vec3{6, 7, 8}));
  EXPECT_EQ(record->rotation(), (CC3Vec3{9, 10, 11}));
}

TEST(KstSpriteFactoryTest, MalformedLinesAreSkippedWithOneMessageEachAndTheRestBuilt) {
  const Lines bad = {
      "noplus",
      "twoparts+1",
      "threegroups+1+1,1|1,1|0,0,0",
      "shortsize+1+100|1,1|0,0,0|0,0,0",
      "shortlocation+1+1,1|1,1|0,0|0,0,0",
      "shortrotation+1+1,1|1,1|0,0,0|90",
      "+1+1,1|1,1|0,0,0|0,0,0",
      "",
  };
  Lines page = {"4", "good+1+10,20|1,1|0,0,0|90,0,0"};
  page.insert(page.end(), bad.begin(), bad.end());
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  std::int32_t index = 0;
  KstSpriteDictionary records = KstSpriteFactory::createWithStageInfo(page, &index);
  const std::string log = testing::internal::GetCapturedStderr();
  setLogLevel(LogLevel::Error);
  EXPECT_EQ(index, 4);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records.begin()->first, "good");
  std::size_t messages = 0;
  for (std::size_t at = log.find("skipped"); at != std::string::npos;
       at = log.find("skipped", at + 1)) {
    ++messages;
  }
  EXPECT_EQ(messages, bad.size());
  for (const std::string& line : bad) {
    if (!line.empty()) {
      EXPECT_NE(log.find("\"" + line + "\""), std::string::npos) << line;
    }
  }
}

TEST(KstSpriteFactoryTest, NumbersReadAsLeadingDecimals) {
  EXPECT_EQ(KstSpriteFactory::readFloat("1"), 1.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("1.0"), 1.0f);
  EXPECT_FLOAT_EQ(KstSpriteFactory::readFloat("0.65"), 0.65f);
  EXPECT_EQ(KstSpriteFactory::readFloat("-220"), -220.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("+3.5"), 3.5f);
  EXPECT_EQ(KstSpriteFactory::readFloat(".5"), 0.5f);
  EXPECT_EQ(KstSpriteFactory::readFloat("  42"), 42.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("12px"), 12.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("1e2"), 100.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("2."), 2.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("1e"), 1.0f);
  // Beyond the float range: overflow saturates, underflow reads as zero.
  EXPECT_EQ(KstSpriteFactory::readFloat("1e50"), HUGE_VALF);
  EXPECT_EQ(KstSpriteFactory::readFloat("-1e400"), -HUGE_VALF);
  EXPECT_EQ(KstSpriteFactory::readFloat("1e-50"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("1e-400"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("abc"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat(""), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("-"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("."), 0.0f);
  // Words the C library would take as numbers are not decimals here.
  EXPECT_EQ(KstSpriteFactory::readFloat("inf"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("nan"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("0x10"), 0.0f);

  EXPECT_EQ(KstSpriteFactory::readInt("18"), 18);
  EXPECT_EQ(KstSpriteFactory::readInt("-7"), -7);
  EXPECT_EQ(KstSpriteFactory::readInt("10.9"), 10);
  EXPECT_EQ(KstSpriteFactory::readInt("x"), 0);
  EXPECT_EQ(KstSpriteFactory::readInt("99999999999"), 2147483647);
  EXPECT_EQ(KstSpriteFactory::readInt("-99999999999"), -2147483647 - 1);
}

TEST(KstSpriteFactoryTest, MisspeltNumberReadsAsZeroWithoutRejectingTheLine) {
  Ptr<KstSpriteId> record = KstSpriteFactory::spriteIdWithLine("s+x+abc,20|1,oops|0,,0|90,0,0");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->layerId(), 0);
  EXPECT_EQ(record->width(), 0);
  EXPECT_EQ(record->height(), 20);
  EXPECT_EQ(record->heightScale(), 0);
  EXPECT_EQ(record->location(), (CC3Vec3{0, 0, 0}));
}

TEST(KstSpriteIdTest, FreshRecordIsEmpty) {
  Ptr<KstSpriteId> record = KstSpriteId::spriteId();
  EXPECT_EQ(record->identifier(), "");
  EXPECT_EQ(record->path(), "");
  EXPECT_EQ(record->layerId(), 0);
  EXPECT_EQ(record->width(), 0);
  EXPECT_EQ(record->widthScale(), 0);
  EXPECT_EQ(record->location(), (CC3Vec3{0, 0, 0}));
  EXPECT_EQ(record->rotation(), (CC3Vec3{0, 0, 0}));
}

TEST(KstSpriteIdTest, DescriptionListsSevenLinesWithTwoDecimals) {
  Ptr<KstSpriteId> record =
      KstSpriteFactory::spriteIdWithLine("s2layer2-t+2+216,224|0.8,0.8|100,-180,0|90,0,0");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->description(),
            "\nidentifier:s2layer2-t"
            "\nlayerId:2"
            "\npath:s2layer2-t.png"
            "\nlocation x:100.00 y:-180.00 z:0.00"
            "\nrotation x:90.00 y:0.00 z:0.00"
            "\nwidth:216.00 height:224.00"
            "\nwidthScale:0.80 heightScale:0.80");
}

TEST(KstSpriteIdTest, RecordsDieWithTheirDictionary) {
  const std::int64_t before = NSObject::liveObjectCount();
  {
    Ptr<KstStage> stage = KstStage::stage();
    KstSpriteDictionary records =
        KstSpriteFactory::createWithStageInfo(stage->grounds()[12], nullptr);
    EXPECT_EQ(NSObject::liveObjectCount(), before + 1 + 6);
    for (const auto& entry : records) EXPECT_EQ(entry.second->retainCount(), 1u);
  }
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}

}  // namespace
