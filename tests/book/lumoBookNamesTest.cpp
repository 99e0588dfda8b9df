#include "lumoBookNames.h"

#include <gtest/gtest.h>

#include <vector>

#include "KstStage.h"
#include "lmStageInfo.h"

namespace {

TEST(lumoWorldSuffix, IsTheTextBetweenTheFirstAndSecondDash) {
  EXPECT_EQ(lumoLayerSuffix("s1layer2l-t"), "t");
  EXPECT_EQ(lumoLayerSuffix("s1layer3-cn"), "cn");
  EXPECT_EQ(lumoLayerSuffix("s1layer3-t-x"), "t");
  EXPECT_EQ(lumoLayerSuffix("background1"), "");
  EXPECT_EQ(lumoLayerSuffix("odd-"), "");
}

TEST(lumoBookNamesTest, LayersAreFiguresOrLanguageTitlesByTheirSuffixAlone) {
  EXPECT_TRUE(lumoBookNames::isFigureLayer("s2layer1-t"));
  EXPECT_TRUE(lumoBookNames::isFigureLayer("s3layer2l-t-x"));
  EXPECT_FALSE(lumoBookNames::isFigureLayer("s2layer1-tt"));
  EXPECT_FALSE(lumoBookNames::isFigureLayer("s1layer3-cn"));
  EXPECT_TRUE(lumoBookNames::isLanguageLayer("s18layer3-cn"));
  EXPECT_FALSE(lumoBookNames::isLanguageLayer("background1"));
}

// The sound player tells narration from dialogue by the names the content
// table gives its recordings: every narration must read as one, no line may.
TEST(lumoBookNamesTest, EveryNarrationOfTheBookAndNoDialogueLineIsANarrationFile) {
  Ptr<KstStage> stage = KstStage::stage();
  int narrations = 0;
  for (std::int32_t page = 1; page <= stage->totalStageCount(); ++page) {
    for (std::int32_t language : {lmStageInfo::kLangRussian, lmStageInfo::kLangEnglish}) {
      const std::string& name = stage->narrationSoundForStage(page, language);
      if (name == kKstNil) continue;
      EXPECT_TRUE(lumoBookNames::isNarrationFile(name + ".mp3")) << name;
      ++narrations;
    }
  }
  EXPECT_GT(narrations, 30);
  int lines = 0;
  for (const auto& [figure, names] : stage->dialogs()) {
    for (const std::string& line : stage->dialogNamesForLayer(figure)) {
      EXPECT_FALSE(lumoBookNames::isNarrationFile(lumoBookNames::dialogueRecording(line) + ".mp3"))
          << figure << " " << line;
      ++lines;
    }
  }
  EXPECT_GT(lines, 30);
  EXPECT_EQ(lumoBookNames::narrationRecording(3, lumoBookNames::kChineseSuffix), "QRB_p3_cn");
  EXPECT_EQ(lumoBookNames::dialogueRecording("dialogue_cover_r1"), "dialogue_cover_r1_ru");
}

// The English reading speaks a figure's English line where it exists and
// falls back to the Russian one; the Russian reading never asks.
TEST(lumoBookNames, DialogueInTheReadingLanguageFallsBackToRussian) {
  std::vector<std::string> asked;
  auto onlyR1 = [&asked](const std::string& name) {
    asked.push_back(name);
    return name == "dialogue_cover_r1_cn";
  };
  using lumoBookNames::dialogueRecording;
  EXPECT_EQ(dialogueRecording("dialogue_cover_r1", lmStageInfo::kLangEnglish, onlyR1),
            "dialogue_cover_r1_cn");
  EXPECT_EQ(dialogueRecording("dialogue_cover_r2", lmStageInfo::kLangEnglish, onlyR1),
            "dialogue_cover_r2_ru");
  EXPECT_EQ(dialogueRecording("dialogue_cover_r1", lmStageInfo::kLangRussian, onlyR1),
            "dialogue_cover_r1_ru");
  EXPECT_EQ(asked.size(), 2u);
}

}  // namespace
