#include "CC3Actions.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "EventLog.h"
#include "KstSound.h"
#include "KstSpriteFactory.h"
#include "NSRunLoop.h"
#include "lumoPagePrefetch.h"
#include "lumoWorld.h"

namespace {
constexpr std::int32_t kGroundLayerId = 0;
constexpr std::int32_t kBackgroundLayerId = 10;
}  // namespace

Ptr<CC3PlaneNode> lumoWorld::makePlane(const KstSpriteId& record) {
  auto plane = CC3PlaneNode::nodeWithTag(nextPageNodeTag(), record.identifier());
  const CGSize size{record.width() * universalScaleWidth_ * record.widthScale(),
                    record.height() * universalScaleHeight_ * record.heightScale()};
  auto texture = CC3Texture::textureFromFile(record.path());
  if (record.layerId() == kGroundLayerId) {
    plane->populateAsCenteredRectangleWithSize(size, texture.get(), true);
  } else {
    if (record.layerId() != kBackgroundLayerId) {
      const std::string suffix = lumoLayerSuffix(record.identifier());
      if (suffix == "cn") {
        plane->setVisible(false);
      } else if (suffix == "t") {
        plane->setIsTouchEnabled(true);
        curTouchSet_.push_back(record.identifier());
      }
    }
    // Layers stand on their bottom centre.
    plane->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
  }
  plane->setTextureWidth(size.width);
  plane->setTextureHeight(size.height);
  plane->setLocation(record.location());
  plane->setRotation(record.rotation());
  plane->setIsOpaque(false);
  return plane;
}

std::string lumoWorld::buildStage(std::int32_t index) {
  KstSpriteDictionary records =
      KstSpriteFactory::createWithStageInfo(genStageElementWithIndex(index), &stageIndex_);
  std::vector<Ptr<CC3PlaneNode>> layers;
  std::string groundName;
  for (const auto& [identifier, record] : records) {
    auto plane = makePlane(*record);
    if (record->layerId() == kGroundLayerId) {
      groundName = identifier;
      // A new page keeps the reader's current tilt.
      plane->setRotation(stageInfo_->rotation());
      addChild(plane.get());
    } else {
      layers.push_back(plane);
    }
  }
  CC3Node* ground = getNodeNamed("ground" + std::to_string(stageIndex_));
  if (ground) {
    for (const auto& layer : layers) ground->addChild(layer.get());
  }
  return groundName;
}

void lumoWorld::renderBeginningStageWithIndex(std::int32_t index) {
  removeReflashStageLimited();
  stageInfo_->setCurGroundName(buildStage(index));
  animateCoverTitle(-90);
  performSelector(SELECTOR(lumoWorld::addHelpAlert), 2.0);
  // The language menu joins the cover once set-up has finished.
  if (index == 1) performSelector(SELECTOR(lumoWorld::addMenu), 0.0);
  lumoPagePrefetch::shared().pageDidSettle(*stage_, index, stageInfo_->curLangTag());
}

void lumoWorld::animateTitle(const std::string& name, Selector<> followUp, float depth) {
  CC3Node* ground = getNodeNamed(stageInfo_->curGroundName());
  CC3Node* title = ground ? ground->getNodeNamed(name) : nullptr;
  if (!title) return;
  title->setVisible(true);
  auto sink = CC3MoveBy::actionWithDuration(0.5f, {0, 0, depth});
  auto then = CCCallFunc::actionWithTarget(this, followUp);
  title->runAction(CCSequence::actionOne(sink.get(), then.get()).get());
}

void lumoWorld::animateCoverTitle(float depth) {
  switch (stageInfo_->curLangTag()) {
    case lmStageInfo::kLangEnglish:
      animateTitle("s1layer5-cn", SELECTOR(lumoWorld::beginCnShouldAnimation), depth);
      break;
    case lmStageInfo::kLangRussian:
      animateTitle("s1layer3-cn", SELECTOR(lumoWorld::beginEnShouldAnimation), depth);
      break;
    default:
      break;
  }
}

void lumoWorld::cleanStage() {
  // A removed node's actions keep running: the old page's hint pulse would
  // hold the page alive.
  removeWithActions(getNodeNamed(stageInfo_->shouldRemoveGroundName()));
}

void lumoWorld::renderStage() {
  cleanStage();
  removeReflashStageLimited();
  EventLog::log("page", "settled " + std::to_string(stageInfo_->curStageIndex()));
  if (CC3Node* ground = getNodeNamed(stageInfo_->curGroundName())) {
    for (std::size_t i = 0; i < ground->childCount(); ++i) {
      CC3Node* child = ground->childAt(i);
      if (child->name() && lumoLayerSuffix(*child->name()) == "t") child->setIsTouchEnabled(true);
    }
  }
  runStageEffects();
  performSelector(SELECTOR(lumoWorld::showAside), 0.5);
  lumoPagePrefetch::shared().pageDidSettle(*stage_, stageInfo_->curStageIndex(),
                                           stageInfo_->curLangTag());
}

void lumoWorld::runStageEffects() {
  const std::int32_t page = stageInfo_->curStageIndex();
  if (page == 1) {
    removeHome();
    animateCoverTitle(-100);
    addMenu();
  } else if (page == 2) {
    addHome();
  } else if (!stage_->loopSoundForStage(page).empty()) {
    KstSound::shared()->playSpecialSoundWithName(stage_->loopSoundForStage(page), "mp3");
  } else if (stage_->stopsLoopSoundOnStage(page)) {
    KstSound::shared()->cancelSpecialSound();
  } else if (page == stage_->totalStageCount()) {
    addMenuEnding();
    removeHome();
    switch (stageInfo_->curLangTag()) {
      case lmStageInfo::kLangEnglish:
        animateTitle("s18layer3-cn", SELECTOR(lumoWorld::endCnShouldAnimation), -130);
        break;
      case lmStageInfo::kLangRussian:
        animateTitle("s18layer2-cn", SELECTOR(lumoWorld::endEnShouldAnimation), -130);
        break;
      default:
        break;
    }
  }
}
