#pragma once
#include <vector>

#include "CCTouchHandler.h"
#include "EAGLView.h"
#include "NSObject.h"

enum {
  kCCTouchBegan = 0,
  kCCTouchMoved = 1,
  kCCTouchEnded = 2,
  kCCTouchCancelled = 3,
  kCCTouchMax = 4
};

// Hands the graphics view's touches to registered delegates in priority
// order: targeted delegates first, one touch at a time, with claiming and
// swallowing; then standard delegates with the touches left over.
// Registrations changed during a dispatch take effect right after it.
class CCTouchDispatcher : public NSObject, public EAGLTouchDelegate {
 public:
  static CCTouchDispatcher* sharedDispatcher();
  // Forgets the shared dispatcher (tests); no view may still point at it.
  static void purgeSharedDispatcher();
  CCTouchDispatcher();
  ~CCTouchDispatcher() override;

  void addStandardDelegate(CCStandardTouchDelegate* delegate, int priority);
  void addTargetedDelegate(CCTargetedTouchDelegate* delegate, int priority, bool swallowsTouches);
  void removeDelegate(NSObject* delegate);
  void removeAllDelegates();
  // Not offered: remove the delegate and add it again instead.
  void setPriority(int priority, NSObject* delegate);

  void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
  void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
  void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
  void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;
  void touches(const UITouchSet& touches, UIEvent* event, unsigned idx);

  bool dispatchEvents() const { return dispatchEvents_; }
  void setDispatchEvents(bool dispatch) { dispatchEvents_ = dispatch; }
  const std::vector<Ptr<CCTargetedTouchHandler>>& targetedHandlers() const {
    return targetedHandlers_;
  }
  const std::vector<Ptr<CCStandardTouchHandler>>& standardHandlers() const {
    return standardHandlers_;
  }

 private:
  template <class Handler>
  void forceAddHandler(Handler* handler, std::vector<Ptr<Handler>>& array);
  void forceRemoveDelegate(NSObject* delegate);
  void dispatchTargeted(UITouch* touch, UIEvent* event, unsigned idx, UITouchSet* leftOver);
  void dispatchStandard(const UITouchSet& touches, UIEvent* event, unsigned idx);
  void applyPendingChanges();

  std::vector<Ptr<CCTargetedTouchHandler>> targetedHandlers_;
  std::vector<Ptr<CCStandardTouchHandler>> standardHandlers_;
  bool locked_ = false;
  bool toAdd_ = false, toRemove_ = false, toQuit_ = false;
  std::vector<Ptr<CCTouchHandler>> handlersToAdd_;
  std::vector<Ptr<NSObject>> handlersToRemove_;
  bool dispatchEvents_ = true;
};
