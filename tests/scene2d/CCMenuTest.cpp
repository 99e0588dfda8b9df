#include "CCMenu.h"

#include <gtest/gtest.h>

#include "CCLabelTTF.h"
#include "CCMenuItemFont.h"
#include "CCMenuItemImage.h"
#include "CCMenuTestFixture.h"
#include "PNGWriter.h"

namespace {

// A plain layer under the menu that records the touches left to it.
class Underneath : public CCLayer {
 public:
  void ccTouchesBegan(const UITouchSet& touches, UIEvent*) override {
    began += int(touches.size());
  }
  int began = 0;
};

Ptr<CCMenuItem> box(MenuTarget* target, float w, float h, CGPoint position) {
  auto item = CCMenuItem::itemWithTarget(target, SELECTOR(MenuTarget::pressed));
  item->setContentSize(CGSizeMake(w, h));
  item->setPosition(position);
  return item;
}

class CCMenuTest : public MenuFixture {
 protected:
  // Two 100 x 40 items: A over scene x 462..562, y 364..404; B 100 lower.
  void SetUp() override {
    MenuFixture::SetUp();
    target = makeObject<MenuTarget>();
    a = box(target, 100, 40, {0, 0});
    b = box(target, 100, 40, {0, -100});
    menu = CCMenu::menuWithItems({a, b});
    layer = makeObject<Underneath>();
    layer->setIsTouchEnabled(true);
    scene->addChild(layer);
    scene->addChild(menu);
  }
  void TearDown() override {
    a = b = nullptr;
    menu = nullptr;
    layer = nullptr;
    target = nullptr;
    MenuFixture::TearDown();
  }

  Ptr<MenuTarget> target;
  Ptr<CCMenuItem> a, b;
  Ptr<CCMenu> menu;
  Ptr<Underneath> layer;
};

}  // namespace

TEST_F(CCMenuTest, MenuFillsTheWindowAndTakesOnlyItems) {
  EXPECT_EQ(menu->contentSize(), CGSizeMake(1024, 768));
  EXPECT_EQ(menu->position(), CGPointMake(512, 384));
  EXPECT_EQ(menu->anchorPoint(), CGPointMake(0.5f, 0.5f));
  EXPECT_FALSE(menu->isRelativeAnchorPoint());
  EXPECT_TRUE(menu->isTouchEnabled());
  ASSERT_EQ(menu->childrenCount(), 2u);
  EXPECT_EQ(menu->childAtIndex(0), a.get());
  EXPECT_EQ(b->zOrder(), 1);
  EXPECT_EQ(a->anchorPoint(), CGPointMake(0.5f, 0.5f));
  EXPECT_EQ(b->rect(), CGRectMake(-50, -120, 100, 40));

  // A missing item (a picture that failed to load) is left out.
  auto spare = box(target, 1, 1, {});
  auto partial = CCMenu::menuWithItems({nullptr, spare});
  EXPECT_EQ(partial->childrenCount(), 1u);

  EXPECT_ASSERTION(menu->addChild(CCNode::node(), 0, 0),
                   "Menu only supports MenuItem objects as children");
  EXPECT_ASSERTION(makeObject<CCMenu>()->init(), "CCMenu: Init not supported.");
  auto t = makeObject<UITouch>(view.get(), CGPointZero, 0.0);
  EXPECT_ASSERTION(menu->ccTouchMoved(t, nullptr), "[Menu ccTouchMoved] -- invalid state");
  EXPECT_ASSERTION(menu->ccTouchEnded(t, nullptr), "[Menu ccTouchEnded] -- invalid state");
  EXPECT_ASSERTION(menu->ccTouchCancelled(t, nullptr), "[Menu ccTouchCancelled] -- invalid state");

  // Running, the menu is a swallowing targeted delegate ahead of layers.
  run();
  const auto& handlers = CCTouchDispatcher::sharedDispatcher()->targetedHandlers();
  ASSERT_EQ(handlers.size(), 1u);
  EXPECT_EQ(handlers[0]->delegate(), menu.get());
  EXPECT_EQ(handlers[0]->priority(), -128);
  EXPECT_TRUE(handlers[0]->swallowsTouches());
}

