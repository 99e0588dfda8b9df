#pragma once
#include <utility>
#include <vector>

#include "CC3OpenGLES11StateTracker.h"

// A container of trackers, opened and closed in the order they were added.
class CC3OpenGLES11StateTrackerManager : public CC3OpenGLES11StateTracker {
 public:
  CC3OpenGLES11StateTrackerManager() = default;

  // `init` builds the manager's trackers; `initMinimal` leaves it empty.
  bool init() {
    initializeTrackers();
    return true;
  }
  bool initMinimal() { return true; }

  void open() override { openTrackers(trackers_); }
  void close() override { closeTrackers(trackers_); }

  const std::vector<Ptr<CC3OpenGLES11StateTracker>>& trackers() const { return trackers_; }
  void addTracker(CC3OpenGLES11StateTracker* tracker) { trackers_.emplace_back(tracker); }

 protected:
  virtual void initializeTrackers() {}

  // Creates a tracker and adds it to those opened and closed here.
  template <class T, class... Args>
  Ptr<T> track(Args&&... args) {
    Ptr<T> tracker = makeObject<T>(std::forward<Args>(args)...);
    addTracker(tracker.get());
    return tracker;
  }

 private:
  std::vector<Ptr<CC3OpenGLES11StateTracker>> trackers_;
};
