#include <cmath>

#include "CC3Actions.h"
#include "CCTouchDispatcher.h"
#include "lumoWorldReadingFixture.h"

namespace {

class lumoWorldTouchTest : public lumoWorldReadingTest {
 protected:
  // A drag straight up (positive dy) or down, moving 10 points at a time.
  void dragBy(float dy, CGPoint from = {500, 100}) {
    world->touchEvent(kCCTouchBegan, from);
    for (float done = 10; done < std::fabs(dy); done += 10)
      world->touchEvent(kCCTouchMoved, {from.x, from.y + std::copysign(done, dy)});
    world->touchEvent(kCCTouchMoved, {from.x, from.y + dy});
    world->touchEvent(kCCTouchEnded, {from.x, from.y + dy});
  }
  // What the picking delivers for a tap on `node` from `from` to `to`.
  void pickedTap(CC3Node* node, CGPoint from, CGPoint to) {
    world->nodeSelected(nullptr, kCCTouchBegan, from);
    world->nodeSelected(node, kCCTouchEnded, to);
  }
  void tapFigure(CC3Node* figure) { pickedTap(figure, {300, 300}, {300, 300}); }
  bool hasPending(const std::string& selector) {
    for (const auto& call : NSRunLoop::mainRunLoop().pendingCalls())
      if (call.selector == selector) return true;
    return false;
  }
  // Accelerometer samples, the same one `count` times.
  void accelerate(double x, double y, double z, int count) {
    for (int i = 0; i < count; ++i) world->accelerometer(nullptr, {x, y, z, 0});
  }
};

TEST_F(lumoWorldTouchTest, ADragTurnsOnlyPastOneHundredAndTwentyPoints) {
  world->touchEvent(kCCTouchBegan, {500, 100});
  world->touchEvent(kCCTouchMoved, {500, 219});
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_FALSE(info()->lockDrag());
  world->touchEvent(kCCTouchMoved, {500, 221});
  EXPECT_EQ(info()->curStageIndex(), 2);
  EXPECT_TRUE(info()->lockDrag());
  world->touchEvent(kCCTouchEnded, {500, 221});
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground2"});

  // Downwards on page 2 turns back the same way.
  dragBy(-119);
  EXPECT_EQ(info()->curStageIndex(), 2);
  dragBy(-121);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 1);
}

TEST_F(lumoWorldTouchTest, ALongDragTurnsOnceAndADragDuringATurnIsIgnored) {
  turnTo(3);
  dragBy(250);
  EXPECT_EQ(info()->curStageIndex(), 4);
  dragBy(300);  // two steps, both while the turn still runs
  dragBy(-300);
  EXPECT_EQ(info()->curStageIndex(), 4);
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground4"});
  EXPECT_FALSE(info()->lockDrag());
}

TEST_F(lumoWorldTouchTest, DraggingDownOnTheCoverChangesNothingUpCancelsTheHint) {
  world->performSelector(SELECTOR(lumoWorld::addHelpAlert), 2.0);
  dragBy(-300);
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_FALSE(info()->lockDrag());
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground1"});
  EXPECT_TRUE(hasPending("lumoWorld::addHelpAlert"));
  dragBy(130);
  EXPECT_FALSE(hasPending("lumoWorld::addHelpAlert"));
  EXPECT_EQ(info()->curStageIndex(), 2);
}

TEST_F(lumoWorldTouchTest, FiguresAreOffFromTouchDownAndBackOnlyAfterATap) {
  CC3Node* ground = node("ground1");
  ASSERT_NE(ground, nullptr);
  auto figuresEnabled = [&] {
    std::size_t on = 0, off = 0;
    for (std::size_t i = 0; i < ground->childCount(); ++i) {
      CC3Node* child = ground->childAt(i);
      const bool figure = lumoLayerSuffix(*child->name()) == "t";
      EXPECT_TRUE(figure || !child->isTouchEnabled()) << *child->name();
      (child->isTouchEnabled() ? on : off) += figure;
    }
    EXPECT_TRUE(on == 0 || off == 0) << "figures half enabled";
    return on > 0;
  };
  ASSERT_TRUE(figuresEnabled());
  world->touchEvent(kCCTouchBegan, {300, 300});
  EXPECT_FALSE(figuresEnabled());
  // Forty points sideways and back: still a tap.
  world->touchEvent(kCCTouchMoved, {340, 300});
  world->touchEvent(kCCTouchEnded, {310, 320});
  EXPECT_TRUE(figuresEnabled());

  world->touchEvent(kCCTouchBegan, {300, 300});
  world->touchEvent(kCCTouchEnded, {300, 330});
  EXPECT_FALSE(figuresEnabled());
  world->touchEvent(kCCTouchBegan, {300, 300});
  world->touchEvent(kCCTouchEnded, {270, 300});
  EXPECT_FALSE(figuresEnabled());
  world->touchEvent(kCCTouchBegan, {300, 300});
  world->touchEvent(kCCTouchCancelled, {300, 300});
  EXPECT_FALSE(figuresEnabled());
}

