#include "CC3Layer.h"

#include "CC3ViewportManager.h"
#include "CC3World.h"
#include "CCDirector.h"
#include "CCTouchDispatcher.h"

Ptr<CC3Layer> CC3Layer::node() {
  return makeObject<CC3Layer>();
}

Ptr<CC3Layer> CC3Layer::layerWithColor(ccColor4B color, float width, float height) {
  return makeObject<CC3Layer>(color, width, height);
}

CC3Layer::CC3Layer() {
  CC3Layer::initInitialState();
}

CC3Layer::CC3Layer(ccColor4B color, float width, float height)
    : ControllableCCLayer(color, width, height) {
  CC3Layer::initInitialState();
}

CC3Layer::~CC3Layer() = default;

void CC3Layer::initInitialState() {
  // The base part ran in the base constructor.
  initializeControls();
}

void CC3Layer::setCc3World(CC3World* world) {
  if (world == cc3World_.get()) return;
  // The old world may be the caller's: it lives to the end of this scope.
  if (cc3World_) cc3World_->retain()->autorelease();
  cc3World_ = world;
  updateViewport();
}

void CC3Layer::update(ccSeconds dt) {
  if (cc3World_) cc3World_->updateWorld(dt);
}

void CC3Layer::draw() {
  drawBackdrop();
  drawWorld();
}

void CC3Layer::drawBackdrop() {
  ControllableCCLayer::draw();
}

void CC3Layer::drawWorld() {
  if (cc3World_) cc3World_->drawWorld();
}

void CC3Layer::updateViewport() {
  if (!cc3World_) return;
  cc3World_->viewportManager()->updateBounds(boundingBoxInPixels(),
                                             CCDirector::sharedDirector()->deviceOrientation());
}

void CC3Layer::onEnter() {
  ControllableCCLayer::onEnter();
  updateViewport();
}

void CC3Layer::deviceOrientationDidChange(UIDeviceOrientation orientation) {
  ControllableCCLayer::deviceOrientationDidChange(orientation);
  updateViewport();
}

void CC3Layer::didUpdateHomeContentSizeFrom(CGSize oldSize) {
  ControllableCCLayer::didUpdateHomeContentSizeFrom(oldSize);
  updateViewport();
}

void CC3Layer::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, touchPriority(), true);
}

bool CC3Layer::ccTouchBegan(UITouch* touch, UIEvent*) {
  return handleTouch(touch, kCCTouchBegan);
}

void CC3Layer::ccTouchEnded(UITouch* touch, UIEvent*) {
  handleTouch(touch, kCCTouchEnded);
}

void CC3Layer::ccTouchCancelled(UITouch* touch, UIEvent*) {
  handleTouch(touch, kCCTouchCancelled);
}

bool CC3Layer::handleTouch(UITouch* touch, GLuint touchType) {
  if (!cc3World_ || !touch) return false;
  CGPoint p = convertTouchToNodeSpace(touch);
  if (!CGRectContainsPoint({CGPointZero, contentSize()}, p)) return false;
  cc3World_->touchEvent(touchType, p);
  return true;
}
