#pragma once
#include <functional>

#include "CCNode.h"

// The call a menu item makes when activated; it receives the item.
using CCMenuItemBlock = std::function<void(NSObject* sender)>;

// Tags the item family uses for its own children and actions.
enum : int {
  kCCCurrentItemTag = static_cast<int>(0xC0C05001u),
  kCCZoomActionTag = static_cast<int>(0xC0C05002u),
};

// A node a menu selects and activates. Activation calls a target's selector
// (with the item as argument, or with none) or a block. The target is not
// retained: it usually owns the menu that owns the item.
class CCMenuItem : public CCNode {
 public:
  static Ptr<CCMenuItem> itemWithTarget(NSObject* target, Selector<NSObject*> selector);
  static Ptr<CCMenuItem> itemWithTarget(NSObject* target, Selector<> selector);
  static Ptr<CCMenuItem> itemWithBlock(CCMenuItemBlock block);
  CCMenuItem();

  // Not supported: an item needs a target and selector, or a block.
  virtual bool init();
  bool initWithTarget(NSObject* target, Selector<NSObject*> selector);
  bool initWithTarget(NSObject* target, Selector<> selector);
  bool initWithBlock(CCMenuItemBlock block);

  virtual void selected() { isSelected_ = true; }
  virtual void unselected() { isSelected_ = false; }
  // Makes the call, only while enabled.
  virtual void activate();
  virtual void setIsEnabled(bool enabled) { isEnabled_ = enabled; }
  bool isEnabled() const { return isEnabled_; }
  bool isSelected() const { return isSelected_; }
  // The item's rectangle in its parent's space.
  CGRect rect() const;

 protected:
  NSObject* target_ = nullptr;  // not retained
  Selector<NSObject*> selectorWithSender_;
  Selector<> selector_;
  CCMenuItemBlock block_;
  bool isEnabled_ = true;
  bool isSelected_ = false;
};

// Colour and opacity forwarded to a node that takes them; others ignore them.
void ccMenuSetOpacity(CCNode* node, GLubyte opacity);
void ccMenuSetColor(CCNode* node, ccColor3B color);
