#include "CCNode.h"

#include "Assert.h"
#include "CCAction.h"
#include "CCActionManager.h"
#include "CCCamera.h"
#include "CCGridBase.h"
#include "CCScheduler.h"

Ptr<CCNode> CCNode::node() {
  return makeObject<CCNode>();
}

CCNode::CCNode() = default;

CCNode::~CCNode() {
  if (camera_) camera_->release();
  if (grid_) grid_->release();
  if (children_)
    for (NSObject* child : *children_) static_cast<CCNode*>(child)->parent_ = nullptr;
}

// MARK: children

void CCNode::addChild(CCNode* child) {
  CCAssert(child != nullptr, "Argument must be non-nil");
  addChild(child, child->zOrder_, child->tag_);
}

void CCNode::addChild(CCNode* child, int z) {
  CCAssert(child != nullptr, "Argument must be non-nil");
  addChild(child, z, child->tag_);
}

void CCNode::addChild(CCNode* child, int z, int tag) {
  CCAssert(child != nullptr, "Argument must be non-nil");
  CCAssert(child->parent_ == nullptr, "child already added. It can't be added again");
  if (!children_) children_ = CCArray::arrayWithCapacity(4);
  insertChild(child, z);
  child->tag_ = tag;
  child->parent_ = this;
  if (isRunning_) {
    child->onEnter();
    child->onEnterTransitionDidFinish();
  }
}

void CCNode::insertChild(CCNode* child, int z) {
  // Equal z-orders keep their order of arrival: a newcomer goes after them.
  auto* last = static_cast<CCNode*>(children_->lastObject());
  if (!last || last->zOrder_ <= z) {
    children_->addObject(child);
  } else {
    std::size_t index = 0;
    for (NSObject* o : *children_) {
      if (static_cast<CCNode*>(o)->zOrder_ > z) break;
      ++index;
    }
    children_->insertObject(child, index);
  }
  child->_setZOrder(z);
}

void CCNode::removeFromParentAndCleanup(bool cleanup) {
  if (parent_) parent_->removeChild(this, cleanup);
}

void CCNode::removeChild(CCNode* child, bool cleanup) {
  if (!child || !children_ || !children_->containsObject(child)) return;
  detachChild(child, cleanup);
}

void CCNode::removeChildByTag(int tag, bool cleanup) {
  CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
  if (CCNode* child = getChildByTag(tag)) removeChild(child, cleanup);
}

void CCNode::removeAllChildrenWithCleanup(bool cleanup) {
  if (!children_) return;
  // Kept alive while they are told, then released all at once.
  Ptr<CCArray> old = children_;
  for (NSObject* o : *old) {
    auto* child = static_cast<CCNode*>(o);
    if (isRunning_) child->onExit();
    if (cleanup) child->cleanup();
    child->parent_ = nullptr;
  }
  children_->removeAllObjects();
  DrawRevision::bump();
}

void CCNode::detachChild(CCNode* child, bool doCleanup) {
  Ptr<CCNode> hold(child);  // an exiting child may drop its last other reference
  if (isRunning_) child->onExit();
  if (doCleanup) child->cleanup();
  child->parent_ = nullptr;
  children_->removeObject(child);
  DrawRevision::bump();
}

void CCNode::reorderChild(CCNode* child, int z) {
  CCAssert(child != nullptr, "Child must be non-nil");
  if (!children_ || !children_->containsObject(child)) return;
  Ptr<CCNode> hold(child);
  children_->removeObject(child);
  insertChild(child, z);
}

CCNode* CCNode::getChildByTag(int tag) const {
  CCAssert(tag != kCCNodeTagInvalid, "Invalid tag");
  if (children_)
    for (NSObject* o : *children_)
      if (static_cast<CCNode*>(o)->tag_ == tag) return static_cast<CCNode*>(o);
  return nullptr;
}

// MARK: lifecycle

void CCNode::onEnter() {
  if (children_)
    for (std::size_t i = 0; i < children_->count(); ++i) childAtIndex(i)->onEnter();
  resumeSchedulerAndActions();
  isRunning_ = true;
}

void CCNode::onEnterTransitionDidFinish() {
  if (children_)
    for (std::size_t i = 0; i < children_->count(); ++i)
      childAtIndex(i)->onEnterTransitionDidFinish();
}

void CCNode::onExit() {
  pauseSchedulerAndActions();
  isRunning_ = false;
  if (children_)
    for (std::size_t i = 0; i < children_->count(); ++i) childAtIndex(i)->onExit();
}

void CCNode::cleanup() {
  stopAllActions();
  unscheduleAllSelectors();
  if (children_)
    for (std::size_t i = 0; i < children_->count(); ++i) childAtIndex(i)->cleanup();
}

void CCNode::deviceOrientationDidChange(UIDeviceOrientation orientation) {
  if (children_)
    for (std::size_t i = 0; i < children_->count(); ++i)
      childAtIndex(i)->deviceOrientationDidChange(orientation);
}

// MARK: actions

CCAction* CCNode::runAction(CCAction* action) {
  CCAssert(action != nullptr, "Argument must be non-nil");
  CCActionManager::sharedManager()->addAction(action, this, !isRunning_);
  return action;
}

void CCNode::stopAllActions() {
  CCActionManager::sharedManager()->removeAllActionsFromTarget(this);
}

void CCNode::stopAction(CCAction* action) {
  CCActionManager::sharedManager()->removeAction(action);
}

void CCNode::stopActionByTag(int tag) {
  CCAssert(tag != kCCActionTagInvalid, "Invalid tag");
  CCActionManager::sharedManager()->removeActionByTag(tag, this);
}

