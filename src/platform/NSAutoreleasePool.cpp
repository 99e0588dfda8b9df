#include "NSAutoreleasePool.h"

#include <memory>

#include "NSObject.h"

namespace {
thread_local NSAutoreleasePool* tInnermost = nullptr;
thread_local std::unique_ptr<NSAutoreleasePool> tThreadPool;
}  // namespace

NSAutoreleasePool::NSAutoreleasePool() : outer_(tInnermost) {
  tInnermost = this;
}

NSAutoreleasePool::~NSAutoreleasePool() {
  drain();
  tInnermost = outer_;
}

void NSAutoreleasePool::addObject(NSObject* object) {
  objects_.push_back(object);
}

void NSAutoreleasePool::drain() {
  // Releasing may autorelease more objects into this pool: keep going until empty.
  while (!objects_.empty()) {
    std::vector<NSObject*> batch;
    batch.swap(objects_);
    for (NSObject* object : batch) object->release();
  }
}

NSAutoreleasePool& NSAutoreleasePool::current() {
  if (!tInnermost) tThreadPool = std::make_unique<NSAutoreleasePool>();
  return *tInnermost;
}
