#pragma once
#include "NSObject.h"

class CCNode;

// What a node needs of an attached grid effect: whether it is active, and
// the hooks that wrap the node's drawing.
class CCGridBase : public NSObject {
 public:
  virtual bool active() const = 0;
  virtual void beforeDraw() = 0;
  virtual void afterDraw(CCNode* target) = 0;
};
