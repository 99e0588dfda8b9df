#include "CCActionInterval.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "Assert.h"
#include "CCNode.h"
#include "CCProtocols.h"

namespace {

CCNode* nodeTarget(NSObject* target) {
  auto* node = dynamic_cast<CCNode*>(target);
  CCAssert(node != nullptr, "Action target must be a CCNode");
  return node;
}

// Targets are checked when the action starts; updates only cast.
CCNode* node(NSObject* target) {
  return static_cast<CCNode*>(target);
}

// Eased progress may leave 0..1; a byte channel saturates instead of wrapping.
GLubyte clampToByte(float value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return static_cast<GLubyte>(value);
}

template <class T>
Ptr<CCFiniteTimeAction> fold(const T& list, Ptr<CCFiniteTimeAction> (*pair)(CCFiniteTimeAction*,
                                                                            CCFiniteTimeAction*)) {
  Ptr<CCFiniteTimeAction> folded;
  for (CCFiniteTimeAction* action : list) {
    if (!action) break;
    folded = folded ? pair(folded.get(), action) : Ptr<CCFiniteTimeAction>(action);
  }
  return folded;
}

Ptr<CCFiniteTimeAction> sequencePair(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
  return CCSequence::actionOne(one, two);
}

Ptr<CCFiniteTimeAction> spawnPair(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
  return CCSpawn::actionOne(one, two);
}

std::vector<CCFiniteTimeAction*> rawList(const std::vector<Ptr<CCFiniteTimeAction>>& list) {
  std::vector<CCFiniteTimeAction*> raw;
  raw.reserve(list.size());
  for (const auto& action : list) raw.push_back(action.get());
  return raw;
}

}  // namespace

// MARK: CCActionInterval

namespace {
// Relative distance from the end that counts as the end: a microsecond in a
// second, far below a frame and above the rounding of a float sum of frames.
constexpr float kEndTolerance = 1e-6f;
}  // namespace

Ptr<CCActionInterval> CCActionInterval::actionWithDuration(ccSeconds duration) {
  auto action = makeObject<CCActionInterval>();
  action->initWithDuration(duration);
  return action;
}

bool CCActionInterval::init() {
  CCAssert(false, "IntervalActionInit: Init not supported. Use InitWithDuration");
  return false;
}

bool CCActionInterval::initWithDuration(ccSeconds duration) {
  // A zero (or negative, or NaN) length becomes the smallest step, so that the
  // division by the duration is defined and the action ends on its first
  // counted step instead of never reaching t = 1.
  duration_ = duration > 0 ? duration : FLT_EPSILON;
  elapsed_ = 0;
  firstTick_ = true;
  return true;
}

CCActionInterval* CCActionInterval::copyWithZone(NSZone*) const {
  auto* copy = new CCActionInterval();
  copy->initWithDuration(duration_);
  copy->tag_ = tag_;
  return copy;
}

void CCActionInterval::startWithTarget(NSObject* target) {
  CCFiniteTimeAction::startWithTarget(target);
  elapsed_ = 0;
  firstTick_ = true;
}

void CCActionInterval::step(ccSeconds dt) {
  if (firstTick_) {
    firstTick_ = false;
    elapsed_ = 0;
  } else {
    elapsed_ += dt;
    // Float sums of frame deltas fall a few ulps short (60 x 1/60 s adds up
    // to 0.9999997 s). Without this the action would take one extra frame,
    // and every round of a repeat would run a frame long.
    if (elapsed_ < duration_ && duration_ - elapsed_ <= duration_ * kEndTolerance) {
      elapsed_ = duration_;
    }
  }
  update(std::min(1.0f, elapsed_ / duration_));
}

Ptr<CCFiniteTimeAction> CCActionInterval::reverse() const {
  CCAssert(false, "CCIntervalAction: reverse not implemented.");
  return nullptr;
}

// MARK: CCSequence

Ptr<CCFiniteTimeAction> CCSequence::actions(std::initializer_list<CCFiniteTimeAction*> list) {
  return fold(list, sequencePair);
}

Ptr<CCFiniteTimeAction> CCSequence::actionsWithArray(
    const std::vector<Ptr<CCFiniteTimeAction>>& list) {
  return fold(rawList(list), sequencePair);
}

