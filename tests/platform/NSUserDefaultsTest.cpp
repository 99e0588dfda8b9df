#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "NSUserDefaults.h"
#include "TestSupport.h"

namespace {
std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(UserDefaults, RoundTripThroughTheFile) {
  TempDir dir;
  const std::string path = dir.file("lumo-book/defaults.json");
  {
    NSUserDefaults defaults(path);
    EXPECT_FALSE(defaults.stringForKey("Lan"));
    defaults.setObject("2001", "Lan");
    defaults.setNumber(0.5, "volume");
  }
  NSUserDefaults again(path);
  EXPECT_EQ(again.stringForKey("Lan").value_or(""), "2001");
  EXPECT_EQ(again.integerForKey("Lan"), 2001);
  EXPECT_DOUBLE_EQ(again.numberForKey("volume").value_or(0), 0.5);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << "the temporary file was left behind";
}

TEST(UserDefaults, CorruptFileIsEmptyAndKeptUntilAValueIsSet) {
  TempDir dir;
  const std::string path = dir.file("defaults.json");
  std::ofstream(path) << "{\"Lan\": \"2001\", broken";
  NSUserDefaults defaults(path);
  EXPECT_FALSE(defaults.hasKey("Lan"));
  EXPECT_TRUE(defaults.synchronize());
  EXPECT_EQ(readFile(path), "{\"Lan\": \"2001\", broken") << "nothing set: nothing written";
  defaults.setObject("2000", "Lan");
  NSUserDefaults reread(path);
  EXPECT_EQ(reread.stringForKey("Lan").value_or(""), "2000");
}

TEST(UserDefaults, UnwritableFolderFailsWithoutThrowing) {
  NSUserDefaults defaults("/proc/lumo-book-cannot/defaults.json");
  defaults.setObject("2000", "Lan");
  EXPECT_FALSE(defaults.synchronize());
  EXPECT_EQ(defaults.stringForKey("Lan").value_or(""), "2000") << "the value stays in memory";
}

TEST(UserDefaults, PathFollowsXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(NSUserDefaults::defaultPath(), "/tmp/xdg-test/lumo-book/defaults.json");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_NE(NSUserDefaults::defaultPath().find("/.config/lumo-book/defaults.json"),
            std::string::npos);
  if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}
