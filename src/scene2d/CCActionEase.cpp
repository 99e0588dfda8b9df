#include "CCActionEase.h"

#include <cmath>

#include "Assert.h"

// MARK: curves

namespace {
constexpr float kHalfPi = 1.5707964f;
constexpr float kPi = 3.1415927f;
constexpr float kBackOvershoot = 1.70158f;
constexpr float kBackInOutOvershoot = 2.5949094f;
}  // namespace

float ccEaseRateIn(float t, float rate) {
  return std::pow(t, rate);
}

float ccEaseRateOut(float t, float rate) {
  return std::pow(t, 1 / rate);
}

// The second half mirrors the first about (0.5, 0.5). For whole rates this is
// bit for bit the signed form (u - 2)^rate; unlike it, it stays defined for
// fractional rates, where a negative base would give NaN.
float ccEaseRateInOut(float t, float rate) {
  float u = t * 2;
  if (u < 1) return 0.5f * std::pow(u, rate);
  return 1 - 0.5f * std::pow(2 - u, rate);
}

float ccEaseExponentialIn(float t) {
  return t == 0 ? 0 : std::pow(2.0f, 10 * (t - 1)) - 1 * 0.001f;
}

float ccEaseExponentialOut(float t) {
  return t == 1 ? 1 : -std::pow(2.0f, -10 * t) + 1;
}

float ccEaseExponentialInOut(float t) {
  float u = t * 2;
  if (u < 1) return 0.5f * std::pow(2.0f, 10 * (u - 1));
  return 0.5f * (-std::pow(2.0f, -10 * (u - 1)) + 2);
}

float ccEaseSineIn(float t) {
  return -1 * std::cos(t * kHalfPi) + 1;
}

float ccEaseSineOut(float t) {
  return std::sin(t * kHalfPi);
}

float ccEaseSineInOut(float t) {
  return -0.5f * (std::cos(kPi * t) - 1);
}

// A zero period would divide by zero; the default stands in for it.
float ccEaseElasticIn(float t, float period) {
  if (t == 0 || t == 1) return t;
  if (period == 0) period = 0.3f;
  float s = period / 4;
  float v = t - 1;
  return -std::pow(2.0f, 10 * v) * std::sin((v - s) * (kPi * 2) / period);
}

float ccEaseElasticOut(float t, float period) {
  if (t == 0 || t == 1) return t;
  if (period == 0) period = 0.3f;
  float s = period / 4;
  return std::pow(2.0f, -10 * t) * std::sin((t - s) * (kPi * 2) / period) + 1;
}

float ccEaseElasticInOut(float t, float period) {
  if (t == 0 || t == 1) return t;
  if (period == 0) period = 0.3f * 1.5f;
  float s = period / 4;
  float v = t * 2 - 1;
  float wave = std::sin((v - s) * (kPi * 2) / period);
  if (v < 0) return -0.5f * std::pow(2.0f, 10 * v) * wave;
  return std::pow(2.0f, -10 * v) * wave * 0.5f + 1;
}

float ccBounceTime(float t) {
  // Breakpoints in double: t is promoted before the comparison.
  if (t < 1 / 2.75) return 7.5625f * t * t;
  if (t < 2 / 2.75) {
    t -= 1.5f / 2.75f;
    return 7.5625f * t * t + 0.75f;
  }
  if (t < 2.5 / 2.75) {
    t -= 2.25f / 2.75f;
    return 7.5625f * t * t + 0.9375f;
  }
  t -= 2.625f / 2.75f;
  return 7.5625f * t * t + 0.984375f;
}

float ccEaseBounceIn(float t) {
  return 1 - ccBounceTime(1 - t);
}

float ccEaseBounceOut(float t) {
  return ccBounceTime(t);
}

float ccEaseBounceInOut(float t) {
  if (t < 0.5f) return (1 - ccBounceTime(1 - t * 2)) * 0.5f;
  return ccBounceTime(t * 2 - 1) * 0.5f + 0.5f;
}

float ccEaseBackIn(float t) {
  return t * t * ((kBackOvershoot + 1) * t - kBackOvershoot);
}

