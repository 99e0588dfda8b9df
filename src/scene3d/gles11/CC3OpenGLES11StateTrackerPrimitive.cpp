#include "CC3OpenGLES11StateTrackerPrimitive.h"

#include <cstdio>

#include "Assert.h"
#include "CC3OpenGLES11Calls.h"

void CC3OpenGLES11StateTrackerPrimitive::setOriginalValueHandling(
    CC3GLESStateOriginalValueHandling handling) {
  handling_ = handling;
  valueIsKnown_ = false;
}

void CC3OpenGLES11StateTrackerPrimitive::open() {
  switch (handling_) {
    case kCC3GLESStateOriginalValueIgnore:
      valueIsKnown_ = false;
      return;
    case kCC3GLESStateOriginalValueReadOnce:
    case kCC3GLESStateOriginalValueReadOnceAndRestore:
      if (valueIsKnown_) return;
      break;
    case kCC3GLESStateOriginalValueReadAlways:
    case kCC3GLESStateOriginalValueReadAlwaysAndRestore:
      break;
    default: {
      char handling[16];
      std::snprintf(handling, sizeof handling, "%u", unsigned(handling_));
      CCAssert(false, description() + " bad original value handling definition " + handling +
                          " for capability " + NSStringFromGLEnum(name_));
      return;
    }
  }
  if (name_ == 0) {
    valueIsKnown_ = false;
    return;
  }
  readOriginalValue();
  originalValueIsKnown_ = true;
}

void CC3OpenGLES11StateTrackerPrimitive::close() {
  // Never "restore" a value that was not read: that would impose a default
  // on the 2D engine instead of giving its own state back.
  if (CC3GLESStateHandlingRestores(handling_) && originalValueIsKnown_) restoreOriginalValue();
}

std::string CC3OpenGLES11StateTrackerPrimitive::description() const {
  return objectAddressPrefix(this) + " | " + NSStringFromGLEnum(name_) + ">";
}
