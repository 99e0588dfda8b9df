#include "CC3DirectionalRotator.h"

Ptr<CC3DirectionalRotator> CC3DirectionalRotator::rotator() {
  return makeObject<CC3DirectionalRotator>();
}

void CC3DirectionalRotator::setForwardDirection(CC3Vec3 direction) {
  forwardDirection_ = CC3Vec3Normalize(direction);
  isRotationDirty_ = true;
  isQuaternionDirty_ = true;
  isForwardDirectionDirty_ = false;
  isUpDirectionDirty_ = false;
  isRightDirectionDirty_ = false;
  isMatrixDirtyByRotation_ = false;
  isMatrixDirtyByQuaternion_ = false;
  isMatrixDirtyByDirection_ = true;
}

void CC3DirectionalRotator::setWorldUpDirection(CC3Vec3 direction) {
  worldUpDirection_ = CC3Vec3Normalize(direction);
  isRotationDirty_ = true;
  isQuaternionDirty_ = true;
  isForwardDirectionDirty_ = false;
  isUpDirectionDirty_ = true;
  isRightDirectionDirty_ = true;
  isMatrixDirtyByRotation_ = false;
  isMatrixDirtyByQuaternion_ = false;
  isMatrixDirtyByDirection_ = true;
}

void CC3DirectionalRotator::markDirectionsDirty() {
  isForwardDirectionDirty_ = true;
  isUpDirectionDirty_ = true;
  isRightDirectionDirty_ = true;
  isMatrixDirtyByDirection_ = false;
}

void CC3DirectionalRotator::setRotation(CC3Vec3 rotation) {
  CC3Rotator::setRotation(rotation);
  markDirectionsDirty();
}

void CC3DirectionalRotator::setQuaternion(CC3Quaternion quaternion) {
  CC3Rotator::setQuaternion(quaternion);
  markDirectionsDirty();
}

void CC3DirectionalRotator::setRotationMatrix(CC3GLMatrix* matrix) {
  CC3Rotator::setRotationMatrix(matrix);
  markDirectionsDirty();
}

void CC3DirectionalRotator::applyRotation() {
  CC3Rotator::applyRotation();
  if (isMatrixDirtyByDirection_) {
    rotationMatrix_->populateToPointTowards(forwardDirection_, worldUpDirection_);
    isUpDirectionDirty_ = true;
    isRightDirectionDirty_ = true;
    isMatrixDirtyByDirection_ = false;
  }
}

CC3Vec3 CC3DirectionalRotator::forwardDirection() {
  if (isForwardDirectionDirty_) {
    forwardDirection_ = rotationMatrix()->extractForwardDirection();
    isForwardDirectionDirty_ = false;
  }
  return forwardDirection_;
}

CC3Vec3 CC3DirectionalRotator::upDirection() {
  if (isUpDirectionDirty_) {
    upDirection_ = rotationMatrix()->extractUpDirection();
    isUpDirectionDirty_ = false;
  }
  return upDirection_;
}

CC3Vec3 CC3DirectionalRotator::rightDirection() {
  if (isRightDirectionDirty_) {
    rightDirection_ = rotationMatrix()->extractRightDirection();
    isRightDirectionDirty_ = false;
  }
  return rightDirection_;
}

void CC3DirectionalRotator::populateFrom(const CC3Rotator* another) {
  CC3Rotator::populateFrom(another);
  const auto* other = dynamic_cast<const CC3DirectionalRotator*>(another);
  if (!other) return;
  forwardDirection_ = other->forwardDirection_;
  worldUpDirection_ = other->worldUpDirection_;
  upDirection_ = other->upDirection_;
  rightDirection_ = other->rightDirection_;
  isForwardDirectionDirty_ = other->isForwardDirectionDirty_;
  isUpDirectionDirty_ = other->isUpDirectionDirty_;
  isRightDirectionDirty_ = other->isRightDirectionDirty_;
  isMatrixDirtyByDirection_ = other->isMatrixDirtyByDirection_;
}

std::string CC3DirectionalRotator::description() const {
  auto* self = const_cast<CC3DirectionalRotator*>(this);
  return CC3Rotator::description() +
         ", direction: " + NSStringFromCC3Vec3(self->forwardDirection()) +
         ", up: " + NSStringFromCC3Vec3(self->upDirection()) +
         ", world up: " + NSStringFromCC3Vec3(worldUpDirection_);
}
