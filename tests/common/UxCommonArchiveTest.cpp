#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "NSCoder.h"
#include "NSKeyedUnarchiver.h"
#include "TestSupport.h"
#include "UxCommon.h"

namespace {
class Score : public NSObject, public NSCoding {
 public:
  std::string player;
  std::int64_t points = 0;
  void encodeWithCoder(NSCoder& coder) const override {
    coder.encodeString(player, "player");
    coder.encodeInteger(points, "points");
  }
  bool initWithCoder(NSCoder& coder) override {
    player = coder.decodeStringForKey("player");
    points = coder.decodeIntegerForKey("points");
    return true;
  }
};

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};
}  // namespace

TEST(UxCommonArchive, SavesAndLoadsInTheDocumentsFolder) {
  NSKeyedUnarchiver::registerClass<Score>();
  TempDir dir;
  ScopedEnv data("XDG_DATA_HOME", dir.path().c_str());
  auto score = makeObject<Score>();
  score->player = "reader";
  score->points = 1800;
  ASSERT_TRUE(UxCommon::bSaveToFileSerializable("scores/best.archive", score.get()));
  EXPECT_TRUE(std::filesystem::exists(dir.file("lumo-book/Documents/scores/best.archive")));

  auto loaded = dynamicPtrCast<Score>(UxCommon::objLoadFromFile("scores/best.archive"));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->player, "reader");
  EXPECT_EQ(loaded->points, 1800);
  EXPECT_NE(loaded.get(), score.get());

  EXPECT_FALSE(UxCommon::objLoadFromFile("absent.archive"));
  std::ofstream(dir.file("lumo-book/Documents/broken.archive")) << "{\"objects\": [";
  EXPECT_FALSE(UxCommon::objLoadFromFile("broken.archive"));
}

TEST(UxCommonArchive, RefusesNamesOutsideTheFolderAndMissingFolders) {
  TempDir dir;
  ScopedEnv data("XDG_DATA_HOME", dir.path().c_str());
  auto score = makeObject<Score>();
  EXPECT_FALSE(UxCommon::bSaveToFileSerializable("../escape.archive", score.get()));
  EXPECT_FALSE(UxCommon::bSaveToFileSerializable(dir.file("absolute.archive"), score.get()));
  EXPECT_FALSE(UxCommon::bSaveToFileSerializable("", score.get()));
  EXPECT_FALSE(std::filesystem::exists(dir.file("lumo-book/escape.archive")));
  // Objects that are not archivable are refused, and nothing is written.
  auto plain = makeObject<NSObject>();
  EXPECT_FALSE(UxCommon::bSaveToFileSerializable("plain.archive", plain.get()));
  EXPECT_FALSE(std::filesystem::exists(dir.file("lumo-book/Documents/plain.archive")));

  ScopedEnv noData("XDG_DATA_HOME", nullptr);
  ScopedEnv noHome("HOME", nullptr);
  EXPECT_FALSE(UxCommon::bSaveToFileSerializable("score.archive", score.get()));
  EXPECT_FALSE(UxCommon::objLoadFromFile("score.archive"));
}

TEST(UxCommonArchive, WriteFailureAnswersNo) {
  TempDir dir;
  ScopedEnv data("XDG_DATA_HOME", dir.path().c_str());
  // A file where the documents folder should be: nothing can be written under it.
  std::filesystem::create_directories(dir.file("lumo-book"));
  std::ofstream(dir.file("lumo-book/Documents")) << "not a folder";
  auto score = makeObject<Score>();
  EXPECT_FALSE(UxCommon::bSaveToFileSerializable("score.archive", score.get()));
}
