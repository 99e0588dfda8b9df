#include "CCFileUtils.h"

#include <filesystem>

#include "Assert.h"
#include "NSBundle.h"
#include "ccTypes.h"

namespace {
constexpr const char* kHDSuffix = "-hd";

bool isDoubleResolution() {
  return CC_CONTENT_SCALE_FACTOR() == 2.0f;
}

std::size_t lastComponentStart(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// Where the extension starts in the last component; ".ccz" and ".gz" count
// together with the extension before them (a.pvr.ccz -> ".pvr.ccz").
std::size_t extensionStart(const std::string& path) {
  std::size_t base = lastComponentStart(path);
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < base) return path.size();
  std::string ext = path.substr(dot + 1);
  if ((ext == "ccz" || ext == "gz") && dot > base) {
    std::size_t inner = path.rfind('.', dot - 1);
    if (inner != std::string::npos && inner >= base) return inner;
  }
  return dot;
}
}  // namespace

std::string CCFileUtils::fullPathFromRelativePath(const std::string& relPath) {
  CCAssert(!relPath.empty(), "CCFileUtils: Invalid path");
  std::string fullPath = relPath;
  if (relPath.front() != '/') {
    std::string found = NSBundle::mainBundle().pathForResource(relPath, "");
    if (!found.empty()) fullPath = found;
  }
  return getDoubleResolutionImage(fullPath);
}

std::string CCFileUtils::getDoubleResolutionImage(const std::string& path) {
  if (!isDoubleResolution()) return path;
  std::size_t base = lastComponentStart(path);
  std::size_t ext = extensionStart(path);
  if (path.substr(base, ext - base).find(kHDSuffix) != std::string::npos) return path;
  std::string hdPath = path.substr(0, ext) + kHDSuffix + path.substr(ext);
  std::error_code ec;
  return std::filesystem::is_regular_file(hdPath, ec) ? hdPath : path;
}

std::string ccRemoveHDSuffixFromFile(const std::string& path) {
  if (!isDoubleResolution()) return path;
  std::size_t base = lastComponentStart(path);
  std::string name = path.substr(base);
  for (std::size_t at = name.find(kHDSuffix); at != std::string::npos; at = name.find(kHDSuffix))
    name.erase(at, 3);
  return path.substr(0, base) + name;
}
