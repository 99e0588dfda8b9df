#include "lumoWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "AudioBackend.h"
#include "CC3Camera.h"
#include "CC3Light.h"
#include "CC3MeshModel.h"
#include "CC3MeshNode.h"
#include "CC3OpenGLES11Engine.h"
#include "CCActionManager.h"
#include "CCScheduler.h"
#include "CCTextureCache.h"
#include "HeadlessDirectorTest.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"
#include "lumoWorldFixture.h"

namespace fs = std::filesystem;

namespace {

void expectVec(CC3Vec3 actual, CC3Vec3 expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-3);
  EXPECT_NEAR(actual.y, expected.y, 1e-3);
  EXPECT_NEAR(actual.z, expected.z, 1e-3);
}

TEST_F(lumoWorldTest, SetUpBuildsCameraLampCoverAndBackdropInOrder) {
  build();
  ASSERT_EQ(world->childCount(), 3u);
  EXPECT_EQ(world->childAt(0)->name(), "Camera");
  EXPECT_EQ(world->childAt(1)->name(), "ground1");
  EXPECT_EQ(world->childAt(2)->name(), "layer_bg");

  auto* camera = dynamic_cast<CC3Camera*>(node("Camera"));
  ASSERT_NE(camera, nullptr);
  EXPECT_EQ(world->activeCamera(), camera);
  expectVec(camera->location(), {0, 100, 450});
  EXPECT_FLOAT_EQ(camera->uniformScale(), 0.7f);
  auto* lamp = dynamic_cast<CC3Light*>(node("Lamp"));
  ASSERT_NE(lamp, nullptr);
  EXPECT_EQ(lamp->parent(), camera);
  expectVec(lamp->location(), {-2, 0, 0});
  EXPECT_FALSE(lamp->isDirectionalOnly());

  CC3Node* backdrop = node("layer_bg");
  expectVec(backdrop->location(), {-100, -100, -400});
  EXPECT_FALSE(backdrop->isOpaque());

  EXPECT_TRUE(world->k_animationYES());
  EXPECT_EQ(UIAccelerometer::sharedAccelerometer().delegate(), world.get());
  EXPECT_DOUBLE_EQ(UIAccelerometer::sharedAccelerometer().updateInterval(), 1.0 / 60);
  EXPECT_EQ(KstSound::shared()->playingBgSoundName(), "background");
  EXPECT_FALSE(world->stageInfo()->lockDrag());
  EXPECT_EQ(world->stageInfo()->curGroundName(), "ground1");
}

TEST_F(lumoWorldTest, CoverPlanesTakeWorldSizesPosesAndSuffixes) {
  build();
  CC3Node* ground = node("ground1");
  ASSERT_NE(ground, nullptr);
  EXPECT_NEAR(ground->textureWidth(), 480, 1e-3);
  EXPECT_NEAR(ground->textureHeight(), 833.3333, 1e-2);
  expectVec(ground->location(), {0, 30, 0});
  expectVec(ground->rotation(), {-90, 0, 0});
  EXPECT_FALSE(ground->isOpaque());

  CC3Node* figure = node("s1layer2l-t");
  ASSERT_NE(figure, nullptr);
  EXPECT_EQ(figure->parent(), ground);
  EXPECT_NEAR(figure->textureWidth(), 60.46875, 1e-4);
  EXPECT_NEAR(figure->textureHeight(), 72.5, 1e-3);
  expectVec(figure->location(), {-40, -180, 0});
  expectVec(figure->rotation(), {90, 0, 0});
  EXPECT_TRUE(figure->isTouchEnabled());
  EXPECT_FALSE(figure->isOpaque());
  // Layers stand on their bottom centre: the plane spans x in [-w/2, w/2], y in [0, h].
  figure->updateTransformMatrices();
  const CC3Box box = dynamic_cast<CC3MeshNode*>(figure)->meshModel()->boundingBox();
  EXPECT_NEAR(box.minimum.x, -30.234375, 1e-3);
  EXPECT_NEAR(box.maximum.x, 30.234375, 1e-3);
  EXPECT_NEAR(box.minimum.y, 0, 1e-3);
  EXPECT_NEAR(box.maximum.y, 72.5, 1e-3);

  const auto& touchSet = world->curTouchSet();
  EXPECT_NE(std::find(touchSet.begin(), touchSet.end(), "s1layer2l-t"), touchSet.end());
  for (const auto& id : touchSet) EXPECT_EQ(lumoLayerSuffix(id), "t") << id;

  CC3Node* background = node("background1");
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(background->parent(), ground);
  EXPECT_TRUE(background->visible());
  EXPECT_FALSE(background->isTouchEnabled());
  EXPECT_EQ(world->stageIndex(), 1);
}

TEST_F(lumoWorldTest, MissingLanguageIsStoredAsRussianAndItsTitleSinks) {
  build();
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2000);
  EXPECT_EQ(NSUserDefaults::standardUserDefaults().stringForKey("Lan"), "2000");
  CC3Node* shown = node("s1layer3-cn");
  CC3Node* other = node("s1layer5-cn");
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_TRUE(shown->visible());
  EXPECT_FALSE(other->visible());
  const CC3Vec3 start = shown->location();
  advance(1.2f);  // sunk in 0.5 s, then rocked in place for 0.6 s
  expectVec(shown->location(), {start.x, start.y, start.z - 90});
  EXPECT_EQ(shown->numberOfRunningActions(), 0u);
  EXPECT_EQ(world->genStageSoundWithIndex(1), "nil");
}

