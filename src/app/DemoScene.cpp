#include "DemoScene.h"

#include "CCActionInterval.h"
#include "CCLayerColor.h"
#include "KstSound.h"
#include "KstStage.h"
#include "lmStageInfo.h"

namespace {
// A white square that moves from (100, 300) to (600, 300) and fades out over
// one second, with a turning red square beside it.
void addActions(CCNode* parent) {
  auto square = CCLayerColor::layerWithColor(ccc4(255, 255, 255, 255), 100, 100);
  square->setTag(1);
  square->setPosition(CGPointMake(100, 300));
  parent->addChild(square.get());
  auto move = CCMoveTo::actionWithDuration(1, CGPointMake(600, 300));
  auto fade = CCFadeOut::actionWithDuration(1);
  square->runAction(CCSpawn::actionOne(move.get(), fade.get()).get());

  auto turning = CCLayerColor::layerWithColor(ccc4(255, 0, 0, 255), 100, 100);
  turning->setTag(2);
  turning->setPosition(CGPointMake(800, 500));
  parent->addChild(turning.get());
  turning->runAction(CCRotateBy::actionWithDuration(2, 180).get());
}
// Page 2's Russian narration over the music, as the book starts a page.
void playNarration() {
  Ptr<KstStage> stage = KstStage::stage();
  KstSound* sound = KstSound::shared();
  sound->playBgSoundWithName("background", "mp3");
  if (stage)
    sound->playSoundWithName(stage->narrationSoundForStage(2, lmStageInfo::kLangRussian), "mp3");
}
}  // namespace

bool DemoScene::isKnown(const std::string& name) {
  return name == "actions" || name == "narration";
}

void DemoScene::addTo(const std::string& name, CCNode* parent) {
  if (name == "actions") addActions(parent);
  if (name == "narration") playNarration();
}
