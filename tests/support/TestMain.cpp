#include <gtest/gtest.h>

#include "Assert.h"
#include "Log.h"

// Engine assertions throw in tests so that a test can check their messages.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setAssertionMode(AssertionMode::Throw);
  setLogLevel(LogLevel::Error);
  return RUN_ALL_TESTS();
}
