#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "KstSpriteFactory.h"
#include "KstStage.h"
#include "KstStory.h"
#include "TestSupport.h"

namespace {

// Characters, not bytes: the narration limits count letters.
std::size_t utf8Length(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class KstStageTest : public ::testing::Test {
 protected:
  Ptr<KstStage> stage = KstStage::stage();
};

TEST_F(KstStageTest, EveryPerPageListHoldsEighteenPages) {
  ASSERT_TRUE(stage);
  EXPECT_EQ(stage->totalStageCount(), 18);
  EXPECT_EQ(stage->grounds().size(), 18u);
  EXPECT_EQ(stage->asides().size(), 18u);
  EXPECT_EQ(stage->soundsRu().size(), 18u);
  EXPECT_EQ(stage->soundsEn().size(), 18u);
  EXPECT_EQ(stage->soundsCn().size(), 18u);
  for (int page = 1; page <= 18; ++page) {
    EXPECT_EQ(stage->grounds()[page - 1][0], std::to_string(page));
  }
  EXPECT_TRUE(stage->isLastStage(18));
  EXPECT_FALSE(stage->isLastStage(17));
}

TEST_F(KstStageTest, CoverAndEndingHaveNoNarration) {
  EXPECT_EQ(stage->asideForStage(1), KstStage::StringList{"nil"});
  EXPECT_EQ(stage->asideForStage(18), KstStage::StringList{"nil"});
  for (int page = 2; page <= 17; ++page) {
    const KstStage::StringList& aside = stage->asideForStage(page);
    ASSERT_EQ(aside.size(), 4u) << page;
    EXPECT_EQ(aside[0], "s" + std::to_string(page) + "Aside");
  }
}

TEST_F(KstStageTest, RecordingNamesAtTheBoundaries) {
  EXPECT_EQ(stage->soundsRu()[0], "nil");
  EXPECT_EQ(stage->soundsRu()[1], "QRB_p1_ru");
  EXPECT_EQ(stage->soundsRu()[16], "QRB_p16_ru");
  EXPECT_EQ(stage->soundsEn()[0], "QRB_p1");
  EXPECT_EQ(stage->soundsEn()[16], "QRB_p17");
  EXPECT_EQ(stage->soundsCn()[0], "QRB_p1_cn");
  EXPECT_EQ(stage->soundsCn()[16], "QRB_p17_cn");
  EXPECT_EQ(stage->soundsRu()[17], "nil");
  EXPECT_EQ(stage->soundsEn()[17], "nil");
  EXPECT_EQ(stage->soundsCn()[17], "nil");
  for (const auto* sounds : {&stage->soundsRu(), &stage->soundsEn(), &stage->soundsCn()}) {
    for (const std::string& name : *sounds) {
      EXPECT_TRUE(name == "nil" || name.rfind("QRB", 0) == 0) << name;
    }
  }
}

TEST_F(KstStageTest, NarrationSoundFollowsTheLanguage) {
  EXPECT_EQ(stage->narrationSoundForStage(1, 2000), "nil");
  EXPECT_EQ(stage->narrationSoundForStage(1, 2001), "QRB_p1_cn");
  EXPECT_EQ(stage->narrationSoundForStage(5, 2000), "QRB_p4_ru");
  EXPECT_EQ(stage->narrationSoundForStage(5, 2001), "QRB_p5_cn");
  EXPECT_EQ(stage->narrationSoundForStage(5, 1234), "QRB_p4_ru");
}

TEST_F(KstStageTest, CheckedLookupsRefuseBadPageNumbers) {
  EXPECT_ASSERTION(stage->groundsForStage(0), "index should begin at 1");
  EXPECT_ASSERTION(stage->asideForStage(-3), "index should begin at 1");
  EXPECT_ASSERTION(stage->narrationSoundForStage(0, 2000), "index should begin at 1");
  EXPECT_ASSERTION(stage->groundsForStage(19), "index should not pass the last page");
  EXPECT_EQ(stage->groundsForStage(18)[0], "18");
}

// The book's files report under the folder label its build gives them.
TEST_F(KstStageTest, AssertionsNameTheBooksFileUnderClasses) {
  try {
    stage->groundsForStage(0);
    ADD_FAILURE() << "no assertion";
  } catch (const AssertionFailure& failure) {
    EXPECT_EQ(failure.file, "Classes/KstStage");
  }
}

TEST_F(KstStageTest, DialogueLookups) {
  EXPECT_EQ(stage->dialogs().size(), 28u);
  EXPECT_EQ(stage->dialogs().at("s13layer4r-t"),
            "dialogue_page12_h1,dialogue_page12_h2,dialogue_page12_h3");
  EXPECT_EQ(stage->dialogs().at("s1layer2l-t"),
            "dialogue_cover_r1,dialogue_cover_r2,dialogue_cover_r3,dialogue_cover_r4");
  EXPECT_EQ(stage->dialogs().at("s17layer3-t"), "dialogue_page16_g1,dialogue_page16_g2");
  EXPECT_EQ(stage->dialogs().count("s13layer2"), 0u);
  EXPECT_EQ(stage->dialogs().count("ground13"), 0u);
  EXPECT_TRUE(stage->dialogNamesForLayer("s1layer4").empty());
  EXPECT_EQ(stage->dialogNamesForLayer("s14layer2-t"),
            (KstStage::StringList{"dialogue_page13_r1", "dialogue_page13_r2"}));
}

TEST_F(KstStageTest, DialogueNamesCountPagesFromTheFirstStoryPage) {
  const std::map<std::string, std::pair<std::string, int>> expected = {
      {"s1layer2l-t", {"cover_r", 4}},   {"s1layer2r-t", {"cover_b", 4}},
      {"s2layer1-t", {"page1_r", 4}},    {"s2layer2-t", {"page1_p", 4}},
      {"s3layer2l-t", {"page2_m", 4}},   {"s3layer2r-t", {"page2_r", 4}},
      {"s4layer2l-t", {"page3_b", 4}},   {"s4layer2r-t", {"page3_r", 4}},
      {"s5layer2-t", {"page4_r", 4}},    {"s6layer2-t", {"page5_b", 4}},
      {"s7layer3-t", {"page6_b", 4}},    {"s8layer2-t", {"page7_r", 4}},
      {"s9layer3-t", {"page8_r", 4}},    {"s10layer2-t", {"page9_b", 4}},
      {"s11layer4-t", {"page10_h", 3}},  {"s12layer2-t", {"page11_h", 3}},
      {"s13layer4l-t", {"page12_g", 3}}, {"s13layer4r-t", {"page12_h", 3}},
      {"s13layer3-t", {"page12_r", 3}},  {"s14layer2-t", {"page13_r", 2}},
      {"s14layer3-t", {"page13_g", 3}},  {"s15layer2-t", {"page14_b", 4}},
      {"s15layer4-t", {"page14_r", 4}},  {"s16layer1l-t", {"page15_g", 2}},
      {"s16layer1r-t", {"page15_r", 2}}, {"s16layer3-t", {"page15_h", 3}},
      {"s17layer2-t", {"page16_r", 2}},  {"s17layer3-t", {"page16_g", 2}},
  };
  ASSERT_EQ(stage->dialogs().size(), expected.size());
  for (const auto& [layer, names] : expected) {
    std::string joined;
    for (int i = 1; i <= names.second; ++i) {
      if (i > 1) joined += ',';
      joined += "dialogue_" + names.first + std::to_string(i);
    }
    ASSERT_EQ(stage->dialogs().count(layer), 1u) << layer;
    EXPECT_EQ(stage->dialogs().at(layer), joined);
  }
}

TEST_F(KstStageTest, PictureLayersStandInTheirPageOrder) {
  // identifier:layer id of each picture layer, ground and background omitted.
  const std::vector<std::string> pages = {
      "s1layer1:1 s1layer2l-t:2 s1layer2r-t:2 s1layer3-cn:3 s1layer5-cn:3 s1layer4:4",
      "s2layer1-t:1 s2layer2-t:2 s2layer3:3",
      "s3layer1:1 s3layer2l-t:2 s3layer2r-t:2 s3layer3:3",
      "s4layer1:1 s4layer2l-t:2 s4layer2r-t:2 s4layer3:3",
      "s5layer1:1 s5layer2-t:2 s5layer3:3",
      "s6layer1:1 s6layer2-t:2 s6layer3:3",
      "s7layer1:1 s7layer2:2 s7layer3-t:3",
      "s8layer1:1 s8layer2-t:2 s8layer3:3",
      "s9layer2:2 s9layer3-t:3",
      "s10layer1:1 s10layer2-t:2",
      "s11layer1:1 s11layer2:2 s11layer4-t:4",
      "s12layer1:1 s12layer2-t:2",
      "s13layer2:2 s13layer3-t:3 s13layer4l-t:4 s13layer4r-t:4",
      "s14layer1:1 s14layer2-t:2 s14layer3-t:3",
      "s15layer1:1 s15layer2-t:2 s15layer3:3 s15layer4-t:3",
      "s16layer1l-t:1 s16layer1r-t:1 s16layer2:2 s16layer3-t:3",
      "s17layer2-t:2 s17layer3-t:2",
      "s18layer2-cn:3 s18layer3-cn:3 s18layer4:4",
  };
  for (int page = 1; page <= 18; ++page) {
    const KstStage::StringList& list = stage->groundsForStage(page);
    const std::string n = std::to_string(page);
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[1], "ground" + n + "+0+1024,2000|1,1|0,30,0|-90,0,0");
    const std::string width = page == 15 ? "1021" : "1024";
    EXPECT_EQ(list.back(), "background" + n + "+10+" + width + ",722|1.0,1.0|0,100,0|90,0,0");
    std::string layers;
    for (std::size_t i = 2; i + 1 < list.size(); ++i) {
      Ptr<KstSpriteId> record = KstSpriteFactory::spriteIdWithLine(list[i]);
      ASSERT_TRUE(record) << list[i];
      if (!layers.empty()) layers += ' ';
      layers += record->identifier() + ":" + std::to_string(record->layerId());
    }
    EXPECT_EQ(layers, pages[page - 1]) << "page " << page;
  }
}

TEST_F(KstStageTest, PagesWrittenOutInFullMatchExactly) {
  EXPECT_EQ(stage->groundsForStage(1),
            (KstStage::StringList{"1", "ground1+0+1024,2000|1,1|0,30,0|-90,0,0",
                                  "s1layer1+1+1024,219|0.6,0.6|0,-220,0|90,0,0",
                                  "s1layer2l-t+2+258,348|0.5,0.5|-40,-180,0|90,0,0",
                                  "s1layer2r-t+2+449,517|0.5,0.5|40,-180,0|90,0,0",
                                  "s1layer3-cn+3+824,280|1,1|0,-100,230|90,0,0",
                                  "s1layer5-cn+3+569,300|1,1|0,-100,230|90,0,0",
                                  "s1layer4+4+826,627|1.1,1.1|0,-50,0|90,0,0",
                                  "background1+10+1024,722|1.0,1.0|0,100,0|90,0,0"}));
  EXPECT_EQ(stage->groundsForStage(2),
            (KstStage::StringList{"2", "ground2+0+1024,2000|1,1|0,30,0|-90,0,0",
                                  "s2layer1-t+1+527,545|0.5,0.5|-20,-220,0|90,0,0",
                                  "s2layer2-t+2+216,224|0.8,0.8|100,-180,0|90,0,0",
                                  "s2layer3+3+1024,716|0.9,0.8|0,-50,0|90,0,0",
                                  "background2+10+1024,722|1.0,1.0|0,100,0|90,0,0"}));
  EXPECT_EQ(stage->groundsForStage(13)[5], "s13layer4r-t+4+230,517|1.0,1.0|-0,-20,0|90,0,0");
  EXPECT_EQ(stage->groundsForStage(15)[3], "s15layer2-t+2+1021,387|0.65,0.65|0,-160,0|90,0,0");
}

TEST_F(KstStageTest, EveryLayoutLineParsesToPositiveSizesWithinTheCommonArrangement) {
  for (int page = 1; page <= 18; ++page) {
    const KstStage::StringList& list = stage->groundsForStage(page);
    std::int32_t index = 0;
    KstSpriteDictionary records = KstSpriteFactory::createWithStageInfo(list, &index);
    EXPECT_EQ(index, page);
    EXPECT_EQ(records.size(), list.size() - 1) << "page " << page;
    for (const auto& [identifier, record] : records) {
      SCOPED_TRACE(identifier);
      EXPECT_GT(record->width(), 0);
      EXPECT_GT(record->height(), 0);
      const int layer = record->layerId();
      if (layer == 0 || layer == 10) continue;
      EXPECT_GE(record->widthScale(), 0.4f);
      EXPECT_LE(record->widthScale(), 1.1f);
      EXPECT_GE(record->heightScale(), 0.4f);
      EXPECT_LE(record->heightScale(), 1.1f);
      EXPECT_GE(record->location().x, -160);
      EXPECT_LE(record->location().x, 125);
      EXPECT_EQ(record->rotation(), (CC3Vec3{90, 0, 0}));
      const bool title = endsWith(identifier, "-cn");
      EXPECT_EQ(record->location().z, title ? 230 : 0);
    }
  }
}

TEST_F(KstStageTest, EveryTouchableLayerHasExactlyOneDialogueEntry) {
  std::set<std::string> touchable;
  for (int page = 1; page <= 17; ++page) {
    const KstStage::StringList& list = stage->groundsForStage(page);
    for (std::size_t i = 1; i < list.size(); ++i) {
      const std::string identifier = list[i].substr(0, list[i].find('+'));
      if (endsWith(identifier, "-t")) {
        EXPECT_TRUE(touchable.insert(identifier).second);
      }
    }
  }
  EXPECT_EQ(touchable.size(), 28u);
  for (const std::string& layer : touchable) {
    EXPECT_EQ(stage->dialogs().count(layer), 1u) << layer;
  }
  for (const auto& [layer, names] : stage->dialogs()) {
    EXPECT_TRUE(touchable.count(layer)) << layer << " names no touchable layer";
  }
}

TEST_F(KstStageTest, NarrationLengthsAndPunctuation) {
  for (int page = 2; page <= 17; ++page) {
    SCOPED_TRACE(page);
    const KstStage::StringList& aside = stage->asideForStage(page);
    const std::size_t ru = utf8Length(aside[1]);
    const std::size_t en = utf8Length(aside[2]);
    const std::size_t cn = utf8Length(aside[3]);
    EXPECT_TRUE(ru >= 88 && ru <= 241) << ru;
    EXPECT_TRUE(en >= 89 && en <= 227) << en;
    EXPECT_TRUE(cn >= 23 && cn <= 88) << cn;
    // Straight quotes would slip past the typographic set the panel shows.
    for (const std::string* text : {&aside[1], &aside[2], &aside[3]}) {
      EXPECT_FALSE(contains(*text, "\"")) << *text;
      EXPECT_FALSE(contains(*text, "'")) << *text;
      EXPECT_FALSE(contains(*text, "...")) << *text;
      EXPECT_FALSE(contains(*text, "  ")) << *text;
    }
  }
}

TEST_F(KstStageTest, NarrationsUseTypographicPunctuation) {
  std::string ru, en, cn;
  for (int page = 2; page <= 17; ++page) {
    ru += stage->asideForStage(page)[1];
    en += stage->asideForStage(page)[2];
    cn += stage->asideForStage(page)[3];
  }
  for (const char* mark : {"«", "»", "—", "…"}) EXPECT_TRUE(contains(ru, mark)) << mark;
  for (const char* mark : {"’", "“", "”", "…"}) EXPECT_TRUE(contains(en, mark)) << mark;
  for (const char* mark : {"，", "。", "！", "：", "“", "”", "……"}) {
    EXPECT_TRUE(contains(cn, mark)) << mark;
  }
  // Chinese narration is Chinese throughout: no Latin letters.
  for (char c : cn) EXPECT_FALSE(std::isalpha(static_cast<unsigned char>(c))) << c;
}

// A character's names in the three narrations (Russian stems, to match every case).
struct CastMember {
  char initial;
  std::vector<std::string> ru;
  std::string en;
  std::string cn;
};

const std::vector<CastMember>& cast() {
  static const std::vector<CastMember> members = {
      {'r', {"Рыжик"}, "Ryzhik", "瑞奇"},   {'b', {"Бублик"}, "Bublik", "布布"},
      {'p', {"Пуговк"}, "Pugovka", "扣扣"}, {'m', {"Мам", "мам"}, "Mama", "妈妈"},
      {'h', {"Хом"}, "Homa", "霍马"},       {'g', {"Гош"}, "Gosha", "果沙"},
  };
  return members;
}

char initialOf(const std::string& dialogueName) {
  return dialogueName[dialogueName.size() - 2];
}

TEST_F(KstStageTest, NarrationsNameTheSameCharactersAndEverySpeaker) {
  for (int page = 2; page <= 17; ++page) {
    SCOPED_TRACE(page);
    const KstStage::StringList& aside = stage->asideForStage(page);
    std::set<char> inRu, inEn, inCn, speakers;
    for (const CastMember& member : cast()) {
      for (const std::string& stem : member.ru) {
        if (contains(aside[1], stem)) inRu.insert(member.initial);
      }
      if (contains(aside[2], member.en)) inEn.insert(member.initial);
      if (contains(aside[3], member.cn)) inCn.insert(member.initial);
    }
    EXPECT_EQ(inRu, inEn);
    EXPECT_EQ(inRu, inCn);
    for (std::size_t i = 2; i + 1 < stage->groundsForStage(page).size(); ++i) {
      const std::string& line = stage->groundsForStage(page)[i];
      for (const std::string& name : stage->dialogNamesForLayer(line.substr(0, line.find('+')))) {
        speakers.insert(initialOf(name));
      }
    }
    for (char speaker : speakers) EXPECT_TRUE(inRu.count(speaker)) << speaker << " is not named";
  }
}

TEST_F(KstStageTest, EachTouchableLayerIsOneKnownCharacter) {
  std::set<char> seen;
  for (const auto& [layer, list] : stage->dialogs()) {
    const KstStage::StringList names = stage->dialogNamesForLayer(layer);
    ASSERT_FALSE(names.empty()) << layer;
    for (const std::string& name : names) {
      EXPECT_EQ(initialOf(name), initialOf(names[0])) << name;
      seen.insert(initialOf(name));
    }
  }
  std::set<char> known;
  for (const CastMember& member : cast()) known.insert(member.initial);
  EXPECT_EQ(seen, known);
}

TEST(KstStoryTest, EveryDialogueRecordingHasOneShortRussianSentence) {
  std::set<std::string> recordings;
  std::size_t count = 0;
  for (const KstStoryPage& page : kstStoryPages()) {
    for (const KstStoryFigure& figure : page.figures) {
      for (const KstStoryLine& line : figure.lines) {
        SCOPED_TRACE(line.recording);
        ++count;
        EXPECT_TRUE(recordings.insert(line.recording).second) << "named twice";
        ASSERT_FALSE(line.ru.empty());
        EXPECT_LE(utf8Length(line.ru), 60u);
        EXPECT_TRUE(endsWith(line.ru, ".") || endsWith(line.ru, "!") || endsWith(line.ru, "?") ||
                    endsWith(line.ru, "…"));
        for (const char* stop : {". ", "! ", "? "}) EXPECT_FALSE(contains(line.ru, stop));
        EXPECT_FALSE(contains(line.ru, "\""));
      }
    }
  }
  EXPECT_EQ(count, 95u);
}

TEST(KstStoryTest, TitlesCoverBothLanguagesOnCoverAndEndingPage) {
  std::map<std::string, int> titles;
  for (const KstStoryTitle& title : kstStoryTitles()) {
    EXPECT_FALSE(title.text.empty());
    titles[title.identifier] = title.language;
  }
  EXPECT_EQ(titles, (std::map<std::string, int>{{"s1layer3-cn", 2000},
                                                {"s1layer5-cn", 2001},
                                                {"s18layer2-cn", 2000},
                                                {"s18layer3-cn", 2001}}));
  EXPECT_FALSE(kstStoryCredits().empty());
}

TEST(KstStageLifetimeTest, ReleasingTheTableFreesIt) {
  const std::int64_t before = NSObject::liveObjectCount();
  {
    Ptr<KstStage> stage = KstStage::stage();
    EXPECT_EQ(NSObject::liveObjectCount(), before + 1);
    EXPECT_EQ(stage->retainCount(), 1u);
  }
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}

}  // namespace
