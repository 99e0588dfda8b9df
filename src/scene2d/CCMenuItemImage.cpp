#include "CCMenuItemImage.h"

#include <utility>

#include "CCSprite.h"

namespace {
Ptr<CCNode> spriteOrNothing(const std::string& file) {
  if (file.empty()) return nullptr;
  return CCSprite::spriteWithFile(file);
}
}  // namespace

Ptr<CCMenuItemImage> CCMenuItemImage::itemFromNormalImage(const std::string& normal,
                                                          const std::string& selected) {
  return itemFromNormalImage(normal, selected, "", nullptr, Selector<NSObject*>());
}

Ptr<CCMenuItemImage> CCMenuItemImage::itemFromNormalImage(const std::string& normal,
                                                          const std::string& selected,
                                                          NSObject* target,
                                                          Selector<NSObject*> selector) {
  return itemFromNormalImage(normal, selected, "", target, selector);
}

Ptr<CCMenuItemImage> CCMenuItemImage::itemFromNormalImage(const std::string& normal,
                                                          const std::string& selected,
                                                          const std::string& disabled) {
  return itemFromNormalImage(normal, selected, disabled, nullptr, Selector<NSObject*>());
}

Ptr<CCMenuItemImage> CCMenuItemImage::itemFromNormalImage(const std::string& normal,
                                                          const std::string& selected,
                                                          const std::string& disabled,
                                                          NSObject* target,
                                                          Selector<NSObject*> selector) {
  auto item = makeObject<CCMenuItemImage>();
  return item->initFromNormalImage(normal, selected, disabled, target, selector) ? item : nullptr;
}

Ptr<CCMenuItemImage> CCMenuItemImage::itemFromNormalImage(const std::string& normal,
                                                          const std::string& selected,
                                                          CCMenuItemBlock block) {
  return itemFromNormalImage(normal, selected, "", std::move(block));
}

Ptr<CCMenuItemImage> CCMenuItemImage::itemFromNormalImage(const std::string& normal,
                                                          const std::string& selected,
                                                          const std::string& disabled,
                                                          CCMenuItemBlock block) {
  auto item = makeObject<CCMenuItemImage>();
  return item->initFromNormalImage(normal, selected, disabled, std::move(block)) ? item : nullptr;
}

bool CCMenuItemImage::initFromNormalImage(const std::string& normal, const std::string& selected,
                                          const std::string& disabled, NSObject* target,
                                          Selector<NSObject*> selector) {
  return initFromNormalSprite(spriteOrNothing(normal), spriteOrNothing(selected),
                              spriteOrNothing(disabled), target, selector);
}

bool CCMenuItemImage::initFromNormalImage(const std::string& normal, const std::string& selected,
                                          const std::string& disabled, CCMenuItemBlock block) {
  return initFromNormalSprite(spriteOrNothing(normal), spriteOrNothing(selected),
                              spriteOrNothing(disabled), std::move(block));
}
