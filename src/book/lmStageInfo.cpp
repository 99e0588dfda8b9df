#include "lmStageInfo.h"

Ptr<lmStageInfo> lmStageInfo::stageInfo() {
  auto info = makeObject<lmStageInfo>();
  return info->init() ? info : nullptr;
}

bool lmStageInfo::init() {
  curStageIndex_ = 1;
  setRotation(CC3Vec3{-90, 0, 0});
  setAsideLocation(CC3Vec3{0, 60, 400});
  canAccelerometer_ = true;
  lockDrag_ = false;
  curGroundName_.clear();
  nextGroundName_.clear();
  preGroundName_.clear();
  shouldRemoveGroundName_.clear();
  normalElementInTouch_.clear();
  curLangTag_ = kLangRussian;
  return true;
}

CC3Vec3 lmStageInfo::rotation() const {
  std::lock_guard lock(vectorLock_);
  return rotation_;
}

void lmStageInfo::setRotation(CC3Vec3 rotation) {
  std::lock_guard lock(vectorLock_);
  rotation_ = rotation;
}

CC3Vec3 lmStageInfo::asideLocation() const {
  std::lock_guard lock(vectorLock_);
  return asideLocation_;
}

void lmStageInfo::setAsideLocation(CC3Vec3 location) {
  std::lock_guard lock(vectorLock_);
  asideLocation_ = location;
}
