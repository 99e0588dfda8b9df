#include <gtest/gtest.h>

#include "KstSound.h"
#include "lumoWorldNarrationFixture.h"

namespace {

// The book with its voices switched off: recordings run unheard to their end,
// and the book goes on as if they had been heard.
class lumoWorldSilencedTest : public lumoWorldNarrationTest {
 protected:
  void TearDown() override {
    KstSound::shared()->setVoicesOn(true);
    lumoWorldNarrationTest::TearDown();
  }
  CC3Node* repeatButton() {
    CC3Node* panel = node("aside_bg");
    return panel ? panel->getNodeNamed("aside_repeat_highlighted") : nullptr;
  }
};

TEST_F(lumoWorldSilencedTest, UnheardNarrationStillBringsTheRepeatButtonAndFreesTheFigures) {
  addRecording("QRB_p1_ru");
  build();
  KstSound::shared()->setVoicesOn(false);
  settleOn(2);
  world->setK_animationYES(false);
  advance(1.6);
  EXPECT_EQ(playing(), "QRB_p1_ru");
  ASSERT_NE(KstSound::shared()->player(), nullptr);
  EXPECT_FLOAT_EQ(KstSound::shared()->player()->volume(), 0.0f);
  CC3Node* repeat = repeatButton();
  ASSERT_NE(repeat, nullptr);
  EXPECT_FALSE(repeat->visible());
  for (int frame = 0; frame < 90 && !repeat->visible(); ++frame) advance(1.0 / 60);
  EXPECT_TRUE(repeat->visible()) << "the repeat button waits for the end, heard or not";
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_EQ(playing(), "");
}

}  // namespace
