#pragma once
#include <string>

enum class LogLevel { Debug = 0, Info = 1, Warning = 2, Error = 3, Silent = 4 };

void setLogLevel(LogLevel level);
LogLevel logLevel();
// One line on stderr: "COMMAND: LEVEL: TEXT", COMMAND as in ProgramNames.
void logMessage(LogLevel level, const std::string& text);
// Logs `text` only the first time `key` is seen in this process.
void logWarningOnce(const std::string& key, const std::string& text);
// Printf-style convenience used by engine code.
void logFormat(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

#define CCLOG(...) logFormat(LogLevel::Debug, __VA_ARGS__)
#define CCLOGINFO(...) logFormat(LogLevel::Info, __VA_ARGS__)
#define CCLOGWARN(...) logFormat(LogLevel::Warning, __VA_ARGS__)
#define CCLOGERROR(...) logFormat(LogLevel::Error, __VA_ARGS__)
