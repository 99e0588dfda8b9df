#include <gtest/gtest.h>

#include "NSUserDefaults.h"
#include "TestSupport.h"
#include "lumoResumeStore.h"

class lumoResumeStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json")); }
  void TearDown() override { NSUserDefaults::resetStandardUserDefaults(); }
  std::optional<std::string> stored() const {
    return NSUserDefaults::standardUserDefaults().stringForKey(lumoResumeStore::kPageKey);
  }
  TempDir dir;
  lumoResumeStore store{18};
};

TEST_F(lumoResumeStoreTest, StoryPagesAreStoredTheBooksEndsClearWhenReadTo) {
  EXPECT_FALSE(store.storedPage());
  store.pageSettled(1, false);  // the cover the book opens on
  EXPECT_FALSE(stored());
  store.pageSettled(2, true);
  EXPECT_EQ(stored(), "2");
  store.pageSettled(17, true);
  EXPECT_EQ(store.storedPage(), 17);

  // The book opens on the cover or the ending page: the place is kept.
  store.pageSettled(1, false);
  store.pageSettled(18, false);
  EXPECT_EQ(store.storedPage(), 17);
  // Reading to the ending page, or home, clears it, on disk too.
  store.pageSettled(18, true);
  EXPECT_FALSE(stored());
  store.pageSettled(9, true);
  store.pageSettled(1, true);
  EXPECT_FALSE(stored());
  NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
  EXPECT_FALSE(stored());
  store.pageSettled(9, true);
  NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
  EXPECT_EQ(store.storedPage(), 9);
}

TEST_F(lumoResumeStoreTest, AValueThatIsNoStoryPageIsNoPlaceToResume) {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  for (const char* bad : {"1", "18", "0", "-4", "x", "7a", " 7", "", "99999999999"}) {
    defaults.setObject(bad, lumoResumeStore::kPageKey);
    EXPECT_FALSE(store.storedPage()) << '"' << bad << '"';
  }
  defaults.setNumber(7.5, lumoResumeStore::kPageKey);
  EXPECT_FALSE(store.storedPage());
  defaults.setNumber(7, lumoResumeStore::kPageKey);  // a hand-edited number reads as its string
  EXPECT_EQ(store.storedPage(), 7);
}
