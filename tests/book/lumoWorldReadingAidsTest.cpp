#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "CC3Billboard.h"
#include "CCLabelTTF.h"
#include "lmReadingAids.h"
#include "lmWordTimings.h"
#include "lumoWorld.h"
#include "lumoWorldNarrationFixture.h"

namespace {

class lumoWorldReadingAidsTest : public lumoWorldNarrationTest {
 protected:
  void TearDown() override {
    lmReadingAids::shared().setFollowsWords(false);
    lmReadingAids::shared().setReadsByMyself(false);
    lumoWorldNarrationTest::TearDown();
  }

  CC3Node* panel() { return node("aside_bg"); }
  CC3Node* repeatButton() {
    return panel() ? panel()->getNodeNamed("aside_repeat_highlighted") : nullptr;
  }
  CCLabelTTF* label() {
    CC3Node* p = panel();
    for (std::size_t i = 0; p && i < p->childCount(); ++i)
      if (auto* billboard = dynamic_cast<CC3Billboard*>(p->childAt(i)))
        return dynamic_cast<CCLabelTTF*>(billboard->billboard());
    return nullptr;
  }
  bool hinted() {
    CC3Node* ground = node(world->stageInfo()->curGroundName());
    for (std::size_t i = 0; ground && i < ground->childCount(); ++i)
      if (ground->childAt(i)->getNodeNamed("hint_dialogue")) return true;
    return false;
  }

  // Page 2's one-second recording, its words evenly from 0.1 s to 0.9 s;
  // `words` other than the text's count makes timings for another text.
  void addTimedNarration(int words = -1) {
    addRecording("QRB_p1_ru");
    build();
    const std::string& text = world->genStageAsideWithIndex(2)[1];
    const int count = words >= 0 ? words : int(lmWordTimings::wordSpans(text).size());
    std::ofstream file(dir.file("QRB_p1_ru.words"));
    for (int i = 0; i < count; ++i) file << startOf(i, count) << "\tw\n";
    count_ = count;
  }
  static double startOf(int i, int count) { return 0.1 + 0.8 * i / count; }
  // The frames after the settle until the recording starts (1.5 s).
  void untilNarration() {
    advance(1.5);
    ASSERT_EQ(playing(), "QRB_p1_ru");
  }
  lmWordTimings::Span spanOf(int i) {
    return lmWordTimings::wordSpans(label()->string())[std::size_t(i)];
  }
  int count_ = 0;
};

}  // namespace

TEST_F(lumoWorldReadingAidsTest, LitWordFollowsTheRecordingOneRenderAWord) {
  lmReadingAids::shared().setFollowsWords(true);
  addTimedNarration();
  settleOn(2);
  untilNarration();
  ASSERT_GT(count_, 8);
  EXPECT_EQ(world->litWordIndex(), -1) << "nothing before the first word";
  EXPECT_FALSE(label()->highlight());

  // Frame by frame through the recording: the lit word is the last one started,
  // and the label renders again only when it changes.
  int renders = 0, lastIndex = -1;
  CCTexture2D* texture = label()->texture();
  for (double at = 1.0 / 60; at < 0.95; at += 1.0 / 60) {
    advance(1.0 / 60);
    const int index = world->litWordIndex();
    int expected = -1;
    while (expected + 1 < count_ && startOf(expected + 1, count_) <= at + 1e-9) ++expected;
    EXPECT_EQ(index, expected) << at << " s into the recording";
    if (label()->texture() != texture) ++renders;
    EXPECT_EQ(label()->texture() != texture, index != lastIndex) << at;
    texture = label()->texture();
    lastIndex = index;
    if (index >= 0) {
      ASSERT_TRUE(label()->highlight());
      EXPECT_EQ(label()->highlight()->begin, spanOf(index).begin);
      EXPECT_EQ(label()->highlight()->end, spanOf(index).end);
    }
  }
  EXPECT_LE(renders, count_);
  EXPECT_EQ(lastIndex, count_ - 1);

  // The recording ends: nothing lit, the text as before.
  advance(0.1);
  EXPECT_EQ(playing(), "");
  EXPECT_EQ(world->litWordIndex(), -1);
  EXPECT_FALSE(label()->highlight());
  EXPECT_EQ(label()->texture()->pixelFormat(), kCCTexture2DPixelFormat_A8);

  // The repeat button reads it again, from the first word.
  ASSERT_TRUE(repeatButton()->visible());
  tap(repeatButton());
  advance(0.2);
  EXPECT_EQ(world->litWordIndex(), int(0.1 * count_ / 0.8));
}

