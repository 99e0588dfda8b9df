#include <gtest/gtest.h>

#include "CC3Actions.h"
#include "CC3Billboard.h"
#include "CC3MeshModel.h"
#include "CC3MeshNode.h"
#include "CCLabelTTF.h"
#include "NSNotificationCenter.h"
#include "NSStringDrawing.h"
#include "lumoWorld.h"
#include "lumoWorldNarrationFixture.h"

namespace {

class lumoWorldAsidesTest : public lumoWorldNarrationTest {
 protected:
  CC3Node* panel() { return node("aside_bg"); }
  CC3Node* repeatButton() {
    return panel() ? panel()->getNodeNamed("aside_repeat_highlighted") : nullptr;
  }
  CC3Billboard* text() {
    CC3Node* p = panel();
    for (std::size_t i = 0; p && i < p->childCount(); ++i)
      if (auto* billboard = dynamic_cast<CC3Billboard*>(p->childAt(i))) return billboard;
    return nullptr;
  }
  // The figures of the page on stage that carry the dialogue hint.
  std::vector<std::string> hintedFigures() {
    std::vector<std::string> hinted;
    CC3Node* ground = node(world->stageInfo()->curGroundName());
    for (std::size_t i = 0; ground && i < ground->childCount(); ++i)
      if (ground->childAt(i)->getNodeNamed("hint_dialogue"))
        hinted.push_back(*ground->childAt(i)->name());
    return hinted;
  }
  void postFinished(bool isAside) {
    NSNotificationCenter::defaultCenter().postNotificationName(
        "asidedidfinishnotification", KstSound::shared(), {{"isAside", isAside}});
  }
};

TEST_F(lumoWorldAsidesTest, PanelArrivesHalfASecondAfterTheSettleAndItsRecordingASecondLater) {
  addRecording("QRB_p1_ru");
  build();
  settleOn(2);
  advance(0.45);
  EXPECT_EQ(panel(), nullptr);
  advance(0.1);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->parent(), world.get());

  // The panel: a centred plane 72 x 9.4375 across the long side, untextured here.
  auto* plane = dynamic_cast<CC3MeshNode*>(panel());
  ASSERT_NE(plane, nullptr);
  const CC3Box box = plane->meshModel()->boundingBox();
  EXPECT_NEAR(box.maximum.x - box.minimum.x, 72, 1e-4);
  EXPECT_NEAR(box.maximum.y - box.minimum.y, 9.4375, 1e-4);
  EXPECT_NEAR(box.minimum.x, -36, 1e-4);
  EXPECT_FALSE(panel()->isOpaque());

  // The Russian text, measured head-truncated in the long side by 200.
  CC3Billboard* billboard = text();
  ASSERT_NE(billboard, nullptr);
  EXPECT_EQ(billboard->name(), "s2Aside");
  EXPECT_FLOAT_EQ(billboard->unityScaleDistance(), 45);
  auto* label = dynamic_cast<CCLabelTTF*>(billboard->billboard());
  ASSERT_NE(label, nullptr);
  const auto& aside = world->genStageAsideWithIndex(2);
  EXPECT_EQ(label->string(), aside[1]);
  EXPECT_EQ(label->fontName(), "ArialRoundedMTBold");
  EXPECT_FLOAT_EQ(label->fontSize(), 30);
  EXPECT_EQ(label->alignment(), UITextAlignmentLeft);
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  const CGSize measured = NSStringDrawing::sizeWithFont(aside[1], *font, CGSizeMake(1024, 200),
                                                        UILineBreakModeHeadTruncation);
  EXPECT_EQ(label->dimensions(), measured);
  EXPECT_GT(measured.height, 36);  // several lines: the table row moves the text
  EXPECT_LE(measured.height, 200);
  EXPECT_EQ(billboard->offsetPosition().x, -20);

  // The repeat button waits hidden, touchable, tagged for the dispatch.
  CC3Node* repeat = repeatButton();
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(repeat->tag(), 4000u);
  EXPECT_FALSE(repeat->visible());
  EXPECT_TRUE(repeat->isTouchEnabled());
  EXPECT_FLOAT_EQ(repeat->location().y, 5);

  // Faded in, then slid by h' - 110: the text fades with its panel.
  const CC3Vec3 start = panel()->location();
  EXPECT_FLOAT_EQ(start.y, 60);
  EXPECT_FLOAT_EQ(start.z, 400);
  EXPECT_LT(label->opacity(), 255);
  advance(0.5);  // settle + 1.05
  EXPECT_EQ(label->opacity(), 255);
  EXPECT_LT(panel()->location().y, 64);  // the slide has only begun
  // The recording: 1.0 s after the panel, so 1.5 s after the settle.
  advance(0.4);
  EXPECT_EQ(playing(), "");
  advance(0.1);
  EXPECT_EQ(playing(), "QRB_p1_ru");
  const float adjusted = measured.height == 108 ? 132 : measured.height == 144 ? 132.5f : 130;
  EXPECT_NEAR(panel()->location().y, 60 + adjusted - 110, 1e-3);
}