TEST_F(CCMenuTest, SlidingSelectsTheItemUnderTheFingerAndLiftingActivatesIt) {
  run();
  UITouch* f = down({512, 384});
  EXPECT_TRUE(a->isSelected());
  EXPECT_EQ(menu->state(), kCCMenuStateTrackingTouch);
  EXPECT_EQ(layer->began, 0) << "the claimed touch is swallowed";

  move(f, {512, 200});  // off every item
  EXPECT_FALSE(a->isSelected());
  EXPECT_EQ(menu->selectedItem(), nullptr);
  move(f, {512, 284});  // onto B
  EXPECT_TRUE(b->isSelected());
  move(f, {512, 384});  // back onto A
  EXPECT_FALSE(b->isSelected());
  EXPECT_TRUE(a->isSelected());
  up(f, {512, 384});
  EXPECT_FALSE(a->isSelected());
  EXPECT_EQ(target->senders, std::vector<NSObject*>{a.get()});
  EXPECT_EQ(menu->state(), kCCMenuStateWaiting);

  // Lifted away from every item: nothing is activated.
  UITouch* g = down({500, 370});
  move(g, {900, 700});
  up(g, {900, 700});
  EXPECT_EQ(target->senders.size(), 1u);
  EXPECT_FALSE(a->isSelected());
  EXPECT_EQ(menu->state(), kCCMenuStateWaiting);

  // A cancelled touch unselects without activating.
  UITouch* h = down({512, 284});
  EXPECT_TRUE(b->isSelected());
  cancel(h);
  EXPECT_FALSE(b->isSelected());
  EXPECT_EQ(target->senders.size(), 1u);
  EXPECT_EQ(menu->state(), kCCMenuStateWaiting);
}

TEST_F(CCMenuTest, HitTestEdgesAndOverlaps) {
  run();
  // Left and bottom edges belong to the item, right and top edges do not.
  UITouch* t = down({462, 364});
  EXPECT_EQ(menu->selectedItem(), a.get());
  move(t, {561.5f, 403.5f});
  EXPECT_EQ(menu->selectedItem(), a.get());
  move(t, {562, 384});
  EXPECT_EQ(menu->selectedItem(), nullptr);
  move(t, {512, 404});
  EXPECT_EQ(menu->selectedItem(), nullptr);
  cancel(t);

  // Overlapping items: the earlier child wins, and a lower z comes earlier.
  auto late = box(target, 100, 40, {30, 0});
  menu->addChild(late, 5);
  t = down({540, 384});
  EXPECT_EQ(menu->selectedItem(), a.get());
  up(t, {540, 384});
  auto low = box(target, 100, 40, {30, 0});
  menu->addChild(low, -1);
  t = down({540, 384});
  EXPECT_EQ(menu->selectedItem(), low.get());
  up(t, {540, 384});
  EXPECT_EQ(target->senders, (std::vector<NSObject*>{a.get(), low.get()}));

  // A scaled item is hit over its scaled extent.
  b->setScale(2);  // 200 x 80 around (512, 284)
  t = down({420, 250});
  EXPECT_EQ(menu->selectedItem(), b.get());
  cancel(t);
}

TEST_F(CCMenuTest, DisabledInvisibleOrHiddenMenuLetsTheTouchThrough) {
  run();
  a->setIsEnabled(false);
  UITouch* t = down({512, 384});
  EXPECT_EQ(layer->began, 1);
  EXPECT_FALSE(a->isSelected());
  up(t, {512, 384});
  EXPECT_TRUE(target->senders.empty());

  a->setIsEnabled(true);
  a->setVisible(false);
  down({512, 384});
  EXPECT_EQ(layer->began, 2);

  a->setVisible(true);
  menu->setVisible(false);
  down({512, 384});
  EXPECT_EQ(layer->began, 3);
  EXPECT_FALSE(a->isSelected());

  // A disabled item is not activated even when it was selected.
  menu->setVisible(true);
  t = down({512, 384});
  a->setIsEnabled(false);
  up(t, {512, 384});
  EXPECT_TRUE(target->senders.empty());
}

TEST_F(CCMenuTest, SecondFingerWhileTrackingIsNotClaimed) {
  run();
  UITouch* first = down({512, 384});
  UITouch* second = down({512, 284});
  EXPECT_EQ(layer->began, 1);
  EXPECT_FALSE(b->isSelected());
  EXPECT_EQ(menu->selectedItem(), a.get());
  up(second, {512, 284});
  up(first, {512, 384});
  EXPECT_EQ(target->senders, std::vector<NSObject*>{a.get()});
}