TEST_F(lumoWorldTouchTest, ATappedFigureFlashesRocksAndSpeaksOnceUntilARecordingEnds) {
  CC3Node* fox = node(kFox);
  ASSERT_NE(fox, nullptr);
  const KstStage::StringList lines = world->stage()->dialogNamesForLayer(kFox);
  ASSERT_EQ(lines.size(), 4u);
  auto hint = CC3Node::nodeWithName("hint_dialogue");
  fox->addChild(hint.get());
  const CC3Vec3 pose = fox->rotation();

  // The pick takes a tap as the raw touches do: nearer than 30 points both ways.
  pickedTap(fox, {300, 300}, {300, 330});
  pickedTap(fox, {300, 300}, {330, 300});
  EXPECT_EQ(KstSound::shared()->playingSoundName(), "");
  EXPECT_TRUE(world->k_animationYES());
  pickedTap(fox, {300, 300}, {329, 329});
  const std::string playing = KstSound::shared()->playingSoundName();
  EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line + "_ru" == playing; }),
            lines.end())
      << playing;
  EXPECT_FALSE(world->k_animationYES());
  EXPECT_EQ(info()->normalElementInTouch(), kFox);
  EXPECT_EQ(hint->parent(), nullptr);
  advance(0.1);
  EXPECT_GT(fox->emissionColor().r, 0.0f);  // the flash

  // A second tap, on the same or another figure, is ignored.
  AVAudioPlayer* player = KstSound::shared()->player();
  tapFigure(fox);
  tapFigure(node("s1layer2r-t"));
  EXPECT_EQ(KstSound::shared()->player(), player);

  // After four rocks of 0.3 s the figure stands as it stood.
  advance(1.4);
  expectNear3(fox->rotation(), pose);
  EXPECT_EQ(info()->normalElementInTouch(), "");
  EXPECT_EQ(fox->numberOfRunningActions(), 0u);
  EXPECT_NEAR(fox->emissionColor().r, 0.0f, 1e-6);
}

TEST_F(lumoWorldTouchTest, FiguresWithoutDialogueOrRecordingStayReady) {
  // The bear's lines have no recordings here: it rocks, and figures stay ready.
  tapFigure(node("s1layer2r-t"));
  EXPECT_EQ(KstSound::shared()->playingSoundName(), "");
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_GT(node("s1layer2r-t")->numberOfRunningActions(), 0u);

  // A node with no dialogue entry only flashes.
  CC3Node* background = node("background1");
  tapFigure(background);
  EXPECT_TRUE(world->k_animationYES());
  EXPECT_EQ(background->numberOfRunningActions(), 1u);

  // A node a turn has just removed is still safe to tap.
  Ptr<CC3Node> fox(node(kFox));
  fox->remove();
  tapFigure(fox.get());
  EXPECT_FALSE(world->k_animationYES());
  tapFigure(nullptr);
  advance(1.4);
  EXPECT_EQ(info()->normalElementInTouch(), "");
}

TEST_F(lumoWorldTouchTest, TiltFollowsChangesOfAttitudeWithinItsBand) {
  CC3Node* ground = node("ground1");
  // Held still at an angle: the filter settles and the steps stop.
  accelerate(0.3, -0.8, -0.5, 400);
  const CC3Vec3 still = ground->rotation();
  accelerate(0.3, -0.8, -0.5, 100);
  expectNear3(ground->rotation(), still);

  // Shaking about x never takes the page more than 3 degrees from where it started.
  float lowest = still.x, highest = still.x;
  for (int i = 0; i < 400; ++i) {
    const double x = (i / 40) % 2 ? 1.0 : -1.0;
    world->accelerometer(nullptr, {x, -0.8, -0.5, 0});
    lowest = std::min(lowest, ground->rotation().x);
    highest = std::max(highest, ground->rotation().x);
    ASSERT_EQ(world->increaseUp() + world->increaseDown(), 0);
  }
  EXPECT_GE(lowest, -93.0f - 1e-3f);
  EXPECT_LE(highest, -87.0f + 1e-3f);
  EXPECT_LT(lowest, -92.0f);
  EXPECT_GT(highest, -88.0f);
  expectNear3(info()->rotation(), ground->rotation());
}

TEST_F(lumoWorldTouchTest, TiltAboutYStopsShortOfTwentyDegrees) {
  CC3Node* ground = node("ground1");
  for (int i = 0; i < 60; ++i) world->moveYAxisWithRate(0.4f);
  EXPECT_LT(ground->rotation().y, 20.0f);
  EXPECT_GT(ground->rotation().y, 19.5f);
  for (int i = 0; i < 120; ++i) world->moveYAxisWithRate(-0.4f);
  EXPECT_GT(ground->rotation().y, -20.0f);
  EXPECT_LT(ground->rotation().y, -19.5f);
  EXPECT_FLOAT_EQ(info()->rotation().y, ground->rotation().y);
}

TEST_F(lumoWorldTouchTest, TiltIsLockedDuringATurnAndTheNextPageKeepsIt) {
  for (int i = 0; i < 5; ++i) world->moveXAxisWithRate(-0.2f);
  world->moveYAxisWithRate(0.4f);
  const CC3Vec3 tilt = node("ground1")->rotation();
  expectNear3(tilt, {-91, 0.4f, 0});

  dragBy(130);
  accelerate(1, 1, 0, 1);
  accelerate(-1, -1, 0, 1);
  EXPECT_EQ(world->increaseUp(), 5);
  expectNear3(info()->rotation(), tilt);
  settle();
  expectNear3(node("ground2")->rotation(), tilt);

  // With no ground on stage a step changes only the reading state.
  info()->setCurGroundName("");
  world->moveXAxisWithRate(0.2f);
  expectNear3(info()->rotation(), {tilt.x + 0.2f, tilt.y, tilt.z});
  expectNear3(node("ground2")->rotation(), tilt);
}

}  // namespace
