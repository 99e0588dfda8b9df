#include "lumoLayer.h"

#include "CCTouchDispatcher.h"

Ptr<lumoLayer> lumoLayer::node() {
  return makeObject<lumoLayer>();
}

Ptr<lumoLayer> lumoLayer::layerWithColor(ccColor4B color, float width, float height) {
  return makeObject<lumoLayer>(color, width, height);
}

// The base constructor's call of initializeControls stops at the base class.
lumoLayer::lumoLayer() {
  lumoLayer::initializeControls();
}

lumoLayer::lumoLayer(ccColor4B color, float width, float height) : CC3Layer(color, width, height) {
  lumoLayer::initializeControls();
}

void lumoLayer::initializeControls() {
  setIsTouchEnabled(true);
}

bool lumoLayer::ccTouchBegan(UITouch* touch, UIEvent*) {
  return handleTouch(touch, kCCTouchBegan);
}

void lumoLayer::ccTouchMoved(UITouch* touch, UIEvent*) {
  handleTouch(touch, kCCTouchMoved);
}

void lumoLayer::ccTouchEnded(UITouch* touch, UIEvent*) {
  handleTouch(touch, kCCTouchEnded);
}
