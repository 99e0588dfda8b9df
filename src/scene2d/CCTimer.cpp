#include "CCTimer.h"

#include "Assert.h"

CCTimer::CCTimer() {
  CCAssert(false, "CCTimer: Init not supported.");
}

CCTimer::CCTimer(NSObject* target, Selector<ccSeconds> sel, ccSeconds interval)
    : target_(target), selector_(sel), interval_(interval) {}

Ptr<CCTimer> CCTimer::timerWithTarget(NSObject* target, Selector<ccSeconds> sel,
                                      ccSeconds interval) {
  return makeObject<CCTimer>(target, sel, interval);
}

void CCTimer::update(ccSeconds dt) {
  if (elapsed_ == -1)
    elapsed_ = 0;
  else
    elapsed_ += dt;
  if (elapsed_ >= interval_) {
    selector_(target_, elapsed_);
    elapsed_ = 0;
  }
}

std::string CCTimer::description() const {
  return objectAddressPrefix(this) + " | target:" + (target_ ? target_->className() : "nil") +
         " selector:(" + selector_.name() + ")>";
}
