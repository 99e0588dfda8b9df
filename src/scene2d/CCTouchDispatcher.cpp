#include "CCTouchDispatcher.h"

#include <algorithm>
#include <mutex>

#include "Assert.h"

namespace {
CCTouchDispatcher* gSharedDispatcher = nullptr;
std::mutex gDispatcherCreation;

constexpr unsigned kPhaseBits[kCCTouchMax] = {kCCTouchSelectorBeganBit, kCCTouchSelectorMovedBit,
                                              kCCTouchSelectorEndedBit,
                                              kCCTouchSelectorCancelledBit};
}  // namespace

CCTouchDispatcher* CCTouchDispatcher::sharedDispatcher() {
  std::lock_guard<std::mutex> lock(gDispatcherCreation);
  if (!gSharedDispatcher) gSharedDispatcher = new CCTouchDispatcher();
  return gSharedDispatcher;
}

void CCTouchDispatcher::purgeSharedDispatcher() {
  std::lock_guard<std::mutex> lock(gDispatcherCreation);
  if (CCTouchDispatcher* d = std::exchange(gSharedDispatcher, nullptr)) d->release();
}

CCTouchDispatcher::CCTouchDispatcher() {
  // Called with the creation lock held by sharedDispatcher, or directly.
  CCAssert(gSharedDispatcher == nullptr, "Attempted to allocate a second instance of a singleton.");
  targetedHandlers_.reserve(8);
  standardHandlers_.reserve(4);
  handlersToAdd_.reserve(8);
  handlersToRemove_.reserve(8);
}

CCTouchDispatcher::~CCTouchDispatcher() {
  if (gSharedDispatcher == this) gSharedDispatcher = nullptr;
}

// MARK: registration

template <class Handler>
void CCTouchDispatcher::forceAddHandler(Handler* handler, std::vector<Ptr<Handler>>& array) {
  // Before existing handlers of the same priority: the latest is served first.
  std::size_t index = 0;
  for (const auto& h : array) {
    if (h->priority() < handler->priority()) ++index;
    CCAssert(h->delegate() != handler->delegate(), "Delegate already added to touch dispatcher.");
  }
  array.insert(array.begin() + std::ptrdiff_t(index), Ptr<Handler>(handler));
}

void CCTouchDispatcher::addStandardDelegate(CCStandardTouchDelegate* delegate, int priority) {
  auto handler = CCStandardTouchHandler::handlerWithDelegate(delegate, priority);
  if (locked_) {
    handlersToAdd_.push_back(handler);
    toAdd_ = true;
  } else {
    forceAddHandler(handler.get(), standardHandlers_);
  }
}

void CCTouchDispatcher::addTargetedDelegate(CCTargetedTouchDelegate* delegate, int priority,
                                            bool swallowsTouches) {
  auto handler = CCTargetedTouchHandler::handlerWithDelegate(delegate, priority, swallowsTouches);
  if (locked_) {
    handlersToAdd_.push_back(handler);
    toAdd_ = true;
  } else {
    forceAddHandler(handler.get(), targetedHandlers_);
  }
}

void CCTouchDispatcher::forceRemoveDelegate(NSObject* delegate) {
  auto eraseFirst = [delegate](auto& array) {
    auto it = std::find_if(array.begin(), array.end(),
                           [delegate](const auto& h) { return h->delegate() == delegate; });
    if (it != array.end()) array.erase(it);
  };
  eraseFirst(targetedHandlers_);
  eraseFirst(standardHandlers_);
}

void CCTouchDispatcher::removeDelegate(NSObject* delegate) {
  if (!delegate) return;
  if (locked_) {
    handlersToRemove_.emplace_back(delegate);
    toRemove_ = true;
  } else {
    forceRemoveDelegate(delegate);
  }
}

void CCTouchDispatcher::removeAllDelegates() {
  if (locked_) {
    toQuit_ = true;
  } else {
    targetedHandlers_.clear();
    standardHandlers_.clear();
  }
}

void CCTouchDispatcher::setPriority(int, NSObject*) {
  CCAssert(false, "Set priority no implemented yet. Don't forget to report this bug!");
}

// MARK: dispatch

