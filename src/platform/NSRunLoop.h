#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "NSObject.h"

class NSTimer;

// The main thread's run loop: delayed calls, timers and work posted from other
// threads, serviced once per frame by the main loop in time order.
class NSRunLoop {
 public:
  static NSRunLoop& mainRunLoop();

  void performAfterDelay(NSObject* target, Selector<> sel, double delay);
  void performAfterDelay(NSObject* target, Selector<NSObject*> sel, NSObject* object, double delay);
  void cancelPerformRequests(NSObject* target);
  void cancelPerformRequests(NSObject* target, Selector<> sel);
  void cancelPerformRequests(NSObject* target, Selector<NSObject*> sel, NSObject* object);

  void addTimer(NSTimer* timer);
  void removeTimer(NSTimer* timer);

  // Thread-safe: runs `work` on the main thread at the next servicing.
  void postToMainThread(std::function<void()> work);
  // Called after a post from another thread, so a sleeping main loop wakes.
  void setWakeUp(std::function<void()> wakeUp);

  // Runs everything due at the current clock time. Returns the number of calls made.
  int runDue();
  // Seconds from now to the next due item; negative when nothing is pending.
  double timeUntilNextEvent() const;

  struct PendingCall {
    std::string target;
    std::string selector;
    double fireTime;
  };
  std::vector<PendingCall> pendingCalls() const;
  // The clock was set by `seconds`: what is pending keeps its remaining delay.
  void clockDidJump(double seconds);
  // Drops everything (tests, shutdown), releasing what was retained.
  void reset();

 private:
  struct DelayedCall {
    std::uint64_t order;
    double fireTime;
    Ptr<NSObject> target;
    Ptr<NSObject> object;
    Selector<> sel0;
    Selector<NSObject*> sel1;
    bool cancelled = false;
  };
  std::vector<DelayedCall> calls_;
  std::vector<NSTimer*> timers_;  // retained
  std::uint64_t nextOrder_ = 0;
  mutable std::mutex postedMutex_;
  std::vector<std::function<void()>> posted_;
  std::function<void()> wakeUp_;

  void schedule(DelayedCall call, double delay);
  int runPosted();
  bool runOneDueCall(double now);
  bool runOneDueTimer(double now);
};
