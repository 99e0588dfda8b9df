#include "CCMenu.h"

#include <algorithm>

#include "Assert.h"
#include "CCDirector.h"
#include "CCTouchDispatcher.h"

namespace {
constexpr float kDefaultPadding = 5;
// Grid layouts keep the engine's fixed gaps, which differ between the axes
// and between the two layouts.
constexpr float kColumnsRowGap = 5;
constexpr float kColumnsItemStep = 10;
constexpr float kRowsItemGap = 5;
constexpr float kRowsColumnGap = 10;
constexpr float kRowsItemStep = 10;
constexpr float kRowsColumnStep = 5;

// The window runs full screen: there is no status bar to leave room for.
float statusBarThickness() {
  return 0;
}
}  // namespace

Ptr<CCMenu> CCMenu::menuWithItems(const std::vector<CCMenuItem*>& items) {
  auto menu = makeObject<CCMenu>();
  return menu->initWithItems(items) ? menu : nullptr;
}

CCMenu::CCMenu() = default;

bool CCMenu::init() {
  CCAssert(false, "CCMenu: Init not supported.");
  return false;
}

bool CCMenu::initWithItems(const std::vector<CCMenuItem*>& items) {
  setIsTouchEnabled(true);
  setIsRelativeAnchorPoint(false);
  setAnchorPoint({0.5f, 0.5f});
  const CGSize s = CCDirector::sharedDirector()->winSize();
  setContentSize(s);
  setPosition({s.width / 2, (s.height - statusBarThickness()) / 2});
  int z = 0;
  for (CCMenuItem* item : items)
    if (item) addChild(item, z++);
  selectedItem_ = nullptr;
  state_ = kCCMenuStateWaiting;
  return true;
}

void CCMenu::addChild(CCNode* child, int z, int tag) {
  CCAssert(dynamic_cast<CCMenuItem*>(child) != nullptr,
           "Menu only supports MenuItem objects as children");
  CCLayer::addChild(child, z, tag);
}

void CCMenu::removeChild(CCNode* child, bool cleanup) {
  // The tracked item is not retained: a removed item must not be touched again.
  if (child && child == selectedItem_) selectedItem_ = nullptr;
  CCLayer::removeChild(child, cleanup);
}

void CCMenu::removeAllChildrenWithCleanup(bool cleanup) {
  selectedItem_ = nullptr;
  CCLayer::removeAllChildrenWithCleanup(cleanup);
}

void CCMenu::forgetSelected() {
  if (CCMenuItem* item = std::exchange(selectedItem_, nullptr)) item->unselected();
}

void CCMenu::onExit() {
  if (state_ == kCCMenuStateTrackingTouch) {
    forgetSelected();
    state_ = kCCMenuStateWaiting;
  }
  CCLayer::onExit();
}

void CCMenu::registerWithTouchDispatcher() {
  CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, kCCMenuTouchPriority, true);
}

CCMenuItem* CCMenu::itemAt(std::size_t index) const {
  return static_cast<CCMenuItem*>(childAtIndex(index));
}

CCMenuItem* CCMenu::itemForTouch(UITouch* touch) {
  const CGPoint location =
      CCDirector::sharedDirector()->convertToGL(touch->locationInView(touch->view()));
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    CCMenuItem* item = itemAt(i);
    if (!item->visible() || !item->isEnabled()) continue;
    const CGPoint local = item->convertToNodeSpace(location);
    const CGSize s = item->contentSize();
    if (CGRectContainsPoint(CGRectMake(0, 0, s.width, s.height), local)) return item;
  }
  return nullptr;
}

bool CCMenu::ccTouchBegan(UITouch* touch, UIEvent*) {
  if (state_ != kCCMenuStateWaiting || !visible_) return false;
  selectedItem_ = itemForTouch(touch);
  if (!selectedItem_) return false;
  selectedItem_->selected();
  state_ = kCCMenuStateTrackingTouch;
  return true;
}

void CCMenu::ccTouchMoved(UITouch* touch, UIEvent*) {
  CCAssert(state_ == kCCMenuStateTrackingTouch, "[Menu ccTouchMoved] -- invalid state");
  CCMenuItem* current = itemForTouch(touch);
  if (current == selectedItem_) return;
  if (selectedItem_) selectedItem_->unselected();
  selectedItem_ = current;
  if (selectedItem_) selectedItem_->selected();
}

void CCMenu::ccTouchEnded(UITouch*, UIEvent*) {
  CCAssert(state_ == kCCMenuStateTrackingTouch, "[Menu ccTouchEnded] -- invalid state");
  // Settle the menu before the call: it may remove the item or the menu.
  Ptr<CCMenuItem> item(std::exchange(selectedItem_, nullptr));
  state_ = kCCMenuStateWaiting;
  if (!item) return;
  item->unselected();
  item->activate();
}

