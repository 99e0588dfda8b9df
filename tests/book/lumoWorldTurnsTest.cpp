#include "KstSpriteFactory.h"
#include "lumoWorldReadingFixture.h"

namespace {

using lumoWorldTurnsTest = lumoWorldReadingTest;

// The records of page n, straight from the content table.
KstSpriteDictionary recordsOf(lumoWorld* world, std::int32_t page) {
  std::int32_t index = 0;
  return KstSpriteFactory::createWithStageInfo(world->genStageElementWithIndex(page), &index);
}

// Each layer of `ground` against its record rotation plus `xOffset`.
void expectLayersRotatedBy(CC3Node* ground, const KstSpriteDictionary& records, float xOffset) {
  ASSERT_NE(ground, nullptr);
  ASSERT_GT(ground->childCount(), 0u);
  for (std::size_t i = 0; i < ground->childCount(); ++i) {
    CC3Node* layer = ground->childAt(i);
    const auto record = records.find(*layer->name());
    ASSERT_NE(record, records.end()) << *layer->name();
    CC3Vec3 expected = record->second->rotation();
    expected.x += xOffset;
    SCOPED_TRACE(*layer->name());
    expectNear3(layer->rotation(), expected);
  }
}

void expectOnlyTouchablesOf(lumoWorld* world, const KstSpriteDictionary& records) {
  std::vector<std::string> expected;
  for (const auto& [identifier, record] : records)
    if (record->layerId() != 10 && lumoLayerSuffix(identifier) == "t")
      expected.push_back(identifier);
  std::vector<std::string> actual = world->curTouchSet();
  std::sort(actual.begin(), actual.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(actual, expected);
}

TEST_F(lumoWorldTurnsTest, ForwardTurnRaisesTheNextPageFromUnderTheOldOne) {
  turnTo(3);
  const auto records = recordsOf(world.get(), 4);
  world->reflashStage(0);

  // At once: both pages on stage, input locked, the new one lowered and folded flat.
  EXPECT_EQ(grounds(), (std::vector<std::string>{"ground3", "ground4"}));
  EXPECT_EQ(info()->curStageIndex(), 4);
  EXPECT_TRUE(info()->lockDrag());
  EXPECT_FALSE(info()->canAccelerometer());
  EXPECT_EQ(info()->curGroundName(), "ground4");
  EXPECT_EQ(info()->nextGroundName(), "ground4");
  EXPECT_EQ(info()->shouldRemoveGroundName(), "ground3");
  expectNear3(node("ground4")->location(), {0, 25, 0});
  expectNear3(node("ground4")->rotation(), {-90, 0, 0});
  expectLayersRotatedBy(node("ground4"), records, 90);
  expectOnlyTouchablesOf(world.get(), records);

  // Ten frames in (the first starts the clock, 0.45 s): the old page jumped
  // back 90 at once and swings up at 90 degrees a second.
  advance(0.5);
  CC3Node* old = node("ground3");
  ASSERT_NE(old, nullptr);
  expectNear3(old->location(), {0, 30, -90});
  expectNear3(old->rotation(), {-130.5f, 0, 0});
  EXPECT_TRUE(info()->lockDrag());

  // Settled: only the new page, in its record pose, unlocked.
  advance(1.1);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground4"});
  EXPECT_EQ(node("background3"), nullptr);
  expectNear3(node("ground4")->location(), {0, 30, 0});
  expectLayersRotatedBy(node("ground4"), records, 0);
  EXPECT_FALSE(info()->lockDrag());
  EXPECT_TRUE(info()->canAccelerometer());
  expectOnlyTouchablesOf(world.get(), records);
}

TEST_F(lumoWorldTurnsTest, BackwardTurnLaysThePreviousPageDownToRestFiveAbove) {
  turnTo(4);
  const auto records = recordsOf(world.get(), 3);
  CC3Node* leaving = node("background4");
  ASSERT_NE(leaving, nullptr);
  const CC3Vec3 leavingAt = leaving->location();
  world->reflashStage(1);

  EXPECT_EQ(info()->curStageIndex(), 3);
  EXPECT_EQ(info()->preGroundName(), "ground3");
  EXPECT_EQ(info()->curGroundName(), "ground3");
  EXPECT_EQ(info()->shouldRemoveGroundName(), "ground4");
  // The incoming page stands upright with its layers folded the other way.
  expectNear3(node("ground3")->location(), {0, 30, 0});
  expectNear3(node("ground3")->rotation(), {-180, 0, 0});
  expectLayersRotatedBy(node("ground3"), records, -90);
  // The old background comes forward and loses a tenth of its height.
  expectNear3(leaving->location(), {leavingAt.x, leavingAt.y - 100, leavingAt.z});
  EXPECT_NEAR(leaving->scale().y, 0.9f, 1e-6);
  expectOnlyTouchablesOf(world.get(), records);

  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground3"});
  expectNear3(node("ground3")->location(), {0, 35, 0});
  expectNear3(node("ground3")->rotation(), {-90, 0, 0});
  expectLayersRotatedBy(node("ground3"), records, 0);
  EXPECT_FALSE(info()->lockDrag());
}

TEST_F(lumoWorldTurnsTest, RequestsPastEitherEndTakeAndReleaseTheLockAtOnce) {
  // Stand-ins for the home button: the lock hides both, the release shows one.
  for (const char* name : {"home-btn", "home-btn-highlighted"})
    world->addChild(CC3Node::nodeWithName(name).get());
  world->addReflashStageLimited();
  EXPECT_FALSE(node("home-btn")->visible());
  EXPECT_FALSE(node("home-btn-highlighted")->visible());
  EXPECT_TRUE(info()->lockDrag());
  EXPECT_FALSE(info()->canAccelerometer());
  world->removeReflashStageLimited();
  EXPECT_TRUE(node("home-btn")->visible());
  EXPECT_FALSE(node("home-btn-highlighted")->visible());

  world->reflashStage(1);
  EXPECT_EQ(info()->curStageIndex(), 1);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground1"});
  EXPECT_FALSE(info()->lockDrag());
  EXPECT_TRUE(info()->canAccelerometer());
  EXPECT_TRUE(node("home-btn")->visible());

  // The last page: built directly, as a settled turn leaves it.
  info()->setCurStageIndex(18);
  info()->setCurGroundName(world->buildStage(18));
  info()->setShouldRemoveGroundName("ground1");
  world->renderStage();
  world->reflashStage(0);
  EXPECT_EQ(info()->curStageIndex(), 18);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground18"});
  EXPECT_FALSE(info()->lockDrag());
  advance(2);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground18"});
}

TEST_F(lumoWorldTurnsTest, AJumpHomeFromAnyPageLandsOnTheCover) {
  turnTo(5);
  world->addReflashStageLimited();
  info()->setCurStageIndex(1);
  world->stageDownAnimationWithStageIndex(1);
  EXPECT_EQ(grounds(), (std::vector<std::string>{"ground5", "ground1"}));
  settle();
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground1"});
  expectNear3(node("ground1")->location(), {0, 35, 0});
  EXPECT_FALSE(info()->lockDrag());
}

TEST_F(lumoWorldTurnsTest, PagesWithoutLayersOrWithoutAnyRecordStillSettle) {
  std::vector<KstStage::StringList> pages = world->stage()->grounds();
  pages[1] = {pages[1][0], pages[1][1]};  // page 2: its ground alone
  pages[2] = {pages[2][0]};               // page 3: nothing at all
  world->stage()->setGrounds(pages);

  world->reflashStage(0);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 2);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground2"});
  EXPECT_FALSE(info()->lockDrag());

  world->reflashStage(0);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 3);
  EXPECT_TRUE(grounds().empty());
  EXPECT_FALSE(info()->lockDrag());

