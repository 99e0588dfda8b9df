#pragma once
// Placeholder node interface used by the director until the node family lands.
#include "NSObject.h"

class CCNode : public NSObject {
 public:
  virtual void visit() {}
  virtual void onEnter() { isRunning_ = true; }
  virtual void onEnterTransitionDidFinish() {}
  virtual void onExit() { isRunning_ = false; }
  virtual void cleanup() {}
  bool isRunning() const { return isRunning_; }

 private:
  bool isRunning_ = false;
};