Ptr<CCSequence> CCSequence::actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
  auto sequence = makeObject<CCSequence>();
  if (!sequence->initOne(one, two)) return nullptr;
  return sequence;
}

bool CCSequence::initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
  CCAssert(one != nullptr && two != nullptr, "Sequence: arguments must be non-nil");
  CCAssert(one != actions_[0] && one != actions_[1] && two != actions_[0] && two != actions_[1],
           "Sequence: re-init using the same parameters is not supported");
  initWithDuration(one->duration() + two->duration());
  actions_[0] = one;
  actions_[1] = two;
  return true;
}

CCSequence* CCSequence::copyWithZone(NSZone*) const {
  auto* copy = new CCSequence();
  copy->initOne(copyAction(actions_[0].get()).get(), copyAction(actions_[1].get()).get());
  copy->tag_ = tag_;
  return copy;
}

void CCSequence::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  split_ = actions_[0]->duration() / duration_;
  last_ = -1;
}

void CCSequence::stop() {
  actions_[0]->stop();
  actions_[1]->stop();
  CCActionInterval::stop();
}

void CCSequence::update(ccSeconds t) {
  int found;
  ccSeconds localT;
  if (t >= split_) {
    found = 1;
    localT = split_ == 1 ? 1 : (t - split_) / (1 - split_);
    if (last_ == -1) {
      // The frame jumped over the whole first action: it still runs once.
      actions_[0]->startWithTarget(target_);
      actions_[0]->update(1);
      actions_[0]->stop();
    }
  } else {
    found = 0;
    localT = split_ != 0 ? t / split_ : 1;
  }
  if (found != last_) {
    if (last_ != -1) {
      actions_[last_]->update(1);
      actions_[last_]->stop();
    }
    actions_[found]->startWithTarget(target_);
  }
  actions_[found]->update(localT);
  last_ = found;
}

Ptr<CCFiniteTimeAction> CCSequence::reverse() const {
  return actionOne(actions_[1]->reverse().get(), actions_[0]->reverse().get());
}

// MARK: CCSpawn

Ptr<CCFiniteTimeAction> CCSpawn::actions(std::initializer_list<CCFiniteTimeAction*> list) {
  return fold(list, spawnPair);
}

Ptr<CCFiniteTimeAction> CCSpawn::actionsWithArray(
    const std::vector<Ptr<CCFiniteTimeAction>>& list) {
  return fold(rawList(list), spawnPair);
}

Ptr<CCSpawn> CCSpawn::actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
  auto spawn = makeObject<CCSpawn>();
  if (!spawn->initOne(one, two)) return nullptr;
  return spawn;
}

bool CCSpawn::initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two) {
  CCAssert(one != nullptr && two != nullptr, "Spawn: arguments must be non-nil");
  CCAssert(one != one_ && one != two_ && two != one_ && two != two_,
           "Spawn: reinit using same parameters is not supported");
  ccSeconds d1 = one->duration();
  ccSeconds d2 = two->duration();
  initWithDuration(std::max(d1, d2));
  one_ = one;
  two_ = two;
  if (d1 > d2) {
    two_ = CCSequence::actionOne(two, CCDelayTime::actionWithDuration(d1 - d2).get()).get();
  } else if (d1 < d2) {
    one_ = CCSequence::actionOne(one, CCDelayTime::actionWithDuration(d2 - d1).get()).get();
  }
  return true;
}

CCSpawn* CCSpawn::copyWithZone(NSZone*) const {
  auto* copy = new CCSpawn();
  copy->initOne(copyAction(one_.get()).get(), copyAction(two_.get()).get());
  copy->tag_ = tag_;
  return copy;
}

void CCSpawn::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  one_->startWithTarget(target);
  two_->startWithTarget(target);
}

void CCSpawn::stop() {
  one_->stop();
  two_->stop();
  CCActionInterval::stop();
}

void CCSpawn::update(ccSeconds t) {
  one_->update(t);
  two_->update(t);
}

Ptr<CCFiniteTimeAction> CCSpawn::reverse() const {
  return actionOne(one_->reverse().get(), two_->reverse().get());
}

