#include "CCMenuItemLabel.h"

#include <utility>

#include "CCActionInterval.h"
#include "CCLabelTTF.h"

namespace {
constexpr ccSeconds kZoomDuration = 0.1f;
constexpr float kZoomFactor = 1.2f;
}  // namespace

Ptr<CCMenuItemLabel> CCMenuItemLabel::itemWithLabel(CCNode* label) {
  return itemWithLabel(label, nullptr, Selector<NSObject*>());
}

Ptr<CCMenuItemLabel> CCMenuItemLabel::itemWithLabel(CCNode* label, NSObject* target,
                                                    Selector<NSObject*> selector) {
  auto item = makeObject<CCMenuItemLabel>();
  return item->initWithLabel(label, target, selector) ? item : nullptr;
}

Ptr<CCMenuItemLabel> CCMenuItemLabel::itemWithLabel(CCNode* label, CCMenuItemBlock block) {
  auto item = makeObject<CCMenuItemLabel>();
  return item->initWithLabel(label, std::move(block)) ? item : nullptr;
}

bool CCMenuItemLabel::initWithLabel(CCNode* label, NSObject* target, Selector<NSObject*> selector) {
  if (!initWithTarget(target, selector)) return false;
  originalScale_ = 1;
  colorBackup = ccWHITE;
  disabledColor_ = {126, 126, 126};
  setLabel(label);
  return true;
}

bool CCMenuItemLabel::initWithLabel(CCNode* label, CCMenuItemBlock block) {
  if (!initWithLabel(label, nullptr, Selector<NSObject*>())) return false;
  return initWithBlock(std::move(block));
}

void CCMenuItemLabel::setLabel(CCNode* label) {
  if (label == label_.get()) return;
  if (label_) removeChild(label_, true);
  label_ = label;
  if (!label) return;
  addChild(label);
  label->setAnchorPoint({0, 0});
  setContentSize(label->contentSize());
}

void CCMenuItemLabel::setString(const std::string& string) {
  auto* text = dynamic_cast<CCLabelTTF*>(label_.get());
  if (!text) return;
  text->setString(string);
  setContentSize(text->contentSize());
}

void CCMenuItemLabel::selected() {
  if (!isEnabled_) return;
  CCMenuItem::selected();
  // A zoom still running keeps the scale it started from.
  if (CCAction* zoom = getActionByTag(kCCZoomActionTag))
    stopAction(zoom);
  else
    originalScale_ = scale();
  auto zoom = CCScaleTo::actionWithDuration(kZoomDuration, originalScale_ * kZoomFactor);
  zoom->setTag(kCCZoomActionTag);
  runAction(zoom);
}

void CCMenuItemLabel::unselected() {
  if (!isEnabled_) return;
  CCMenuItem::unselected();
  stopActionByTag(kCCZoomActionTag);
  auto zoom = CCScaleTo::actionWithDuration(kZoomDuration, originalScale_);
  zoom->setTag(kCCZoomActionTag);
  runAction(zoom);
}

void CCMenuItemLabel::activate() {
  if (!isEnabled_) return;
  stopAllActions();
  setScale(originalScale_);
  CCMenuItem::activate();
}

void CCMenuItemLabel::setIsEnabled(bool enabled) {
  if (enabled != isEnabled_) {
    auto* rgba = dynamic_cast<CCRGBAProtocol*>(label_.get());
    if (rgba && !enabled) {
      colorBackup = rgba->color();
      rgba->setColor(disabledColor_);
    } else if (rgba) {
      rgba->setColor(colorBackup);
    }
  }
  CCMenuItem::setIsEnabled(enabled);
}

ccColor3B CCMenuItemLabel::color() const {
  auto* rgba = dynamic_cast<CCRGBAProtocol*>(label_.get());
  return rgba ? rgba->color() : ccWHITE;
}

void CCMenuItemLabel::setColor(ccColor3B color) {
  ccMenuSetColor(label_, color);
}

GLubyte CCMenuItemLabel::opacity() const {
  auto* rgba = dynamic_cast<CCRGBAProtocol*>(label_.get());
  return rgba ? rgba->opacity() : 255;
}

void CCMenuItemLabel::setOpacity(GLubyte opacity) {
  ccMenuSetOpacity(label_, opacity);
}
