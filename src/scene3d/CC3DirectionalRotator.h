#pragma once
#include "CC3Rotator.h"

// A rotator that can also be set by a forward direction and a world-up
// direction. Whichever was set last is current: directions set last rebuild
// the matrix on its next read; angles or a quaternion set last make the
// directions be extracted from the matrix on their next read.
class CC3DirectionalRotator : public CC3Rotator {
 public:
  static Ptr<CC3DirectionalRotator> rotator();

  CC3Vec3 forwardDirection();
  void setForwardDirection(CC3Vec3 direction);
  CC3Vec3 worldUpDirection() const { return worldUpDirection_; }
  void setWorldUpDirection(CC3Vec3 direction);
  CC3Vec3 upDirection();
  CC3Vec3 rightDirection();

  void setRotation(CC3Vec3 rotation) override;
  void setQuaternion(CC3Quaternion quaternion) override;
  void setRotationMatrix(CC3GLMatrix* matrix) override;

  bool isForwardDirectionDirty() const { return isForwardDirectionDirty_; }
  bool isUpDirectionDirty() const { return isUpDirectionDirty_; }
  bool isRightDirectionDirty() const { return isRightDirectionDirty_; }
  bool isMatrixDirtyByDirection() const { return isMatrixDirtyByDirection_; }

  void populateFrom(const CC3Rotator* another) override;
  std::string description() const override;

 protected:
  void applyRotation() override;
  CC3Rotator* newInstance() const override { return new CC3DirectionalRotator(); }

 private:
  void markDirectionsDirty();

  CC3Vec3 forwardDirection_ = kCC3Vec3UnitZNegative;
  CC3Vec3 worldUpDirection_ = kCC3Vec3UnitYPositive;
  CC3Vec3 upDirection_ = kCC3Vec3UnitYPositive;
  CC3Vec3 rightDirection_ = kCC3Vec3Zero;
  bool isForwardDirectionDirty_ = false;
  bool isUpDirectionDirty_ = false;
  bool isRightDirectionDirty_ = false;
  bool isMatrixDirtyByDirection_ = false;
};
