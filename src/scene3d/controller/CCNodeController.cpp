#include "CCNodeController.h"

#include "CCDirector.h"
#include "CCScene.h"
#include "ControlledCCNodeProtocol.h"
#include "EAGLView.h"
#include "NSNotificationCenter.h"
#include "UIDevice.h"

Ptr<CCNodeController> CCNodeController::controller() {
  return makeObject<CCNodeController>();
}

CCNodeController::CCNodeController() {
  view_ = CCDirector::sharedDirector()->openGLView();
  if (view_) view_->setBackgroundColor({0, 0, 0, 0});
}

CCNodeController::~CCNodeController() {
  setDoesAutoRotate(false);
  // The node keeps a plain pointer back to us.
  if (auto* controlled = dynamic_cast<ControlledCCNodeProtocol*>(controlledNode_.get()))
    if (controlled->controller() == this) controlled->setController(nullptr);
}

void CCNodeController::setControlledNode(CCNode* node) {
  if (node == controlledNode_.get()) return;
  controlledNode_ = node;
  if (auto* controlled = dynamic_cast<ControlledCCNodeProtocol*>(node))
    controlled->setController(this);
}

void CCNodeController::runSceneOnNode(CCNode* node) {
  setControlledNode(node);
  auto scene = CCScene::node();
  scene->addChild(node);
  CCDirector* director = CCDirector::sharedDirector();
  if (director->runningScene())
    director->replaceScene(scene);
  else
    director->runWithScene(scene);
}

void CCNodeController::setDoesAutoRotate(bool autoRotate) {
  if (autoRotate == doesAutoRotate_) return;
  doesAutoRotate_ = autoRotate;
  auto& center = NSNotificationCenter::defaultCenter();
  if (autoRotate)
    center.addObserver(this, SELECTOR(CCNodeController::deviceOrientationDidChange),
                       UIDeviceOrientationDidChangeNotification, nullptr);
  else
    center.removeObserver(this, UIDeviceOrientationDidChangeNotification, nullptr);
}

void CCNodeController::deviceOrientationDidChange(NSNotification*) {
  const UIDeviceOrientation orientation = UIDevice::currentDevice().orientation();
  // Portrait, flat and unknown positions keep the current picture.
  if (!UIDeviceOrientationIsLandscape(orientation)) return;
  CCDirector* director = CCDirector::sharedDirector();
  if (orientation == director->deviceOrientation()) return;
  director->setDeviceOrientation(orientation);
  if (controlledNode_) controlledNode_->deviceOrientationDidChange(orientation);
}
