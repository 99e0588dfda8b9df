#pragma once
#include <string>
#include <vector>

// Whether the program can keep anything in the reader's own folders. When not
// one of them can be written (a read-only home, a full quota, a folder that is
// a file), that is said once for the run, and the stores, which then fail on
// every write, stay quiet about it.
namespace HomeFolders {
// Looks at the folders the stores keep their files in, without making any:
// each is writable when it, or the nearest folder above it that exists, can
// be written. False, after the one message, when none can.
bool check(const std::vector<std::string>& folders);
// True once a check has found nothing writable.
bool unwritable();
// Back to unchecked (tests).
void reset();
}  // namespace HomeFolders
