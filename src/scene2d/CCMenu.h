#pragma once
#include <vector>

#include "CCLayer.h"
#include "CCMenuItem.h"
#include "CCProtocols.h"

enum { kCCMenuTouchPriority = -128 };

enum tCCMenuState { kCCMenuStateWaiting, kCCMenuStateTrackingTouch };

// A full-window layer of menu items. It takes touches before ordinary
// layers, selects the item under the finger while it moves and activates
// the item the finger is lifted over.
class CCMenu : public CCLayer, public CCRGBAProtocol {
 public:
  // Null entries (items whose pictures failed to load) are left out.
  static Ptr<CCMenu> menuWithItems(const std::vector<CCMenuItem*>& items);
  CCMenu();

  // Not supported: a menu is made with its items.
  bool init();
  bool initWithItems(const std::vector<CCMenuItem*>& items);

  using CCNode::addChild;
  // Only menu items.
  void addChild(CCNode* child, int z, int tag) override;
  void removeChild(CCNode* child, bool cleanup) override;
  void removeAllChildrenWithCleanup(bool cleanup) override;
  void onExit() override;

  void registerWithTouchDispatcher() override;
  // The first visible, enabled item under the touch, in child order.
  CCMenuItem* itemForTouch(UITouch* touch);
  bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
  void ccTouchMoved(UITouch* touch, UIEvent* event) override;
  void ccTouchEnded(UITouch* touch, UIEvent* event) override;
  void ccTouchCancelled(UITouch* touch, UIEvent* event) override;
  tCCMenuState state() const { return state_; }
  CCMenuItem* selectedItem() const { return selectedItem_; }

  // Positions relative to the menu's centre.
  void alignItemsVertically();
  void alignItemsVerticallyWithPadding(float padding);
  void alignItemsHorizontally();
  void alignItemsHorizontallyWithPadding(float padding);
  // The number of items on each row, top to bottom.
  void alignItemsInColumns(const std::vector<unsigned>& columns);
  // The number of items in each column, left to right.
  void alignItemsInRows(const std::vector<unsigned>& rows);

  ccColor3B color() const override { return color_; }
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override { return opacity_; }
  void setOpacity(GLubyte opacity) override;

 private:
  CCMenuItem* itemAt(std::size_t index) const;
  void forgetSelected();

  tCCMenuState state_ = kCCMenuStateWaiting;
  CCMenuItem* selectedItem_ = nullptr;  // not retained; forgotten when removed
  GLubyte opacity_ = 255;
  ccColor3B color_ = ccWHITE;
};
