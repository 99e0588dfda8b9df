#pragma once
#include <string>

// Answers the usage recorder's questions about the application.
class MobClickDelegate {
 public:
  virtual ~MobClickDelegate() = default;
  // 24 lower-case hexadecimal digits naming the application in the records.
  virtual std::string appKey() = 0;
};