float ccEaseBackOut(float t) {
  float v = t - 1;
  return v * v * ((kBackOvershoot + 1) * v + kBackOvershoot) + 1;
}

float ccEaseBackInOut(float t) {
  float u = t * 2;
  if (u < 1) return (u * u * ((kBackInOutOvershoot + 1) * u - kBackInOutOvershoot)) / 2;
  u -= 2;
  return (u * u * ((kBackInOutOvershoot + 1) * u + kBackInOutOvershoot)) / 2 + 1;
}

// MARK: helpers

namespace {

template <class T, class... Extra>
Ptr<T> ease(CCActionInterval* action, Extra... extra) {
  auto eased = makeObject<T>();
  if (!eased->initWithAction(action, extra...)) return nullptr;
  return eased;
}

template <class T, class... Extra>
T* copyEase(T* copy, const CCActionEase& original, Extra... extra) {
  copy->initWithAction(copyAction(original.other()).get(), extra...);
  copy->setTag(original.tag());
  return copy;
}

// The inner action's opposite as an interval action (null when it has none).
Ptr<CCActionInterval> innerReverse(const CCActionEase* ease) {
  return dynamicPtrCast<CCActionInterval>(ease->other()->reverse());
}

}  // namespace

// MARK: CCActionEase

Ptr<CCActionEase> CCActionEase::actionWithAction(CCActionInterval* action) {
  return ease<CCActionEase>(action);
}

bool CCActionEase::initWithAction(CCActionInterval* action) {
  CCAssert(action != nullptr, "Ease: arguments must be non-nil");
  initWithDuration(action->duration());
  other_ = action;
  return true;
}

CCActionEase* CCActionEase::copyWithZone(NSZone*) const {
  return copyEase(new CCActionEase(), *this);
}

void CCActionEase::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  other_->startWithTarget(target_);
}

void CCActionEase::stop() {
  other_->stop();
  CCActionInterval::stop();
}

void CCActionEase::update(ccSeconds t) {
  other_->update(t);
}

Ptr<CCFiniteTimeAction> CCActionEase::reverse() const {
  return actionWithAction(innerReverse(this).get());
}

// MARK: rate

Ptr<CCEaseRateAction> CCEaseRateAction::actionWithAction(CCActionInterval* action, float rate) {
  return ease<CCEaseRateAction>(action, rate);
}

bool CCEaseRateAction::initWithAction(CCActionInterval* action, float rate) {
  if (!CCActionEase::initWithAction(action)) return false;
  rate_ = rate;
  return true;
}

CCEaseRateAction* CCEaseRateAction::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseRateAction(), *this, rate_);
}

Ptr<CCFiniteTimeAction> CCEaseRateAction::reverse() const {
  return actionWithAction(innerReverse(this).get(), rate_);
}

Ptr<CCEaseIn> CCEaseIn::actionWithAction(CCActionInterval* action, float rate) {
  return ease<CCEaseIn>(action, rate);
}
CCEaseIn* CCEaseIn::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseIn(), *this, rate_);
}
void CCEaseIn::update(ccSeconds t) {
  other_->update(ccEaseRateIn(t, rate_));
}
Ptr<CCFiniteTimeAction> CCEaseIn::reverse() const {
  return actionWithAction(innerReverse(this).get(), 1 / rate_);
}

Ptr<CCEaseOut> CCEaseOut::actionWithAction(CCActionInterval* action, float rate) {
  return ease<CCEaseOut>(action, rate);
}
CCEaseOut* CCEaseOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseOut(), *this, rate_);
}
void CCEaseOut::update(ccSeconds t) {
  other_->update(ccEaseRateOut(t, rate_));
}
Ptr<CCFiniteTimeAction> CCEaseOut::reverse() const {
  return actionWithAction(innerReverse(this).get(), 1 / rate_);
}

Ptr<CCEaseInOut> CCEaseInOut::actionWithAction(CCActionInterval* action, float rate) {
  return ease<CCEaseInOut>(action, rate);
}
CCEaseInOut* CCEaseInOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseInOut(), *this, rate_);
}
void CCEaseInOut::update(ccSeconds t) {
  other_->update(ccEaseRateInOut(t, rate_));
}
Ptr<CCFiniteTimeAction> CCEaseInOut::reverse() const {
  return actionWithAction(innerReverse(this).get(), rate_);
}

