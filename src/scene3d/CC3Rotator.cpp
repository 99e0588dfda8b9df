#include "CC3Rotator.h"

Ptr<CC3Rotator> CC3Rotator::rotator() {
  return makeObject<CC3Rotator>();
}

CC3Rotator::CC3Rotator() : rotationMatrix_(CC3GLMatrix::identity()) {}

CC3Vec3 CC3Rotator::rotation() {
  if (isRotationDirty_) {
    rotation_ = rotationMatrix()->extractRotation();
    isRotationDirty_ = false;
  }
  return rotation_;
}

void CC3Rotator::setRotation(CC3Vec3 rotation) {
  rotation_ = rotation;
  isRotationDirty_ = false;
  isQuaternionDirty_ = true;
  isMatrixDirtyByRotation_ = true;
  isMatrixDirtyByQuaternion_ = false;
}

CC3Quaternion CC3Rotator::quaternion() {
  if (isQuaternionDirty_) {
    quaternion_ = rotationMatrix()->extractQuaternion();
    isQuaternionDirty_ = false;
  }
  return quaternion_;
}

void CC3Rotator::setQuaternion(CC3Quaternion quaternion) {
  quaternion_ = quaternion;
  isRotationDirty_ = true;
  isQuaternionDirty_ = false;
  isMatrixDirtyByRotation_ = false;
  isMatrixDirtyByQuaternion_ = true;
}

CC3GLMatrix* CC3Rotator::rotationMatrix() {
  applyRotation();
  return rotationMatrix_.get();
}

void CC3Rotator::setRotationMatrix(CC3GLMatrix* matrix) {
  rotationMatrix_ = matrix;
  isRotationDirty_ = true;
  isQuaternionDirty_ = true;
  isMatrixDirtyByRotation_ = false;
  isMatrixDirtyByQuaternion_ = false;
}

void CC3Rotator::applyRotation() {
  if (isMatrixDirtyByRotation_) {
    rotationMatrix_->populateFromRotation(rotation_);
    isMatrixDirtyByRotation_ = false;
  }
  if (isMatrixDirtyByQuaternion_) {
    rotationMatrix_->populateFromQuaternion(quaternion_);
    isMatrixDirtyByQuaternion_ = false;
  }
}

void CC3Rotator::applyRotationTo(CC3GLMatrix* matrix) {
  matrix->multiplyByMatrix(rotationMatrix());
}

Ptr<CC3Rotator> CC3Rotator::copy() const {
  auto aCopy = Ptr<CC3Rotator>::adopt(newInstance());
  aCopy->populateFrom(this);
  return aCopy;
}

void CC3Rotator::populateFrom(const CC3Rotator* another) {
  // A copy of the matrix, not a share: the two rotators change separately.
  rotationMatrix_ = another->rotationMatrix_->copy();
  rotation_ = another->rotation_;
  quaternion_ = another->quaternion_;
  isRotationDirty_ = another->isRotationDirty_;
  isMatrixDirtyByRotation_ = another->isMatrixDirtyByRotation_;
  isQuaternionDirty_ = another->isQuaternionDirty_;
  isMatrixDirtyByQuaternion_ = another->isMatrixDirtyByQuaternion_;
}

std::string CC3Rotator::description() const {
  // Reading brings the lazily converted forms up to date; it changes no rotation.
  auto* self = const_cast<CC3Rotator*>(this);
  return className() + ": " + NSStringFromCC3Vec3(self->rotation()) +
         ", quaternion: " + NSStringFromCC3Quaternion(self->quaternion());
}
