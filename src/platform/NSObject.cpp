#include "NSObject.h"

#include <atomic>
#include <cstdio>
#include <typeinfo>

#include <cxxabi.h>

#include "Assert.h"
#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"

namespace {
std::atomic<std::int64_t> gLiveObjects{0};
}  // namespace

NSObject::NSObject() {
  ++gLiveObjects;
}

NSObject::~NSObject() {
  --gLiveObjects;
}

void NSObject::release() {
  CCAssert(retainCount_ > 0, "release of an object with no references");
  if (--retainCount_ == 0) delete this;
}

NSObject* NSObject::autorelease() {
  NSAutoreleasePool::current().addObject(this);
  return this;
}

std::string NSObject::className() const {
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : typeid(*this).name();
  std::free(demangled);
  return name;
}

std::string NSObject::description() const {
  return objectAddressPrefix(this) + ">";
}

std::string objectAddressPrefix(const NSObject* object) {
  char address[32];
  std::snprintf(address, sizeof address, "%08lX",
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(object)));
  std::string text = "<";
  text += object->className();
  text += " = ";
  text += address;
  return text;
}

std::int64_t NSObject::liveObjectCount() {
  return gLiveObjects;
}

void NSObject::performSelector(Selector<> sel, double afterDelay) {
  NSRunLoop::mainRunLoop().performAfterDelay(this, sel, afterDelay);
}

void NSObject::performSelector(Selector<NSObject*> sel, NSObject* withObject, double afterDelay) {
  NSRunLoop::mainRunLoop().performAfterDelay(this, sel, withObject, afterDelay);
}

void NSObject::cancelPreviousPerformRequestsWithTarget(NSObject* target) {
  NSRunLoop::mainRunLoop().cancelPerformRequests(target);
}

void NSObject::cancelPreviousPerformRequestsWithTarget(NSObject* target, Selector<> sel) {
  NSRunLoop::mainRunLoop().cancelPerformRequests(target, sel);
}

void NSObject::cancelPreviousPerformRequestsWithTarget(NSObject* target, Selector<NSObject*> sel,
                                                       NSObject* object) {
  NSRunLoop::mainRunLoop().cancelPerformRequests(target, sel, object);
}
