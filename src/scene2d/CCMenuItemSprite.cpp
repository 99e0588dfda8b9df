#include "CCMenuItemSprite.h"

#include <utility>

Ptr<CCMenuItemSprite> CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected) {
  return itemFromNormalSprite(normal, selected, nullptr, nullptr, Selector<NSObject*>());
}

Ptr<CCMenuItemSprite> CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                             NSObject* target,
                                                             Selector<NSObject*> selector) {
  return itemFromNormalSprite(normal, selected, nullptr, target, selector);
}

Ptr<CCMenuItemSprite> CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                             CCNode* disabled, NSObject* target,
                                                             Selector<NSObject*> selector) {
  auto item = makeObject<CCMenuItemSprite>();
  return item->initFromNormalSprite(normal, selected, disabled, target, selector) ? item : nullptr;
}

Ptr<CCMenuItemSprite> CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                             CCMenuItemBlock block) {
  return itemFromNormalSprite(normal, selected, nullptr, std::move(block));
}

Ptr<CCMenuItemSprite> CCMenuItemSprite::itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                             CCNode* disabled,
                                                             CCMenuItemBlock block) {
  auto item = makeObject<CCMenuItemSprite>();
  return item->initFromNormalSprite(normal, selected, disabled, std::move(block)) ? item : nullptr;
}

bool CCMenuItemSprite::initFromNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled,
                                            NSObject* target, Selector<NSObject*> selector) {
  return initWithTarget(target, selector) && takeImages(normal, selected, disabled);
}

bool CCMenuItemSprite::initFromNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled,
                                            CCMenuItemBlock block) {
  return initWithBlock(std::move(block)) && takeImages(normal, selected, disabled);
}

bool CCMenuItemSprite::takeImages(CCNode* normal, CCNode* selected, CCNode* disabled) {
  if (!normal) return false;
  setNormalImage(normal);
  setSelectedImage(selected);
  setDisabledImage(disabled);
  setContentSize(normal->contentSize());
  return true;
}

void CCMenuItemSprite::replaceImage(Ptr<CCNode>& slot, CCNode* image, bool visible) {
  if (image == slot.get()) return;
  if (image) {
    image->setAnchorPoint({0, 0});
    image->setVisible(visible);
  }
  if (slot) removeChild(slot, true);
  slot = image;
  if (image) addChild(image);
}

void CCMenuItemSprite::setNormalImage(CCNode* image) {
  replaceImage(normalImage_, image, true);
}

void CCMenuItemSprite::setSelectedImage(CCNode* image) {
  replaceImage(selectedImage_, image, false);
}

void CCMenuItemSprite::setDisabledImage(CCNode* image) {
  replaceImage(disabledImage_, image, false);
}

void CCMenuItemSprite::showOnly(CCNode* shown) {
  for (CCNode* image : {normalImage_.get(), selectedImage_.get(), disabledImage_.get()})
    if (image) image->setVisible(image == shown);
}

void CCMenuItemSprite::selected() {
  CCMenuItem::selected();
  showOnly(selectedImage_ ? selectedImage_.get() : normalImage_.get());
}

void CCMenuItemSprite::unselected() {
  CCMenuItem::unselected();
  showOnly(normalImage_);
}

void CCMenuItemSprite::setIsEnabled(bool enabled) {
  CCMenuItem::setIsEnabled(enabled);
  showOnly(!enabled && disabledImage_ ? disabledImage_.get() : normalImage_.get());
}

ccColor3B CCMenuItemSprite::color() const {
  auto* rgba = dynamic_cast<CCRGBAProtocol*>(normalImage_.get());
  return rgba ? rgba->color() : ccWHITE;
}

void CCMenuItemSprite::setColor(ccColor3B color) {
  for (CCNode* image : {normalImage_.get(), selectedImage_.get(), disabledImage_.get()})
    ccMenuSetColor(image, color);
}

GLubyte CCMenuItemSprite::opacity() const {
  auto* rgba = dynamic_cast<CCRGBAProtocol*>(normalImage_.get());
  return rgba ? rgba->opacity() : 255;
}

void CCMenuItemSprite::setOpacity(GLubyte opacity) {
  for (CCNode* image : {normalImage_.get(), selectedImage_.get(), disabledImage_.get()})
    ccMenuSetOpacity(image, opacity);
}
