#pragma once
#include "CCNode.h"

class CCScene : public CCNode {
 public:
  static Ptr<CCScene> node() { return makeObject<CCScene>(); }
};
