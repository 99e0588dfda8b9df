#include "CCTouchHandler.h"

#include <algorithm>

#include "Assert.h"

namespace {
// A delegate is an engine object that also speaks a touch protocol.
template <class Protocol>
NSObject* delegateObject(Protocol* delegate) {
  CCAssert(delegate != nullptr, "Touch delegate may not be nil");
  auto* object = dynamic_cast<NSObject*>(delegate);
  CCAssert(object != nullptr, "Touch delegate must be an engine object");
  return object;
}
}  // namespace

CCTouchHandler::CCTouchHandler(NSObject* delegate, int priority)
    : delegate_(delegate), priority_(priority) {}

Ptr<CCStandardTouchHandler> CCStandardTouchHandler::handlerWithDelegate(
    CCStandardTouchDelegate* delegate, int priority) {
  return makeObject<CCStandardTouchHandler>(delegate, priority);
}

CCStandardTouchHandler::CCStandardTouchHandler(CCStandardTouchDelegate* delegate, int priority)
    : CCTouchHandler(delegateObject(delegate), priority), standard_(delegate) {
  enabledSelectors_ = unsigned(delegate->standardTouchPhases()) & kCCTouchSelectorAllBits;
}

Ptr<CCTargetedTouchHandler> CCTargetedTouchHandler::handlerWithDelegate(
    CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches) {
  return makeObject<CCTargetedTouchHandler>(delegate, priority, swallowsTouches);
}

CCTargetedTouchHandler::CCTargetedTouchHandler(CCTargetedTouchDelegate* delegate, int priority,
                                               bool swallowsTouches)
    : CCTouchHandler(delegateObject(delegate), priority),
      targeted_(delegate),
      swallowsTouches_(swallowsTouches) {
  enabledSelectors_ = (unsigned(delegate->targetedTouchPhases()) | kCCTouchSelectorBeganBit) &
                      kCCTouchSelectorAllBits;
  claimedTouches_.reserve(2);
}

CCTargetedTouchHandler::~CCTargetedTouchHandler() {
  for (UITouch* touch : claimedTouches_) touch->release();
}

bool CCTargetedTouchHandler::claims(const UITouch* touch) const {
  return std::find(claimedTouches_.begin(), claimedTouches_.end(), touch) != claimedTouches_.end();
}

void CCTargetedTouchHandler::claim(UITouch* touch) {
  if (claims(touch)) return;
  touch->retain();
  claimedTouches_.push_back(touch);
}

void CCTargetedTouchHandler::unclaim(UITouch* touch) {
  auto it = std::find(claimedTouches_.begin(), claimedTouches_.end(), touch);
  if (it == claimedTouches_.end()) return;
  claimedTouches_.erase(it);
  touch->release();
}
