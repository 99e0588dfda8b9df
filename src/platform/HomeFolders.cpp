#include "HomeFolders.h"

#include <unistd.h>

#include <filesystem>

#include "Log.h"

namespace fs = std::filesystem;

namespace {
bool gUnwritable = false;

bool canWrite(const fs::path& folder) {
  std::error_code ec;
  fs::path at = fs::absolute(folder, ec);
  while (!at.empty() && !fs::exists(at, ec)) {
    if (at == at.parent_path()) return false;
    at = at.parent_path();
  }
  return fs::is_directory(at, ec) && access(at.c_str(), W_OK | X_OK) == 0;
}
}  // namespace

bool HomeFolders::check(const std::vector<std::string>& folders) {
  for (const auto& folder : folders)
    if (!folder.empty() && canWrite(fs::path(folder))) {
      gUnwritable = false;
      return true;
    }
  gUnwritable = true;
  logWarningOnce("home-unwritable",
                 "nothing can be written in the home folder: the book reads with defaults "
                 "and keeps no preferences, usage log, crash reports or recordings");
  return false;
}

bool HomeFolders::unwritable() {
  return gUnwritable;
}

void HomeFolders::reset() {
  gUnwritable = false;
}
