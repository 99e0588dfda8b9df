#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lumo-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  path_ = made ? made : "";
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}
