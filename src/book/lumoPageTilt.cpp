#include "lumoPageTilt.h"

#include "CC3Node.h"
#include "lmStageInfo.h"

void lumoPageTilt::stepAboutX(float degrees, CC3Node* ground) {
  if (degrees == 0) return;
  if (degrees < 0 ? increaseUp_ > kStepsEachWay : increaseDown_ > kStepsEachWay) return;
  CC3Vec3 rotation = ground ? ground->rotation() : info_.rotation();
  rotation.x += degrees;
  if (ground && info_.canAccelerometer()) ground->setRotation(rotation);
  info_.setRotation(rotation);
  if (degrees < 0) {
    ++increaseUp_;
    --increaseDown_;
  } else {
    ++increaseDown_;
    --increaseUp_;
  }
}

void lumoPageTilt::stepAboutY(float degrees, CC3Node* ground) {
  CC3Vec3 rotation = ground ? ground->rotation() : info_.rotation();
  rotation.y += degrees;
  if (rotation.y <= -kMaxAboutY || rotation.y >= kMaxAboutY) return;
  if (ground) ground->setRotation(rotation);
  info_.setRotation(rotation);
}
