#pragma once
#include <vector>

class NSObject;

// Objects handed over with `autorelease` are released when the pool drains.
// The main loop keeps one pool per thread and drains it once per frame.
class NSAutoreleasePool {
 public:
  NSAutoreleasePool();
  ~NSAutoreleasePool();
  NSAutoreleasePool(const NSAutoreleasePool&) = delete;
  NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;

  void addObject(NSObject* object);
  void drain();
  std::size_t count() const { return objects_.size(); }

  // The innermost pool of this thread; one is created on demand.
  static NSAutoreleasePool& current();

 private:
  std::vector<NSObject*> objects_;
  NSAutoreleasePool* outer_;
};
