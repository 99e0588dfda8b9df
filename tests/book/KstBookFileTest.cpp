#include <gtest/gtest.h>

#include <string>

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

}  // namespace
