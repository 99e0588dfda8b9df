#include "CC3Actions.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "EventLog.h"
#include "KstSound.h"
#include "lumoWorld.h"

namespace {
constexpr std::int32_t kForward = 0;
// The incoming page's layers take longer than the outgoing page's, and the
// turn settles when they are upright.
constexpr ccSeconds kOldPageDuration = 1.0f;
constexpr ccSeconds kNewPageDuration = 1.5f;
constexpr float kGroundLift = 5;

const char* directionName(std::int32_t direction) {
  return direction == kForward ? "forward" : "back";
}

// Every single action of a turn runs wrapped to run once.
void runTurnAction(CC3Node* node, CCFiniteTimeAction* action) {
  node->runAction(CCRepeat::actionWithAction(action, 1).get());
}

// Adds `degrees` to the x rotation of every layer of a ground.
void tiltLayersAboutX(CC3Node* ground, float degrees) {
  for (std::size_t i = 0; i < ground->childCount(); ++i) {
    CC3Node* layer = ground->childAt(i);
    CC3Vec3 rotation = layer->rotation();
    rotation.x += degrees;
    layer->setRotation(rotation);
  }
}
}  // namespace

// MARK: request and lock

void lumoWorld::reflashStage(std::int32_t direction) {
  const std::int32_t page = stageInfo_->curStageIndex();
  EventLog::log("turn", std::string("requested ") + directionName(direction) + " from page " +
                            std::to_string(page));
  addReflashStageLimited();
  const bool forward = direction == kForward;
  if (forward ? page + 1 > stage_->totalStageCount() : page < 2) {
    EventLog::log("turn", std::string("refused ") + directionName(direction) + " on page " +
                              std::to_string(page) + ": no page there");
    removeReflashStageLimited();
    return;
  }
  dismissAsideWithAnimation(false);
  stageInfo_->setCurStageIndex(forward ? page + 1 : page - 1);
  KstSound::shared()->cancelSound();
  if (forward) {
    stageUpAnimationWithStageIndex(stageInfo_->curStageIndex());
  } else {
    stageDownAnimationWithStageIndex(stageInfo_->curStageIndex());
  }
}

void lumoWorld::addReflashStageLimited() {
  if (CC3Node* highlighted = getNodeNamed("home-btn-highlighted")) highlighted->setVisible(false);
  if (CC3Node* home = getNodeNamed("home-btn")) home->setVisible(false);
  stageInfo_->setLockDrag(true);
  stageInfo_->setCanAccelerometer(false);
}

void lumoWorld::removeReflashStageLimited() {
  if (CC3Node* home = getNodeNamed("home-btn")) home->setVisible(true);
  stageInfo_->setLockDrag(false);
  stageInfo_->setCanAccelerometer(true);
}

// MARK: incoming pages

void lumoWorld::addNextStage(std::int32_t index) {
  curTouchSet_.clear();
  const std::string groundName = buildStage(index);
  stageInfo_->setNextGroundName(groundName);
  CC3Node* ground = groundName.empty() ? nullptr : getNodeNamed(groundName);
  if (!ground) return;
  // Lying just under the old page, its layers folded flat onto it.
  CC3Vec3 location = ground->location();
  location.y -= kGroundLift;
  ground->setLocation(location);
  tiltLayersAboutX(ground, 90);
}

void lumoWorld::addPreStage(std::int32_t index) {
  curTouchSet_.clear();
  const std::string groundName = buildStage(index);
  stageInfo_->setPreGroundName(groundName);
  CC3Node* ground = groundName.empty() ? nullptr : getNodeNamed(groundName);
  if (!ground) return;
  // Standing upright behind the old page, its layers folded the other way.
  CC3Vec3 rotation = stageInfo_->rotation();
  rotation.x -= 90;
  ground->setRotation(rotation);
  tiltLayersAboutX(ground, -90);
}

// MARK: animations

void lumoWorld::stageUpAnimationWithStageIndex(std::int32_t index) {
  addNextStage(index);
  if (CC3Node* old = getNodeNamed(stageInfo_->curGroundName())) {
    runTurnAction(old, CC3MoveBy::actionWithDuration(0, {0, 0, -90}).get());
    runTurnAction(old, CC3RotateBy::actionWithDuration(kOldPageDuration, {-90, 0, 0}).get());
    rotateLayers(old, kOldPageDuration, -90, false);
  }
  raiseIncomingPage(stageInfo_->nextGroundName(), -90);
  stageInfo_->setShouldRemoveGroundName(stageInfo_->curGroundName());
  stageInfo_->setCurGroundName(stageInfo_->nextGroundName());
}

void lumoWorld::stageDownAnimationWithStageIndex(std::int32_t index) {
  addPreStage(index);
  const std::string leaving = "background" + std::to_string(stageInfo_->curStageIndex() + 1);
  if (CC3Node* background = getNodeNamed(leaving)) {
    // It comes forward to the middle of its page and shrinks as the page folds.
    CC3Vec3 location = background->location();
    location.y -= 100;
    background->setLocation(location);
    CC3Vec3 scale = background->scale();
    scale.y *= 0.9f;
    background->setScale(scale);
  }
  if (CC3Node* old = getNodeNamed(stageInfo_->curGroundName()))
    rotateLayers(old, kOldPageDuration, 90, false);
  if (CC3Node* incoming = getNodeNamed(stageInfo_->preGroundName()))
    runTurnAction(incoming, CC3RotateBy::actionWithDuration(kOldPageDuration, {90, 0, 0}).get());
  raiseIncomingPage(stageInfo_->preGroundName(), 90);
  stageInfo_->setShouldRemoveGroundName(stageInfo_->curGroundName());
  stageInfo_->setCurGroundName(stageInfo_->preGroundName());
}

void lumoWorld::raiseIncomingPage(const std::string& groundName, float degrees) {
  CC3Node* ground = groundName.empty() ? nullptr : getNodeNamed(groundName);
  if (ground && ground->childCount() > 0) {
    rotateLayers(ground, kNewPageDuration, degrees, true);
  } else {
    // A page without layers (a broken content table) must still settle and unlock.
    performSelector(SELECTOR(lumoWorld::renderStage), kNewPageDuration);
  }
  if (ground)
    runTurnAction(ground,
                  CC3MoveBy::actionWithDuration(kNewPageDuration, {0, kGroundLift, 0}).get());
}

void lumoWorld::rotateLayers(CC3Node* ground, ccSeconds duration, float degrees,
                             bool settleOnLast) {
  const std::size_t count = ground->childCount();
  for (std::size_t i = 0; i < count; ++i) {
    CC3Node* layer = ground->childAt(i);
    auto rotate = CC3RotateBy::actionWithDuration(duration, {degrees, 0, 0});
    if (settleOnLast && i + 1 == count) {
      auto settle = CCCallFunc::actionWithTarget(this, SELECTOR(lumoWorld::renderStage));
      layer->runAction(CCSequence::actionOne(rotate.get(), settle.get()).get());
    } else {
      runTurnAction(layer, rotate.get());
    }
  }
}
