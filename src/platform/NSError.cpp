#include "NSError.h"

Ptr<NSError> NSError::errorWithDomain(const std::string& domain, int code,
                                      const std::string& localizedDescription) {
  auto error = Ptr<NSError>::adopt(new NSError());
  error->domain_ = domain;
  error->code_ = code;
  error->description_ = localizedDescription;
  return error;
}
