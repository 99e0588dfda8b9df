#include "NSDictionary.h"

#include <cstdlib>

std::optional<NSValueVariant> NSDictionary::objectForKey(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

namespace {
double numberOf(const NSValueVariant& v) {
  if (auto b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto i = std::get_if<int>(&v)) return *i;
  if (auto f = std::get_if<float>(&v)) return *f;
  return std::strtod(std::get<std::string>(v).c_str(), nullptr);
}
}  // namespace

bool NSDictionary::boolValue(const std::string& key, bool fallback) const {
  auto v = objectForKey(key);
  if (!v) return fallback;
  if (auto s = std::get_if<std::string>(&*v))
    return *s == "YES" || *s == "true" || std::atoi(s->c_str()) != 0;
  return numberOf(*v) != 0;
}

int NSDictionary::intValue(const std::string& key, int fallback) const {
  auto v = objectForKey(key);
  return v ? static_cast<int>(numberOf(*v)) : fallback;
}

float NSDictionary::floatValue(const std::string& key, float fallback) const {
  auto v = objectForKey(key);
  return v ? static_cast<float>(numberOf(*v)) : fallback;
}

std::string NSDictionary::stringValue(const std::string& key, const std::string& fallback) const {
  auto v = objectForKey(key);
  return v ? describeValue(*v) : fallback;
}

std::string describeValue(const NSValueVariant& value) {
  if (auto b = std::get_if<bool>(&value)) return *b ? "1" : "0";
  if (auto i = std::get_if<int>(&value)) return std::to_string(*i);
  if (auto f = std::get_if<float>(&value)) {
    std::string s = std::to_string(*f);
    return s;
  }
  return std::get<std::string>(value);
}
