#include <gtest/gtest.h>

#include <cstdlib>

#include "Assert.h"
#include "LeakSuppressions.h"
#include "Log.h"
#include "ProgramNames.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
  return kSystemLibraryLeakSuppressions;
}
extern "C" const char* __lsan_default_options() {
  return kLeakSanitizerOptions;
}
#endif

namespace {
// Where the build put things, unless the caller says otherwise.
void setTestEnvironment() {
  setenv("LUMO_ASSETS", LUMO_TEST_ASSETS_DIR, 0);
  setenv("LUMO_SOURCE_DIR", LUMO_TEST_SOURCE_DIR, 0);
  setenv("LUMO_BINARY_DIR", LUMO_TEST_BINARY_DIR, 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // Usage records and crash reports of launched books stay in the build tree.
  setenv("XDG_STATE_HOME", LUMO_TEST_BINARY_DIR "/test-state", 0);
}
}  // namespace

// Engine assertions throw in tests so that a test can check their messages.
int main(int argc, char** argv) {
  setTestEnvironment();
  // Named as the book names itself, so logs and folders read as the program's.
  ProgramNames::set({"lumo-book", "Lumo Book"});
  ::testing::InitGoogleTest(&argc, argv);
  setAssertionMode(AssertionMode::Throw);
  setLogLevel(LogLevel::Error);
  return RUN_ALL_TESTS();
}
