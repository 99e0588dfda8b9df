#include <gtest/gtest.h>

#include <filesystem>
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

// A page's links reach only files inside the resource folders.
TEST(Bundle, LocalPathForURLStaysInsideTheFolders) {
  NSBundle& bundle = NSBundle::mainBundle();
  const auto saved = bundle.searchPaths();
  TempDir top;
  const std::string assets = top.file("assets");
  std::filesystem::create_directories(assets + "/credits");
  std::ofstream(assets + "/credits/page.html") << "x";
  std::ofstream(assets + "/credits/two words.html") << "x";
  std::ofstream(assets + "/other.html") << "x";
  std::ofstream(top.file("secret.html")) << "x";
  std::filesystem::create_symlink(top.file("secret.html"), assets + "/link.html");
  bundle.setSearchPaths({assets + "/"});
  const std::string base = assets + "/credits/";

  EXPECT_EQ(bundle.localPathForURL("page.html#made", base), assets + "/credits/page.html");
  EXPECT_EQ(bundle.localPathForURL("../other.html?x=1", base), assets + "/other.html");
  EXPECT_EQ(bundle.localPathForURL("two%20words.html", base), assets + "/credits/two words.html");
  EXPECT_EQ(bundle.localPathForURL("credits/page.html", ""), assets + "/credits/page.html");
  EXPECT_EQ(bundle.localPathForURL("file://" + assets + "/other.html", base),
            assets + "/other.html");
  EXPECT_EQ(bundle.localPathForURL("../../secret.html", base), "") << "climbs out";
  EXPECT_EQ(bundle.localPathForURL(top.file("secret.html"), base), "") << "absolute, outside";
  EXPECT_EQ(bundle.localPathForURL("file://" + top.file("secret.html"), base), "");
  EXPECT_EQ(bundle.localPathForURL("../link.html", base), "") << "a link leading out";
  EXPECT_EQ(bundle.localPathForURL("http://example.com/page.html", base), "");
  EXPECT_EQ(bundle.localPathForURL("mailto:someone@example.com", base), "");
  EXPECT_EQ(bundle.localPathForURL("javascript:alert(1)", base), "");
  EXPECT_EQ(bundle.localPathForURL("", base), "");
  EXPECT_EQ(bundle.localPathForURL(assets, base), "") << "the folder itself is no page";
  bundle.setSearchPaths(saved);
}
