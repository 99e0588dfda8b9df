#pragma once
#include "NSObject.h"
#include "ccTypes.h"

// Calls a selector on its target every `interval` seconds (0: every frame).
// The first frame only starts the clock.
class CCTimer : public NSObject {
 public:
  static Ptr<CCTimer> timerWithTarget(NSObject* target, Selector<ccSeconds> sel,
                                      ccSeconds interval = 0);
  CCTimer();  // not supported: fails "CCTimer: Init not supported."
  CCTimer(NSObject* target, Selector<ccSeconds> sel, ccSeconds interval = 0);

  void update(ccSeconds dt);
  ccSeconds interval() const { return interval_; }
  void setInterval(ccSeconds interval) { interval_ = interval; }
  const Selector<ccSeconds>& selector() const { return selector_; }
  NSObject* target() const { return target_; }
  ccSeconds elapsed() const { return elapsed_; }
  std::string description() const override;

 private:
  NSObject* target_ = nullptr;  // not retained
  Selector<ccSeconds> selector_;
  ccSeconds elapsed_ = -1;
  ccSeconds interval_ = 0;
};
