#pragma once
#include "CC3Foundation.h"
#include "CC3GLMatrix.h"
#include "NSObject.h"

// A node's rotation, held as Euler angles, a quaternion and a matrix. Only
// the representation last set is current; the others are converted from the
// matrix when they are next read.
class CC3Rotator : public NSObject {
 public:
  static Ptr<CC3Rotator> rotator();
  CC3Rotator();

  CC3Vec3 rotation();
  virtual void setRotation(CC3Vec3 rotation);
  CC3Quaternion quaternion();
  virtual void setQuaternion(CC3Quaternion quaternion);
  // The matrix with all pending changes applied.
  CC3GLMatrix* rotationMatrix();
  virtual void setRotationMatrix(CC3GLMatrix* matrix);

  // Multiplies `matrix` by the rotation matrix.
  void applyRotationTo(CC3GLMatrix* matrix);

  bool isRotationDirty() const { return isRotationDirty_; }
  bool isQuaternionDirty() const { return isQuaternionDirty_; }
  bool isMatrixDirtyByRotation() const { return isMatrixDirtyByRotation_; }
  bool isMatrixDirtyByQuaternion() const { return isMatrixDirtyByQuaternion_; }

  Ptr<CC3Rotator> copy() const;
  virtual void populateFrom(const CC3Rotator* another);
  std::string description() const override;

 protected:
  // Brings the matrix up to date with the last angles or quaternion set.
  virtual void applyRotation();
  virtual CC3Rotator* newInstance() const { return new CC3Rotator(); }

  Ptr<CC3GLMatrix> rotationMatrix_;
  CC3Vec3 rotation_ = kCC3Vec3Zero;
  CC3Quaternion quaternion_ = kCC3Vec4Zero;
  bool isRotationDirty_ = false;
  bool isMatrixDirtyByRotation_ = false;
  bool isQuaternionDirty_ = false;
  bool isMatrixDirtyByQuaternion_ = false;
};
