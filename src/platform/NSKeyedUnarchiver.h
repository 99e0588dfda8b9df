#pragma once
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "NSCoder.h"

// Reads back what NSKeyedArchiver wrote. Archive bytes are untrusted: anything
// malformed (bad JSON, unknown class, wrong value kinds, dangling or circular
// references, an object refusing its values, excessive size or nesting) reads
// as null, never a crash, and logs one warning.
class NSKeyedUnarchiver : public NSCoder {
 public:
  static Ptr<NSObject> unarchiveObjectWithData(const std::string& data);
  // Null when the file is missing as well as when it is corrupt.
  static Ptr<NSObject> unarchiveObjectWithFile(const std::string& path);

  // Makes class T readable from archives, under the name its objects report.
  template <class T>
  static void registerClass() {
    static_assert(std::is_base_of_v<NSObject, T> && std::is_base_of_v<NSCoding, T>,
                  "archived classes are engine objects implementing NSCoding");
    registerFactory(typeid(T), [] { return Ptr<NSObject>(makeObject<T>()); });
  }
  static void registerFactory(const std::type_info& type, std::function<Ptr<NSObject>()> make);

  static constexpr std::size_t kMaxArchiveBytes = 64u << 20;
  static constexpr int kMaxObjectDepth = 200;

  ~NSKeyedUnarchiver() override;

  bool containsValueForKey(const std::string& key) const override;
  bool decodeBoolForKey(const std::string& key) override;
  std::int64_t decodeIntegerForKey(const std::string& key) override;
  double decodeDoubleForKey(const std::string& key) override;
  std::string decodeStringForKey(const std::string& key) override;
  Ptr<NSObject> decodeObjectForKey(const std::string& key) override;
  std::vector<Ptr<NSObject>> decodeArrayForKey(const std::string& key) override;
  std::vector<std::string> decodeStringArrayForKey(const std::string& key) override;

  struct State;

 private:
  NSKeyedUnarchiver();
  std::unique_ptr<State> state_;
};