// MARK: CCRepeat

Ptr<CCRepeat> CCRepeat::actionWithAction(CCFiniteTimeAction* action, unsigned times) {
  auto repeat = makeObject<CCRepeat>();
  if (!repeat->initWithAction(action, times)) return nullptr;
  return repeat;
}

bool CCRepeat::initWithAction(CCFiniteTimeAction* action, unsigned times) {
  if (!action) return false;
  initWithDuration(action->duration() * times);
  times_ = times;
  innerAction_ = action;
  total_ = 0;
  return true;
}

CCRepeat* CCRepeat::copyWithZone(NSZone*) const {
  auto* copy = new CCRepeat();
  copy->initWithAction(copyAction(innerAction_.get()).get(), times_);
  copy->tag_ = tag_;
  return copy;
}

void CCRepeat::startWithTarget(NSObject* target) {
  total_ = 0;
  CCActionInterval::startWithTarget(target);
  // Zero rounds: the inner action never starts, so a call-back in it never fires.
  if (times_ > 0) innerAction_->startWithTarget(target);
}

void CCRepeat::stop() {
  if (times_ > 0) innerAction_->stop();
  CCActionInterval::stop();
}

void CCRepeat::finishRound() {
  innerAction_->update(1);
  innerAction_->stop();
  ++total_;
  innerAction_->startWithTarget(target_);
}

void CCRepeat::update(ccSeconds t) {
  if (times_ == 0) return;
  if (t >= 1) {
    while (total_ + 1 < times_) finishRound();
    innerAction_->update(1);
    total_ = times_;
    return;
  }
  // Every round boundary this update reaches is completed, even several in
  // one long frame, so each round gets its t = 1 and its restart.
  ccSeconds rounds = t * times_;
  while (rounds >= total_ + 1 && total_ + 1 < times_) finishRound();
  innerAction_->update(std::min(1.0f, rounds - total_));
}

bool CCRepeat::isDone() const {
  return total_ >= times_;
}

Ptr<CCFiniteTimeAction> CCRepeat::reverse() const {
  return actionWithAction(innerAction_->reverse().get(), times_);
}

// MARK: CCReverseTime

Ptr<CCReverseTime> CCReverseTime::actionWithAction(CCFiniteTimeAction* action) {
  auto reverse = makeObject<CCReverseTime>();
  if (!reverse->initWithAction(action)) return nullptr;
  return reverse;
}

bool CCReverseTime::initWithAction(CCFiniteTimeAction* action) {
  CCAssert(action != nullptr, "CCReverseTime: action should not be nil");
  CCAssert(action != other_, "CCReverseTime: re-init doesn't support using the same arguments");
  initWithDuration(action->duration());
  other_ = action;
  return true;
}

CCReverseTime* CCReverseTime::copyWithZone(NSZone*) const {
  auto* copy = new CCReverseTime();
  copy->initWithAction(copyAction(other_.get()).get());
  copy->tag_ = tag_;
  return copy;
}

void CCReverseTime::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  other_->startWithTarget(target);
}

void CCReverseTime::stop() {
  other_->stop();
  CCActionInterval::stop();
}

void CCReverseTime::update(ccSeconds t) {
  other_->update(1 - t);
}

Ptr<CCFiniteTimeAction> CCReverseTime::reverse() const {
  return copyAction(other_.get());
}

// MARK: moves

Ptr<CCMoveTo> CCMoveTo::actionWithDuration(ccSeconds duration, CGPoint position) {
  auto action = makeObject<CCMoveTo>();
  action->initWithDuration(duration, position);
  return action;
}

bool CCMoveTo::initWithDuration(ccSeconds duration, CGPoint position) {
  CCActionInterval::initWithDuration(duration);
  endPosition_ = position;
  return true;
}

CCMoveTo* CCMoveTo::copyWithZone(NSZone*) const {
  auto* copy = new CCMoveTo();
  copy->initWithDuration(duration_, endPosition_);
  copy->tag_ = tag_;
  return copy;
}

void CCMoveTo::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  startPosition_ = nodeTarget(target)->position();
  delta_ = {endPosition_.x - startPosition_.x, endPosition_.y - startPosition_.y};
}

