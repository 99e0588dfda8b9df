#include "ControllableCCLayer.h"

#include "Assert.h"
#include "CCDirector.h"

Ptr<ControllableCCLayer> ControllableCCLayer::node() {
  return makeObject<ControllableCCLayer>();
}

Ptr<ControllableCCLayer> ControllableCCLayer::layerWithColor(ccColor4B color, float width,
                                                             float height) {
  return makeObject<ControllableCCLayer>(color, width, height);
}

ControllableCCLayer::ControllableCCLayer() {
  isColored_ = false;
  didUpdateContentSizeFrom(CGSizeZero);
  initInitialState();
}

ControllableCCLayer::ControllableCCLayer(ccColor4B color, float width, float height)
    : CCLayerColor(color, width, height) {
  isColored_ = true;
  // The base set the size before this class existed: take it as the first change.
  didUpdateContentSizeFrom(CGSizeZero);
  initInitialState();
}

ControllableCCLayer::~ControllableCCLayer() {
  controller_ = nullptr;
}

void ControllableCCLayer::initInitialState() {
  alignContentSizeWithDeviceOrientation_ = true;
}

void ControllableCCLayer::setContentSize(CGSize size) {
  const CGSize old = contentSize_;
  CCLayerColor::setContentSize(size);
  if (!(size == old)) didUpdateContentSizeFrom(old);
}

void ControllableCCLayer::didUpdateContentSizeFrom(CGSize) {
  const CGSize s = contentSize_;
  CGSize home;
  const UIDeviceOrientation orientation = CCDirector::sharedDirector()->deviceOrientation();
  if (UIDeviceOrientationIsPortrait(orientation)) {
    home = s;
  } else if (UIDeviceOrientationIsLandscape(orientation)) {
    home = {s.height, s.width};
  } else {
    CCAssert(false, "Unknown device orientation");
    return;
  }
  if (home == homeContentSize_) return;
  const CGSize oldHome = homeContentSize_;
  homeContentSize_ = home;
  didUpdateHomeContentSizeFrom(oldHome);
}

void ControllableCCLayer::deviceOrientationDidChange(UIDeviceOrientation orientation) {
  if (alignContentSizeWithDeviceOrientation_) {
    const CGSize home = homeContentSize_;
    if (UIDeviceOrientationIsPortrait(orientation))
      setContentSize(home);
    else if (UIDeviceOrientationIsLandscape(orientation))
      setContentSize({home.height, home.width});
    else
      CCAssert(false, "Change to unknown device orientation");
  }
  CCLayerColor::deviceOrientationDidChange(orientation);
}

void ControllableCCLayer::draw() {
  if (isColored_) CCLayerColor::draw();
}

void ControllableCCLayer::onEnter() {
  CCLayerColor::onEnter();
  // The director's clear colour, used by its glClear outside the 3D pass: not
  // through the state engine, which would put the old value back when it closes.
  glClearColor(0, 0, 0, 1);
}

void ControllableCCLayer::onExit() {
  CCLayerColor::onExit();
}
