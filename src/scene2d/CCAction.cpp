#include "CCAction.h"

#include "CCActionInterval.h"
#include "Log.h"

Ptr<CCAction> CCAction::action() {
  return makeObject<CCAction>();
}

CCAction* CCAction::copyWithZone(NSZone*) const {
  auto* copy = new CCAction();
  copy->tag_ = tag_;
  return copy;
}

void CCAction::startWithTarget(NSObject* target) {
  originalTarget_ = target;
  target_ = target;
}

void CCAction::stop() {
  target_ = nullptr;
}

void CCAction::step(ccSeconds) {
  CCLOG("[Action step]. override me");
}

void CCAction::update(ccSeconds) {
  CCLOG("[Action update]. override me");
}

std::string CCAction::description() const {
  return objectAddressPrefix(this) + " | Tag = " + std::to_string(tag_) + ">";
}

CCFiniteTimeAction* CCFiniteTimeAction::copyWithZone(NSZone*) const {
  auto* copy = new CCFiniteTimeAction();
  copy->tag_ = tag_;
  copy->duration_ = duration_;
  return copy;
}

Ptr<CCFiniteTimeAction> CCFiniteTimeAction::reverse() const {
  return nullptr;
}

// MARK: repeat forever

Ptr<CCRepeatForever> CCRepeatForever::actionWithAction(CCActionInterval* action) {
  return makeObject<CCRepeatForever>(action);
}

CCRepeatForever::CCRepeatForever(CCActionInterval* action) : innerAction_(action) {}

CCRepeatForever::~CCRepeatForever() = default;

CCRepeatForever* CCRepeatForever::copyWithZone(NSZone*) const {
  return new CCRepeatForever(copyAction(innerAction_.get()).get());
}

void CCRepeatForever::startWithTarget(NSObject* target) {
  CCAction::startWithTarget(target);
  innerAction_->startWithTarget(target);
}

void CCRepeatForever::step(ccSeconds dt) {
  innerAction_->step(dt);
  if (innerAction_->isDone()) {
    // The restarted action's first tick discards this time, so each round
    // starts again at t = 0.
    ccSeconds diff = dt + innerAction_->duration() - innerAction_->elapsed();
    innerAction_->startWithTarget(target_);
    innerAction_->step(diff);
  }
}

Ptr<CCRepeatForever> CCRepeatForever::reverse() const {
  auto inner = dynamicPtrCast<CCActionInterval>(innerAction_->reverse());
  return inner ? actionWithAction(inner.get()) : nullptr;
}

CCActionInterval* CCRepeatForever::innerAction() const {
  return innerAction_.get();
}

void CCRepeatForever::setInnerAction(CCActionInterval* action) {
  innerAction_ = action;
}

// MARK: speed

Ptr<CCSpeed> CCSpeed::actionWithAction(CCActionInterval* action, float speed) {
  return makeObject<CCSpeed>(action, speed);
}

CCSpeed::CCSpeed(CCActionInterval* action, float speed) : innerAction_(action), speed_(speed) {}

CCSpeed::~CCSpeed() = default;

CCSpeed* CCSpeed::copyWithZone(NSZone*) const {
  return new CCSpeed(copyAction(innerAction_.get()).get(), speed_);
}

void CCSpeed::startWithTarget(NSObject* target) {
  CCAction::startWithTarget(target);
  innerAction_->startWithTarget(target);
}

void CCSpeed::stop() {
  innerAction_->stop();
  CCAction::stop();
}

void CCSpeed::step(ccSeconds dt) {
  innerAction_->step(dt * speed_);
}

bool CCSpeed::isDone() const {
  return innerAction_->isDone();
}

Ptr<CCSpeed> CCSpeed::reverse() const {
  auto inner = dynamicPtrCast<CCActionInterval>(innerAction_->reverse());
  return inner ? actionWithAction(inner.get(), speed_) : nullptr;
}

CCActionInterval* CCSpeed::innerAction() const {
  return innerAction_.get();
}

void CCSpeed::setInnerAction(CCActionInterval* action) {
  innerAction_ = action;
}
