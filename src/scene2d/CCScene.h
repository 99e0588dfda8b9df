#pragma once
#include "CCNode.h"

// The root of a node tree that the director runs: it fills the window and
// its position names its lower-left corner.
class CCScene : public CCNode {
 public:
  static Ptr<CCScene> node();
  CCScene();
};
