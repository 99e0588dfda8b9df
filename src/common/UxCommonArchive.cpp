#include <filesystem>

#include "NSKeyedArchiver.h"
#include "NSKeyedUnarchiver.h"
#include "NSPathUtilities.h"
#include "UxCommon.h"

namespace fs = std::filesystem;

// The file's path in the documents folder, or empty when there is no folder
// or the name would lead out of it.
std::string UxCommon::documentPathOfS(const std::string& name) {
  const auto folders =
      NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
  if (folders.empty() || name.empty()) return {};
  const fs::path relative(name);
  if (relative.is_absolute()) return {};
  for (const auto& part : relative)
    if (part == "..") return {};
  return (fs::path(folders.front()) / relative).string();
}

Ptr<NSObject> UxCommon::objLoadFromFile(const std::string& name) {
  const std::string path = documentPathOfS(name);
  return path.empty() ? nullptr : NSKeyedUnarchiver::unarchiveObjectWithFile(path);
}

bool UxCommon::bSaveToFileSerializable(const std::string& name, NSObject* object) {
  const std::string path = documentPathOfS(name);
  return !path.empty() && NSKeyedArchiver::archiveRootObject(object, path);
}