TEST_F(lumoWorldAsidesTest, TurningAwayCancelsWhatThePageStillHadPending) {
  addRecording("QRB_p1_ru");
  addRecording("QRB_p2_ru");
  build();
  // A turn within 0.5 s of page 2's settle: its panel never comes.
  settleOn(2);
  advance(0.4);
  world->reflashStage(0);
  advance(1.0);
  EXPECT_EQ(panel(), nullptr);
  EXPECT_EQ(playing(), "");
  EXPECT_FALSE(pending("lumoWorld::showAside"));
  settleOn(3);

  // Within 1.5 s of page 3's: the panel goes at once, its recording never
  // starts, and nothing keeps running on the removed panel.
  advance(1.2);
  Ptr<CC3Node> removed(panel());
  ASSERT_TRUE(removed);
  EXPECT_EQ(text()->name(), "s3Aside");
  world->reflashStage(0);
  EXPECT_EQ(panel(), nullptr);
  EXPECT_EQ(removed->parent(), nullptr);
  EXPECT_EQ(removed->numberOfRunningActions(), 0u);
  EXPECT_FALSE(pending("lumoWorld::playAsideSound"));
  settleOn(4);
  advance(1.6);  // page 4 has no recording among the resources here
  EXPECT_EQ(playing(), "");
  ASSERT_NE(panel(), nullptr);

  // Asked to animate, a story page keeps its panel (the book never asks).
  world->dismissAsideWithAnimation(true);
  EXPECT_NE(panel(), nullptr);
}

TEST_F(lumoWorldAsidesTest, NarrationEndShowsThePulsingButtonAndOneHint) {
  addRecording("QRB_p1_ru");
  build();
  settleOn(2);
  world->setK_animationYES(false);
  advance(1.6);
  EXPECT_EQ(playing(), "QRB_p1_ru");
  EXPECT_FALSE(repeatButton()->visible());
  EXPECT_TRUE(hintedFigures().empty());
  // The one-second recording ends by itself.
  CC3Node* repeat = repeatButton();
  for (int frame = 0; frame < 90 && !repeat->visible(); ++frame) advance(1.0 / 60);
  ASSERT_TRUE(repeat->visible());
  EXPECT_EQ(playing(), "");
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_EQ(repeat->numberOfRunningActions(), 1u);
  // Fading out over 1.5 s, then in again.
  advance(0.75);
  EXPECT_NEAR(repeat->opacity(), 127, 8);
  advance(0.75);
  EXPECT_LT(repeat->opacity(), 8);
  advance(1.5);
  EXPECT_GT(repeat->opacity(), 245);

  const auto hinted = hintedFigures();
  ASSERT_EQ(hinted.size(), 1u);
  CC3Node* figure = node(hinted[0]);
  CC3Node* hint = figure->getNodeNamed("hint_dialogue");
  EXPECT_NEAR(hint->location().y, figure->textureHeight() / 2, 1e-4);
  EXPECT_FLOAT_EQ(hint->location().z, 10);
  EXPECT_EQ(hint->numberOfRunningActions(), 1u);
  auto* mesh = dynamic_cast<CC3MeshNode*>(hint);
  ASSERT_NE(mesh, nullptr);
  const CC3Box box = mesh->meshModel()->boundingBox();
  EXPECT_NEAR(box.maximum.x - box.minimum.x, 15.9375, 1e-4);

  // Another narration end adds no second hint and starts no second pulse.
  postFinished(true);
  EXPECT_EQ(hintedFigures().size(), 1u);
  EXPECT_EQ(repeat->numberOfRunningActions(), 1u);
}

TEST_F(lumoWorldAsidesTest, RepeatTapReplaysTheNarrationOnceMore) {
  addRecording("QRB_p1_ru");
  build();
  settleOn(2);
  advance(3.0);  // shown, read and ended
  CC3Node* repeat = repeatButton();
  ASSERT_TRUE(repeat->visible());
  ASSERT_EQ(hintedFigures().size(), 1u);
  tap(repeat);
  EXPECT_FALSE(repeat->visible());
  EXPECT_EQ(playing(), "QRB_p1_ru");
  advance(0.3);  // the button rocks back 10 degrees, then up again
  EXPECT_NEAR(repeat->rotation().x, -10, 0.7);
  advance(0.35);
  EXPECT_NEAR(repeat->rotation().x, 0, 1e-3);
  // The replay ends: the button again, still one hint.
  advance(1.0);
  EXPECT_EQ(playing(), "");
  EXPECT_TRUE(repeat->visible());
  EXPECT_EQ(repeat->numberOfRunningActions(), 1u) << "one pulse, not a second";
  EXPECT_EQ(hintedFigures().size(), 1u);
}

TEST_F(lumoWorldAsidesTest, DialogueEndFreesTheFiguresButPlacesNoHint) {
  build();
  settleOn(2);
  advance(0.6);
  world->setK_animationYES(false);
  postFinished(false);
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_TRUE(repeatButton()->visible());
  EXPECT_TRUE(hintedFigures().empty());
}

