#include <gtest/gtest.h>

#include <fstream>

#include "CC3MeshModel.h"
#include "CC3MeshNode.h"
#include "lumoWorld.h"
#include "lumoWorldNarrationFixture.h"

namespace {

class lumoWorldLanguageTest : public lumoWorldNarrationTest {
 protected:
  CC3Node* menuPart(const std::string& name) {
    CC3Node* menu = node("menu-lan");
    return menu ? menu->getNodeNamed(name) : nullptr;
  }
  std::vector<std::string> visibleMenuParts() {
    std::vector<std::string> shown;
    CC3Node* menu = node("menu-lan");
    for (std::size_t i = 0; menu && i < menu->childCount(); ++i)
      if (menu->childAt(i)->visible()) shown.push_back(*menu->childAt(i)->name());
    return shown;
  }
  static CGSize sizeOf(CC3Node* plane) {
    const CC3Box box = dynamic_cast<CC3MeshNode*>(plane)->meshModel()->boundingBox();
    return {box.maximum.x - box.minimum.x, box.maximum.y - box.minimum.y};
  }
};

using Names = std::vector<std::string>;

TEST_F(lumoWorldLanguageTest, StoredEnglishRocksItsTitleThenPlaysTheCoverRecording) {
  NSUserDefaults::standardUserDefaults().setObject("2001", "Lan");
  addRecording("QRB_p1_cn");
  build();
  CC3Node* title = node("s1layer5-cn");
  ASSERT_TRUE(title->visible());
  EXPECT_FALSE(node("s1layer3-cn")->visible());
  // Sinks for 0.5 s, then rocks back 10 degrees and up again over 0.6 s.
  advance(0.8);
  EXPECT_NEAR(title->rotation().x, 80, 0.7);
  advance(0.4);
  EXPECT_NEAR(title->rotation().x, 90, 1e-3);
  // The recording comes 1.0 s after the rocking starts.
  EXPECT_EQ(playing(), "");
  advance(0.35);
  EXPECT_EQ(playing(), "QRB_p1_cn");
}

TEST_F(lumoWorldLanguageTest, RussianCoverPlaysNothingAndBadValuesReadAsNoLanguage) {
  addRecording("QRB_p1_cn");
  build();
  advance(0.7);
  EXPECT_TRUE(pending("lumoWorld::playAsideSound"));  // the cover's entry is "nil"
  advance(2.3);
  EXPECT_EQ(playing(), "");
  dropWorld();

  NSUserDefaults::standardUserDefaults().setObject("English please", "Lan");
  build();
  EXPECT_EQ(world->stageInfo()->curLangTag(), 0);
  EXPECT_FALSE(node("s1layer3-cn")->visible());
  EXPECT_FALSE(node("s1layer5-cn")->visible());
  EXPECT_EQ(world->genStageSoundWithIndex(2), "QRB_p1_ru");
  advance(3);
  EXPECT_EQ(playing(), "");
  // The menu selects neither language, so either button is a change.
  EXPECT_EQ(visibleMenuParts(),
            (Names{"menu-btn1", "menu-btn2", "english-default", "chinese-default"}));
}

TEST_F(lumoWorldLanguageTest, MenuJoinsTheCoverWithItsPartsInPlace) {
  build();
  EXPECT_EQ(node("menu-lan"), nullptr);  // after set-up, not within it
  advance(1.0 / 60);
  CC3Node* menu = node("menu-lan");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->parent(), world.get());
  EXPECT_FLOAT_EQ(menu->location().y, 55.5f);
  EXPECT_FLOAT_EQ(menu->location().z, 350);
  EXPECT_NEAR(sizeOf(menu).width, 499 * 0.46875 * 0.3, 1e-4);
  EXPECT_NEAR(sizeOf(menu).height, 98 * 0.41666666 * 0.3, 1e-4);
  EXPECT_FALSE(menu->isTouchEnabled());

  Names order;
  for (std::size_t i = 0; i < menu->childCount(); ++i) order.push_back(*menu->childAt(i)->name());
  EXPECT_EQ(order,
            (Names{"menu-btn1", "menu-btn2", "menu-btn1-highlighted", "menu-btn2-highlighted",
                   "english-default", "chinese-default", "english", "chinese"}));
  for (const char* name : {"menu-btn1", "menu-btn1-highlighted"}) {
    EXPECT_EQ(menuPart(name)->tag(), 2000u) << name;
    EXPECT_TRUE(menuPart(name)->isTouchEnabled()) << name;
  }
  for (const char* name : {"menu-btn2", "menu-btn2-highlighted"}) {
    EXPECT_EQ(menuPart(name)->tag(), 2001u) << name;
    EXPECT_FLOAT_EQ(menuPart(name)->location().x, 14) << name;
  }
  EXPECT_FALSE(menuPart("chinese")->isTouchEnabled());
  EXPECT_NEAR(sizeOf(menuPart("menu-btn1")).width, 17.296875, 1e-4);
  EXPECT_NEAR(sizeOf(menuPart("chinese")).height, 26 * 0.41666666 * 0.255, 1e-4);
  EXPECT_FLOAT_EQ(menuPart("chinese")->location().x, 13.5f);
  EXPECT_FLOAT_EQ(menuPart("english")->location().y, 9.6f);
  // Bottom-centre pivot: the button spans y from 0.
  EXPECT_NEAR(
      dynamic_cast<CC3MeshNode*>(menuPart("menu-btn2"))->meshModel()->boundingBox().minimum.y, 0,
      1e-5);

