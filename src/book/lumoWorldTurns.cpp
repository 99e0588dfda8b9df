#include "lumoWorld.h"

void lumoWorld::reflashStage(std::int32_t) {}
void lumoWorld::addReflashStageLimited() {}

void lumoWorld::removeReflashStageLimited() {
  if (CC3Node* home = getNodeNamed("home-btn")) home->setVisible(true);
  stageInfo_->setLockDrag(false);
  stageInfo_->setCanAccelerometer(true);
}

void lumoWorld::addNextStage(std::int32_t) {}
void lumoWorld::addPreStage(std::int32_t) {}
void lumoWorld::stageUpAnimationWithStageIndex(std::int32_t) {}
void lumoWorld::stageDownAnimationWithStageIndex(std::int32_t) {}
