#include "CCMenuItem.h"

#include <gtest/gtest.h>

#include "CCActionManager.h"
#include "CCLabelTTF.h"
#include "CCMenuItemFont.h"
#include "CCMenuItemImage.h"
#include "CCMenuItemToggle.h"
#include "CCMenuTestFixture.h"
#include "CCSprite.h"
#include "PNGWriter.h"

namespace {

Ptr<CCSprite> look(float w, float h) {
  auto sprite = CCSprite::sprite();
  sprite->setTextureRect(CGRectMake(0, 0, w, h));
  return sprite;
}

Ptr<CCMenuItem> sized(float w, float h) {
  auto item = CCMenuItem::itemWithBlock(nullptr);
  item->setContentSize(CGSizeMake(w, h));
  return item;
}

// Visibility of normal, selected and disabled looks.
std::string shown(const CCMenuItemSprite& item) {
  std::string out;
  for (CCNode* n : {item.normalImage(), item.selectedImage(), item.disabledImage()})
    out += !n ? '-' : n->visible() ? 'V' : 'h';
  return out;
}

using CCMenuItemTest = MenuFixture;

}  // namespace

TEST_F(CCMenuItemTest, ItemCallsItsTargetOrBlockOnlyWhileEnabled) {
  auto target = makeObject<MenuTarget>();
  auto withSender = CCMenuItem::itemWithTarget(target, SELECTOR(MenuTarget::pressed));
  auto plain = CCMenuItem::itemWithTarget(target, SELECTOR(MenuTarget::plain));
  NSObject* blockSender = nullptr;
  auto block = CCMenuItem::itemWithBlock([&](NSObject* sender) { blockSender = sender; });
  auto noTarget = CCMenuItem::itemWithTarget(nullptr, SELECTOR(MenuTarget::pressed));
  for (CCMenuItem* item : {withSender.get(), plain.get(), block.get(), noTarget.get()})
    item->activate();
  EXPECT_EQ(target->senders, std::vector<NSObject*>{withSender.get()});
  EXPECT_EQ(target->plainCalls, 1);
  EXPECT_EQ(blockSender, block.get());

  withSender->setIsEnabled(false);
  plain->setIsEnabled(false);
  withSender->activate();
  plain->activate();
  EXPECT_EQ(target->senders.size(), 1u);
  EXPECT_EQ(target->plainCalls, 1);

  EXPECT_TRUE(block->isEnabled());
  EXPECT_FALSE(block->isSelected());
  block->selected();
  EXPECT_TRUE(block->isSelected());
  block->setContentSize(CGSizeMake(40, 30));
  block->setPosition({10, 20});
  EXPECT_EQ(block->rect(), CGRectMake(-10, 5, 40, 30));
  EXPECT_ASSERTION(makeObject<CCMenuItem>()->init(), "MenuItemInit: Init not supported.");
}

