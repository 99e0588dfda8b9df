#include "KstSpriteId.h"

#include <cstdio>

Ptr<KstSpriteId> KstSpriteId::spriteId() {
  auto record = makeObject<KstSpriteId>();
  return record->init() ? record : nullptr;
}

CC3Vec3 KstSpriteId::location() const {
  std::lock_guard lock(vectorLock_);
  return location_;
}

void KstSpriteId::setLocation(CC3Vec3 location) {
  std::lock_guard lock(vectorLock_);
  location_ = location;
}

CC3Vec3 KstSpriteId::rotation() const {
  std::lock_guard lock(vectorLock_);
  return rotation_;
}

void KstSpriteId::setRotation(CC3Vec3 rotation) {
  std::lock_guard lock(vectorLock_);
  rotation_ = rotation;
}

std::string KstSpriteId::description() const {
  const CC3Vec3 at = location();
  const CC3Vec3 turn = rotation();
  char numbers[512];
  std::snprintf(numbers, sizeof numbers,
                "\nlocation x:%.2f y:%.2f z:%.2f\nrotation x:%.2f y:%.2f z:%.2f"
                "\nwidth:%.2f height:%.2f\nwidthScale:%.2f heightScale:%.2f",
                at.x, at.y, at.z, turn.x, turn.y, turn.z, width_, height_, widthScale_,
                heightScale_);
  return "\nidentifier:" + identifier_ + "\nlayerId:" + std::to_string(layerId_) +
         "\npath:" + path_ + numbers;
}
