// The preferences file on arbitrary bytes: reading every key in every form
// stays defined, and storing "Lan" keeps every other value that was read.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "Log.h"
#include "NSUserDefaults.h"

namespace {
std::string gDir, gPath;

void removeDir() {
  std::error_code ignored;
  std::filesystem::remove_all(gDir, ignored);
}

struct Seen {
  std::string key;
  std::optional<std::string> text;
  std::optional<double> number;
  long integer;
};

Seen read(const NSUserDefaults& defaults, const std::string& key) {
  return {key, defaults.stringForKey(key), defaults.numberForKey(key), defaults.integerForKey(key)};
}

bool same(const std::optional<double>& a, const std::optional<double>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || *a == *b || (std::isnan(*a) && std::isnan(*b));
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  // Every store syncs the file: in memory that costs nothing.
  const bool shm = std::filesystem::is_directory("/dev/shm");
  std::string dir = shm ? "/dev/shm/fuzz_defaults.XXXXXX" : "/tmp/fuzz_defaults.XXXXXX";
  if (!mkdtemp(dir.data())) std::abort();
  gDir = dir;
  gPath = gDir + "/defaults.json";
  std::atexit(removeDir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(gPath.c_str(), "wb");
  if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) std::abort();

  // The keys the file names, found independently of the reader.
  std::vector<std::string> keys = {"Lan", "volume"};
  auto json = nlohmann::json::parse(data, data + size, nullptr, false);
  if (!json.is_discarded() && json.is_object())
    for (auto& item : json.items()) keys.push_back(item.key());

  NSUserDefaults defaults(gPath);
  std::vector<Seen> before;
  for (const auto& key : keys)
    if (key != "Lan") before.push_back(read(defaults, key));

  defaults.setObject("2001", "Lan");
  NSUserDefaults again(gPath);
  if (again.stringForKey("Lan") != std::optional<std::string>("2001")) std::abort();
  for (const Seen& seen : before) {
    const Seen now = read(again, seen.key);
    if (now.text != seen.text || !same(now.number, seen.number) || now.integer != seen.integer)
      std::abort();
  }
  return 0;
}