// MARK: exponential, sine, back

Ptr<CCEaseExponentialIn> CCEaseExponentialIn::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseExponentialIn>(action);
}
CCEaseExponentialIn* CCEaseExponentialIn::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseExponentialIn(), *this);
}
void CCEaseExponentialIn::update(ccSeconds t) {
  other_->update(ccEaseExponentialIn(t));
}
Ptr<CCFiniteTimeAction> CCEaseExponentialIn::reverse() const {
  return CCEaseExponentialOut::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseExponentialOut> CCEaseExponentialOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseExponentialOut>(action);
}
CCEaseExponentialOut* CCEaseExponentialOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseExponentialOut(), *this);
}
void CCEaseExponentialOut::update(ccSeconds t) {
  other_->update(ccEaseExponentialOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseExponentialOut::reverse() const {
  return CCEaseExponentialIn::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseExponentialInOut> CCEaseExponentialInOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseExponentialInOut>(action);
}
CCEaseExponentialInOut* CCEaseExponentialInOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseExponentialInOut(), *this);
}
void CCEaseExponentialInOut::update(ccSeconds t) {
  other_->update(ccEaseExponentialInOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseExponentialInOut::reverse() const {
  return CCEaseExponentialInOut::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseSineIn> CCEaseSineIn::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseSineIn>(action);
}
CCEaseSineIn* CCEaseSineIn::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseSineIn(), *this);
}
void CCEaseSineIn::update(ccSeconds t) {
  other_->update(ccEaseSineIn(t));
}
Ptr<CCFiniteTimeAction> CCEaseSineIn::reverse() const {
  return CCEaseSineOut::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseSineOut> CCEaseSineOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseSineOut>(action);
}
CCEaseSineOut* CCEaseSineOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseSineOut(), *this);
}
void CCEaseSineOut::update(ccSeconds t) {
  other_->update(ccEaseSineOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseSineOut::reverse() const {
  return CCEaseSineIn::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseSineInOut> CCEaseSineInOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseSineInOut>(action);
}
CCEaseSineInOut* CCEaseSineInOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseSineInOut(), *this);
}
void CCEaseSineInOut::update(ccSeconds t) {
  other_->update(ccEaseSineInOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseSineInOut::reverse() const {
  return CCEaseSineInOut::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseBackIn> CCEaseBackIn::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBackIn>(action);
}
CCEaseBackIn* CCEaseBackIn::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBackIn(), *this);
}
void CCEaseBackIn::update(ccSeconds t) {
  other_->update(ccEaseBackIn(t));
}
Ptr<CCFiniteTimeAction> CCEaseBackIn::reverse() const {
  return CCEaseBackOut::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseBackOut> CCEaseBackOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBackOut>(action);
}
CCEaseBackOut* CCEaseBackOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBackOut(), *this);
}
void CCEaseBackOut::update(ccSeconds t) {
  other_->update(ccEaseBackOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseBackOut::reverse() const {
  return CCEaseBackIn::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseBackInOut> CCEaseBackInOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBackInOut>(action);
}
CCEaseBackInOut* CCEaseBackInOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBackInOut(), *this);
}
void CCEaseBackInOut::update(ccSeconds t) {
  other_->update(ccEaseBackInOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseBackInOut::reverse() const {
  return CCEaseBackInOut::actionWithAction(innerReverse(this).get());
}

// MARK: elastic

Ptr<CCEaseElastic> CCEaseElastic::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseElastic>(action);
}

Ptr<CCEaseElastic> CCEaseElastic::actionWithAction(CCActionInterval* action, float period) {
  return ease<CCEaseElastic>(action, period);
}

bool CCEaseElastic::initWithAction(CCActionInterval* action) {
  return initWithAction(action, 0.3f);
}

bool CCEaseElastic::initWithAction(CCActionInterval* action, float period) {
  if (!CCActionEase::initWithAction(action)) return false;
  period_ = period;
  return true;
}

CCEaseElastic* CCEaseElastic::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseElastic(), *this, period_);
}

