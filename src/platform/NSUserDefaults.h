#pragma once
#include <map>
#include <optional>
#include <string>
#include <variant>

// Posted with no sender when a stored value changes (not when it is set again unchanged).
inline constexpr const char* NSUserDefaultsDidChangeNotification =
    "NSUserDefaultsDidChangeNotification";

// String and number preferences by key, kept in one JSON file
// ($XDG_CONFIG_HOME/COMMAND/defaults.json, else ~/.config/COMMAND/, COMMAND
// as in ProgramNames).
// A file that cannot be written keeps the values for the session, with one warning.
class NSUserDefaults {
 public:
  using Value = std::variant<std::string, double>;

  static NSUserDefaults& standardUserDefaults();
  // Points the shared instance at another file (tests); reloads from it.
  static void resetStandardUserDefaults(const std::string& path = "");
  static std::string defaultPath();

  explicit NSUserDefaults(std::string path);

  std::optional<std::string> stringForKey(const std::string& key) const;
  std::optional<double> numberForKey(const std::string& key) const;
  // Number read of a value stored either way; 0 when absent or not numeric.
  long integerForKey(const std::string& key) const;
  bool hasKey(const std::string& key) const { return values_.count(key) != 0; }

  void setObject(const std::string& value, const std::string& key);
  void setNumber(double value, const std::string& key);
  void removeObjectForKey(const std::string& key);
  // Writes the file if anything changed. False when it could not be written.
  bool synchronize();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::map<std::string, Value> values_;
  bool dirty_ = false;
  void load();
  void changed(bool differs);
  void set(const std::string& key, Value value);
};
