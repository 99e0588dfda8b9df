#include "ProgramNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "Log.h"
#include "NSBundle.h"
#include "NSPathUtilities.h"
#include "NSUserDefaults.h"

namespace {
// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (saved_)
      setenv(name_, saved_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

// Names another program for the lifetime of the object.
class ScopedNames {
 public:
  explicit ScopedNames(ProgramNames names) : saved_(ProgramNames::current()) {
    ProgramNames::set(std::move(names));
  }
  ~ScopedNames() { ProgramNames::set(saved_); }

 private:
  ProgramNames saved_;
};

bool contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}
}  // namespace

// The platform's folders and log lines carry whatever name the program gives.
TEST(ProgramNames, FoldersAndLogLinesFollowTheProgramsNames) {
  ScopedEnv config("XDG_CONFIG_HOME", "/tmp/names-config");
  ScopedEnv data("XDG_DATA_HOME", "/tmp/names-data");
  ScopedNames names({"tale-reader", "Tale Reader"});
  EXPECT_EQ(ProgramNames::current().title, "Tale Reader");
  EXPECT_EQ(NSUserDefaults::defaultPath(), "/tmp/names-config/tale-reader/defaults.json");
  EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true),
            std::vector<std::string>{"/tmp/names-data/tale-reader/Documents"});
  const std::vector<std::string> assets = NSBundle::standardSearchPaths();
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
  const std::string installed =
      (executable.parent_path().parent_path() / "share" / "tale-reader").string();
  EXPECT_TRUE(contains(assets, installed)) << installed;
  for (const std::string& folder : assets)
    EXPECT_EQ(folder.find("/share/lumo-book"), std::string::npos) << folder;

  const LogLevel level = logLevel();
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  logMessage(LogLevel::Warning, "a line");
  const std::string line = testing::internal::GetCapturedStderr();
  setLogLevel(level);
  EXPECT_EQ(line, "tale-reader: warning: a line\n");
}
