#pragma once
#include <gtest/gtest.h>

#include "CC3Foundation.h"
#include "NSAutoreleasePool.h"
#include "NSObject.h"

// Each component within a float tolerance, with the vectors in the message.
#define EXPECT_VEC3_NEAR(actual, expected, tolerance)                                             \
  do {                                                                                            \
    CC3Vec3 a_ = (actual), e_ = (expected);                                                       \
    EXPECT_TRUE(std::fabs(a_.x - e_.x) <= (tolerance) && std::fabs(a_.y - e_.y) <= (tolerance) && \
                std::fabs(a_.z - e_.z) <= (tolerance))                                            \
        << NSStringFromCC3Vec3(a_) << " is not " << NSStringFromCC3Vec3(e_);                      \
  } while (0)

// Checks that everything created inside the scope is gone when it ends,
// after the scope's own autorelease pool has drained.
class LeakScope {
 public:
  LeakScope() : before_(NSObject::liveObjectCount()) {}
  ~LeakScope() {
    pool_.drain();
    EXPECT_EQ(NSObject::liveObjectCount(), before_) << "objects leaked";
  }

 private:
  std::int64_t before_;
  NSAutoreleasePool pool_;
};