void CCTouchDispatcher::touchesBegan(const UITouchSet& touches, UIEvent* event) {
  if (dispatchEvents_) this->touches(touches, event, kCCTouchBegan);
}

void CCTouchDispatcher::touchesMoved(const UITouchSet& touches, UIEvent* event) {
  if (dispatchEvents_) this->touches(touches, event, kCCTouchMoved);
}

void CCTouchDispatcher::touchesEnded(const UITouchSet& touches, UIEvent* event) {
  if (dispatchEvents_) this->touches(touches, event, kCCTouchEnded);
}

void CCTouchDispatcher::touchesCancelled(const UITouchSet& touches, UIEvent* event) {
  if (dispatchEvents_) this->touches(touches, event, kCCTouchCancelled);
}

void CCTouchDispatcher::dispatchTargeted(UITouch* touch, UIEvent* event, unsigned idx,
                                         UITouchSet* leftOver) {
  for (const auto& handler : targetedHandlers_) {
    CCTargetedTouchDelegate* delegate = handler->targetedDelegate();
    bool claimed = false;
    if (idx == kCCTouchBegan) {
      claimed = delegate->ccTouchBegan(touch, event);
      if (claimed) handler->claim(touch);
    } else if (handler->claims(touch)) {
      claimed = true;
      if (handler->enabledSelectors() & kPhaseBits[idx]) {
        if (idx == kCCTouchMoved)
          delegate->ccTouchMoved(touch, event);
        else if (idx == kCCTouchEnded)
          delegate->ccTouchEnded(touch, event);
        else
          delegate->ccTouchCancelled(touch, event);
      }
      if (idx == kCCTouchEnded || idx == kCCTouchCancelled) handler->unclaim(touch);
    }
    if (claimed && handler->swallowsTouches()) {
      if (leftOver) std::erase(*leftOver, touch);
      return;
    }
  }
}

void CCTouchDispatcher::dispatchStandard(const UITouchSet& touches, UIEvent* event, unsigned idx) {
  for (const auto& handler : standardHandlers_) {
    if (!(handler->enabledSelectors() & kPhaseBits[idx])) continue;
    CCStandardTouchDelegate* delegate = handler->standardDelegate();
    switch (idx) {
      case kCCTouchBegan:
        delegate->ccTouchesBegan(touches, event);
        break;
      case kCCTouchMoved:
        delegate->ccTouchesMoved(touches, event);
        break;
      case kCCTouchEnded:
        delegate->ccTouchesEnded(touches, event);
        break;
      default:
        delegate->ccTouchesCancelled(touches, event);
        break;
    }
  }
}

void CCTouchDispatcher::touches(const UITouchSet& touches, UIEvent* event, unsigned idx) {
  CCAssert(idx < kCCTouchMax, "Invalid idx value");
  Ptr<CCTouchDispatcher> hold(this);  // a delegate may end the director meanwhile
  locked_ = true;
  const bool needsCopy = !targetedHandlers_.empty() && !standardHandlers_.empty();
  UITouchSet leftOver;
  if (needsCopy) leftOver = touches;
  if (!targetedHandlers_.empty())
    for (UITouch* touch : touches)
      dispatchTargeted(touch, event, idx, needsCopy ? &leftOver : nullptr);
  const UITouchSet& forStandard = needsCopy ? leftOver : touches;
  if (!standardHandlers_.empty() && !forStandard.empty()) dispatchStandard(forStandard, event, idx);
  locked_ = false;
  applyPendingChanges();
}

void CCTouchDispatcher::applyPendingChanges() {
  if (toRemove_) {
    toRemove_ = false;
    for (const auto& delegate : handlersToRemove_) forceRemoveDelegate(delegate.get());
    handlersToRemove_.clear();
  }
  if (toAdd_) {
    toAdd_ = false;
    for (const auto& handler : handlersToAdd_) {
      if (auto* targeted = dynamic_cast<CCTargetedTouchHandler*>(handler.get()))
        forceAddHandler(targeted, targetedHandlers_);
      else
        forceAddHandler(static_cast<CCStandardTouchHandler*>(handler.get()), standardHandlers_);
    }
    handlersToAdd_.clear();
  }
  if (toQuit_) {
    toQuit_ = false;
    targetedHandlers_.clear();
    standardHandlers_.clear();
  }
}
