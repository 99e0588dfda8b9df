#include "NSBundle.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "ProgramNames.h"

namespace fs = std::filesystem;

namespace {
// "%20" and friends back to bytes; a malformed escape is kept as it is.
std::string percentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit((unsigned char)text[i + 1]) &&
        std::isxdigit((unsigned char)text[i + 2])) {
      out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// True for "http:", "mailto:", "javascript:" ...: a scheme before any slash.
bool hasScheme(const std::string& url) {
  const auto colon = url.find(':');
  if (colon == std::string::npos || colon == 0) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = url[i];
    if (!std::isalnum((unsigned char)c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

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

NSBundle::NSBundle() : paths_(standardSearchPaths()) {}

std::vector<std::string> NSBundle::standardSearchPaths() {
  std::vector<std::string> paths;
  if (const char* env = std::getenv("LUMO_ASSETS"); env && *env) paths.push_back(env);
  if (auto dir = executableDir(); !dir.empty()) {
    paths.push_back(dir + "/assets");
    // Installed: PREFIX/bin/COMMAND reads PREFIX/share/COMMAND, wherever PREFIX is.
    paths.push_back(
        (fs::path(dir).parent_path() / "share" / ProgramNames::current().command).string());
  }
  paths.push_back(LUMO_SOURCE_ASSETS);
  return paths;
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
  for (const auto& dir : ownedFolders_) {
    fs::path candidate = fs::path(dir) / file;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  if (ownedFiles_.count(file)) return {};
  for (const auto& dir : paths_) {
    fs::path candidate = fs::path(dir) / file;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  return {};
}

void NSBundle::setOwnedResources(std::vector<std::string> folders, std::set<std::string> files) {
  ownedFolders_ = std::move(folders);
  ownedFiles_ = std::move(files);
}

std::string NSBundle::fullPathFromRelativePath(const std::string& relative) const {
  if (relative.empty() || relative.front() == '/') return relative;
  std::string found = pathForResource(relative, "");
  return found.empty() ? relative : found;
}

std::string NSBundle::localPathForURL(const std::string& url, const std::string& baseFolder) const {
  std::string path = url.substr(0, url.find_first_of("?#"));
  if (path.rfind("file://", 0) == 0)
    path = path.substr(7);
  else if (hasScheme(path))
    return {};
  path = percentDecoded(path);
  if (path.empty() || path.find('\0') != std::string::npos) return {};
  fs::path candidate(path);
  if (candidate.is_relative()) {
    if (baseFolder.empty()) {
      candidate = pathForResource(path, "");
      if (candidate.empty()) return {};
    } else {
      candidate = fs::path(baseFolder) / candidate;
    }
  }
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(candidate, ec);
  if (ec) return {};
  for (const auto& dir : paths_) {
    fs::path root = fs::weakly_canonical(dir, ec);
    if (ec || root.empty()) continue;
    if (!root.has_filename()) root = root.parent_path();  // a trailing slash
    auto [rootEnd, at] = std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
    if (rootEnd == root.end() && at != resolved.end()) return resolved.string();
  }
  return {};
}
