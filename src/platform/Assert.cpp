#include "Assert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "Log.h"

namespace {
std::atomic<AssertionMode> gMode{AssertionMode::Abort};
}

AssertionFailure::AssertionFailure(std::string msg, std::string op, std::string f, int l)
    : std::logic_error(msg),
      message(std::move(msg)),
      operation(std::move(op)),
      file(std::move(f)),
      line(l) {}

void setAssertionMode(AssertionMode mode) {
  gMode = mode;
}
AssertionMode assertionMode() {
  return gMode;
}

std::string sourceFileLabel(const char* folderLabel, const char* sourcePath) {
  std::string_view path(sourcePath);
  auto slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  return folderLabel + std::string(name);
}

void failAssertion(const std::string& message, const char* operation, const std::string& label,
                   int line) {
  if (gMode == AssertionMode::Throw) throw AssertionFailure(message, operation, label, line);
  logMessage(LogLevel::Error, "Assertion failure in " + std::string(operation) + ", " + label +
                                  ":" + std::to_string(line) + ": " + message);
  std::abort();
}
