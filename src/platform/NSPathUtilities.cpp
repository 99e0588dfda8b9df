#include "NSPathUtilities.h"

#include <cstdlib>
#include <filesystem>

#include "ProgramNames.h"

std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains, bool) {
  if (directory != NSDocumentDirectory || !(domains & NSUserDomainMask)) return {};
  std::filesystem::path base;
  const char* data = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (data && *data == '/') {
    base = data;
  } else if (home && *home) {
    base = std::filesystem::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return {(base / ProgramNames::current().command / "Documents").string()};
}
