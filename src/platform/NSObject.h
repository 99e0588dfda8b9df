#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "Ptr.h"
#include "Selector.h"

// Root of every engine object: an intrusive reference count, starting at 1
// for the creator. `release` to zero deletes the object.
class NSObject {
 public:
  NSObject();
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;
  virtual ~NSObject();

  NSObject* retain() {
    ++retainCount_;
    return this;
  }
  void release();
  // Hands one reference to the current autorelease pool, drained once per frame.
  NSObject* autorelease();
  unsigned retainCount() const { return retainCount_; }

  virtual std::string className() const;
  virtual std::string description() const;

  // Delayed message sending on the main run loop; the target (this) and the
  // argument are retained until the call is made or cancelled.
  void performSelector(Selector<> selector, double afterDelay);
  void performSelector(Selector<NSObject*> selector, NSObject* withObject, double afterDelay);
  static void cancelPreviousPerformRequestsWithTarget(NSObject* target);
  static void cancelPreviousPerformRequestsWithTarget(NSObject* target, Selector<> selector);
  static void cancelPreviousPerformRequestsWithTarget(NSObject* target,
                                                      Selector<NSObject*> selector,
                                                      NSObject* object);

  // Live engine objects, for leak checks in tests.
  static std::int64_t liveObjectCount();

 private:
  // Atomic: the texture loader thread takes references too.
  std::atomic<unsigned> retainCount_{1};
};

// "<ClassName = 0xADDRESS" prefix shared by the engine's descriptions.
std::string objectAddressPrefix(const NSObject* object);