void CCMoveTo::update(ccSeconds t) {
  node(target_)->setPosition({startPosition_.x + delta_.x * t, startPosition_.y + delta_.y * t});
}

Ptr<CCMoveBy> CCMoveBy::actionWithDuration(ccSeconds duration, CGPoint offset) {
  auto action = makeObject<CCMoveBy>();
  action->initWithDuration(duration, offset);
  return action;
}

bool CCMoveBy::initWithDuration(ccSeconds duration, CGPoint offset) {
  CCActionInterval::initWithDuration(duration);
  delta_ = offset;
  return true;
}

CCMoveBy* CCMoveBy::copyWithZone(NSZone*) const {
  auto* copy = new CCMoveBy();
  copy->initWithDuration(duration_, delta_);
  copy->tag_ = tag_;
  return copy;
}

void CCMoveBy::startWithTarget(NSObject* target) {
  CGPoint offset = delta_;
  CCMoveTo::startWithTarget(target);
  delta_ = offset;
}

Ptr<CCFiniteTimeAction> CCMoveBy::reverse() const {
  return actionWithDuration(duration_, {-delta_.x, -delta_.y});
}

// MARK: rotations

Ptr<CCRotateTo> CCRotateTo::actionWithDuration(ccSeconds duration, float angle) {
  auto action = makeObject<CCRotateTo>();
  action->initWithDuration(duration, angle);
  return action;
}

bool CCRotateTo::initWithDuration(ccSeconds duration, float angle) {
  CCActionInterval::initWithDuration(duration);
  dstAngle_ = angle;
  return true;
}

CCRotateTo* CCRotateTo::copyWithZone(NSZone*) const {
  auto* copy = new CCRotateTo();
  copy->initWithDuration(duration_, dstAngle_);
  copy->tag_ = tag_;
  return copy;
}

void CCRotateTo::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  float rotation = nodeTarget(target)->rotation();
  startAngle_ = rotation > 0 ? std::fmod(rotation, 360.0f) : std::fmod(rotation, -360.0f);
  // The short way round.
  diffAngle_ = dstAngle_ - startAngle_;
  if (diffAngle_ > 180) diffAngle_ -= 360;
  if (diffAngle_ < -180) diffAngle_ += 360;
}

void CCRotateTo::update(ccSeconds t) {
  node(target_)->setRotation(startAngle_ + diffAngle_ * t);
}

Ptr<CCRotateBy> CCRotateBy::actionWithDuration(ccSeconds duration, float angle) {
  auto action = makeObject<CCRotateBy>();
  action->initWithDuration(duration, angle);
  return action;
}

bool CCRotateBy::initWithDuration(ccSeconds duration, float angle) {
  CCActionInterval::initWithDuration(duration);
  angle_ = angle;
  return true;
}

CCRotateBy* CCRotateBy::copyWithZone(NSZone*) const {
  auto* copy = new CCRotateBy();
  copy->initWithDuration(duration_, angle_);
  copy->tag_ = tag_;
  return copy;
}

void CCRotateBy::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  startAngle_ = nodeTarget(target)->rotation();
}

void CCRotateBy::update(ccSeconds t) {
  node(target_)->setRotation(startAngle_ + angle_ * t);
}

Ptr<CCFiniteTimeAction> CCRotateBy::reverse() const {
  return actionWithDuration(duration_, -angle_);
}

// MARK: scales

Ptr<CCScaleTo> CCScaleTo::actionWithDuration(ccSeconds duration, float scale) {
  return actionWithDuration(duration, scale, scale);
}

Ptr<CCScaleTo> CCScaleTo::actionWithDuration(ccSeconds duration, float scaleX, float scaleY) {
  auto action = makeObject<CCScaleTo>();
  action->initWithDuration(duration, scaleX, scaleY);
  return action;
}

bool CCScaleTo::initWithDuration(ccSeconds duration, float scale) {
  return initWithDuration(duration, scale, scale);
}

bool CCScaleTo::initWithDuration(ccSeconds duration, float scaleX, float scaleY) {
  CCActionInterval::initWithDuration(duration);
  endScaleX_ = scaleX;
  endScaleY_ = scaleY;
  return true;
}

