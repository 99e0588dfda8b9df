#pragma once
#include <map>
#include <optional>
#include <string>
#include <variant>

// The small dictionaries the platform passes around (notification user
// information): values are booleans, integers, floats or strings.
using NSValueVariant = std::variant<bool, int, float, std::string>;

class NSDictionary {
 public:
  NSDictionary() = default;
  NSDictionary(std::initializer_list<std::pair<const std::string, NSValueVariant>> items)
      : values_(items) {}

  void setObject(const NSValueVariant& value, const std::string& key) { values_[key] = value; }
  bool contains(const std::string& key) const { return values_.count(key) != 0; }
  std::optional<NSValueVariant> objectForKey(const std::string& key) const;
  // Typed reads; numbers convert between kinds, strings parse as numbers.
  bool boolValue(const std::string& key, bool fallback = false) const;
  int intValue(const std::string& key, int fallback = 0) const;
  float floatValue(const std::string& key, float fallback = 0) const;
  std::string stringValue(const std::string& key, const std::string& fallback = "") const;
  std::size_t count() const { return values_.size(); }
  bool empty() const { return values_.empty(); }
  const std::map<std::string, NSValueVariant>& items() const { return values_; }
  bool operator==(const NSDictionary& other) const { return values_ == other.values_; }

 private:
  std::map<std::string, NSValueVariant> values_;
};

std::string describeValue(const NSValueVariant& value);
