#include "NSBundle.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string executableDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}
}  // namespace

NSBundle& NSBundle::mainBundle() {
  static NSBundle bundle;
  return bundle;
}

NSBundle::NSBundle() {
  if (const char* env = std::getenv("LUMO_ASSETS"); env && *env) paths_.push_back(env);
  if (auto dir = executableDir(); !dir.empty()) {
    paths_.push_back(dir + "/assets");
    // Installed: PREFIX/bin/lumo-book reads PREFIX/share/lumo-book, wherever PREFIX is.
    paths_.push_back((fs::path(dir).parent_path() / "share" / "lumo-book").string());
  }
  paths_.push_back(LUMO_SOURCE_ASSETS);
}

bool NSBundle::hasAnyFolder() const {
  std::error_code ec;
  for (const auto& p : paths_)
    if (fs::is_directory(p, ec)) return true;
  return false;
}

std::string NSBundle::pathForResource(const std::string& name, const std::string& type) const {
  if (name.empty()) return {};
  std::string file = type.empty() ? name : name + "." + type;
  std::error_code ec;
  for (const auto& dir : paths_) {
    fs::path candidate = fs::path(dir) / file;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  return {};
}

std::string NSBundle::fullPathFromRelativePath(const std::string& relative) const {
  if (relative.empty() || relative.front() == '/') return relative;
  std::string found = pathForResource(relative, "");
  return found.empty() ? relative : found;
}