CCScaleTo* CCScaleTo::copyWithZone(NSZone*) const {
  auto* copy = new CCScaleTo();
  copy->initWithDuration(duration_, endScaleX_, endScaleY_);
  copy->tag_ = tag_;
  return copy;
}

void CCScaleTo::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  CCNode* n = nodeTarget(target);
  startScaleX_ = n->scaleX();
  startScaleY_ = n->scaleY();
  deltaX_ = endScaleX_ - startScaleX_;
  deltaY_ = endScaleY_ - startScaleY_;
}

void CCScaleTo::update(ccSeconds t) {
  CCNode* n = node(target_);
  n->setScaleX(startScaleX_ + deltaX_ * t);
  n->setScaleY(startScaleY_ + deltaY_ * t);
}

Ptr<CCScaleBy> CCScaleBy::actionWithDuration(ccSeconds duration, float scale) {
  return actionWithDuration(duration, scale, scale);
}

Ptr<CCScaleBy> CCScaleBy::actionWithDuration(ccSeconds duration, float scaleX, float scaleY) {
  auto action = makeObject<CCScaleBy>();
  action->initWithDuration(duration, scaleX, scaleY);
  return action;
}

CCScaleBy* CCScaleBy::copyWithZone(NSZone*) const {
  auto* copy = new CCScaleBy();
  copy->initWithDuration(duration_, endScaleX_, endScaleY_);
  copy->tag_ = tag_;
  return copy;
}

void CCScaleBy::startWithTarget(NSObject* target) {
  CCScaleTo::startWithTarget(target);
  deltaX_ = startScaleX_ * endScaleX_ - startScaleX_;
  deltaY_ = startScaleY_ * endScaleY_ - startScaleY_;
}

Ptr<CCFiniteTimeAction> CCScaleBy::reverse() const {
  return actionWithDuration(duration_, 1 / endScaleX_, 1 / endScaleY_);
}

// MARK: jumps

Ptr<CCJumpBy> CCJumpBy::actionWithDuration(ccSeconds duration, CGPoint position, float height,
                                           unsigned jumps) {
  auto action = makeObject<CCJumpBy>();
  action->initWithDuration(duration, position, height, jumps);
  return action;
}

bool CCJumpBy::initWithDuration(ccSeconds duration, CGPoint position, float height,
                                unsigned jumps) {
  CCActionInterval::initWithDuration(duration);
  position_ = position;
  height_ = height;
  jumps_ = jumps;
  return true;
}

CCJumpBy* CCJumpBy::copyWithZone(NSZone*) const {
  auto* copy = new CCJumpBy();
  copy->initWithDuration(duration_, position_, height_, jumps_);
  copy->tag_ = tag_;
  return copy;
}

void CCJumpBy::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  startPosition_ = nodeTarget(target)->position();
  delta_ = position_;
}

void CCJumpBy::update(ccSeconds t) {
  float frac = std::fmod(t * jumps_, 1.0f);
  float y = height_ * 4 * frac * (1 - frac) + delta_.y * t;
  float x = delta_.x * t;
  node(target_)->setPosition({startPosition_.x + x, startPosition_.y + y});
}

Ptr<CCFiniteTimeAction> CCJumpBy::reverse() const {
  return actionWithDuration(duration_, {-position_.x, -position_.y}, height_, jumps_);
}

Ptr<CCJumpTo> CCJumpTo::actionWithDuration(ccSeconds duration, CGPoint position, float height,
                                           unsigned jumps) {
  auto action = makeObject<CCJumpTo>();
  action->initWithDuration(duration, position, height, jumps);
  return action;
}

CCJumpTo* CCJumpTo::copyWithZone(NSZone*) const {
  auto* copy = new CCJumpTo();
  copy->initWithDuration(duration_, position_, height_, jumps_);
  copy->tag_ = tag_;
  return copy;
}

void CCJumpTo::startWithTarget(NSObject* target) {
  // The configured end point stays as given, so a restart aims at it again.
  CCJumpBy::startWithTarget(target);
  delta_ = {position_.x - startPosition_.x, position_.y - startPosition_.y};
}

