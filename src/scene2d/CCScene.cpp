#include "CCScene.h"

#include "CCDirector.h"

Ptr<CCScene> CCScene::node() {
  return makeObject<CCScene>();
}

CCScene::CCScene() {
  isRelativeAnchorPoint_ = false;
  setAnchorPoint({0.5f, 0.5f});
  setContentSize(CCDirector::sharedDirector()->winSize());
}
