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
  switch (CCDirector::sharedDirector()->deviceOrientation()) {
    case 1:
    case 2:
      home = s;
      break;
    case 3:
    case 4:
      home = {s.height, s.width};
      break;
    default:
      CCAssert(false, "Unknown device orientation");
      return;
  }
  if (home == homeContentSize_) return;
  const CGSize oldHome = homeContentSize_;
  homeContentSize_ = home;
  didUpdateHomeContentSizeFrom(oldHome);
}

void ControllableCCLayer::deviceOrientationDidChange(int orientation) {
  if (alignContentSizeWithDeviceOrientation_) {
    const CGSize home = homeContentSize_;
    switch (orientation) {
      case 1:
      case 2:
        setContentSize(home);
        break;
      case 3:
      case 4:
        setContentSize({home.height, home.width});
        break;
      default:
        CCAssert(false, "Change to unknown device orientation");
    }
  }
  CCLayerColor::deviceOrientationDidChange(orientation);
}

void ControllableCCLayer::draw() {
  if (isColored_) CCLayerColor::draw();
}

void ControllableCCLayer::onEnter() {
  CCLayerColor::onEnter();
  glClearColor(0, 0, 0, 1);
}

void ControllableCCLayer::onExit() {
  CCLayerColor::onExit();
}
