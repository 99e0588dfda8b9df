#pragma once
#include <memory>
#include <optional>
#include <string>

#include "NSCoder.h"

// Writes an object graph as a keyed archive (JSON text): each object once,
// with its class name and keyed values; references between objects by index.
class NSKeyedArchiver : public NSCoder {
 public:
  // The archive bytes; absent when an object in the graph is not NSCoding,
  // when the graph has a cycle, or when a string is not valid UTF-8.
  static std::optional<std::string> archivedDataWithRootObject(NSObject* root);
  // Writes the archive to `path` atomically. False when encoding or writing fails.
  static bool archiveRootObject(NSObject* root, const std::string& path);

  ~NSKeyedArchiver() override;

  void encodeBool(bool value, const std::string& key) override;
  void encodeInteger(std::int64_t value, const std::string& key) override;
  void encodeDouble(double value, const std::string& key) override;
  void encodeString(const std::string& value, const std::string& key) override;
  void encodeObject(NSObject* object, const std::string& key) override;
  void encodeArray(const std::vector<Ptr<NSObject>>& objects, const std::string& key) override;
  void encodeStringArray(const std::vector<std::string>& strings, const std::string& key) override;

 private:
  NSKeyedArchiver();
  struct State;
  std::unique_ptr<State> state_;
};