TEST_F(CCMenuTest, LeavingOrLosingTheTrackedItemMidTouchIsSafe) {
  run();
  // The menu leaves the scene while a finger is down on A.
  UITouch* t = down({512, 384});
  menu->removeFromParentAndCleanup(true);
  EXPECT_FALSE(a->isSelected());
  EXPECT_EQ(menu->state(), kCCMenuStateWaiting);
  up(t, {512, 384});
  EXPECT_TRUE(target->senders.empty());
  EXPECT_TRUE(CCTouchDispatcher::sharedDispatcher()->targetedHandlers().empty());

  // The tracked item is removed (and freed) before the finger lifts.
  scene->addChild(menu);
  t = down({512, 384});
  ASSERT_EQ(menu->selectedItem(), a.get());
  menu->removeChild(a, true);
  a = nullptr;
  move(t, {512, 380});
  up(t, {512, 380});
  EXPECT_TRUE(target->senders.empty());
  EXPECT_EQ(menu->state(), kCCMenuStateWaiting);

  // An item whose call takes the menu away, and with it the item.
  auto closer = CCMenuItem::itemWithBlock([this](NSObject* sender) {
    target->senders.push_back(sender);
    menu->removeAllChildrenWithCleanup(true);
    menu->removeFromParentAndCleanup(true);
  });
  closer->setContentSize(CGSizeMake(50, 50));
  menu->addChild(closer);
  NSObject* closerAddress = closer.get();
  closer = nullptr;
  t = down({512, 384});
  up(t, {512, 384});
  EXPECT_EQ(target->senders, std::vector<NSObject*>{closerAddress});
  EXPECT_EQ(menu->childrenCount(), 0u);
  EXPECT_TRUE(CCTouchDispatcher::sharedDispatcher()->targetedHandlers().empty());
}

TEST_F(CCMenuTest, VerticalAndHorizontalAlignment) {
  auto m = CCMenu::menuWithItems(
      {box(target, 80, 40, {}), box(target, 30, 60, {}), box(target, 50, 40, {})});
  m->alignItemsVertically();
  EXPECT_EQ(m->childAtIndex(0)->position(), CGPointMake(0, 55));
  EXPECT_EQ(m->childAtIndex(1)->position(), CGPointMake(0, 0));
  EXPECT_EQ(m->childAtIndex(2)->position(), CGPointMake(0, -55));

  // Widths 80, 30, 50 with padding 5: total 170.
  m->alignItemsHorizontally();
  EXPECT_EQ(m->childAtIndex(0)->position(), CGPointMake(-45, 0));
  EXPECT_EQ(m->childAtIndex(1)->position(), CGPointMake(15, 0));
  EXPECT_EQ(m->childAtIndex(2)->position(), CGPointMake(60, 0));

  // Scaled sizes count: heights 80 and 20 (and 40) with padding 10.
  m->childAtIndex(0)->setScale(2);
  m->childAtIndex(1)->setScaleY(1.0f / 3);
  m->alignItemsVerticallyWithPadding(10);
  EXPECT_FLOAT_EQ(m->childAtIndex(0)->position().y, 40);
  EXPECT_FLOAT_EQ(m->childAtIndex(1)->position().y, -20);
  EXPECT_FLOAT_EQ(m->childAtIndex(2)->position().y, -60);
  m->alignItemsHorizontallyWithPadding(0);  // widths 160, 30, 50
  EXPECT_FLOAT_EQ(m->childAtIndex(0)->position().x, -40);
  EXPECT_FLOAT_EQ(m->childAtIndex(1)->position().x, 55);
  EXPECT_FLOAT_EQ(m->childAtIndex(2)->position().x, 95);
}

