#include "CCLayer.h"

#include "Assert.h"
#include "CCDirector.h"
#include "CCTouchDispatcher.h"

Ptr<CCLayer> CCLayer::node() {
  return makeObject<CCLayer>();
}

CCLayer::CCLayer() {
  setAnchorPoint({0.5f, 0.5f});
  setContentSize(CCDirector::sharedDirector()->winSize());
  isRelativeAnchorPoint_ = false;
}

CCLayer::~CCLayer() {
  // A layer that is dropped while it still has the accelerometer lets go of it.
  if (isAccelerometerEnabled_ && UIAccelerometer::sharedAccelerometer().delegate() == this)
    UIAccelerometer::sharedAccelerometer().setDelegate(nullptr);
}

void CCLayer::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addStandardDelegate(this, 0);
}

void CCLayer::setIsTouchEnabled(bool enabled) {
  if (enabled == isTouchEnabled_) return;
  isTouchEnabled_ = enabled;
  if (!isRunning_) return;
  if (enabled)
    registerWithTouchDispatcher();
  else
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
}

void CCLayer::setIsAccelerometerEnabled(bool enabled) {
  if (enabled == isAccelerometerEnabled_) return;
  isAccelerometerEnabled_ = enabled;
  if (isRunning_) UIAccelerometer::sharedAccelerometer().setDelegate(enabled ? this : nullptr);
}

void CCLayer::onEnter() {
  if (isTouchEnabled_) registerWithTouchDispatcher();
  CCNode::onEnter();
}

void CCLayer::onEnterTransitionDidFinish() {
  if (isAccelerometerEnabled_) UIAccelerometer::sharedAccelerometer().setDelegate(this);
  CCNode::onEnterTransitionDidFinish();
}

void CCLayer::onExit() {
  if (isTouchEnabled_) CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
  if (isAccelerometerEnabled_) UIAccelerometer::sharedAccelerometer().setDelegate(nullptr);
  CCNode::onExit();
}

bool CCLayer::ccTouchBegan(UITouch*, UIEvent*) {
  CCAssert(false, "Layer#ccTouchBegan override me");
  return true;
}
