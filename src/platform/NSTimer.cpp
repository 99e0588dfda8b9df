#include "NSTimer.h"

#include "Clock.h"
#include "NSRunLoop.h"

NSTimer::NSTimer(double interval, NSObject* target, Selector<NSTimer*> sel, bool repeats)
    : interval_(interval), target_(target), sel_(sel), repeats_(repeats) {}

NSTimer::~NSTimer() = default;

Ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double interval, NSObject* target,
                                                     Selector<NSTimer*> sel, bool repeats) {
  auto timer = Ptr<NSTimer>::adopt(new NSTimer(interval, target, sel, repeats));
  timer->fireDate_ = Clock::current().seconds() + interval;
  NSRunLoop::mainRunLoop().addTimer(timer.get());
  return timer;
}

void NSTimer::invalidate() {
  if (!valid_) return;
  valid_ = false;
  NSRunLoop::mainRunLoop().removeTimer(this);
  target_ = nullptr;
}

void NSTimer::fire() {
  if (!valid_) return;
  Ptr<NSTimer> keep(this);
  Ptr<NSObject> target = target_;
  if (!repeats_) invalidate();
  sel_(target.get(), this);
}