CCAction* CCNode::getActionByTag(int tag) const {
  CCAssert(tag != kCCActionTagInvalid, "Invalid tag");
  return CCActionManager::sharedManager()->getActionByTag(tag, const_cast<CCNode*>(this));
}

unsigned CCNode::numberOfRunningActions() const {
  return CCActionManager::sharedManager()->numberOfRunningActionsInTarget(
      const_cast<CCNode*>(this));
}

// MARK: scheduling

void CCNode::scheduleUpdate() {
  scheduleUpdateWithPriority(0);
}

void CCNode::scheduleUpdateWithPriority(int priority) {
  // Through the base's virtual `update`, so subclasses' overrides are called.
  CCScheduler::sharedScheduler()->scheduleUpdateForTarget<CCNode>(this, priority, !isRunning_);
}

void CCNode::unscheduleUpdate() {
  CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(this);
}

void CCNode::schedule(Selector<ccSeconds> sel) {
  schedule(sel, 0);
}

void CCNode::schedule(Selector<ccSeconds> sel, ccSeconds interval) {
  CCAssert(bool(sel), "Argument must be non-nil");
  CCAssert(interval >= 0, "Arguemnt must be positive");
  CCScheduler::sharedScheduler()->scheduleSelector(sel, this, interval, !isRunning_);
}

void CCNode::unschedule(Selector<ccSeconds> sel) {
  if (!sel) return;
  CCScheduler::sharedScheduler()->unscheduleSelector(sel, this);
}

void CCNode::unscheduleAllSelectors() {
  CCScheduler::sharedScheduler()->unscheduleAllSelectorsForTarget(this);
}

void CCNode::pauseSchedulerAndActions() {
  CCScheduler::sharedScheduler()->pauseTarget(this);
  CCActionManager::sharedManager()->pauseTarget(this);
}

void CCNode::resumeSchedulerAndActions() {
  CCScheduler::sharedScheduler()->resumeTarget(this);
  CCActionManager::sharedManager()->resumeTarget(this);
}

// MARK: properties

// Setting what is already set changes nothing on screen: billboards and
// layouts set their nodes every frame, and a resting picture must stay undrawn.

void CCNode::setRotation(float degrees) {
  if (degrees == rotation_) return;
  rotation_ = degrees;
  markTransformDirty();
}

void CCNode::setScaleX(float scale) {
  if (scale == scaleX_) return;
  scaleX_ = scale;
  markTransformDirty();
}

void CCNode::setScaleY(float scale) {
  if (scale == scaleY_) return;
  scaleY_ = scale;
  markTransformDirty();
}

float CCNode::scale() const {
  CCAssert(scaleX_ == scaleY_, "CCNode#scale. ScaleX != ScaleY. Don't know which one to return");
  return scaleX_;
}

void CCNode::setScale(float scale) {
  if (scale == scaleX_ && scale == scaleY_) return;
  scaleX_ = scaleY_ = scale;
  markTransformDirty();
}

void CCNode::setPosition(CGPoint position) {
  if (position == position_) return;
  position_ = position;
  const float f = CC_CONTENT_SCALE_FACTOR();
  positionInPixels_ = f == 1 ? position : CGPoint{position.x * f, position.y * f};
  markTransformDirty();
}

void CCNode::setPositionInPixels(CGPoint position) {
  if (position == positionInPixels_) return;
  positionInPixels_ = position;
  const float f = CC_CONTENT_SCALE_FACTOR();
  position_ = f == 1 ? position : CGPoint{position.x / f, position.y / f};
  markTransformDirty();
}

void CCNode::setAnchorPoint(CGPoint point) {
  if (point == anchorPoint_) return;
  anchorPoint_ = point;
  anchorPointInPixels_ = {contentSizeInPixels_.width * point.x,
                          contentSizeInPixels_.height * point.y};
  markTransformDirty();
}

void CCNode::setIsRelativeAnchorPoint(bool relative) {
  isRelativeAnchorPoint_ = relative;
  markTransformDirty();
}

void CCNode::setContentSize(CGSize size) {
  if (size == contentSize_) return;
  contentSize_ = size;
  const float f = CC_CONTENT_SCALE_FACTOR();
  contentSizeInPixels_ = f == 1 ? size : CGSize{size.width * f, size.height * f};
  anchorPointInPixels_ = {contentSizeInPixels_.width * anchorPoint_.x,
                          contentSizeInPixels_.height * anchorPoint_.y};
  markTransformDirty();
}

void CCNode::setContentSizeInPixels(CGSize size) {
  if (size == contentSizeInPixels_) return;
  contentSizeInPixels_ = size;
  const float f = CC_CONTENT_SCALE_FACTOR();
  contentSize_ = f == 1 ? size : CGSize{size.width / f, size.height / f};
  anchorPointInPixels_ = {contentSizeInPixels_.width * anchorPoint_.x,
                          contentSizeInPixels_.height * anchorPoint_.y};
  markTransformDirty();
}

void CCNode::setVertexZ(float z) {
  vertexZ_ = z * CC_CONTENT_SCALE_FACTOR();
  DrawRevision::bump();
}

CCCamera* CCNode::camera() {
  if (!camera_) camera_ = makeObject<CCCamera>().leak();
  return camera_;
}

void CCNode::setGrid(CCGridBase* grid) {
  if (grid) grid->retain();
  if (grid_) grid_->release();
  grid_ = grid;
}

bool CCNode::gridActive() const {
  return grid_ && grid_->active();
}

std::string CCNode::description() const {
  return objectAddressPrefix(this) + " | Tag = " + std::to_string(tag_) + ">";
}
