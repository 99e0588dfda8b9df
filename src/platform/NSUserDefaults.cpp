#include "NSUserDefaults.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "HomeFolders.h"
#include "Log.h"
#include "NSData.h"
#include "NSNotificationCenter.h"
#include "ProgramNames.h"

namespace fs = std::filesystem;

namespace {
std::unique_ptr<NSUserDefaults>& sharedSlot() {
  static std::unique_ptr<NSUserDefaults> shared;
  return shared;
}

}  // namespace

NSUserDefaults& NSUserDefaults::standardUserDefaults() {
  auto& shared = sharedSlot();
  if (!shared) shared = std::make_unique<NSUserDefaults>(defaultPath());
  return *shared;
}

void NSUserDefaults::resetStandardUserDefaults(const std::string& path) {
  sharedSlot() = std::make_unique<NSUserDefaults>(path.empty() ? defaultPath() : path);
}

std::string NSUserDefaults::defaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = fs::path(home && *home ? home : ".") / ".config";
  }
  return (base / ProgramNames::current().command / "defaults.json").string();
}

NSUserDefaults::NSUserDefaults(std::string path) : path_(std::move(path)) {
  load();
}

void NSUserDefaults::load() {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;  // no file yet: nothing stored
  std::stringstream text;
  text << in.rdbuf();
  auto json = nlohmann::json::parse(text.str(), nullptr, false);
  if (json.is_discarded() || !json.is_object()) {
    logWarningOnce("defaults:" + path_,
                   "the preferences file " + path_ + " is unreadable; using defaults");
    return;
  }
  for (auto& [key, value] : json.items()) {
    if (value.is_string())
      values_[key] = value.get<std::string>();
    else if (value.is_number())
      values_[key] = value.get<double>();
  }
}

std::optional<std::string> NSUserDefaults::stringForKey(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  if (auto s = std::get_if<std::string>(&it->second)) return *s;
  double d = std::get<double>(it->second);
  // Only a whole number within long long's range converts to one.
  if (d >= -0x1p63 && d < 0x1p63 && d == std::trunc(d))
    return std::to_string(static_cast<long long>(d));
  return std::to_string(d);
}

std::optional<double> NSUserDefaults::numberForKey(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  if (auto d = std::get_if<double>(&it->second)) return *d;
  const std::string& s = std::get<std::string>(it->second);
  char* end = nullptr;
  double d = std::strtod(s.c_str(), &end);
  if (end == s.c_str()) return std::nullopt;
  return d;
}

long NSUserDefaults::integerForKey(const std::string& key) const {
  auto d = numberForKey(key);
  if (!d || std::isnan(*d)) return 0;
  // Beyond long's range (a damaged file, "1e30", "inf") the nearest end.
  if (*d >= 0x1p63) return std::numeric_limits<long>::max();
  if (*d < -0x1p63) return std::numeric_limits<long>::min();
  return static_cast<long>(*d);
}

void NSUserDefaults::changed(bool differs) {
  dirty_ = true;
  synchronize();
  if (differs)
    NSNotificationCenter::defaultCenter().postNotificationName(NSUserDefaultsDidChangeNotification,
                                                               nullptr);
}

void NSUserDefaults::set(const std::string& key, Value value) {
  auto it = values_.find(key);
  const bool differs = it == values_.end() || it->second != value;
  values_[key] = std::move(value);
  changed(differs);
}

void NSUserDefaults::setObject(const std::string& value, const std::string& key) {
  set(key, value);
}

void NSUserDefaults::setNumber(double value, const std::string& key) {
  set(key, value);
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
  if (values_.erase(key)) changed(true);
}

bool NSUserDefaults::synchronize() {
  if (!dirty_) return true;
  nlohmann::json json = nlohmann::json::object();
  for (auto& [key, value] : values_) {
    if (auto s = std::get_if<std::string>(&value))
      json[key] = *s;
    else
      json[key] = std::get<double>(value);
  }
  if (!NSData::writeToFile(json.dump(2) + "\n", path_, true)) {
    if (!HomeFolders::unwritable())  // else said once for the whole home
      logWarningOnce("defaults-write:" + path_, "cannot write the preferences file " + path_);
    return false;
  }
  dirty_ = false;
  return true;
}
