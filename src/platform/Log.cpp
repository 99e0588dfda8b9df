#include "Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <set>

#include "ProgramNames.h"

namespace {
std::atomic<LogLevel> gLevel{LogLevel::Warning};
std::mutex gMutex;
std::set<std::string>& seenKeys() {
  static std::set<std::string> keys;
  return keys;
}
const char* levelName(LogLevel level) {
  switch (level) {
    case LogLevel::Debug:
      return "debug";
    case LogLevel::Info:
      return "info";
    case LogLevel::Warning:
      return "warning";
    case LogLevel::Error:
      return "error";
    case LogLevel::Silent:
      break;
  }
  return "";
}
}  // namespace

void setLogLevel(LogLevel level) {
  gLevel = level;
}
LogLevel logLevel() {
  return gLevel;
}

void logMessage(LogLevel level, const std::string& text) {
  if (level < gLevel || level == LogLevel::Silent) return;
  std::lock_guard lock(gMutex);
  std::fprintf(stderr, "%s: %s: %s\n", ProgramNames::current().command.c_str(), levelName(level),
               text.c_str());
}

void logWarningOnce(const std::string& key, const std::string& text) {
  {
    std::lock_guard lock(gMutex);
    if (!seenKeys().insert(key).second) return;
  }
  logMessage(LogLevel::Warning, text);
}

void logFormat(LogLevel level, const char* format, ...) {
  if (level < gLevel) return;
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  logMessage(level, buffer);
}
