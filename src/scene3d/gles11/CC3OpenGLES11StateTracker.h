#pragma once
#include <GLES/gl.h>

#include <vector>

#include "NSObject.h"
#include "Ptr.h"

// What a tracker does with the value in force before the 3D pass.
enum CC3GLESStateOriginalValueHandling : unsigned {
  kCC3GLESStateOriginalValueIgnore = 1,          // never read; first set always calls GL
  kCC3GLESStateOriginalValueReadOnce,            // read on the first open
  kCC3GLESStateOriginalValueReadAlways,          // read on every open
  kCC3GLESStateOriginalValueReadOnceAndRestore,  // read on the first open, restore on close
  kCC3GLESStateOriginalValueReadAlwaysAndRestore,
};

inline bool CC3GLESStateHandlingRestores(CC3GLESStateOriginalValueHandling handling) {
  return handling == kCC3GLESStateOriginalValueReadOnceAndRestore ||
         handling == kCC3GLESStateOriginalValueReadAlwaysAndRestore;
}

// Anything the state engine opens before 3D drawing and closes after it.
class CC3OpenGLES11StateTracker : public NSObject {
 public:
  virtual void open() {}
  virtual void close() {}

  template <class Tracker>
  static void openTrackers(const std::vector<Ptr<Tracker>>& trackers) {
    for (const auto& tracker : trackers) tracker->open();
  }
  template <class Tracker>
  static void closeTrackers(const std::vector<Ptr<Tracker>>& trackers) {
    for (const auto& tracker : trackers) tracker->close();
  }
};
