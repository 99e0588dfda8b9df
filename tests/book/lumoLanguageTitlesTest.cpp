#include "lumoLanguageTitles.h"

#include <gtest/gtest.h>

#include <string>

#include "KstStage.h"
#include "lmStageInfo.h"
#include "lumoBookNames.h"

namespace {

TEST(lumoLanguageTitlesTest, EachLanguageHasATitleOnTheCoverAndTheLastPage) {
  const std::int32_t russian = lmStageInfo::kLangRussian;
  const std::int32_t english = lmStageInfo::kLangEnglish;
  EXPECT_STREQ(lumoLanguageTitles::coverTitle(russian), "s1layer3-cn");
  EXPECT_STREQ(lumoLanguageTitles::coverTitle(english), "s1layer5-cn");
  EXPECT_STREQ(lumoLanguageTitles::closingTitle(russian), "s18layer2-cn");
  EXPECT_STREQ(lumoLanguageTitles::closingTitle(english), "s18layer3-cn");
  // A stored language the book does not know shows no title.
  EXPECT_EQ(lumoLanguageTitles::coverTitle(0), nullptr);
  EXPECT_EQ(lumoLanguageTitles::closingTitle(2002), nullptr);
  EXPECT_EQ(lumoLanguageTitles::otherLanguage(russian), english);
  EXPECT_EQ(lumoLanguageTitles::otherLanguage(english), russian);
}

// The titles are layers of the content table's first and last pages, built
// hidden as language layers.
TEST(lumoLanguageTitlesTest, TheTitlesAreLanguageLayersOfTheirPages) {
  Ptr<KstStage> stage = KstStage::stage();
  auto pageHas = [&](std::int32_t page, const std::string& title) {
    for (const std::string& line : stage->groundsForStage(page))
      if (line.rfind(title + "+", 0) == 0) return true;
    return false;
  };
  for (std::int32_t language : {lmStageInfo::kLangRussian, lmStageInfo::kLangEnglish}) {
    const std::string cover = lumoLanguageTitles::coverTitle(language);
    const std::string closing = lumoLanguageTitles::closingTitle(language);
    EXPECT_TRUE(lumoBookNames::isLanguageLayer(cover));
    EXPECT_TRUE(lumoBookNames::isLanguageLayer(closing));
    EXPECT_TRUE(pageHas(1, cover)) << cover;
    EXPECT_TRUE(pageHas(stage->totalStageCount(), closing)) << closing;
  }
}

}  // namespace