TEST_F(lumoWorldTest, StoredEnglishShowsTheOtherTitleAndNarrationList) {
  NSUserDefaults::standardUserDefaults().setObject("2001", "Lan");
  build();
  EXPECT_EQ(world->stageInfo()->curLangTag(), 2001);
  EXPECT_TRUE(node("s1layer5-cn")->visible());
  EXPECT_FALSE(node("s1layer3-cn")->visible());
  EXPECT_EQ(world->genStageSoundWithIndex(1), world->stage()->soundsCn().front());
}

TEST_F(lumoWorldTest, LookUpsRejectPageZero) {
  build();
  EXPECT_ASSERTION(world->genStageElementWithIndex(0), "index should begin at 1");
  EXPECT_ASSERTION(world->genStageAsideWithIndex(0), "index should begin at 1");
  EXPECT_EQ(&world->genStageElementWithIndex(3), &world->stage()->grounds()[2]);
  EXPECT_EQ(&world->genStageAsideWithIndex(18), &world->stage()->asides()[17]);
}

TEST_F(lumoWorldTest, SettlingRemovesTheOldPageAndRunsPageEffects) {
  build();
  lmStageInfo* info = world->stageInfo();
  // Page 11 arrives over the cover: the cover goes, the snore starts.
  info->setCurStageIndex(11);
  info->setCurGroundName(world->buildStage(11));
  EXPECT_EQ(info->curGroundName(), "ground11");
  info->setShouldRemoveGroundName("ground1");
  info->setLockDrag(true);
  info->setCanAccelerometer(false);
  CC3Node* ground = node("ground11");
  ASSERT_NE(ground, nullptr);
  for (std::size_t i = 0; i < ground->childCount(); ++i)
    ground->childAt(i)->setIsTouchEnabled(false);
  world->renderStage();
  EXPECT_EQ(node("ground1"), nullptr);
  EXPECT_EQ(node("s1layer2l-t"), nullptr);
  EXPECT_FALSE(info->lockDrag());
  EXPECT_TRUE(info->canAccelerometer());
  EXPECT_EQ(KstSound::shared()->playingSpecialSoundName(), "b_snore");
  std::size_t touchable = 0;
  for (std::size_t i = 0; i < ground->childCount(); ++i) {
    CC3Node* child = ground->childAt(i);
    EXPECT_EQ(child->isTouchEnabled(), lumoLayerSuffix(*child->name()) == "t") << *child->name();
    touchable += child->isTouchEnabled();
  }
  // The page turn empties the list before a build; here it still holds the cover's two.
  EXPECT_GE(touchable, 1u);
  EXPECT_EQ(touchable + 2, world->curTouchSet().size());

  // Page 12 stops it; an empty removal name removes nothing.
  info->setCurStageIndex(12);
  info->setShouldRemoveGroundName("");
  const std::size_t before = world->childCount();
  world->renderStage();
  EXPECT_EQ(world->childCount(), before);
  EXPECT_EQ(KstSound::shared()->playingSpecialSoundName(), "");
}

TEST_F(lumoWorldTest, ArrivingAtTheEndOrBackAtTheCoverSinksTheTitleOfTheLanguage) {
  build();
  lmStageInfo* info = world->stageInfo();
  info->setCurStageIndex(18);
  info->setCurGroundName(world->buildStage(18));
  info->setShouldRemoveGroundName("ground1");
  world->renderStage();
  CC3Node* title = node("s18layer2-cn");
  ASSERT_NE(title, nullptr);
  EXPECT_FALSE(node("s18layer3-cn")->visible());
  EXPECT_TRUE(title->visible());
  const CC3Vec3 start = title->location();
  advance(0.7f);
  expectVec(title->location(), {start.x, start.y, start.z - 130});

  // Back on a freshly built cover the title sinks 100, not the opening 90.
  info->setCurStageIndex(1);
  info->setCurGroundName(world->buildStage(1));
  info->setShouldRemoveGroundName("ground18");
  world->renderStage();
  EXPECT_EQ(node("ground18"), nullptr);
  CC3Node* cover = node("s1layer3-cn");
  ASSERT_NE(cover, nullptr);
  const CC3Vec3 top = cover->location();
  advance(0.7f);
  expectVec(cover->location(), {top.x, top.y, top.z - 100});
}

TEST(lumoWorldTags, AutomaticTagsSkipTheControlRange) {
  CC3Node::resetNodeTagAllocation();
  GLuint tag = 0;
  while (tag < 1000) tag = lumoWorld::nextPageNodeTag();
  EXPECT_EQ(tag, 1000u);
  EXPECT_EQ(lumoWorld::nextPageNodeTag(), 4001u);
  CC3Node::resetNodeTagAllocation();
}

}  // namespace
