#pragma once
#include "CCActionInterval.h"

// Easing curves: progress in 0..1 to reshaped progress, float arithmetic.
float ccEaseRateIn(float t, float rate);
float ccEaseRateOut(float t, float rate);
float ccEaseRateInOut(float t, float rate);
float ccEaseExponentialIn(float t);
float ccEaseExponentialOut(float t);
float ccEaseExponentialInOut(float t);
float ccEaseSineIn(float t);
float ccEaseSineOut(float t);
float ccEaseSineInOut(float t);
float ccEaseElasticIn(float t, float period);
float ccEaseElasticOut(float t, float period);
float ccEaseElasticInOut(float t, float period);
float ccBounceTime(float t);
float ccEaseBounceIn(float t);
float ccEaseBounceOut(float t);
float ccEaseBounceInOut(float t);
float ccEaseBackIn(float t);
float ccEaseBackOut(float t);
float ccEaseBackInOut(float t);

// Wraps an interval action and reshapes its progress: the inner action is
// updated with f(t) instead of t. The plain class is linear.
class CCActionEase : public CCActionInterval {
 public:
  static Ptr<CCActionEase> actionWithAction(CCActionInterval* action);
  bool initWithAction(CCActionInterval* action);

  CCActionEase* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
  CCActionInterval* other() const { return other_.get(); }

 protected:
  Ptr<CCActionInterval> other_;
};

// Easing by a power of t.
class CCEaseRateAction : public CCActionEase {
 public:
  static Ptr<CCEaseRateAction> actionWithAction(CCActionInterval* action, float rate);
  using CCActionEase::initWithAction;
  bool initWithAction(CCActionInterval* action, float rate);

  CCEaseRateAction* copyWithZone(NSZone* zone) const override;
  Ptr<CCFiniteTimeAction> reverse() const override;
  float rate() const { return rate_; }
  void setRate(float rate) { rate_ = rate; }

 protected:
  float rate_ = 1;
};

class CCEaseIn : public CCEaseRateAction {
 public:
  static Ptr<CCEaseIn> actionWithAction(CCActionInterval* action, float rate);
  CCEaseIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseOut : public CCEaseRateAction {
 public:
  static Ptr<CCEaseOut> actionWithAction(CCActionInterval* action, float rate);
  CCEaseOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseInOut : public CCEaseRateAction {
 public:
  static Ptr<CCEaseInOut> actionWithAction(CCActionInterval* action, float rate);
  CCEaseInOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCEaseExponentialIn : public CCActionEase {
 public:
  static Ptr<CCEaseExponentialIn> actionWithAction(CCActionInterval* action);
  CCEaseExponentialIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseExponentialOut : public CCActionEase {
 public:
  static Ptr<CCEaseExponentialOut> actionWithAction(CCActionInterval* action);
  CCEaseExponentialOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseExponentialInOut : public CCActionEase {
 public:
  static Ptr<CCEaseExponentialInOut> actionWithAction(CCActionInterval* action);
  CCEaseExponentialInOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseSineIn : public CCActionEase {
 public:
  static Ptr<CCEaseSineIn> actionWithAction(CCActionInterval* action);
  CCEaseSineIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseSineOut : public CCActionEase {
 public:
  static Ptr<CCEaseSineOut> actionWithAction(CCActionInterval* action);
  CCEaseSineOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseSineInOut : public CCActionEase {
 public:
  static Ptr<CCEaseSineInOut> actionWithAction(CCActionInterval* action);
  CCEaseSineInOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseBackIn : public CCActionEase {
 public:
  static Ptr<CCEaseBackIn> actionWithAction(CCActionInterval* action);
  CCEaseBackIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseBackOut : public CCActionEase {
 public:
  static Ptr<CCEaseBackOut> actionWithAction(CCActionInterval* action);
  CCEaseBackOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseBackInOut : public CCActionEase {
 public:
  static Ptr<CCEaseBackInOut> actionWithAction(CCActionInterval* action);
  CCEaseBackInOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

// Springy easing; the period sets the oscillation (default 0.3).
class CCEaseElastic : public CCActionEase {
 public:
  static Ptr<CCEaseElastic> actionWithAction(CCActionInterval* action);
  static Ptr<CCEaseElastic> actionWithAction(CCActionInterval* action, float period);
  bool initWithAction(CCActionInterval* action);
  bool initWithAction(CCActionInterval* action, float period);

  CCEaseElastic* copyWithZone(NSZone* zone) const override;
  // The base has no curve of its own and no opposite.
  Ptr<CCFiniteTimeAction> reverse() const override;
  float period() const { return period_; }
  void setPeriod(float period) { period_ = period; }

 protected:
  float period_ = 0.3f;
};

class CCEaseElasticIn : public CCEaseElastic {
 public:
  static Ptr<CCEaseElasticIn> actionWithAction(CCActionInterval* action);
  static Ptr<CCEaseElasticIn> actionWithAction(CCActionInterval* action, float period);
  CCEaseElasticIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseElasticOut : public CCEaseElastic {
 public:
  static Ptr<CCEaseElasticOut> actionWithAction(CCActionInterval* action);
  static Ptr<CCEaseElasticOut> actionWithAction(CCActionInterval* action, float period);
  CCEaseElasticOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseElasticInOut : public CCEaseElastic {
 public:
  static Ptr<CCEaseElasticInOut> actionWithAction(CCActionInterval* action);
  static Ptr<CCEaseElasticInOut> actionWithAction(CCActionInterval* action, float period);
  CCEaseElasticInOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

// Easing that bounces against the end value.
class CCEaseBounce : public CCActionEase {
 public:
  static Ptr<CCEaseBounce> actionWithAction(CCActionInterval* action);
  CCEaseBounce* copyWithZone(NSZone* zone) const override;
  Ptr<CCFiniteTimeAction> reverse() const override;
  float bounceTime(float t) const { return ccBounceTime(t); }
};

class CCEaseBounceIn : public CCEaseBounce {
 public:
  static Ptr<CCEaseBounceIn> actionWithAction(CCActionInterval* action);
  CCEaseBounceIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseBounceOut : public CCEaseBounce {
 public:
  static Ptr<CCEaseBounceOut> actionWithAction(CCActionInterval* action);
  CCEaseBounceOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
class CCEaseBounceInOut : public CCEaseBounce {
 public:
  static Ptr<CCEaseBounceInOut> actionWithAction(CCActionInterval* action);
  CCEaseBounceInOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};
