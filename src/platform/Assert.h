#pragma once
#include <stdexcept>
#include <string>

// A failed engine assertion: the message, the operation, the source file label
// ("CCDirector", "Classes/lumoWorld") and the line.
struct AssertionFailure : std::logic_error {
  AssertionFailure(std::string message, std::string operation, std::string file, int line);
  std::string message;
  std::string operation;
  std::string file;
  int line;
};

enum class AssertionMode {
  Abort,  // the program: log and abort
  Throw   // tests: throw AssertionFailure
};

void setAssertionMode(AssertionMode mode);
AssertionMode assertionMode();

[[noreturn]] void failAssertion(const std::string& message, const char* operation,
                                const char* sourcePath, int line);

// Label of a source file as assertions report it: the file's stem, with
// "Classes/" in front for the book's own code.
std::string sourceFileLabel(const char* sourcePath);

#define CCAssert(condition, message)                                          \
  do {                                                                        \
    if (!(condition)) failAssertion((message), __func__, __FILE__, __LINE__); \
  } while (0)
