#include <gtest/gtest.h>

#include <fstream>

#include "NSBundle.h"
#include "TestSupport.h"

// Resources are found in the first folder that has them; none found is an empty path.
TEST(Bundle, SearchesFoldersInOrder) {
  NSBundle& bundle = NSBundle::mainBundle();
  const auto saved = bundle.searchPaths();
  TempDir first, second;
  std::ofstream(second.file("hint_finger.png")) << "x";
  std::ofstream(first.file("background.mp3")) << "x";
  std::ofstream(second.file("background.mp3")) << "x";
  bundle.setSearchPaths({first.path() + "/missing", first.path(), second.path()});
  EXPECT_TRUE(bundle.hasAnyFolder());
  EXPECT_EQ(bundle.pathForResource("hint_finger", "png"), second.file("hint_finger.png"));
  EXPECT_EQ(bundle.pathForResource("background", "mp3"), first.file("background.mp3"));
  EXPECT_EQ(bundle.pathForResource("background.mp3", ""), first.file("background.mp3"));
  EXPECT_EQ(bundle.pathForResource("nil", "mp3"), "");
  EXPECT_EQ(bundle.pathForResource("", "mp3"), "");
  EXPECT_EQ(bundle.fullPathFromRelativePath("hint_finger.png"), second.file("hint_finger.png"));
  EXPECT_EQ(bundle.fullPathFromRelativePath("/abs/x.png"), "/abs/x.png");
  bundle.setSearchPaths({first.path() + "/missing"});
  EXPECT_FALSE(bundle.hasAnyFolder());
  bundle.setSearchPaths(saved);
}