TEST_F(CCMenuTest, GridAlignmentInColumnsAndRows) {
  auto m = CCMenu::menuWithItems(
      {box(target, 100, 40, {}), box(target, 50, 60, {}), box(target, 80, 30, {})});
  auto pos = [&](std::size_t i) { return m->childAtIndex(i)->position(); };
  // Rows of 2 and 1 on a 1024-wide window: rows 60 and 30 high, total 95.
  m->alignItemsInColumns({2, 1});
  EXPECT_FLOAT_EQ(pos(0).x, 1024.0f / 3 - 512);
  EXPECT_FLOAT_EQ(pos(0).y, 27.5f);
  EXPECT_FLOAT_EQ(pos(1).x, 2 * 1024.0f / 3 + 10 - 512);
  EXPECT_FLOAT_EQ(pos(1).y, 17.5f);
  EXPECT_FLOAT_EQ(pos(2).x, 0);
  EXPECT_FLOAT_EQ(pos(2).y, -32.5f);

  // Columns of 2 and 1: widths 100 and 80 (total 190), heights 105 and 30.
  m->alignItemsInRows({2, 1});
  EXPECT_FLOAT_EQ(pos(0).x, -45);
  EXPECT_FLOAT_EQ(pos(0).y, 52.5f);
  EXPECT_FLOAT_EQ(pos(1).x, -45);
  EXPECT_FLOAT_EQ(pos(1).y, 2.5f);
  EXPECT_FLOAT_EQ(pos(2).x, 50);
  EXPECT_FLOAT_EQ(pos(2).y, 15);

  EXPECT_ASSERTION(m->alignItemsInColumns({2}),
                   "Too many menu items for the amount of rows/columns.");
  EXPECT_ASSERTION(m->alignItemsInColumns({2, 0, 1}), "Can't have zero columns on a row");
  EXPECT_ASSERTION(m->alignItemsInColumns({2, 2}),
                   "Too many rows/columns for available menu items.");
  EXPECT_ASSERTION(m->alignItemsInRows({1, 1}),
                   "Too many menu items for the amount of rows/columns.");
  EXPECT_ASSERTION(m->alignItemsInRows({0, 3}), "Can't have zero rows on a column");
  EXPECT_ASSERTION(m->alignItemsInRows({4}), "Too many rows/columns for available menu items.");
}

TEST_F(CCMenuTest, DrawnMenuShowsTheImageItemsLooksAndALabel) {
  TempDir dir;
  auto writeFilled = [&](const std::string& name, unsigned char r, unsigned char g,
                         unsigned char bl) {
    std::vector<unsigned char> rgba(100 * 50 * 4);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
      rgba[i] = r;
      rgba[i + 1] = g;
      rgba[i + 2] = bl;
      rgba[i + 3] = 255;
    }
    std::string path = dir.file(name), error;
    EXPECT_TRUE(writePNG(path, rgba.data(), 100, 50, error)) << error;
    return path;
  };
  auto image = CCMenuItemImage::itemFromNormalImage(writeFilled("n.png", 255, 0, 0),
                                                    writeFilled("s.png", 0, 0, 255), target,
                                                    SELECTOR(MenuTarget::pressed));
  auto label = CCMenuItemFont::itemFromString("Play");
  ASSERT_TRUE(image && label);
  ASSERT_GT(label->contentSize().height, 10);
  label->setColor(ccc3(0, 255, 0));
  auto drawn = CCMenu::menuWithItems({image, label});
  drawn->alignItemsVerticallyWithPadding(20);
  menu->setVisible(false);
  scene->addChild(drawn);
  run();
  readFrame();
  ASSERT_EQ(width_, 1024);
  ASSERT_EQ(height_, 768);

  // The picture's 100 x 50 rectangle, centred on the item's position.
  const CGPoint c = drawn->convertToWorldSpace(image->position());
  const int cx = int(c.x), cy = int(c.y);
  EXPECT_EQ(at(cx, cy), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(at(cx - 48, cy + 23), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(at(cx - 52, cy), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(at(cx, cy + 27), (std::array<int, 3>{0, 0, 0}));

  // The label's text is green ink inside its box below the picture, and
  // nothing is drawn between them.
  const CGRect box = label->rect();
  const CGPoint lo = drawn->convertToWorldSpace(box.origin);
  int ink = 0;
  for (int y = int(lo.y); y < int(lo.y + box.size.height); ++y)
    for (int x = int(lo.x); x < int(lo.x + box.size.width); ++x) {
      auto p = at(x, y);
      if (p[1] > 128 && p[0] < 40 && p[2] < 40) ++ink;
    }
  EXPECT_GT(ink, 30);
  EXPECT_EQ(at(cx, int(lo.y + box.size.height) + 5), (std::array<int, 3>{0, 0, 0}));

  // Pressing shows the selected picture; lifting activates and restores it.
  UITouch* t = down(c);
  nextFrame();
  readFrame();
  EXPECT_EQ(at(cx, cy), (std::array<int, 3>{0, 0, 255}));
  up(t, c);
  nextFrame();
  readFrame();
  EXPECT_EQ(at(cx, cy), (std::array<int, 3>{255, 0, 0}));
  EXPECT_EQ(target->senders, std::vector<NSObject*>{image.get()});
}
