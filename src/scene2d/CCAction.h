#pragma once
#include <string>

#include "NSObject.h"
#include "ccTypes.h"

struct NSZone;

enum { kCCActionTagInvalid = -1 };

// Something that changes a target over time. The action manager starts an
// action with `startWithTarget`, calls `step` once per frame, and when
// `isDone` answers true, calls `stop` and releases it.
class CCAction : public NSObject {
 public:
  static Ptr<CCAction> action();
  CCAction() = default;

  // A fresh, unstarted action with the same configuration; the caller owns
  // the returned reference (use `copy` for a smart pointer).
  virtual CCAction* copyWithZone(NSZone* zone) const;
  Ptr<CCAction> copy() const { return Ptr<CCAction>::adopt(copyWithZone(nullptr)); }

  virtual void startWithTarget(NSObject* target);
  virtual void stop();
  virtual bool isDone() const { return true; }
  virtual void step(ccSeconds dt);
  // Applies the state at normalised progress t (0..1).
  virtual void update(ccSeconds t);

  // The current target (cleared by `stop`) and the target given at start.
  NSObject* target() const { return target_; }
  void setTarget(NSObject* target) { target_ = target; }
  NSObject* originalTarget() const { return originalTarget_; }
  void setOriginalTarget(NSObject* target) { originalTarget_ = target; }
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  std::string description() const override;

 protected:
  NSObject* originalTarget_ = nullptr;  // not retained
  NSObject* target_ = nullptr;          // not retained
  int tag_ = kCCActionTagInvalid;
};

// An action with a duration in seconds.
class CCFiniteTimeAction : public CCAction {
 public:
  CCFiniteTimeAction* copyWithZone(NSZone* zone) const override;
  ccSeconds duration() const { return duration_; }
  virtual void setDuration(ccSeconds duration) { duration_ = duration; }
  // The opposite action, or null when there is none.
  virtual Ptr<CCFiniteTimeAction> reverse() const;

 protected:
  ccSeconds duration_ = 0;
};

// Copies `action` keeping its static type (copyWithZone is covariant).
template <class T>
Ptr<T> copyAction(const T* action) {
  return Ptr<T>::adopt(action->copyWithZone(nullptr));
}

class CCActionInterval;

// Repeats an interval action for ever; each round starts again at t = 0.
class CCRepeatForever : public CCAction {
 public:
  static Ptr<CCRepeatForever> actionWithAction(CCActionInterval* action);
  explicit CCRepeatForever(CCActionInterval* action);
  ~CCRepeatForever() override;

  CCRepeatForever* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void step(ccSeconds dt) override;
  bool isDone() const override { return false; }
  Ptr<CCRepeatForever> reverse() const;

  CCActionInterval* innerAction() const;
  void setInnerAction(CCActionInterval* action);

 private:
  Ptr<CCActionInterval> innerAction_;
};

// Runs an interval action faster or slower by a factor.
class CCSpeed : public CCAction {
 public:
  static Ptr<CCSpeed> actionWithAction(CCActionInterval* action, float speed);
  CCSpeed(CCActionInterval* action, float speed);
  ~CCSpeed() override;

  CCSpeed* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void step(ccSeconds dt) override;
  bool isDone() const override;
  Ptr<CCSpeed> reverse() const;

  float speed() const { return speed_; }
  void setSpeed(float speed) { speed_ = speed; }
  CCActionInterval* innerAction() const;
  void setInnerAction(CCActionInterval* action);

 private:
  Ptr<CCActionInterval> innerAction_;
  float speed_;
};
