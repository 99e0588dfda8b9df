#include "lumoPageTurnMotion.h"

#include "CC3Actions.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "lumoWorld.h"

namespace {
// The incoming page's layers take longer than the outgoing page's, and the
// turn settles when they are upright.
constexpr ccSeconds kOldPageDuration = 1.0f;
constexpr ccSeconds kNewPageDuration = 1.5f;
constexpr float kGroundLift = 5;

// Every single action of a turn runs wrapped to run once.
void runTurnAction(CC3Node* node, CCFiniteTimeAction* action) {
  node->runAction(CCRepeat::actionWithAction(action, 1).get());
}
}  // namespace

void lumoPageTurnMotion::turnForwardTo(std::int32_t page) {
  lmStageInfo* info = world_.stageInfo();
  world_.addNextStage(page);
  if (CC3Node* old = world_.getNodeNamed(info->curGroundName())) {
    runTurnAction(old, CC3MoveBy::actionWithDuration(0, {0, 0, -90}).get());
    runTurnAction(old, CC3RotateBy::actionWithDuration(kOldPageDuration, {-90, 0, 0}).get());
    rotateLayers(old, kOldPageDuration, -90, false);
  }
  raiseIncomingPage(info->nextGroundName(), -90);
  info->setShouldRemoveGroundName(info->curGroundName());
  info->setCurGroundName(info->nextGroundName());
}

void lumoPageTurnMotion::turnBackTo(std::int32_t page) {
  lmStageInfo* info = world_.stageInfo();
  world_.addPreStage(page);
  const std::string leaving = "background" + std::to_string(info->curStageIndex() + 1);
  if (CC3Node* background = world_.getNodeNamed(leaving)) {
    // It comes forward to the middle of its page and shrinks as the page folds.
    CC3Vec3 location = background->location();
    location.y -= 100;
    background->setLocation(location);
    CC3Vec3 scale = background->scale();
    scale.y *= 0.9f;
    background->setScale(scale);
  }
  if (CC3Node* old = world_.getNodeNamed(info->curGroundName()))
    rotateLayers(old, kOldPageDuration, 90, false);
  if (CC3Node* incoming = world_.getNodeNamed(info->preGroundName()))
    runTurnAction(incoming, CC3RotateBy::actionWithDuration(kOldPageDuration, {90, 0, 0}).get());
  raiseIncomingPage(info->preGroundName(), 90);
  info->setShouldRemoveGroundName(info->curGroundName());
  info->setCurGroundName(info->preGroundName());
}

void lumoPageTurnMotion::raiseIncomingPage(const std::string& groundName, float degrees) {
  CC3Node* ground = groundName.empty() ? nullptr : world_.getNodeNamed(groundName);
  if (ground && ground->childCount() > 0) {
    rotateLayers(ground, kNewPageDuration, degrees, true);
  } else {
    // A page without layers (a broken content table) must still settle and unlock.
    world_.performSelector(SELECTOR(lumoWorld::renderStage), kNewPageDuration);
  }
  if (ground)
    runTurnAction(ground,
                  CC3MoveBy::actionWithDuration(kNewPageDuration, {0, kGroundLift, 0}).get());
}

void lumoPageTurnMotion::rotateLayers(CC3Node* ground, ccSeconds duration, float degrees,
                                      bool settleOnLast) {
  const std::size_t count = ground->childCount();
  for (std::size_t i = 0; i < count; ++i) {
    CC3Node* layer = ground->childAt(i);
    auto rotate = CC3RotateBy::actionWithDuration(duration, {degrees, 0, 0});
    if (settleOnLast && i + 1 == count) {
      auto settle = CCCallFunc::actionWithTarget(&world_, SELECTOR(lumoWorld::renderStage));
      layer->runAction(CCSequence::actionOne(rotate.get(), settle.get()).get());
    } else {
      runTurnAction(layer, rotate.get());
    }
  }
}