TEST_F(lumoWorldAsidesTest, CoverNarrationEndHintsOneOfItsFigures) {
  build();
  ASSERT_EQ(world->curTouchSet().size(), 2u);
  for (int i = 0; i < 3; ++i) postFinished(true);
  const auto hinted = hintedFigures();
  ASSERT_EQ(hinted.size(), 1u);
  EXPECT_TRUE(hinted[0] == "s1layer2l-t" || hinted[0] == "s1layer2r-t") << hinted[0];
  EXPECT_EQ(panel(), nullptr);  // no panel on the cover, so no button either
}

TEST_F(lumoWorldAsidesTest, MissingRecordingLeavesNoButtonAndTheFiguresReady) {
  build();  // no QRB_p1_ru among the resources
  settleOn(2);
  advance(6);
  ASSERT_NE(panel(), nullptr);
  EXPECT_FALSE(repeatButton()->visible());
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_TRUE(hintedFigures().empty());
  EXPECT_EQ(playing(), "");
}

TEST_F(lumoWorldAsidesTest, EnglishPanelsShowTheSecondTextAndTheOtherList) {
  NSUserDefaults::standardUserDefaults().setObject("2001", "Lan");
  addRecording("QRB_p2_cn");
  build();
  settleOn(2);
  advance(0.6);
  auto* label = dynamic_cast<CCLabelTTF*>(text()->billboard());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->string(), world->genStageAsideWithIndex(2)[2]);
  advance(1.0);
  EXPECT_EQ(playing(), "QRB_p2_cn");
}

TEST_F(lumoWorldAsidesTest, PagesWithoutAnAsideShowNothing) {
  build();
  settleOn(18);
  advance(2);
  EXPECT_EQ(panel(), nullptr);
  // A second call never stacks a second panel.
  settleOn(5);
  advance(0.6);
  world->showAside();
  std::size_t panels = 0;
  for (std::size_t i = 0; i < world->childCount(); ++i)
    panels += world->childAt(i)->name() == "aside_bg";
  EXPECT_EQ(panels, 1u);
}

TEST_F(lumoWorldAsidesTest, LeavingTheCoverOrTheEndTakesTheirControlsAway) {
  build();
  advance(2.1);  // the language menu and the drag hint have joined the cover
  ASSERT_NE(node("menu-lan"), nullptr);
  Ptr<CC3Node> finger(node("hint_finger"));
  ASSERT_TRUE(finger);
  ASSERT_GT(finger->numberOfRunningActions(), 0u);
  world->dismissAsideWithAnimation(false);
  for (const char* name : {"hint_finger", "hint_arrow_up", "menu-lan"})
    EXPECT_EQ(node(name), nullptr) << name;
  // Its loop for ever no longer holds the finger.
  EXPECT_EQ(finger->numberOfRunningActions(), 0u);

  settleOn(18);
  ASSERT_NE(node("menu-end"), nullptr);
  node("s18layer3-cn")->setVisible(true);
  world->dismissAsideWithAnimation(false);
  EXPECT_EQ(node("menu-end"), nullptr);
  EXPECT_FALSE(node("s18layer2-cn")->visible());
  EXPECT_FALSE(node("s18layer3-cn")->visible());
}

}  // namespace

namespace {
// Every page's text, in both languages, fits the panel whole (a height the
// table places, no line cut short) and has a glyph for every character.
TEST(lumoWorldAsideTexts, EveryNarrationFitsThePanelInBothLanguages) {
  auto stage = KstStage::stage();
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  ASSERT_TRUE(font);
  int panels = 0;
  for (const auto& aside : stage->asides()) {
    if (aside[0] == "nil") continue;
    ++panels;
    for (int language : {1, 2}) {
      const std::string& text = aside[std::size_t(language)];
      const CGSize measured = NSStringDrawing::sizeWithFont(text, *font, CGSizeMake(1024, 200),
                                                            UILineBreakModeHeadTruncation);
      const CGSize whole = NSStringDrawing::sizeWithFont(text, *font, CGSizeMake(1024, 10000),
                                                         UILineBreakModeWordWrap);
      EXPECT_EQ(measured, whole) << aside[0] << " " << language;
      EXPECT_EQ(NSStringDrawing::unknownGlyphCount(text, *font), 0) << aside[0] << " " << language;
      EXPECT_TRUE(measured.height == 72 || measured.height == 108 || measured.height == 144)
          << aside[0] << " " << language << ": " << measured.height;
    }
  }
  EXPECT_EQ(panels, 16);
}

TEST(lumoWorldAsideTexts, OverlongTextIsCutToThePanelBox) {
  auto stage = KstStage::stage();
  auto font = UIFont::fontWithName("ArialRoundedMTBold", 30);
  std::string text;
  for (int i = 0; i < 4; ++i) text += stage->asides()[1][1] + " ";
  const CGSize measured = NSStringDrawing::sizeWithFont(text, *font, CGSizeMake(1024, 200),
                                                        UILineBreakModeHeadTruncation);
  EXPECT_EQ(measured.height, 180);  // five whole lines of 36
  EXPECT_LE(measured.width, 1024);
}
}  // namespace