void CCMenu::ccTouchCancelled(UITouch*, UIEvent*) {
  CCAssert(state_ == kCCMenuStateTrackingTouch, "[Menu ccTouchCancelled] -- invalid state");
  forgetSelected();
  state_ = kCCMenuStateWaiting;
}

// MARK: alignment

void CCMenu::alignItemsVertically() {
  alignItemsVerticallyWithPadding(kDefaultPadding);
}

void CCMenu::alignItemsVerticallyWithPadding(float padding) {
  float height = -padding;
  for (std::size_t i = 0; i < childrenCount(); ++i)
    height += itemAt(i)->contentSize().height * itemAt(i)->scaleY() + padding;
  float y = height / 2;
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    CCMenuItem* item = itemAt(i);
    const float h = item->contentSize().height * item->scaleY();
    item->setPosition({0, y - h / 2});
    y -= h + padding;
  }
}

void CCMenu::alignItemsHorizontally() {
  alignItemsHorizontallyWithPadding(kDefaultPadding);
}

void CCMenu::alignItemsHorizontallyWithPadding(float padding) {
  float width = -padding;
  for (std::size_t i = 0; i < childrenCount(); ++i)
    width += itemAt(i)->contentSize().width * itemAt(i)->scaleX() + padding;
  float x = -width / 2;
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    CCMenuItem* item = itemAt(i);
    const float w = item->contentSize().width * item->scaleX();
    item->setPosition({x + w / 2, 0});
    x += w + padding;
  }
}

void CCMenu::alignItemsInColumns(const std::vector<unsigned>& columns) {
  // First pass: check the counts and add up the row heights.
  float height = -kColumnsRowGap, rowHeight = 0;
  std::size_t row = 0;
  unsigned occupied = 0;
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    CCAssert(row < columns.size(), "Too many menu items for the amount of rows/columns.");
    CCAssert(columns[row] != 0, "Can't have zero columns on a row");
    rowHeight = std::max(rowHeight, itemAt(i)->contentSize().height);
    if (++occupied >= columns[row]) {
      height += rowHeight + kColumnsRowGap;
      occupied = 0;
      rowHeight = 0;
      ++row;
    }
  }
  CCAssert(occupied == 0, "Too many rows/columns for available menu items.");

  const CGSize winSize = CCDirector::sharedDirector()->winSize();
  float y = height / 2, x = 0, w = 0;
  row = 0;
  rowHeight = 0;
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    if (occupied == 0) {
      w = winSize.width / float(columns[row] + 1);
      x = w;
    }
    CCMenuItem* item = itemAt(i);
    const CGSize s = item->contentSize();
    rowHeight = std::max(rowHeight, s.height);
    item->setPosition({x - winSize.width / 2, y - s.height / 2});
    x += w + kColumnsItemStep;
    if (++occupied >= columns[row]) {
      y -= rowHeight + kColumnsRowGap;
      occupied = 0;
      rowHeight = 0;
      ++row;
    }
  }
}

void CCMenu::alignItemsInRows(const std::vector<unsigned>& rows) {
  // First pass: check the counts; measure every column.
  std::vector<float> columnWidths, columnHeights;
  float width = -kRowsColumnGap, columnWidth = 0, columnHeight = -kRowsItemGap;
  std::size_t column = 0;
  unsigned occupied = 0;
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    CCAssert(column < rows.size(), "Too many menu items for the amount of rows/columns.");
    CCAssert(rows[column] != 0, "Can't have zero rows on a column");
    const CGSize s = itemAt(i)->contentSize();
    columnWidth = std::max(columnWidth, s.width);
    columnHeight += s.height + kRowsItemGap;
    if (++occupied >= rows[column]) {
      columnWidths.push_back(columnWidth);
      columnHeights.push_back(columnHeight);
      width += columnWidth + kRowsColumnGap;
      occupied = 0;
      columnWidth = 0;
      columnHeight = -kRowsItemGap;
      ++column;
    }
  }
  CCAssert(occupied == 0, "Too many rows/columns for available menu items.");

  const CGSize winSize = CCDirector::sharedDirector()->winSize();
  float x = -width / 2, y = 0;
  column = 0;
  for (std::size_t i = 0; i < childrenCount(); ++i) {
    if (occupied == 0) y = (winSize.height + columnHeights[column]) / 2;
    CCMenuItem* item = itemAt(i);
    item->setPosition({x + columnWidths[column] / 2, y - winSize.height / 2});
    y -= item->contentSize().height + kRowsItemStep;
    if (++occupied >= rows[column]) {
      x += columnWidths[column] + kRowsColumnStep;
      occupied = 0;
      ++column;
    }
  }
}

// MARK: colour

void CCMenu::setColor(ccColor3B color) {
  color_ = color;
  for (std::size_t i = 0; i < childrenCount(); ++i) ccMenuSetColor(childAtIndex(i), color);
}

void CCMenu::setOpacity(GLubyte opacity) {
  opacity_ = opacity;
  for (std::size_t i = 0; i < childrenCount(); ++i) ccMenuSetOpacity(childAtIndex(i), opacity);
}