Ptr<CCFiniteTimeAction> CCJumpTo::reverse() const {
  return CCActionInterval::reverse();
}

// MARK: Bezier paths

namespace {
float bezierAt(float c1, float c2, float end, float t) {
  float u = 1 - t;
  return 3 * t * u * u * c1 + 3 * t * t * u * c2 + t * t * t * end;
}
CGPoint minus(CGPoint a, CGPoint b) {
  return {a.x - b.x, a.y - b.y};
}
}  // namespace

Ptr<CCBezierBy> CCBezierBy::actionWithDuration(ccSeconds duration, const ccBezierConfig& config) {
  auto action = makeObject<CCBezierBy>();
  action->initWithDuration(duration, config);
  return action;
}

bool CCBezierBy::initWithDuration(ccSeconds duration, const ccBezierConfig& config) {
  CCActionInterval::initWithDuration(duration);
  config_ = config;
  path_ = config;
  return true;
}

CCBezierBy* CCBezierBy::copyWithZone(NSZone*) const {
  auto* copy = new CCBezierBy();
  copy->initWithDuration(duration_, config_);
  copy->tag_ = tag_;
  return copy;
}

void CCBezierBy::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  startPosition_ = nodeTarget(target)->position();
  path_ = config_;
}

void CCBezierBy::update(ccSeconds t) {
  float x = bezierAt(path_.controlPoint_1.x, path_.controlPoint_2.x, path_.endPosition.x, t);
  float y = bezierAt(path_.controlPoint_1.y, path_.controlPoint_2.y, path_.endPosition.y, t);
  node(target_)->setPosition({startPosition_.x + x, startPosition_.y + y});
}

Ptr<CCFiniteTimeAction> CCBezierBy::reverse() const {
  ccBezierConfig r;
  r.endPosition = {-config_.endPosition.x, -config_.endPosition.y};
  r.controlPoint_1 = minus(config_.controlPoint_2, config_.endPosition);
  r.controlPoint_2 = minus(config_.controlPoint_1, config_.endPosition);
  return actionWithDuration(duration_, r);
}

Ptr<CCBezierTo> CCBezierTo::actionWithDuration(ccSeconds duration, const ccBezierConfig& config) {
  auto action = makeObject<CCBezierTo>();
  action->initWithDuration(duration, config);
  return action;
}

CCBezierTo* CCBezierTo::copyWithZone(NSZone*) const {
  auto* copy = new CCBezierTo();
  copy->initWithDuration(duration_, config_);
  copy->tag_ = tag_;
  return copy;
}

void CCBezierTo::startWithTarget(NSObject* target) {
  // The absolute points are made relative on a working copy, so that a
  // restart (in a repeat) does not subtract the start twice.
  CCBezierBy::startWithTarget(target);
  path_.endPosition = minus(config_.endPosition, startPosition_);
  path_.controlPoint_1 = minus(config_.controlPoint_1, startPosition_);
  path_.controlPoint_2 = minus(config_.controlPoint_2, startPosition_);
}

Ptr<CCFiniteTimeAction> CCBezierTo::reverse() const {
  return CCActionInterval::reverse();
}

// MARK: fades and tints

void CCActionIntervalRGBA::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  rgba_ = dynamic_cast<CCRGBAProtocol*>(target);
  CCAssert(rgba_ != nullptr, "Action target must have colour and opacity");
}

Ptr<CCFadeIn> CCFadeIn::actionWithDuration(ccSeconds duration) {
  auto action = makeObject<CCFadeIn>();
  action->initWithDuration(duration);
  return action;
}

CCFadeIn* CCFadeIn::copyWithZone(NSZone*) const {
  auto* copy = new CCFadeIn();
  copy->initWithDuration(duration_);
  copy->tag_ = tag_;
  return copy;
}

void CCFadeIn::update(ccSeconds t) {
  rgba_->setOpacity(clampToByte(255 * t));
}

Ptr<CCFiniteTimeAction> CCFadeIn::reverse() const {
  return CCFadeOut::actionWithDuration(duration_);
}

Ptr<CCFadeOut> CCFadeOut::actionWithDuration(ccSeconds duration) {
  auto action = makeObject<CCFadeOut>();
  action->initWithDuration(duration);
  return action;
}