  EXPECT_EQ(visibleMenuParts(),
            (Names{"menu-btn2", "menu-btn1-highlighted", "chinese-default", "english"}));
}

TEST_F(lumoWorldLanguageTest, MenuLeavesWithTheCoverAndReturnsWithIt) {
  build();
  world->dismissAsideWithAnimation(false);  // a forward drag before the first frame
  advance(0.5);
  EXPECT_EQ(node("menu-lan"), nullptr);

  settleOn(2);
  EXPECT_EQ(node("menu-lan"), nullptr);
  world->stageInfo()->setCurLangTag(2001);
  settleOn(1);
  ASSERT_NE(node("menu-lan"), nullptr);
  EXPECT_EQ(visibleMenuParts(),
            (Names{"menu-btn1", "menu-btn2-highlighted", "english-default", "chinese"}));
  // Built again, never twice.
  world->addMenu();
  std::size_t menus = 0;
  for (std::size_t i = 0; i < world->childCount(); ++i)
    menus += world->childAt(i)->name() == "menu-lan";
  EXPECT_EQ(menus, 1u);
}

TEST_F(lumoWorldLanguageTest, FinishingAChangeStoresTheTagAndPlaysInTheNewLanguage) {
  addRecording("QRB_p1_cn");
  build();
  node("s1layer3-cn")->setVisible(true);
  world->endChangeToCnLanguage();
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2001);
  EXPECT_FALSE(node("s1layer3-cn")->visible());
  // The new title comes down at once: the cover never stands untitled.
  EXPECT_TRUE(node("s1layer5-cn")->visible());
  EXPECT_EQ(playing(), "QRB_p1_cn");
  EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("Lan"), "2001");
  // Written through to the file, so the next start reads it.
  std::ifstream file(dir.file("defaults.json"));
  const std::string saved((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(saved.find("2001"), std::string::npos) << saved;

  world->endChangeToEnLanguage();
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2000);
  EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("Lan"), "2000");
  // The English narration stops with its language; the Russian cover has none.
  EXPECT_EQ(playing(), "");
}

TEST_F(lumoWorldLanguageTest, TappingTheOtherLanguageSwitchesWhenTheOldTitleHasRisen) {
  addRecording("QRB_p1_cn");
  build();
  advance(1.2);  // the Russian title has sunk and rocked
  CC3Node* title = node("s1layer3-cn");
  const float sunk = title->location().z;

  // The current language's button is no change: it only flashes.
  tap(menuPart("menu-btn1-highlighted"));
  advance(0.6);
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2000);
  EXPECT_TRUE(title->visible());

  tap(menuPart("menu-btn2"));
  // The menu shows the new language at once; the change waits for the title.
  EXPECT_EQ(visibleMenuParts(),
            (Names{"menu-btn1", "menu-btn2-highlighted", "english-default", "chinese"}));
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2000);
  EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("Lan"), "2000");
  advance(0.45);
  EXPECT_EQ(playing(), "");
  advance(0.1);
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2001);
  EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("Lan"), "2001");
  EXPECT_EQ(playing(), "QRB_p1_cn");
  EXPECT_FALSE(title->visible());
  EXPECT_NEAR(title->location().z, sunk + 100, 1e-3);

  // And back: the other, hidden title carries the change.
  tap(menuPart("menu-btn1"));
  advance(0.55);
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2000);
  EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("Lan"), "2000");
  EXPECT_EQ(visibleMenuParts(),
            (Names{"menu-btn2", "menu-btn1-highlighted", "chinese-default", "english"}));
}

TEST_F(lumoWorldLanguageTest, ClosingTitlesRockWithoutNarration) {
  build();
  settleOn(18);
  CC3Node* title = node("s18layer2-cn");
  ASSERT_TRUE(title->visible());
  advance(0.8);
  EXPECT_NEAR(title->rotation().x, 80, 0.7);
  advance(0.4);
  EXPECT_NEAR(title->rotation().x, 90, 1e-3);
  EXPECT_FALSE(pending("lumoWorld::playAsideSound"));

  world->stageInfo()->setCurLangTag(2001);
  world->endCnShouldAnimation();
  advance(0.3);
  EXPECT_NEAR(node("s18layer3-cn")->rotation().x, 80, 0.7);
  EXPECT_NEAR(title->rotation().x, 90, 1e-3);
}

}  // namespace