TEST_F(CCMenuItemTest, SpriteItemShowsOneLookPerState) {
  auto n = look(40, 20), s = look(40, 20), d = look(40, 20);
  auto item = CCMenuItemSprite::itemFromNormalSprite(n, s, d, nullptr, Selector<NSObject*>());
  ASSERT_TRUE(item);
  EXPECT_EQ(item->contentSize(), CGSizeMake(40, 20));
  EXPECT_EQ(item->childrenCount(), 3u);
  EXPECT_EQ(n->anchorPoint(), CGPointMake(0, 0));
  EXPECT_EQ(shown(*item), "Vhh");
  item->selected();
  EXPECT_EQ(shown(*item), "hVh");
  item->unselected();
  EXPECT_EQ(shown(*item), "Vhh");
  item->setIsEnabled(false);
  EXPECT_EQ(shown(*item), "hhV");
  item->setIsEnabled(true);
  EXPECT_EQ(shown(*item), "Vhh");

  // Without a selected or disabled look the normal one stands in.
  auto lone = CCMenuItemSprite::itemFromNormalSprite(look(10, 10), nullptr);
  lone->selected();
  EXPECT_EQ(shown(*lone), "V--");
  auto noDisabled = CCMenuItemSprite::itemFromNormalSprite(look(10, 10), look(10, 10));
  noDisabled->setIsEnabled(false);
  EXPECT_EQ(shown(*noDisabled), "Vh-");
  EXPECT_FALSE(CCMenuItemSprite::itemFromNormalSprite(nullptr, look(5, 5)));

  // Replacing a look removes the old node; the same node again changes nothing.
  item->setNormalImage(n);
  EXPECT_EQ(item->childrenCount(), 3u);
  auto other = look(50, 50);
  other->setVisible(false);
  item->setNormalImage(other);
  EXPECT_EQ(n->parent(), nullptr);
  EXPECT_EQ(other->parent(), item.get());
  EXPECT_TRUE(other->visible());
  EXPECT_EQ(other->anchorPoint(), CGPointMake(0, 0));
  item->setSelectedImage(nullptr);
  EXPECT_EQ(s->parent(), nullptr);
  EXPECT_EQ(item->childrenCount(), 2u);

  // Colour and opacity reach every look, also through a menu.
  item->setSelectedImage(s);
  item->setColor(ccc3(1, 2, 3));
  for (CCSprite* sprite : {other.get(), s.get(), d.get()})
    EXPECT_EQ(sprite->color(), ccc3(1, 2, 3));
  auto menu = CCMenu::menuWithItems({item, sized(5, 5)});
  menu->setOpacity(70);
  EXPECT_EQ(menu->opacity(), 70);
  for (CCSprite* sprite : {other.get(), s.get(), d.get()}) EXPECT_EQ(sprite->opacity(), 70);
  EXPECT_EQ(item->opacity(), 70);
}

TEST_F(CCMenuItemTest, ImageItemNeedsItsNormalPicture) {
  TempDir dir;
  std::vector<unsigned char> rgba(8 * 6 * 4, 200);
  std::string path = dir.file("n.png"), error;
  ASSERT_TRUE(writePNG(path, rgba.data(), 8, 6, error)) << error;
  EXPECT_FALSE(CCMenuItemImage::itemFromNormalImage(dir.file("missing.png"), path));
  auto item = CCMenuItemImage::itemFromNormalImage(path, dir.file("missing.png"), path);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->contentSize(), CGSizeMake(8, 6));
  EXPECT_EQ(item->selectedImage(), nullptr);
  ASSERT_NE(item->disabledImage(), nullptr);
  item->setIsEnabled(false);
  EXPECT_EQ(shown(*item), "h-V");
}

TEST_F(CCMenuItemTest, LabelItemZoomsWhilePressedAndBackWhenReleased) {
  auto target = makeObject<MenuTarget>();
  auto text = CCLabelTTF::labelWithString("Start", "Marker Felt", 32);
  auto item = CCMenuItemLabel::itemWithLabel(text, target, SELECTOR(MenuTarget::pressed));
  EXPECT_EQ(item->contentSize(), text->contentSize());
  EXPECT_EQ(text->anchorPoint(), CGPointMake(0, 0));
  scene->addChild(CCMenu::menuWithItems({item}));
  run();
  auto frames = [&](int count) {
    for (int i = 0; i < count; ++i) nextFrame();
  };

  item->selected();
  frames(3);  // the first step counts no time: 2/60 s of 0.1 s
  EXPECT_NEAR(item->scale(), 1 + 0.2f * (2.0f / 6), 1e-3f);
  frames(6);
  EXPECT_FLOAT_EQ(item->scale(), 1.2f);
  EXPECT_EQ(item->numberOfRunningActions(), 0u);
  item->unselected();
  frames(8);
  EXPECT_FLOAT_EQ(item->scale(), 1);

  // Pressed again while the zoom runs: it grows from where it is to 1.2
  // times the scale it started from, not to 1.2 times the grown scale.
  item->selected();
  frames(3);
  item->unselected();
  frames(2);
  item->selected();
  frames(8);
  EXPECT_FLOAT_EQ(item->scale(), 1.2f);

  // Activation stops the zoom and puts the scale back before calling.
  item->unselected();
  frames(2);
  item->activate();
  EXPECT_FLOAT_EQ(item->scale(), 1);
  EXPECT_EQ(item->numberOfRunningActions(), 0u);
  EXPECT_EQ(target->senders, std::vector<NSObject*>{item.get()});

  // A scaled item grows relative to its own scale.
  item->setScale(2);
  item->selected();
  frames(8);
  EXPECT_FLOAT_EQ(item->scale(), 2.4f);
  item->activate();
  EXPECT_FLOAT_EQ(item->scale(), 2);
  item->unselected();
  frames(8);
  EXPECT_FALSE(item->isSelected());

  // Disabled: greyed, deaf to presses, and its colour comes back afterwards.
  item->setColor(ccc3(10, 20, 30));
  item->setIsEnabled(false);
  item->setIsEnabled(false);
  EXPECT_EQ(text->color(), ccc3(126, 126, 126));
  item->selected();
  EXPECT_FALSE(item->isSelected());
  EXPECT_EQ(item->numberOfRunningActions(), 0u);
  item->setIsEnabled(true);
  EXPECT_EQ(text->color(), ccc3(10, 20, 30));

  const CGSize before = item->contentSize();
  item->setString("Start again");
  EXPECT_GT(item->contentSize().width, before.width);
  EXPECT_EQ(item->contentSize(), text->contentSize());
}