Ptr<CCFiniteTimeAction> CCEaseElastic::reverse() const {
  CCAssert(false, "Override me");
  return nullptr;
}

Ptr<CCEaseElasticIn> CCEaseElasticIn::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseElasticIn>(action);
}
Ptr<CCEaseElasticIn> CCEaseElasticIn::actionWithAction(CCActionInterval* action, float period) {
  return ease<CCEaseElasticIn>(action, period);
}
CCEaseElasticIn* CCEaseElasticIn::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseElasticIn(), *this, period_);
}
void CCEaseElasticIn::update(ccSeconds t) {
  other_->update(ccEaseElasticIn(t, period_));
}
Ptr<CCFiniteTimeAction> CCEaseElasticIn::reverse() const {
  return CCEaseElasticOut::actionWithAction(innerReverse(this).get(), period_);
}

Ptr<CCEaseElasticOut> CCEaseElasticOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseElasticOut>(action);
}
Ptr<CCEaseElasticOut> CCEaseElasticOut::actionWithAction(CCActionInterval* action, float period) {
  return ease<CCEaseElasticOut>(action, period);
}
CCEaseElasticOut* CCEaseElasticOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseElasticOut(), *this, period_);
}
void CCEaseElasticOut::update(ccSeconds t) {
  other_->update(ccEaseElasticOut(t, period_));
}
Ptr<CCFiniteTimeAction> CCEaseElasticOut::reverse() const {
  return CCEaseElasticIn::actionWithAction(innerReverse(this).get(), period_);
}

Ptr<CCEaseElasticInOut> CCEaseElasticInOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseElasticInOut>(action);
}
Ptr<CCEaseElasticInOut> CCEaseElasticInOut::actionWithAction(CCActionInterval* action,
                                                             float period) {
  return ease<CCEaseElasticInOut>(action, period);
}
CCEaseElasticInOut* CCEaseElasticInOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseElasticInOut(), *this, period_);
}
void CCEaseElasticInOut::update(ccSeconds t) {
  if (period_ == 0) period_ = 0.3f * 1.5f;
  other_->update(ccEaseElasticInOut(t, period_));
}
Ptr<CCFiniteTimeAction> CCEaseElasticInOut::reverse() const {
  return CCEaseElasticInOut::actionWithAction(innerReverse(this).get(), period_);
}

// MARK: bounce

Ptr<CCEaseBounce> CCEaseBounce::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBounce>(action);
}

CCEaseBounce* CCEaseBounce::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBounce(), *this);
}

Ptr<CCFiniteTimeAction> CCEaseBounce::reverse() const {
  return actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseBounceIn> CCEaseBounceIn::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBounceIn>(action);
}
CCEaseBounceIn* CCEaseBounceIn::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBounceIn(), *this);
}
void CCEaseBounceIn::update(ccSeconds t) {
  other_->update(ccEaseBounceIn(t));
}
Ptr<CCFiniteTimeAction> CCEaseBounceIn::reverse() const {
  return CCEaseBounceOut::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseBounceOut> CCEaseBounceOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBounceOut>(action);
}
CCEaseBounceOut* CCEaseBounceOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBounceOut(), *this);
}
void CCEaseBounceOut::update(ccSeconds t) {
  other_->update(ccEaseBounceOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseBounceOut::reverse() const {
  return CCEaseBounceIn::actionWithAction(innerReverse(this).get());
}

Ptr<CCEaseBounceInOut> CCEaseBounceInOut::actionWithAction(CCActionInterval* action) {
  return ease<CCEaseBounceInOut>(action);
}
CCEaseBounceInOut* CCEaseBounceInOut::copyWithZone(NSZone*) const {
  return copyEase(new CCEaseBounceInOut(), *this);
}
void CCEaseBounceInOut::update(ccSeconds t) {
  other_->update(ccEaseBounceInOut(t));
}
Ptr<CCFiniteTimeAction> CCEaseBounceInOut::reverse() const {
  return CCEaseBounceInOut::actionWithAction(innerReverse(this).get());
}
