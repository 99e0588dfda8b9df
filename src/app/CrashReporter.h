#pragma once
#include <string>
#include <vector>

// Writes a crash report when the program dies of a fatal signal (SIGSEGV,
// SIGBUS, SIGILL, SIGFPE, SIGABRT): the signal, the time and a backtrace, into
// "crash-<seconds>-<pid>.new" in its folder, or, when the disk will not take it
// whole, nothing but one line on stderr. The handler only makes
// async-signal-safe calls on memory prepared beforehand: it neither allocates
// nor locks. Then the signal takes its usual course.
class CrashReporter {
 public:
  // False when the folder's path is too long to keep.
  static bool install(const std::string& folder);
  static void uninstall();
  static bool isInstalled();

  // Reports left by earlier runs, renamed from ".new" to ".txt" and returned
  // (full paths, oldest first); of all ".txt" reports only the newest `keep`
  // stay. Reports cut short while written are removed.
  static std::vector<std::string> collectReports(const std::string& folder, int keep);
};
