// The world's parts driven directly, where they hold a rule of their own that
// the face's tests do not single out.
#include "CC3Actions.h"
#include "lumoNodeActions.h"
#include "lumoWorldReadingFixture.h"

namespace {

using lumoWorldPartsTest = lumoWorldReadingTest;

TEST_F(lumoWorldPartsTest, NodeActionsRemovalStopsTheWholeSubtree) {
  auto parent = CC3Node::nodeWithName("parent");
  auto child = CC3Node::nodeWithName("child");
  parent->addChild(child.get());
  world->addChild(parent.get());
  child->runAction(lumoNodeActions::forever({CC3MoveBy::actionWithDuration(1, {1, 0, 0}).get(),
                                             CC3MoveBy::actionWithDuration(1, {-1, 0, 0}).get()})
                       .get());
  lumoNodeActions::flash(parent.get());
  ASSERT_EQ(child->numberOfRunningActions(), 1u);
  lumoNodeActions::removeWithActions(parent.get());
  EXPECT_EQ(parent->parent(), nullptr);
  EXPECT_EQ(parent->numberOfRunningActions(), 0u);
  EXPECT_EQ(child->numberOfRunningActions(), 0u);
  lumoNodeActions::removeWithActions(nullptr);
}

TEST_F(lumoWorldPartsTest, TheHomeButtonFollowsTheTurnLockOnlyItsPlainImageReturns) {
  lumoMenusAndHints& menus = world->menus();
  menus.addHome();
  CC3Node* home = node(lumoMenusAndHints::kHomeName);
  CC3Node* highlighted = node(lumoMenusAndHints::kHomeHighlightedName);
  ASSERT_TRUE(home && highlighted);
  highlighted->setVisible(true);
  world->turns().takeLock();
  EXPECT_FALSE(home->visible());
  EXPECT_FALSE(highlighted->visible());
  world->turns().releaseLock();
  EXPECT_TRUE(home->visible());
  EXPECT_FALSE(highlighted->visible());
  // The credits lock drags only: the button stays.
  world->turns().creditsOpened();
  EXPECT_TRUE(home->visible());
  world->turns().creditsClosed();
}

TEST_F(lumoWorldPartsTest, TheLanguageMenuTakesOnlyATapOnTheOtherLanguage) {
  world->addMenu();
  lumoLanguageMenu& menu = world->languageMenu();
  CC3Node* russian = node("menu-btn1-highlighted");
  CC3Node* english = node("menu-btn2");
  ASSERT_TRUE(russian && english);
  EXPECT_FALSE(menu.tapped(russian, lmStageInfo::kLangRussian));
  EXPECT_TRUE(russian->visible());
  EXPECT_TRUE(menu.tapped(english, lmStageInfo::kLangEnglish));
  // The menu shows the new language at once; the book reads it once the title has risen.
  EXPECT_FALSE(english->visible());
  EXPECT_TRUE(node("menu-btn2-highlighted")->visible());
  EXPECT_EQ(world->turns().language(), lmStageInfo::kLangRussian);
  advance(0.6);
  EXPECT_EQ(world->turns().language(), lmStageInfo::kLangEnglish);
}

TEST_F(lumoWorldPartsTest, DiscardingThePanelTakesItAndWhatItHadPending) {
  turnTo(2);
  advance(0.6);  // the panel is shown, its recording due in a second
  ASSERT_NE(node(lumoNarrationPanel::kPanelName), nullptr);
  world->performSelector(SELECTOR(lumoWorld::showAside), 0.5);
  auto pending = [](const std::string& selector) {
    for (const auto& call : NSRunLoop::mainRunLoop().pendingCalls())
      if (call.selector == selector) return true;
    return false;
  };
  ASSERT_TRUE(pending("lumoWorld::playAsideSound"));
  world->panel().discard();
  EXPECT_EQ(node(lumoNarrationPanel::kPanelName), nullptr);
  EXPECT_FALSE(pending("lumoWorld::showAside"));
  EXPECT_FALSE(pending("lumoWorld::playAsideSound"));
  EXPECT_EQ(world->panel().textLabel(), nullptr);
}

}  // namespace
