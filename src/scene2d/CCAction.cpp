#include "CCAction.h"

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
