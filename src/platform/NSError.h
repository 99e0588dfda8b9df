#pragma once
#include <string>

#include "NSObject.h"

// Why an operation failed: a domain, a code within it and a sentence for people.
class NSError : public NSObject {
 public:
  static Ptr<NSError> errorWithDomain(const std::string& domain, int code,
                                      const std::string& localizedDescription);

  const std::string& domain() const { return domain_; }
  int code() const { return code_; }
  const std::string& localizedDescription() const { return description_; }

 private:
  NSError() = default;
  std::string domain_;
  int code_ = 0;
  std::string description_;
};
