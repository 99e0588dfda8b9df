#pragma once
#include <gtest/gtest.h>

#include <string>

#include "Assert.h"
#include "Clock.h"

// Expects `statement` to fail an engine assertion whose message is `text`.
#define EXPECT_ASSERTION(statement, text)                             \
  do {                                                                \
    try {                                                             \
      statement;                                                      \
      ADD_FAILURE() << "expected the assertion \"" << (text) << "\""; \
    } catch (const AssertionFailure& failure) {                       \
      EXPECT_EQ(failure.message, std::string(text));                  \
    }                                                                 \
  } while (0)

// Installs a virtual clock for the lifetime of the object.
class ScopedVirtualClock {
 public:
  ScopedVirtualClock() { Clock::setCurrent(&clock_); }
  ~ScopedVirtualClock() { Clock::setCurrent(nullptr); }
  VirtualClock& operator*() { return clock_; }
  VirtualClock* operator->() { return &clock_; }

 private:
  VirtualClock clock_;
};

// A fresh temporary directory, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};
