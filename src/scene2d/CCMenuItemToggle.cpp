#include "CCMenuItemToggle.h"

#include <utility>

#include "Assert.h"

namespace {
constexpr unsigned kNoIndex = ~0u;
}

Ptr<CCMenuItemToggle> CCMenuItemToggle::itemWithTarget(NSObject* target,
                                                       Selector<NSObject*> selector,
                                                       const std::vector<CCMenuItem*>& items) {
  auto toggle = makeObject<CCMenuItemToggle>();
  return toggle->initWithTarget(target, selector, items) ? toggle : nullptr;
}

Ptr<CCMenuItemToggle> CCMenuItemToggle::itemWithBlock(CCMenuItemBlock block,
                                                      const std::vector<CCMenuItem*>& items) {
  auto toggle = makeObject<CCMenuItemToggle>();
  return toggle->initWithBlock(std::move(block), items) ? toggle : nullptr;
}

bool CCMenuItemToggle::initWithTarget(NSObject* target, Selector<NSObject*> selector,
                                      const std::vector<CCMenuItem*>& items) {
  if (!CCMenuItem::initWithTarget(target, selector)) return false;
  takeItems(items);
  return true;
}

bool CCMenuItemToggle::initWithBlock(CCMenuItemBlock block, const std::vector<CCMenuItem*>& items) {
  if (!CCMenuItem::initWithBlock(std::move(block))) return false;
  takeItems(items);
  return true;
}

void CCMenuItemToggle::takeItems(const std::vector<CCMenuItem*>& items) {
  subItems_ = CCArray::arrayWithCapacity(2);
  for (CCMenuItem* item : items)
    if (item) subItems_->addObject(item);
  selectedIndex_ = kNoIndex;
  // A toggle without sub-items shows nothing rather than reading past its list.
  if (subItems_->count() > 0) setSelectedIndex(0);
}

void CCMenuItemToggle::setSelectedIndex(unsigned index) {
  if (index == selectedIndex_) return;
  CCAssert(index < subItems_->count(), "Toggle index out of range");
  selectedIndex_ = index;
  if (getChildByTag(kCCCurrentItemTag)) removeChildByTag(kCCCurrentItemTag, false);
  auto* item = static_cast<CCMenuItem*>(subItems_->objectAtIndex(index));
  addChild(item, 0, kCCCurrentItemTag);
  const CGSize s = item->contentSize();
  setContentSize(s);
  item->setPosition({s.width / 2, s.height / 2});
}

CCMenuItem* CCMenuItemToggle::selectedItem() const {
  if (!subItems_ || selectedIndex_ >= subItems_->count()) return nullptr;
  return static_cast<CCMenuItem*>(subItems_->objectAtIndex(selectedIndex_));
}

void CCMenuItemToggle::selected() {
  CCMenuItem::selected();
  if (CCMenuItem* item = selectedItem()) item->selected();
}

void CCMenuItemToggle::unselected() {
  CCMenuItem::unselected();
  if (CCMenuItem* item = selectedItem()) item->unselected();
}

void CCMenuItemToggle::activate() {
  if (isEnabled_ && subItems_->count() > 0)
    setSelectedIndex(unsigned((selectedIndex_ + 1) % subItems_->count()));
  CCMenuItem::activate();
}

void CCMenuItemToggle::setIsEnabled(bool enabled) {
  CCMenuItem::setIsEnabled(enabled);
  for (NSObject* o : *subItems_) static_cast<CCMenuItem*>(o)->setIsEnabled(enabled);
}

void CCMenuItemToggle::setColor(ccColor3B color) {
  color_ = color;
  for (NSObject* o : *subItems_) ccMenuSetColor(static_cast<CCNode*>(o), color);
}

void CCMenuItemToggle::setOpacity(GLubyte opacity) {
  opacity_ = opacity;
  for (NSObject* o : *subItems_) ccMenuSetOpacity(static_cast<CCNode*>(o), opacity);
}
