#pragma once
#include <GLES/gl.h>

#include <initializer_list>
#include <string>

#include "CC3Foundation.h"
#include "NSObject.h"
#include "Ptr.h"

// A 4 x 4 float matrix as the fixed-function pipeline takes it: column-major,
// element i*4 + j is column i, row j, so 12, 13, 14 hold the translation.
// Operations post-multiply (self = self x other), so the newest operation
// applies to points first. Angles are degrees; Euler rotations are Ry*Rx*Rz.
//
// `isIdentity` is only a hint that the content is known to be the identity;
// it lets operations skip work. Every change clears it except
// `populateIdentity` (sets it) and `populateFrom` (copies it).
//
// Each instance operation has a class-side twin working on a bare 16-float
// array, which knows nothing of the identity flag.
class CC3GLMatrix : public NSObject {
 public:
  // Class-side constructors. The plain forms make an array matrix that holds
  // its own floats; `matrixOnGLMatrix` wraps floats owned elsewhere.
  static Ptr<CC3GLMatrix> matrix();
  static Ptr<CC3GLMatrix> identity();
  static Ptr<CC3GLMatrix> matrixFromGLMatrix(const GLfloat* aGLMatrix);
  static Ptr<CC3GLMatrix> matrixOnGLMatrix(GLfloat* aGLMatrix);
  // Sixteen floats in column-major order.
  static Ptr<CC3GLMatrix> matrixWithElements(std::initializer_list<GLfloat> elements);

  // Initialisers; they work on whatever storage the subclass provides.
  bool init();
  bool initIdentity();
  bool initFromGLMatrix(const GLfloat* aGLMatrix);
  bool initWithElements(std::initializer_list<GLfloat> elements);

  virtual GLfloat* glMatrix() = 0;
  virtual const GLfloat* glMatrix() const = 0;
  bool isIdentity() const { return isIdentity_; }

  // Always an array matrix with the same elements and identity flag.
  Ptr<CC3GLMatrix> copy() const;

  std::string description() const override;

  // ---- population ----
  void populateFrom(const CC3GLMatrix* other);
  void populateFromGLMatrix(const GLfloat* aGLMatrix);
  void populateZero();
  void populateIdentity();
  void populateFromTranslation(CC3Vec3 translation);
  void populateFromScale(CC3Vec3 scale);
  void populateFromRotation(CC3Vec3 rotation);
  void populateFromQuaternion(CC3Quaternion quaternion);
  void populateToPointTowards(CC3Vec3 forward, CC3Vec3 up);
  void populateToLookAt(CC3Vec3 target, CC3Vec3 eye, CC3Vec3 up);
  void populateFromFrustumLeft(GLfloat left, GLfloat right, GLfloat bottom, GLfloat top,
                               GLfloat near, GLfloat far);

  // ---- accumulation (post-multiplication) ----
  void translateBy(CC3Vec3 translation);
  void translateByX(GLfloat distance);
  void translateByY(GLfloat distance);
  void translateByZ(GLfloat distance);
  void rotateBy(CC3Vec3 rotation);
  void rotateByX(GLfloat degrees);
  void rotateByY(GLfloat degrees);
  void rotateByZ(GLfloat degrees);
  void rotateByQuaternion(CC3Quaternion quaternion);
  void scaleBy(CC3Vec3 scale);
  void scaleByX(GLfloat factor);
  void scaleByY(GLfloat factor);
  void scaleByZ(GLfloat factor);
  void scaleUniformlyBy(GLfloat factor);
  // Post-multiplies by T * R * S in one step.
  void translateBy(CC3Vec3 translation, CC3Vec3 rotation, CC3Vec3 scale);
  void multiplyByMatrix(const CC3GLMatrix* other);

  // ---- inversion ----
  void transpose();
  // False when the matrix is singular; it is then left unchanged.
  bool invert();
  bool invertAffine();
  // For rotation plus translation only: much cheaper than a general inversion.
  void invertRigid();

  // ---- transforming ----
  CC3Vec3 transformLocation(CC3Vec3 location) const;
  CC3Vec3 transformDirection(CC3Vec3 direction) const;
  CC3Vec4 transformHomogeneousVector(CC3Vec4 vector) const;

  // ---- extraction ----
  CC3Vec3 extractRotation() const;
  CC3Quaternion extractQuaternion() const;
  CC3Vec3 extractForwardDirection() const;
  CC3Vec3 extractUpDirection() const;
  CC3Vec3 extractRightDirection() const;

  // ---- class-side twins on bare arrays ----
  static void copyMatrix(const GLfloat* source, GLfloat* destination);
  static void populateZero(GLfloat* m);
  static void populateIdentity(GLfloat* m);
  static void populateFromTranslation(GLfloat* m, CC3Vec3 translation);
  static void populateFromScale(GLfloat* m, CC3Vec3 scale);
  static void populateFromRotation(GLfloat* m, CC3Vec3 rotation);
  static void populateFromRotationZYX(GLfloat* m, CC3Vec3 rotation);
  static void populateFromQuaternion(GLfloat* m, CC3Quaternion quaternion);
  static void populateToPointTowards(GLfloat* m, CC3Vec3 forward, CC3Vec3 up);
  static void populateToLookAt(GLfloat* m, CC3Vec3 target, CC3Vec3 eye, CC3Vec3 up);
  static void populateFromFrustumLeft(GLfloat* m, GLfloat left, GLfloat right, GLfloat bottom,
                                      GLfloat top, GLfloat near, GLfloat far);
  static void translateBy(GLfloat* m, CC3Vec3 translation);
  static void rotateBy(GLfloat* m, CC3Vec3 rotation);
  static void rotateYXZ(GLfloat* m, CC3Vec3 rotation) { rotateBy(m, rotation); }
  static void rotateZYX(GLfloat* m, CC3Vec3 rotation);
  static void rotateByX(GLfloat* m, GLfloat degrees);
  static void rotateByY(GLfloat* m, GLfloat degrees);
  static void rotateByZ(GLfloat* m, GLfloat degrees);
  static void rotateByQuaternion(GLfloat* m, CC3Quaternion quaternion);
  static void scaleBy(GLfloat* m, CC3Vec3 scale);
  static void translateBy(GLfloat* m, CC3Vec3 translation, CC3Vec3 rotation, CC3Vec3 scale);
  static void multiplyByMatrix(GLfloat* m, const GLfloat* other);
  static void transpose(GLfloat* m);
  static bool invert(GLfloat* m);
  static bool invertAffine(GLfloat* m);
  static void invertRigid(GLfloat* m);
  static CC3Vec3 transformLocation(const GLfloat* m, CC3Vec3 location);
  static CC3Vec3 transformDirection(const GLfloat* m, CC3Vec3 direction);
  static CC3Vec4 transformHomogeneousVector(const GLfloat* m, CC3Vec4 vector);
  static CC3Vec3 extractRotation(const GLfloat* m);
  static CC3Vec3 extractRotationYXZFromMatrix(const GLfloat* m) { return extractRotation(m); }
  static CC3Vec3 extractRotationZYXFromMatrix(const GLfloat* m);
  static CC3Quaternion extractQuaternion(const GLfloat* m);
  static std::string description(const GLfloat* m);

 protected:
  CC3GLMatrix() = default;

 private:
  void clearIdentity() { isIdentity_ = false; }

  bool isIdentity_ = false;
};
