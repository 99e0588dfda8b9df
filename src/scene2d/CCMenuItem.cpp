#include "CCMenuItem.h"

#include <utility>

#include "Assert.h"
#include "CCProtocols.h"

Ptr<CCMenuItem> CCMenuItem::itemWithTarget(NSObject* target, Selector<NSObject*> selector) {
  auto item = makeObject<CCMenuItem>();
  return item->initWithTarget(target, selector) ? item : nullptr;
}

Ptr<CCMenuItem> CCMenuItem::itemWithTarget(NSObject* target, Selector<> selector) {
  auto item = makeObject<CCMenuItem>();
  return item->initWithTarget(target, selector) ? item : nullptr;
}

Ptr<CCMenuItem> CCMenuItem::itemWithBlock(CCMenuItemBlock block) {
  auto item = makeObject<CCMenuItem>();
  return item->initWithBlock(std::move(block)) ? item : nullptr;
}

CCMenuItem::CCMenuItem() {
  setAnchorPoint({0.5f, 0.5f});
}

bool CCMenuItem::init() {
  CCAssert(false, "MenuItemInit: Init not supported.");
  return false;
}

bool CCMenuItem::initWithTarget(NSObject* target, Selector<NSObject*> selector) {
  setAnchorPoint({0.5f, 0.5f});
  // A call is prepared only when both halves are given.
  if (target && selector) {
    target_ = target;
    selectorWithSender_ = selector;
  }
  isEnabled_ = true;
  isSelected_ = false;
  return true;
}

bool CCMenuItem::initWithTarget(NSObject* target, Selector<> selector) {
  initWithTarget(nullptr, Selector<NSObject*>());
  if (target && selector) {
    target_ = target;
    selector_ = selector;
  }
  return true;
}

bool CCMenuItem::initWithBlock(CCMenuItemBlock block) {
  initWithTarget(nullptr, Selector<NSObject*>());
  block_ = std::move(block);
  return true;
}

void CCMenuItem::activate() {
  if (!isEnabled_) return;
  // The call may release the item's last owner (a menu removing it).
  Ptr<CCMenuItem> keep(this);
  if (block_)
    block_(this);
  else if (target_ && selectorWithSender_)
    selectorWithSender_(target_, this);
  else if (target_ && selector_)
    selector_(target_);
}

CGRect CCMenuItem::rect() const {
  return CGRectMake(position_.x - contentSize_.width * anchorPoint_.x,
                    position_.y - contentSize_.height * anchorPoint_.y, contentSize_.width,
                    contentSize_.height);
}

void ccMenuSetOpacity(CCNode* node, GLubyte opacity) {
  if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(node)) rgba->setOpacity(opacity);
}

void ccMenuSetColor(CCNode* node, ccColor3B color) {
  if (auto* rgba = dynamic_cast<CCRGBAProtocol*>(node)) rgba->setColor(color);
}
