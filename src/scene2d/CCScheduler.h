#pragma once
#include <vector>

#include "CCTimer.h"
#include "NSObject.h"
#include "ccTypes.h"

struct CCSchedulerListEntry;
struct CCSchedulerUpdateRecord;
struct CCSchedulerTimerRecord;

// The engine's one clock: every frame `tick` calls the per-frame updates by
// priority (negative, zero in arrival order, positive) and then the interval
// timers, target by target in the order they were first scheduled.
class CCScheduler : public NSObject {
 public:
  static CCScheduler* sharedScheduler();
  static void purgeSharedScheduler();
  CCScheduler();
  ~CCScheduler() override;

  void tick(ccSeconds dt);

  void scheduleSelector(Selector<ccSeconds> sel, NSObject* target, ccSeconds interval, bool paused);
  void unscheduleSelector(Selector<ccSeconds> sel, NSObject* target);

  // The target's `update` is called every frame.
  template <class T>
  void scheduleUpdateForTarget(T* target, int priority, bool paused) {
    scheduleUpdate(target, makeSelector(&T::update, "update"), priority, paused);
  }
  void scheduleUpdate(NSObject* target, Selector<ccSeconds> update, int priority, bool paused);
  void unscheduleUpdateForTarget(NSObject* target);

  void unscheduleAllSelectorsForTarget(NSObject* target);
  void unscheduleAllSelectors();
  void pauseTarget(NSObject* target);
  void resumeTarget(NSObject* target);
  bool isTargetPaused(NSObject* target) const;

  float timeScale() const { return timeScale_; }
  void setTimeScale(float scale) { timeScale_ = scale; }

  // Counts for tests and the state dump.
  std::size_t updateCount() const;
  std::size_t timerTargetCount() const;

 private:
  float timeScale_ = 1.0f;
  CCSchedulerListEntry* updatesNeg_ = nullptr;
  CCSchedulerListEntry* updates0_ = nullptr;
  CCSchedulerListEntry* updatesPos_ = nullptr;
  CCSchedulerUpdateRecord* hashForUpdates_ = nullptr;
  CCSchedulerTimerRecord* hashForSelectors_ = nullptr;
  CCSchedulerTimerRecord* currentTarget_ = nullptr;
  bool currentTargetSalvaged_ = false;
  // While the update lists are walked, removed entries are only marked and
  // entries added are not called until the next tick.
  bool updateWalkActive_ = false;
  unsigned tickSerial_ = 0;
  std::vector<CCSchedulerListEntry*> deferredFrees_;

  void priorityIn(CCSchedulerListEntry** list, NSObject* target, Selector<ccSeconds> update,
                  int priority, bool paused);
  void appendIn(CCSchedulerListEntry** list, NSObject* target, Selector<ccSeconds> update,
                bool paused);
  void removeTimerRecord(CCSchedulerTimerRecord* record);
  void walkUpdates(CCSchedulerListEntry* list, ccSeconds dt);
  void runTimers(ccSeconds dt);
  void releaseTarget(NSObject* target);
  void setTargetPaused(NSObject* target, bool paused, const char* unknownError);
};