CCFadeOut* CCFadeOut::copyWithZone(NSZone*) const {
  auto* copy = new CCFadeOut();
  copy->initWithDuration(duration_);
  copy->tag_ = tag_;
  return copy;
}

void CCFadeOut::update(ccSeconds t) {
  rgba_->setOpacity(clampToByte(255 * (1 - t)));
}

Ptr<CCFiniteTimeAction> CCFadeOut::reverse() const {
  return CCFadeIn::actionWithDuration(duration_);
}

Ptr<CCFadeTo> CCFadeTo::actionWithDuration(ccSeconds duration, GLubyte opacity) {
  auto action = makeObject<CCFadeTo>();
  action->initWithDuration(duration, opacity);
  return action;
}

bool CCFadeTo::initWithDuration(ccSeconds duration, GLubyte opacity) {
  CCActionInterval::initWithDuration(duration);
  toOpacity_ = opacity;
  return true;
}

CCFadeTo* CCFadeTo::copyWithZone(NSZone*) const {
  auto* copy = new CCFadeTo();
  copy->initWithDuration(duration_, toOpacity_);
  copy->tag_ = tag_;
  return copy;
}

void CCFadeTo::startWithTarget(NSObject* target) {
  CCActionIntervalRGBA::startWithTarget(target);
  fromOpacity_ = rgba_->opacity();
}

void CCFadeTo::update(ccSeconds t) {
  rgba_->setOpacity(clampToByte(fromOpacity_ + (toOpacity_ - fromOpacity_) * t));
}

Ptr<CCTintTo> CCTintTo::actionWithDuration(ccSeconds duration, GLubyte red, GLubyte green,
                                           GLubyte blue) {
  auto action = makeObject<CCTintTo>();
  action->initWithDuration(duration, red, green, blue);
  return action;
}

bool CCTintTo::initWithDuration(ccSeconds duration, GLubyte red, GLubyte green, GLubyte blue) {
  CCActionInterval::initWithDuration(duration);
  to_ = {red, green, blue};
  return true;
}

CCTintTo* CCTintTo::copyWithZone(NSZone*) const {
  auto* copy = new CCTintTo();
  copy->initWithDuration(duration_, to_.r, to_.g, to_.b);
  copy->tag_ = tag_;
  return copy;
}

void CCTintTo::startWithTarget(NSObject* target) {
  CCActionIntervalRGBA::startWithTarget(target);
  from_ = rgba_->color();
}

void CCTintTo::update(ccSeconds t) {
  rgba_->setColor({clampToByte(from_.r + (to_.r - from_.r) * t),
                   clampToByte(from_.g + (to_.g - from_.g) * t),
                   clampToByte(from_.b + (to_.b - from_.b) * t)});
}

Ptr<CCTintBy> CCTintBy::actionWithDuration(ccSeconds duration, GLshort deltaRed, GLshort deltaGreen,
                                           GLshort deltaBlue) {
  auto action = makeObject<CCTintBy>();
  action->initWithDuration(duration, deltaRed, deltaGreen, deltaBlue);
  return action;
}

bool CCTintBy::initWithDuration(ccSeconds duration, GLshort deltaRed, GLshort deltaGreen,
                                GLshort deltaBlue) {
  CCActionInterval::initWithDuration(duration);
  deltaR_ = deltaRed;
  deltaG_ = deltaGreen;
  deltaB_ = deltaBlue;
  return true;
}

CCTintBy* CCTintBy::copyWithZone(NSZone*) const {
  auto* copy = new CCTintBy();
  copy->initWithDuration(duration_, deltaR_, deltaG_, deltaB_);
  copy->tag_ = tag_;
  return copy;
}

void CCTintBy::startWithTarget(NSObject* target) {
  CCActionIntervalRGBA::startWithTarget(target);
  ccColor3B color = rgba_->color();
  fromR_ = color.r;
  fromG_ = color.g;
  fromB_ = color.b;
}

void CCTintBy::update(ccSeconds t) {
  rgba_->setColor({clampToByte(fromR_ + deltaR_ * t), clampToByte(fromG_ + deltaG_ * t),
                   clampToByte(fromB_ + deltaB_ * t)});
}

