#pragma once
#include <vector>

#include "CCTouchDelegateProtocol.h"
#include "NSObject.h"

// A registered touch delegate (retained) with its priority: lower numbers
// are served first.
class CCTouchHandler : public NSObject {
 public:
  NSObject* delegate() const { return delegate_.get(); }
  int priority() const { return priority_; }
  void setPriority(int priority) { priority_ = priority; }
  unsigned enabledSelectors() const { return enabledSelectors_; }

 protected:
  CCTouchHandler(NSObject* delegate, int priority);
  Ptr<NSObject> delegate_;
  int priority_;
  unsigned enabledSelectors_ = 0;
};

class CCStandardTouchHandler : public CCTouchHandler {
 public:
  static Ptr<CCStandardTouchHandler> handlerWithDelegate(CCStandardTouchDelegate* delegate,
                                                         int priority);
  explicit CCStandardTouchHandler(CCStandardTouchDelegate* delegate, int priority);
  CCStandardTouchDelegate* standardDelegate() const { return standard_; }

 private:
  CCStandardTouchDelegate* standard_;
};

class CCTargetedTouchHandler : public CCTouchHandler {
 public:
  static Ptr<CCTargetedTouchHandler> handlerWithDelegate(CCTargetedTouchDelegate* delegate,
                                                         int priority, bool swallowsTouches);
  CCTargetedTouchHandler(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches);
  ~CCTargetedTouchHandler() override;
  CCTargetedTouchDelegate* targetedDelegate() const { return targeted_; }
  bool swallowsTouches() const { return swallowsTouches_; }
  void setSwallowsTouches(bool swallows) { swallowsTouches_ = swallows; }

  // The touches this handler claimed, from began to ended or cancelled.
  bool claims(const UITouch* touch) const;
  void claim(UITouch* touch);
  void unclaim(UITouch* touch);
  std::size_t claimedTouchCount() const { return claimedTouches_.size(); }

 private:
  CCTargetedTouchDelegate* targeted_;
  bool swallowsTouches_;
  std::vector<UITouch*> claimedTouches_;  // retained
};
