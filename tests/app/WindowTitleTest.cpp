#include "WindowTitle.h"

#include <gtest/gtest.h>

#include "DesktopWindow.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"

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
