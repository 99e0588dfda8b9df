#pragma once
#include <stdexcept>
#include <string>

// A failed engine assertion: the message, the operation, the source file label
// ("CCDirector", or "Classes/lumoWorld" in a module that labels its folder) and the line.
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
                                const std::string& sourceLabel, int line);

// Label of a source file as assertions report it: the folder label its
// module gives, then the file's stem ("Classes/" and "any/path/lumoWorld.cpp" make
// "Classes/lumoWorld").
std::string sourceFileLabel(const char* folderLabel, const char* sourcePath);

// A module may label its files' folder by defining ASSERTION_FOLDER_LABEL
// (as "Classes/") for its own build; files of other modules go by their stem alone.
#ifndef ASSERTION_FOLDER_LABEL
#define ASSERTION_FOLDER_LABEL ""
#endif

// The label of the file this is expanded in.
#define ASSERTION_SOURCE_LABEL sourceFileLabel(ASSERTION_FOLDER_LABEL, __FILE__)

#define CCAssert(condition, message)                                                        \
  do {                                                                                      \
    if (!(condition)) failAssertion((message), __func__, ASSERTION_SOURCE_LABEL, __LINE__); \
  } while (0)
