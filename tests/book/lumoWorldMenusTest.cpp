#include <gtest/gtest.h>

#include <algorithm>

#include "CC3MeshModel.h"
#include "CC3MeshNode.h"
#include "CC3PlaneNode.h"
#include "NSNotificationCenter.h"
#include "lumoWorldFixture.h"

namespace {

class lumoWorldMenusTest : public lumoWorldTest {
 protected:
  void TearDown() override {
    for (const char* name : {"hint_finger", "hint_arrow_up"})
      if (world && node(name)) node(name)->stopAllActions();
    lumoWorldTest::TearDown();
  }
  CC3Box boxOf(CC3Node* plane) {
    return dynamic_cast<CC3MeshNode*>(plane)->meshModel()->boundingBox();
  }
  CGSize sizeOf(const std::string& name) {
    CC3Box box = boxOf(node(name));
    return {box.maximum.x - box.minimum.x, box.maximum.y - box.minimum.y};
  }
};

TEST_F(lumoWorldMenusTest, HomeButtonIsBuiltOnceWithItsTagAndOnlyThePlainImageShows) {
  build();
  world->addHome();
  ASSERT_TRUE(node("home-btn") && node("home-btn-highlighted"));
  EXPECT_EQ(node("home-btn")->tag(), 2002u);
  EXPECT_EQ(node("home-btn-highlighted")->tag(), 2002u);
  EXPECT_TRUE(node("home-btn")->visible());
  EXPECT_FALSE(node("home-btn-highlighted")->visible());
  EXPECT_TRUE(node("home-btn")->isTouchEnabled());
  // 60 x 60 design pixels at 0.3 on the tablet.
  EXPECT_NEAR(sizeOf("home-btn").width, 8.4375, 1e-4);
  EXPECT_NEAR(sizeOf("home-btn").height, 7.5, 1e-4);
  const std::size_t children = world->childCount();
  world->addHome();
  EXPECT_EQ(world->childCount(), children);

  // With only one of the pair left, both are built again.
  node("home-btn-highlighted")->remove();
  world->addHome();
  EXPECT_EQ(world->childCount(), children);
  world->removeHome();
  EXPECT_FALSE(node("home-btn"));
  EXPECT_FALSE(node("home-btn-highlighted"));
  world->removeHome();  // nothing left to remove
}

TEST_F(lumoWorldMenusTest, EndingMenuHoldsItsFourChildrenInOrderWithTheirTags) {
  build();
  world->addMenuEnding();
  CC3Node* menu = node("menu-end");
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->tag(), 1001u);
  EXPECT_FALSE(menu->isTouchEnabled());
  EXPECT_EQ(menu->location().y, 50);
  ASSERT_EQ(menu->childCount(), 4u);
  EXPECT_EQ(menu->childAt(0)->name(), "menu-end1");
  EXPECT_EQ(menu->childAt(1)->name(), "menu-end2");
  EXPECT_EQ(menu->childAt(2)->name(), "text_replay_cn");
  EXPECT_EQ(menu->childAt(3)->name(), "text_moreapps_ru");
  EXPECT_EQ(menu->childAt(0)->tag(), 3000u);
  EXPECT_EQ(menu->childAt(1)->tag(), 3001u);
  EXPECT_TRUE(menu->childAt(1)->isTouchEnabled());
  EXPECT_FALSE(menu->childAt(3)->isTouchEnabled());
  // The labels stand on a pivot narrower or wider than themselves: 131 wide
  // on a pivot of 96 leaves the label's left edge 35 design pixels further out.
  CC3Box label = boxOf(menu->childAt(3));
  EXPECT_NEAR(label.minimum.x, -96 * 0.46875 * 0.25 * 0.5, 1e-4);
  EXPECT_NEAR(label.maximum.x - label.minimum.x, 131 * 0.46875 * 0.25, 1e-4);
  // The labels' automatic tags stay clear of the controls' range.
  for (std::size_t i = 2; i < menu->childCount(); ++i) {
    GLuint tag = menu->childAt(i)->tag();
    EXPECT_TRUE(tag < 1001 || tag > 4000) << tag;
  }
}

TEST_F(lumoWorldMenusTest, DragHintAppearsTwoSecondsAfterStartAndLoops) {
  build();
  advance(1.9f);
  EXPECT_FALSE(node("hint_finger"));
  advance(0.2f);
  ASSERT_TRUE(node("hint_finger") && node("hint_arrow_up"));
  EXPECT_GT(world->getNodeNamed("hint_finger")->numberOfRunningActions(), 0u);
  // The finger rises 14 units, then comes back: the loop lasts 4 s.
  const float start = node("hint_finger")->location().y;
  float highest = start;
  for (int step = 0; step < 80; ++step) {
    advance(0.05f);
    highest = std::max(highest, node("hint_finger")->location().y);
  }
  EXPECT_NEAR(highest, 97, 0.01);
  EXPECT_NEAR(node("hint_finger")->location().y, start, 0.8);
}

TEST_F(lumoWorldMenusTest, CreditsRequestPostsTheLanguageAndLocksUntilTheCreditsClose) {
  build();
  world->addMenuEnding();
  std::vector<NSDictionary> requests;
  struct Observer : NSObject {
    std::vector<NSDictionary>* seen;
    void onCredits(NSNotification* n) { seen->push_back(n->userInfo()); }
  };
  auto observer = makeObject<Observer>();
  observer->seen = &requests;
  NSNotificationCenter::defaultCenter().addObserver(observer.get(), SELECTOR(Observer::onCredits),
                                                    "lmShouldShowCredits", nullptr);
  CC3Node* credits = node("menu-end2");
  world->nodeSelected(credits, 0, {100, 100});
  world->nodeSelected(credits, 2, {100, 100});
  NSNotificationCenter::defaultCenter().removeObserver(observer.get());
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].boolValue("isEnLan"));  // the Russian reading asks "isEnLan" YES
  EXPECT_FALSE(credits->isTouchEnabled());
  EXPECT_TRUE(world->stageInfo()->lockDrag());

  NSNotificationCenter::defaultCenter().postNotificationName("creditsdidfinishnotification",
                                                             nullptr);
  EXPECT_TRUE(credits->isTouchEnabled());
  EXPECT_FALSE(world->stageInfo()->lockDrag());
}

}  // namespace
