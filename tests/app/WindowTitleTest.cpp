#include "WindowTitle.h"

#include <gtest/gtest.h>

#include "DesktopWindow.h"
#include "KstStory.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"
#include "lmStageInfo.h"

// The title follows the stored reading language from start to finish, and no further.
TEST(WindowTitle, FollowsTheStoredLanguage) {
  TempDir dir;
  NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  DesktopWindow& window = DesktopWindow::shared();
  {
    auto title = WindowTitle::windowTitle();
    title->start();
    EXPECT_EQ(window.title(), "Lumo Book — Рыжик и звёздочка") << "Russian until told otherwise";
    defaults.setObject("2001", "Lan");
    EXPECT_EQ(window.title(), "Lumo Book — Ryzhik and the Little Star");
    defaults.setObject("off", "Music");
    EXPECT_EQ(window.title(), "Lumo Book — Ryzhik and the Little Star");
    defaults.setObject("2000", "Lan");
    EXPECT_EQ(window.title(), "Lumo Book — Рыжик и звёздочка");
    defaults.setObject("2002", "Lan");  // a language the book does not read: Russian
    EXPECT_EQ(window.title(), "Lumo Book — Рыжик и звёздочка");
  }
  defaults.setObject("2001", "Lan");
  EXPECT_EQ(window.title(), "Lumo Book — Рыжик и звёздочка") << "a title gone follows nothing";
  NSUserDefaults::resetStandardUserDefaults();
}

// A book read from a folder names the window with its own titles; one without
// an English title keeps its Russian one.
TEST(WindowTitle, NamesTheBookBeingRead) {
  KstStoryBook book = kstBuiltInBook();
  book.titles = {{"s1layer3-cn", lmStageInfo::kLangRussian, "Тук и кленовый лист"}};
  kstOpenBook(book);
  EXPECT_EQ(WindowTitle::titleForLanguage(lmStageInfo::kLangRussian),
            "Lumo Book — Тук и кленовый лист");
  EXPECT_EQ(WindowTitle::titleForLanguage(lmStageInfo::kLangEnglish),
            "Lumo Book — Тук и кленовый лист");
  book.titles.push_back({"s1layer5-cn", lmStageInfo::kLangEnglish, "Tuk and the Maple Leaf"});
  kstOpenBook(book);
  EXPECT_EQ(WindowTitle::titleForLanguage(lmStageInfo::kLangEnglish),
            "Lumo Book — Tuk and the Maple Leaf");
  book.titles.clear();
  kstOpenBook(book);
  EXPECT_EQ(WindowTitle::titleForLanguage(lmStageInfo::kLangRussian), "Lumo Book");
  kstOpenBook(kstBuiltInBook());
}