TEST_F(lumoWorldReadingAidsTest, AFigureATurnOrTheSwitchEndsTheLitWords) {
  lmReadingAids::shared().setFollowsWords(true);
  addTimedNarration();
  addRecording("dialogue_page2_r1_ru", "tone_quarter.mp3");
  settleOn(2);
  untilNarration();
  advance(0.5);
  ASSERT_GE(world->litWordIndex(), 0);

  // Off mid-narration: plain at once; on again: the word being read, at once.
  lmReadingAids::shared().setFollowsWords(false);
  world->readingAidsChanged();
  EXPECT_EQ(world->litWordIndex(), -1);
  EXPECT_FALSE(label()->highlight());
  advance(0.1);
  EXPECT_EQ(world->litWordIndex(), -1);
  lmReadingAids::shared().setFollowsWords(true);
  world->readingAidsChanged();
  EXPECT_EQ(world->litWordIndex(), int((0.6 + 1e-9 - 0.1) * count_ / 0.8));

  // A figure speaking stops the narration and its lit word.
  const std::string figure = world->curTouchSet().at(0);
  tap(node(figure));
  EXPECT_NE(playing(), "QRB_p1_ru");
  EXPECT_EQ(world->litWordIndex(), -1);
  EXPECT_FALSE(label()->highlight());
  advance(0.5);
  EXPECT_EQ(world->litWordIndex(), -1);

  // Read again, then the page is turned mid-narration.
  tap(repeatButton());
  advance(0.3);
  ASSERT_GE(world->litWordIndex(), 0);
  world->reflashStage(0);
  EXPECT_EQ(world->litWordIndex(), -1);
  EXPECT_FALSE(pending("lumoWorld::followWords"));
}

TEST_F(lumoWorldReadingAidsTest, WithoutMatchingTimingsOrWithTheAidOffTheTextStays) {
  for (int words : {-2, -3, 3, -1}) {
    SCOPED_TRACE(words);
    lmReadingAids::shared().setFollowsWords(words != -1);
    if (words <= -2) {  // no timings at all, or a damaged file
      addRecording("QRB_p1_ru");
      build();
      if (words == -3) std::ofstream(dir.file("QRB_p1_ru.words")) << "0.1\tНа\n0.05\tкухне\n";
    } else {
      addTimedNarration(words);  // another text's, or the aid is off
    }
    settleOn(2);
    untilNarration();
    for (int frame = 0; frame < 50; ++frame) {
      advance(1.0 / 60);
      EXPECT_EQ(world->litWordIndex(), -1);
      EXPECT_FALSE(label()->highlight());
    }
    EXPECT_FALSE(pending("lumoWorld::followWords"));
    dropWorld();
    std::remove(dir.file("QRB_p1_ru.mp3").c_str());
    std::remove(dir.file("QRB_p1_ru.words").c_str());
  }
}

TEST_F(lumoWorldReadingAidsTest, ReadByMyselfShowsThePanelSilentAndTheButtonReadsIt) {
  lmReadingAids::shared().setReadsByMyself(true);
  addRecording("QRB_p1_ru");
  build();
  settleOn(2);
  advance(0.55);
  ASSERT_NE(panel(), nullptr);
  // At once, as after a narration: the pulsing button and a figure's hint.
  EXPECT_TRUE(repeatButton()->visible());
  EXPECT_EQ(repeatButton()->numberOfRunningActions(), 1u);
  EXPECT_TRUE(hinted());
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_FALSE(pending("lumoWorld::playAsideSound"));
  advance(5);
  EXPECT_EQ(playing(), "");

  tap(repeatButton());
  EXPECT_EQ(playing(), "QRB_p1_ru");
  EXPECT_FALSE(repeatButton()->visible());
  advance(1.1);
  EXPECT_EQ(playing(), "");
  EXPECT_TRUE(repeatButton()->visible());
  EXPECT_EQ(repeatButton()->numberOfRunningActions(), 1u);
}

TEST_F(lumoWorldReadingAidsTest, ReadByMyselfOffersNoButtonWithoutARecording) {
  lmReadingAids::shared().setReadsByMyself(true);
  build();
  settleOn(2);
  advance(3);
  ASSERT_NE(panel(), nullptr);
  EXPECT_FALSE(repeatButton()->visible());
  EXPECT_EQ(playing(), "");
}