TEST_F(CCMenuItemTest, FontItemUsesTheClassWideFont) {
  EXPECT_EQ(CCMenuItemFont::fontName(), "Marker Felt");
  EXPECT_EQ(CCMenuItemFont::fontSize(), 32);
  auto big = CCMenuItemFont::itemFromString("Go");
  CCMenuItemFont::setFontSize(16);
  auto small = CCMenuItemFont::itemFromString("Go", [](NSObject*) {});
  CCMenuItemFont::setFontSize(32);
  ASSERT_TRUE(big && small);
  auto* label = dynamic_cast<CCLabelTTF*>(small->label());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->fontName(), "Marker Felt");
  EXPECT_FLOAT_EQ(label->fontSize(), 16);
  EXPECT_LT(small->contentSize().height, big->contentSize().height);
  EXPECT_ASSERTION(CCMenuItemFont::itemFromString(""), "Value length must be greater than 0");
}

TEST_F(CCMenuItemTest, ToggleCyclesItsSubItemsBeforeCalling) {
  std::vector<unsigned> seen;
  CCMenuItemToggle* raw = nullptr;
  auto one = sized(10, 10), two = sized(20, 30), three = sized(40, 10);
  auto toggle = CCMenuItemToggle::itemWithBlock(
      [&](NSObject* sender) {
        EXPECT_EQ(sender, raw);
        seen.push_back(raw->selectedIndex());
      },
      {one, two, three});
  raw = toggle.get();
  ASSERT_EQ(toggle->subItems()->count(), 3u);
  EXPECT_EQ(toggle->selectedIndex(), 0u);
  EXPECT_EQ(toggle->getChildByTag(kCCCurrentItemTag), one.get());
  EXPECT_EQ(toggle->contentSize(), CGSizeMake(10, 10));

  for (int i = 0; i < 3; ++i) toggle->activate();
  EXPECT_EQ(seen, (std::vector<unsigned>{1, 2, 0}));
  toggle->setSelectedIndex(1);
  EXPECT_EQ(toggle->childrenCount(), 1u);
  EXPECT_EQ(toggle->selectedItem(), two.get());
  EXPECT_EQ(one->parent(), nullptr);
  EXPECT_EQ(toggle->contentSize(), CGSizeMake(20, 30));
  EXPECT_EQ(two->position(), CGPointMake(10, 15));

  toggle->selected();
  EXPECT_TRUE(two->isSelected());
  toggle->unselected();
  EXPECT_FALSE(two->isSelected());
  toggle->setIsEnabled(false);
  EXPECT_FALSE(one->isEnabled());
  EXPECT_FALSE(three->isEnabled());
  toggle->activate();
  EXPECT_EQ(toggle->selectedIndex(), 1u);
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_ASSERTION(toggle->setSelectedIndex(3), "Toggle index out of range");

  // A toggle of nothing shows nothing and still calls.
  auto target = makeObject<MenuTarget>();
  auto empty = CCMenuItemToggle::itemWithTarget(target, SELECTOR(MenuTarget::pressed), {});
  empty->activate();
  EXPECT_EQ(empty->selectedItem(), nullptr);
  EXPECT_EQ(target->senders, std::vector<NSObject*>{empty.get()});
}