Ptr<CCFiniteTimeAction> CCTintBy::reverse() const {
  return actionWithDuration(duration_, GLshort(-deltaR_), GLshort(-deltaG_), GLshort(-deltaB_));
}

// MARK: blink and delay

Ptr<CCBlink> CCBlink::actionWithDuration(ccSeconds duration, unsigned blinks) {
  auto action = makeObject<CCBlink>();
  action->initWithDuration(duration, blinks);
  return action;
}

bool CCBlink::initWithDuration(ccSeconds duration, unsigned blinks) {
  CCActionInterval::initWithDuration(duration);
  times_ = blinks;
  return true;
}

CCBlink* CCBlink::copyWithZone(NSZone*) const {
  auto* copy = new CCBlink();
  copy->initWithDuration(duration_, times_);
  copy->tag_ = tag_;
  return copy;
}

void CCBlink::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  nodeTarget(target);
}

void CCBlink::update(ccSeconds t) {
  // No blinks means no change (a slice of 1 / 0 would hide the node).
  if (isDone() || times_ == 0) return;
  float slice = 1.0f / times_;
  float m = std::fmod(t, slice);
  node(target_)->setVisible(m > slice / 2);
}

Ptr<CCFiniteTimeAction> CCBlink::reverse() const {
  return actionWithDuration(duration_, times_);
}

Ptr<CCDelayTime> CCDelayTime::actionWithDuration(ccSeconds duration) {
  auto action = makeObject<CCDelayTime>();
  action->initWithDuration(duration);
  return action;
}

CCDelayTime* CCDelayTime::copyWithZone(NSZone*) const {
  auto* copy = new CCDelayTime();
  copy->initWithDuration(duration_);
  copy->tag_ = tag_;
  return copy;
}

void CCDelayTime::update(ccSeconds) {}

Ptr<CCFiniteTimeAction> CCDelayTime::reverse() const {
  return actionWithDuration(duration_);
}

// MARK: frame animation

Ptr<CCAnimation> CCAnimation::animationWithFrames(const std::vector<Ptr<NSObject>>& frames) {
  auto animation = makeObject<CCAnimation>();
  animation->frames_ = frames;
  return animation;
}

Ptr<CCAnimate> CCAnimate::actionWithDuration(ccSeconds duration, CCAnimation* animation,
                                             bool restoreOriginalFrame) {
  auto action = makeObject<CCAnimate>();
  if (!action->initWithDuration(duration, animation, restoreOriginalFrame)) return nullptr;
  return action;
}

bool CCAnimate::initWithDuration(ccSeconds duration, CCAnimation* animation,
                                 bool restoreOriginalFrame) {
  CCAssert(animation != nullptr, "Animate: argument Animation must be non-nil");
  CCActionInterval::initWithDuration(duration);
  animation_ = animation;
  restoreOriginalFrame_ = restoreOriginalFrame;
  return true;
}

CCAnimate* CCAnimate::copyWithZone(NSZone*) const {
  auto* copy = new CCAnimate();
  copy->initWithDuration(duration_, animation_.get(), restoreOriginalFrame_);
  copy->tag_ = tag_;
  return copy;
}

void CCAnimate::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  display_ = dynamic_cast<CCFrameDisplayProtocol*>(target);
  CCAssert(display_ != nullptr, "Action target must be able to display frames");
  origFrame_ = nullptr;
  if (restoreOriginalFrame_) origFrame_ = display_->displayedFrame();
}

void CCAnimate::stop() {
  if (restoreOriginalFrame_ && display_ && origFrame_) display_->setDisplayFrame(origFrame_.get());
  origFrame_ = nullptr;
  CCActionInterval::stop();
}

void CCAnimate::update(ccSeconds t) {
  const auto& frames = animation_->frames();
  if (frames.empty()) return;
  std::size_t n = frames.size();
  auto index = static_cast<std::size_t>(std::max(0.0f, t) * n);
  index = std::min(index, n - 1);
  NSObject* frame = frames[index].get();
  if (!display_->isFrameDisplayed(frame)) display_->setDisplayFrame(frame);
}