  world->reflashStage(1);
  settle();
  EXPECT_EQ(info()->curStageIndex(), 2);
  EXPECT_EQ(grounds(), std::vector<std::string>{"ground2"});
  EXPECT_FALSE(info()->lockDrag());
}

TEST_F(lumoWorldTurnsTest, AHundredTurnsLeaveNoObjectBehindAndTheLockFreeEachTime) {
  turnTo(2);
  std::int64_t liveAtPageTwo = -1;
  const unsigned worldRetains = world->retainCount();
  for (int turn = 1; turn <= 100; ++turn) {
    world->reflashStage(turn % 2 == 1 ? 0 : 1);
    settle();
    ASSERT_FALSE(info()->lockDrag()) << "turn " << turn;
    ASSERT_TRUE(info()->canAccelerometer()) << "turn " << turn;
    ASSERT_EQ(grounds().size(), 1u) << "turn " << turn;
    if (turn % 2 == 1) continue;
    ASSERT_EQ(info()->curStageIndex(), 2);
    NSAutoreleasePool::current().drain();
    if (liveAtPageTwo < 0) liveAtPageTwo = NSObject::liveObjectCount();
    EXPECT_EQ(NSObject::liveObjectCount(), liveAtPageTwo) << "after turn " << turn;
  }
  EXPECT_EQ(world->retainCount(), worldRetains);
}

}  // namespace
