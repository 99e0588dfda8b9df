#pragma once
#include "NSObject.h"

class NSRunLoop;

// A timer on the main run loop: calls its target's selector (with the timer)
// after `interval`, once or repeatedly. The target is retained until the
// timer is invalidated or, for a one-shot timer, has fired.
class NSTimer : public NSObject {
 public:
  static Ptr<NSTimer> scheduledTimerWithTimeInterval(double interval, NSObject* target,
                                                     Selector<NSTimer*> sel, bool repeats);
  ~NSTimer() override;

  void invalidate();
  bool isValid() const { return valid_; }
  double timeInterval() const { return interval_; }
  double fireDate() const { return fireDate_; }
  void fire();

 private:
  friend class NSRunLoop;
  NSTimer(double interval, NSObject* target, Selector<NSTimer*> sel, bool repeats);
  double interval_;
  Ptr<NSObject> target_;
  Selector<NSTimer*> sel_;
  bool repeats_;
  bool valid_ = true;
  double fireDate_ = 0;
};
