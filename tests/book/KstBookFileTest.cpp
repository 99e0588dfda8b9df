#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "KstBookFile.h"
#include "KstStage.h"
#include "KstStory.h"

namespace {

// The content table a book gives, through the same class the built-in book fills.
Ptr<KstStage> stageOf(const KstStoryBook& book) {
  kstOpenBook(book);
  Ptr<KstStage> stage = KstStage::stage();
  kstOpenBook(kstBuiltInBook());
  return stage;
}

void expectSameTable(const KstStage& a, const KstStage& b) {
  EXPECT_EQ(a.totalStageCount(), b.totalStageCount());
  EXPECT_EQ(a.grounds(), b.grounds());
  EXPECT_EQ(a.asides(), b.asides());
  EXPECT_EQ(a.soundsRu(), b.soundsRu());
  EXPECT_EQ(a.soundsEn(), b.soundsEn());
  EXPECT_EQ(a.soundsCn(), b.soundsCn());
  EXPECT_EQ(a.dialogs(), b.dialogs());
  for (int page = 1; page <= a.totalStageCount(); ++page) {
    EXPECT_EQ(a.loopSoundForStage(page), b.loopSoundForStage(page)) << page;
    EXPECT_EQ(a.stopsLoopSoundOnStage(page), b.stopsLoopSoundOnStage(page)) << page;
  }
}

TEST(KstBookFile, TheBuiltInBookReadsBackIntoTheSameContentTable) {
  const std::string text = KstBookFile::write(kstBuiltInBook());
  KstStoryBook read;
  std::string error;
  ASSERT_TRUE(KstBookFile::read(text, "b/book.json", read, error)) << error;
  EXPECT_EQ(KstBookFile::write(read), text);
  EXPECT_EQ(read.titles.size(), kstBuiltInBook().titles.size());
  EXPECT_EQ(read.credits, kstBuiltInBook().credits);

  Ptr<KstStage> builtIn = KstStage::stage();
  Ptr<KstStage> fromFile = stageOf(read);
  ASSERT_TRUE(builtIn && fromFile);
  expectSameTable(*builtIn, *fromFile);
  // "nil" marks a page without recording, as in the compiled-in table.
  EXPECT_EQ(fromFile->soundsRu()[0], kKstNil);
  EXPECT_EQ(fromFile->asideForStage(18), KstStage::StringList{kKstNil});
}

TEST(KstBookFile, AShorterBookEndsOnItsOwnLastPage) {
  KstStoryBook book = kstBuiltInBook();
  book.pages.erase(book.pages.begin() + 2, book.pages.end() - 1);
  KstStoryBook read;
  std::string error;
  ASSERT_TRUE(KstBookFile::read(KstBookFile::write(book), "b/book.json", read, error)) << error;
  Ptr<KstStage> stage = stageOf(read);
  EXPECT_EQ(stage->totalStageCount(), 3);
  EXPECT_TRUE(stage->isLastStage(3));
  EXPECT_EQ(stage->groundsForStage(3)[1], "ground18+0+1024,2000|1,1|0,30,0|-90,0,0");
  EXPECT_EQ(stage->narrationSoundForStage(2, 2001), "QRB_p2_cn");
}

TEST(KstBookFile, ARefusedBookLeavesTheTargetAlone) {
  KstStoryBook book = kstBuiltInBook();
  std::string error;
  EXPECT_FALSE(KstBookFile::read("{\"format\": \"lumo-book\"}", "b/book.json", book, error));
  EXPECT_EQ(error, "b/book.json: at JSON pointer \"\": the field \"version\" is missing");
  EXPECT_EQ(book.pages.size(), kstBuiltInBook().pages.size());
  // A number no double holds is refused like any other bad JSON, not thrown.
  EXPECT_FALSE(KstBookFile::read("3e6666&2253#", "b/book.json", book, error));
  EXPECT_EQ(error, "b/book.json: at JSON pointer \"\": not valid JSON, a number out of range");
  EXPECT_FALSE(KstBookFile::read("{\"version\": 1e400}", "b/book.json", book, error));
  EXPECT_EQ(book.pages.size(), kstBuiltInBook().pages.size());
}

// The fields added after the first folders were written: those folders still
// open, with the defaults; a book that gives them is held to their shape.
TEST(KstBookFile, FigureNamesAndTheEndingAreOptionalButChecked) {
  nlohmann::json book = nlohmann::json::parse(KstBookFile::write(kstBuiltInBook()));
  ASSERT_EQ(book["pages"][0]["figures"][0]["name"],
            nlohmann::json({{"ru", "Рыжик"}, {"en", "Ryzhik"}}));
  ASSERT_EQ(book["pages"][0]["figures"][1]["name"]["en"], "Bublik");
  auto readBack = [](const nlohmann::json& value, KstStoryBook& out, std::string& error) {
    return KstBookFile::read(value.dump(), "b/book.json", out, error);
  };
  KstStoryBook read;
  std::string error;

  nlohmann::json older = book;
  older.erase("ending");
  for (auto& page : older["pages"])
    for (auto& figure : page["figures"]) figure.erase("name");
  ASSERT_TRUE(readBack(older, read, error)) << error;
  EXPECT_TRUE(read.pages[0].figures[0].name.ru.empty());
  EXPECT_TRUE(read.ending.replay.offered && read.ending.credits.offered);
  EXPECT_EQ(read.ending.credits.en, "text_moreapps_cn");

  nlohmann::json own = book;
  own["ending"] = {{"replay", {{"ru", "again_ru"}, {"en", "again_en"}}}, {"credits", nullptr}};
  ASSERT_TRUE(readBack(own, read, error)) << error;
  EXPECT_EQ(read.ending.replay.en, "again_en");
  EXPECT_FALSE(read.ending.credits.offered);
  EXPECT_NE(KstBookFile::write(read).find("\"credits\": null"), std::string::npos);

  const std::pair<nlohmann::json, std::string> faults[] = {
      {{{"replay", {{"ru", "a/b"}, {"en", "x"}}}, {"credits", nullptr}},
       "at JSON pointer \"/ending/replay/ru\": \"a/b\" must be a file name"},
      {{{"replay", nullptr}}, "at JSON pointer \"/ending\": the field \"credits\" is missing"},
      {{{"replay", true}, {"credits", nullptr}},
       "at JSON pointer \"/ending/replay\": must be an object"},
  };
  for (const auto& [ending, message] : faults) {
    nlohmann::json bad = book;
    bad["ending"] = ending;
    EXPECT_FALSE(readBack(bad, read, error)) << ending;
    EXPECT_NE(error.find(message), std::string::npos) << error;
  }
  nlohmann::json badName = book;
  badName["pages"][1]["figures"][0]["name"] = {{"ru", "Рыжик"}};
  EXPECT_FALSE(readBack(badName, read, error));
  EXPECT_NE(error.find("\"/pages/1/figures/0/name\": the field \"en\" is missing"),
            std::string::npos)
      << error;
}

}  // namespace
