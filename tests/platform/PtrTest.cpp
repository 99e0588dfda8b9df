#include <gtest/gtest.h>

#include "NSObject.h"

namespace {
class Base : public NSObject {};
class Derived : public Base {};
}  // namespace

// Ownership moves and converts between related types without losing or adding references.
TEST(Ptr, ConversionsKeepCountsBalanced) {
  const auto before = NSObject::liveObjectCount();
  {
    Ptr<Derived> derived = makeObject<Derived>();
    Ptr<Base> base;
    base = derived;  // copy-assign across types
    EXPECT_EQ(derived->retainCount(), 2u);
    base = makeObject<Derived>();  // move-assign across types
    EXPECT_EQ(derived->retainCount(), 1u);
    EXPECT_EQ(base->retainCount(), 1u);
    Ptr<Base> moved(std::move(derived));
    EXPECT_FALSE(derived);
    EXPECT_EQ(moved->retainCount(), 1u);
    base = moved.get();
    EXPECT_EQ(moved->retainCount(), 2u);
    Ptr<Base>& same = base;
    base = same;  // self-assignment keeps the object
    EXPECT_EQ(moved->retainCount(), 2u);
    Derived* raw = static_cast<Derived*>(moved.leak());
    base = nullptr;
    EXPECT_EQ(raw->retainCount(), 1u);
    auto adopted = Ptr<Derived>::adopt(raw);
    EXPECT_EQ(dynamicPtrCast<Derived>(Ptr<Base>(adopted)).get(), raw);
  }
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}
