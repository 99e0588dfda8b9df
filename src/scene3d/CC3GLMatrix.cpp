#include "CC3GLMatrix.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "Assert.h"
#include "CC3GLArrayMatrix.h"
#include "CC3GLPointerMatrix.h"

namespace {

constexpr GLfloat kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct SinCos {
  GLfloat s, c;
};
SinCos sinCosDegrees(GLfloat degrees) {
  GLfloat radians = DegreesToRadians(degrees);
  return {std::sin(radians), std::cos(radians)};
}

// Column-major 3 x 3 rotation of Ry * Rx * Rz.
void rotationYXZ(CC3Vec3 rotation, GLfloat r[9]) {
  auto [sx, cx] = sinCosDegrees(rotation.x);
  auto [sy, cy] = sinCosDegrees(rotation.y);
  auto [sz, cz] = sinCosDegrees(rotation.z);
  r[0] = cy * cz + sx * sy * sz;
  r[1] = cx * sz;
  r[2] = sx * cy * sz - sy * cz;
  r[3] = sx * sy * cz - cy * sz;
  r[4] = cx * cz;
  r[5] = sx * cy * cz + sy * sz;
  r[6] = cx * sy;
  r[7] = -sx;
  r[8] = cx * cy;
}

// Column-major 3 x 3 rotation of Rz * Ry * Rx.
void rotationZYX(CC3Vec3 rotation, GLfloat r[9]) {
  auto [sx, cx] = sinCosDegrees(rotation.x);
  auto [sy, cy] = sinCosDegrees(rotation.y);
  auto [sz, cz] = sinCosDegrees(rotation.z);
  r[0] = cy * cz;
  r[1] = cy * sz;
  r[2] = -sy;
  r[3] = cz * sx * sy - cx * sz;
  r[4] = cx * cz + sx * sy * sz;
  r[5] = cy * sx;
  r[6] = cx * cz * sy + sx * sz;
  r[7] = cx * sy * sz - cz * sx;
  r[8] = cx * cy;
}

// The engine's quaternion convention: the transpose of the usual
// column-vector rotation matrix. Extraction below inverts exactly this.
void rotationOfQuaternion(CC3Quaternion q, GLfloat r[9]) {
  GLfloat x2 = q.x * q.x, y2 = q.y * q.y, z2 = q.z * q.z;
  GLfloat xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
  GLfloat xw = q.x * q.w, yw = q.y * q.w, zw = q.z * q.w;
  r[0] = 1 - 2 * y2 - 2 * z2;
  r[1] = 2 * xy - 2 * zw;
  r[2] = 2 * xz + 2 * yw;
  r[3] = 2 * xy + 2 * zw;
  r[4] = 1 - 2 * x2 - 2 * z2;
  r[5] = 2 * yz - 2 * xw;
  r[6] = 2 * xz - 2 * yw;
  r[7] = 2 * yz + 2 * xw;
  r[8] = 1 - 2 * x2 - 2 * y2;
}

void populateFromRotation3x3(GLfloat* m, const GLfloat r[9]) {
  m[0] = r[0], m[1] = r[1], m[2] = r[2], m[3] = 0;
  m[4] = r[3], m[5] = r[4], m[6] = r[5], m[7] = 0;
  m[8] = r[6], m[9] = r[7], m[10] = r[8], m[11] = 0;
  m[12] = 0, m[13] = 0, m[14] = 0, m[15] = 1;
}

// m = m * R, R a column-major 3 x 3 rotation; the fourth column is untouched.
void multiplyByRotation3x3(GLfloat* m, const GLfloat r[9]) {
  GLfloat c[12];
  for (int k = 0; k < 3; ++k) {
    for (int j = 0; j < 4; ++j) {
      c[4 * k + j] = m[j] * r[3 * k] + m[4 + j] * r[3 * k + 1] + m[8 + j] * r[3 * k + 2];
    }
  }
  std::memcpy(m, c, sizeof c);
}

// Mixes two columns a, b into (a*c + b*s, b*c - a*s): one axis rotation.
void rotateColumns(GLfloat* m, int a, int b, GLfloat s, GLfloat c) {
  for (int j = 0; j < 4; ++j) {
    GLfloat ca = m[4 * a + j], cb = m[4 * b + j];
    m[4 * a + j] = ca * c + cb * s;
    m[4 * b + j] = cb * c - ca * s;
  }
}

// Inverse of the upper 3 x 3 by cofactors, translation carried along; for
// matrices whose bottom row is already (0, 0, 0, 1).
bool invertAffine3x3(GLfloat* m) {
  GLfloat c00 = m[5] * m[10] - m[6] * m[9];
  GLfloat c01 = m[6] * m[8] - m[4] * m[10];
  GLfloat c02 = m[4] * m[9] - m[5] * m[8];
  GLfloat det = m[0] * c00 + m[1] * c01 + m[2] * c02;
  if (det == 0.0f || !std::isfinite(det)) return false;
  GLfloat d = 1.0f / det;
  GLfloat r[9] = {c00 * d, (m[2] * m[9] - m[1] * m[10]) * d, (m[1] * m[6] - m[2] * m[5]) * d,
                  c01 * d, (m[0] * m[10] - m[2] * m[8]) * d, (m[2] * m[4] - m[0] * m[6]) * d,
                  c02 * d, (m[1] * m[8] - m[0] * m[9]) * d,  (m[0] * m[5] - m[1] * m[4]) * d};
  GLfloat tx = m[12], ty = m[13], tz = m[14];
  populateFromRotation3x3(m, r);
  m[12] = -(r[0] * tx + r[3] * ty + r[6] * tz);
  m[13] = -(r[1] * tx + r[4] * ty + r[7] * tz);
  m[14] = -(r[2] * tx + r[5] * ty + r[8] * tz);
  return true;
}

// T * R * S: the rotation's columns scaled, the translation in the last column.
void populateFromTRS(GLfloat* m, CC3Vec3 translation, CC3Vec3 rotation, CC3Vec3 scale) {
  GLfloat r[9];
  rotationYXZ(rotation, r);
  for (int k = 0; k < 3; ++k) {
    GLfloat factor = k == 0 ? scale.x : (k == 1 ? scale.y : scale.z);
    m[4 * k] = r[3 * k] * factor;
    m[4 * k + 1] = r[3 * k + 1] * factor;
    m[4 * k + 2] = r[3 * k + 2] * factor;
    m[4 * k + 3] = 0.0f;
  }
  m[12] = translation.x, m[13] = translation.y, m[14] = translation.z, m[15] = 1.0f;
}

}  // namespace

// ---- construction ----

Ptr<CC3GLMatrix> CC3GLMatrix::matrix() {
  auto m = makeObject<CC3GLArrayMatrix>();
  m->init();
  return m;
}

Ptr<CC3GLMatrix> CC3GLMatrix::identity() {
  auto m = makeObject<CC3GLArrayMatrix>();
  m->initIdentity();
  return m;
}

Ptr<CC3GLMatrix> CC3GLMatrix::matrixFromGLMatrix(const GLfloat* aGLMatrix) {
  auto m = makeObject<CC3GLArrayMatrix>();
  if (!m->initFromGLMatrix(aGLMatrix)) return nullptr;
  return m;
}

Ptr<CC3GLMatrix> CC3GLMatrix::matrixOnGLMatrix(GLfloat* aGLMatrix) {
  auto m = makeObject<CC3GLPointerMatrix>();
  if (!m->initOnGLMatrix(aGLMatrix)) return nullptr;
  return m;
}

Ptr<CC3GLMatrix> CC3GLMatrix::matrixWithElements(std::initializer_list<GLfloat> elements) {
  auto m = makeObject<CC3GLArrayMatrix>();
  if (!m->initWithElements(elements)) return nullptr;
  return m;
}

bool CC3GLMatrix::init() {
  populateZero();
  return true;
}

bool CC3GLMatrix::initIdentity() {
  populateIdentity();
  return true;
}

bool CC3GLMatrix::initFromGLMatrix(const GLfloat* aGLMatrix) {
  if (!aGLMatrix) return false;
  populateFromGLMatrix(aGLMatrix);
  return true;
}

bool CC3GLMatrix::initWithElements(std::initializer_list<GLfloat> elements) {
  CCAssert(elements.size() == 16, "A matrix needs exactly 16 elements");
  populateFromGLMatrix(elements.begin());
  return true;
}

Ptr<CC3GLMatrix> CC3GLMatrix::copy() const {
  auto m = makeObject<CC3GLArrayMatrix>();
  m->populateFrom(this);
  return m;
}

std::string CC3GLMatrix::description() const {
  return description(glMatrix());
}

std::string CC3GLMatrix::description(const GLfloat* m) {
  char buffer[64];
  std::string text;
  auto add = [&](const char* fmt, GLfloat value) {
    std::snprintf(buffer, sizeof buffer, fmt, double(value));
    text += buffer;
  };
  add("\n\t[%.3f, ", m[0]);
  add("%.3f, ", m[4]);
  add("%.3f, ", m[8]);
  for (int row = 0; row < 3; ++row) {
    add("%.3f,\n\t ", m[12 + row]);
    add("%.3f, ", m[row + 1]);
    add("%.3f, ", m[row + 5]);
    add("%.3f, ", m[row + 9]);
  }
  add("%.3f]", m[15]);
  return text;
}

// ---- population ----

void CC3GLMatrix::populateFrom(const CC3GLMatrix* other) {
  if (!other || other == this) return;
  copyMatrix(other->glMatrix(), glMatrix());
  isIdentity_ = other->isIdentity_;
}

void CC3GLMatrix::populateFromGLMatrix(const GLfloat* aGLMatrix) {
  copyMatrix(aGLMatrix, glMatrix());
  clearIdentity();
}

void CC3GLMatrix::populateZero() {
  populateZero(glMatrix());
  clearIdentity();
}

void CC3GLMatrix::populateIdentity() {
  if (isIdentity_) return;
  populateIdentity(glMatrix());
  isIdentity_ = true;
}

void CC3GLMatrix::populateFromTranslation(CC3Vec3 translation) {
  if (translation == kCC3Vec3Zero) return populateIdentity();
  populateFromTranslation(glMatrix(), translation);
  clearIdentity();
}

void CC3GLMatrix::populateFromScale(CC3Vec3 scale) {
  if (scale == kCC3Vec3Unit) return populateIdentity();
  populateFromScale(glMatrix(), scale);
  clearIdentity();
}

void CC3GLMatrix::populateFromRotation(CC3Vec3 rotation) {
  if (rotation == kCC3Vec3Zero) return populateIdentity();
  populateFromRotation(glMatrix(), rotation);
  clearIdentity();
}

void CC3GLMatrix::populateFromQuaternion(CC3Quaternion quaternion) {
  if (quaternion == kCC3QuaternionIdentity) return populateIdentity();
  populateFromQuaternion(glMatrix(), quaternion);
  clearIdentity();
}

void CC3GLMatrix::populateToPointTowards(CC3Vec3 forward, CC3Vec3 up) {
  populateToPointTowards(glMatrix(), forward, up);
  clearIdentity();
}

void CC3GLMatrix::populateToLookAt(CC3Vec3 target, CC3Vec3 eye, CC3Vec3 up) {
  populateToLookAt(glMatrix(), target, eye, up);
  clearIdentity();
}

void CC3GLMatrix::populateFromFrustumLeft(GLfloat left, GLfloat right, GLfloat bottom, GLfloat top,
                                          GLfloat near, GLfloat far) {
  populateFromFrustumLeft(glMatrix(), left, right, bottom, top, near, far);
  clearIdentity();
}

// ---- accumulation ----

void CC3GLMatrix::translateBy(CC3Vec3 translation) {
  if (translation == kCC3Vec3Zero) return;
  if (isIdentity_) {
    populateFromTranslation(glMatrix(), translation);
  } else {
    translateBy(glMatrix(), translation);
  }
  clearIdentity();
}

void CC3GLMatrix::translateByX(GLfloat distance) {
  translateBy(cc3v(distance, 0, 0));
}
void CC3GLMatrix::translateByY(GLfloat distance) {
  translateBy(cc3v(0, distance, 0));
}
void CC3GLMatrix::translateByZ(GLfloat distance) {
  translateBy(cc3v(0, 0, distance));
}

void CC3GLMatrix::rotateBy(CC3Vec3 rotation) {
  if (rotation == kCC3Vec3Zero) return;
  if (isIdentity_) {
    populateFromRotation(glMatrix(), rotation);
  } else {
    rotateBy(glMatrix(), rotation);
  }
  clearIdentity();
}

void CC3GLMatrix::rotateByX(GLfloat degrees) {
  if (degrees == 0.0f) return;
  rotateByX(glMatrix(), degrees);
  clearIdentity();
}

void CC3GLMatrix::rotateByY(GLfloat degrees) {
  if (degrees == 0.0f) return;
  rotateByY(glMatrix(), degrees);
  clearIdentity();
}

void CC3GLMatrix::rotateByZ(GLfloat degrees) {
  if (degrees == 0.0f) return;
  rotateByZ(glMatrix(), degrees);
  clearIdentity();
}

void CC3GLMatrix::rotateByQuaternion(CC3Quaternion quaternion) {
  if (quaternion == kCC3QuaternionIdentity) return;
  rotateByQuaternion(glMatrix(), quaternion);
  clearIdentity();
}

void CC3GLMatrix::scaleBy(CC3Vec3 scale) {
  if (scale == kCC3Vec3Unit) return;
  scaleBy(glMatrix(), scale);
  clearIdentity();
}

void CC3GLMatrix::scaleByX(GLfloat factor) {
  scaleBy(cc3v(factor, 1, 1));
}
void CC3GLMatrix::scaleByY(GLfloat factor) {
  scaleBy(cc3v(1, factor, 1));
}
void CC3GLMatrix::scaleByZ(GLfloat factor) {
  scaleBy(cc3v(1, 1, factor));
}
void CC3GLMatrix::scaleUniformlyBy(GLfloat factor) {
  scaleBy(cc3v(factor, factor, factor));
}

void CC3GLMatrix::translateBy(CC3Vec3 translation, CC3Vec3 rotation, CC3Vec3 scale) {
  if (translation == kCC3Vec3Zero && rotation == kCC3Vec3Zero && scale == kCC3Vec3Unit) return;
  if (isIdentity_) {
    populateFromTRS(glMatrix(), translation, rotation, scale);
  } else {
    translateBy(glMatrix(), translation, rotation, scale);
  }
  clearIdentity();
}

void CC3GLMatrix::multiplyByMatrix(const CC3GLMatrix* other) {
  if (!other || other->isIdentity_) return;
  if (isIdentity_) return populateFrom(other);
  multiplyByMatrix(glMatrix(), other->glMatrix());
  clearIdentity();
}

// ---- inversion ----

void CC3GLMatrix::transpose() {
  if (isIdentity_) return;
  transpose(glMatrix());
}

bool CC3GLMatrix::invert() {
  if (isIdentity_) return true;
  return invert(glMatrix());
}

bool CC3GLMatrix::invertAffine() {
  if (isIdentity_) return true;
  return invertAffine(glMatrix());
}

void CC3GLMatrix::invertRigid() {
  if (isIdentity_) return;
  invertRigid(glMatrix());
}

// ---- transforming and extraction ----

CC3Vec3 CC3GLMatrix::transformLocation(CC3Vec3 location) const {
  if (isIdentity_) return location;
  return transformLocation(glMatrix(), location);
}

CC3Vec3 CC3GLMatrix::transformDirection(CC3Vec3 direction) const {
  return transformDirection(glMatrix(), direction);
}

CC3Vec4 CC3GLMatrix::transformHomogeneousVector(CC3Vec4 vector) const {
  if (isIdentity_) return vector;
  return transformHomogeneousVector(glMatrix(), vector);
}

CC3Vec3 CC3GLMatrix::extractRotation() const {
  return extractRotation(glMatrix());
}
CC3Quaternion CC3GLMatrix::extractQuaternion() const {
  return extractQuaternion(glMatrix());
}

CC3Vec3 CC3GLMatrix::extractForwardDirection() const {
  const GLfloat* m = glMatrix();
  return {-m[8], -m[9], -m[10]};
}

CC3Vec3 CC3GLMatrix::extractUpDirection() const {
  const GLfloat* m = glMatrix();
  return {m[4], m[5], m[6]};
}

CC3Vec3 CC3GLMatrix::extractRightDirection() const {
  const GLfloat* m = glMatrix();
  return {m[0], m[1], m[2]};
}

// ---- class side ----

void CC3GLMatrix::copyMatrix(const GLfloat* source, GLfloat* destination) {
  if (source != destination) std::memmove(destination, source, 16 * sizeof(GLfloat));
}

void CC3GLMatrix::populateZero(GLfloat* m) {
  std::memset(m, 0, 16 * sizeof(GLfloat));
}

void CC3GLMatrix::populateIdentity(GLfloat* m) {
  std::memcpy(m, kIdentity, sizeof kIdentity);
}

void CC3GLMatrix::populateFromTranslation(GLfloat* m, CC3Vec3 translation) {
  populateIdentity(m);
  m[12] = translation.x;
  m[13] = translation.y;
  m[14] = translation.z;
}

void CC3GLMatrix::populateFromScale(GLfloat* m, CC3Vec3 scale) {
  populateIdentity(m);
  m[0] = scale.x;
  m[5] = scale.y;
  m[10] = scale.z;
}

void CC3GLMatrix::populateFromRotation(GLfloat* m, CC3Vec3 rotation) {
  GLfloat r[9];
  rotationYXZ(rotation, r);
  populateFromRotation3x3(m, r);
}

void CC3GLMatrix::populateFromRotationZYX(GLfloat* m, CC3Vec3 rotation) {
  GLfloat r[9];
  rotationZYX(rotation, r);
  populateFromRotation3x3(m, r);
}

void CC3GLMatrix::populateFromQuaternion(GLfloat* m, CC3Quaternion quaternion) {
  GLfloat r[9];
  rotationOfQuaternion(quaternion, r);
  populateFromRotation3x3(m, r);
}

void CC3GLMatrix::populateToPointTowards(GLfloat* m, CC3Vec3 forward, CC3Vec3 up) {
  CC3Vec3 f = CC3Vec3Normalize(forward);
  CC3Vec3 r = CC3Vec3Normalize(CC3Vec3Cross(f, up));
  CC3Vec3 u = CC3Vec3Cross(r, f);
  GLfloat rotation[9] = {r.x, r.y, r.z, u.x, u.y, u.z, -f.x, -f.y, -f.z};
  populateFromRotation3x3(m, rotation);
}

void CC3GLMatrix::populateToLookAt(GLfloat* m, CC3Vec3 target, CC3Vec3 eye, CC3Vec3 up) {
  populateToPointTowards(m, CC3Vec3Difference(target, eye), up);
  transpose(m);
  translateBy(m, CC3Vec3Negate(eye));
}

void CC3GLMatrix::populateFromFrustumLeft(GLfloat* m, GLfloat left, GLfloat right, GLfloat bottom,
                                          GLfloat top, GLfloat near, GLfloat far) {
  double twoNear = 2.0 * double(near);
  populateZero(m);
  m[0] = GLfloat(twoNear / double(right - left));
  m[5] = GLfloat(twoNear / double(top - bottom));
  m[8] = (right + left) / (right - left);
  m[9] = (top + bottom) / (top - bottom);
  m[10] = -(far + near) / (far - near);
  m[11] = -1.0f;
  m[14] = GLfloat(-(twoNear * double(far)) / double(far - near));
}

void CC3GLMatrix::translateBy(GLfloat* m, CC3Vec3 t) {
  for (int j = 0; j < 4; ++j) m[12 + j] += m[j] * t.x + m[4 + j] * t.y + m[8 + j] * t.z;
}

void CC3GLMatrix::rotateBy(GLfloat* m, CC3Vec3 rotation) {
  GLfloat r[9];
  rotationYXZ(rotation, r);
  multiplyByRotation3x3(m, r);
}

void CC3GLMatrix::rotateZYX(GLfloat* m, CC3Vec3 rotation) {
  GLfloat r[9];
  rotationZYX(rotation, r);
  multiplyByRotation3x3(m, r);
}

// About x: the y column turns towards z.
void CC3GLMatrix::rotateByX(GLfloat* m, GLfloat degrees) {
  auto [s, c] = sinCosDegrees(degrees);
  rotateColumns(m, 1, 2, s, c);
}

// About y: the z column turns towards x.
void CC3GLMatrix::rotateByY(GLfloat* m, GLfloat degrees) {
  auto [s, c] = sinCosDegrees(degrees);
  rotateColumns(m, 2, 0, s, c);
}

// About z: the x column turns towards y.
void CC3GLMatrix::rotateByZ(GLfloat* m, GLfloat degrees) {
  auto [s, c] = sinCosDegrees(degrees);
  rotateColumns(m, 0, 1, s, c);
}

void CC3GLMatrix::rotateByQuaternion(GLfloat* m, CC3Quaternion quaternion) {
  GLfloat r[9];
  rotationOfQuaternion(quaternion, r);
  multiplyByRotation3x3(m, r);
}

void CC3GLMatrix::scaleBy(GLfloat* m, CC3Vec3 s) {
  for (int j = 0; j < 4; ++j) {
    m[j] *= s.x;
    m[4 + j] *= s.y;
    m[8 + j] *= s.z;
  }
}

void CC3GLMatrix::translateBy(GLfloat* m, CC3Vec3 translation, CC3Vec3 rotation, CC3Vec3 scale) {
  GLfloat trs[16];
  populateFromTRS(trs, translation, rotation, scale);
  multiplyByMatrix(m, trs);
}

void CC3GLMatrix::multiplyByMatrix(GLfloat* m, const GLfloat* other) {
  GLfloat result[16];
  for (int i = 0; i < 4; ++i) {
    const GLfloat* o = other + 4 * i;
    for (int j = 0; j < 4; ++j) {
      result[4 * i + j] = m[j] * o[0] + m[4 + j] * o[1] + m[8 + j] * o[2] + m[12 + j] * o[3];
    }
  }
  std::memcpy(m, result, sizeof result);
}

void CC3GLMatrix::transpose(GLfloat* m) {
  std::swap(m[1], m[4]);
  std::swap(m[2], m[8]);
  std::swap(m[3], m[12]);
  std::swap(m[6], m[9]);
  std::swap(m[7], m[13]);
  std::swap(m[11], m[14]);
}

// Gauss-Jordan elimination with full pivoting, worked on a copy so that a
// singular matrix is left as it was.
bool CC3GLMatrix::invert(GLfloat* m) {
  GLfloat a[4][4];  // [row][column]
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) a[r][c] = m[4 * c + r];
  }
  int pivotRow[4], pivotColumn[4];
  bool used[4] = {false, false, false, false};
  for (int i = 0; i < 4; ++i) {
    GLfloat big = 0.0f;
    int row = -1, column = -1;
    for (int j = 0; j < 4; ++j) {
      if (used[j]) continue;
      for (int k = 0; k < 4; ++k) {
        if (!used[k] && std::fabs(a[j][k]) >= big) {
          big = std::fabs(a[j][k]);
          row = j;
          column = k;
        }
      }
    }
    if (row < 0 || big == 0.0f) return false;
    used[column] = true;
    if (row != column) {
      for (int l = 0; l < 4; ++l) std::swap(a[row][l], a[column][l]);
    }
    pivotRow[i] = row;
    pivotColumn[i] = column;
    GLfloat inverse = 1.0f / a[column][column];
    a[column][column] = 1.0f;
    for (int l = 0; l < 4; ++l) a[column][l] *= inverse;
    for (int r = 0; r < 4; ++r) {
      if (r == column) continue;
      GLfloat factor = a[r][column];
      a[r][column] = 0.0f;
      for (int l = 0; l < 4; ++l) a[r][l] -= a[column][l] * factor;
    }
  }
  for (int l = 3; l >= 0; --l) {
    if (pivotRow[l] == pivotColumn[l]) continue;
    for (int r = 0; r < 4; ++r) std::swap(a[r][pivotRow[l]], a[r][pivotColumn[l]]);
  }
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) m[4 * c + r] = a[r][c];
  }
  return true;
}

bool CC3GLMatrix::invertAffine(GLfloat* m) {
  // With the bottom row already (0, 0, 0, 1) the same inverse comes from the
  // 3 x 3 part alone, at a fraction of the cost of a 4 x 4 elimination.
  if (m[3] == 0.0f && m[7] == 0.0f && m[11] == 0.0f && m[15] == 1.0f) {
    return invertAffine3x3(m);
  }
  if (!invert(m)) return false;
  m[3] = m[7] = m[11] = 0.0f;
  m[15] = 1.0f;
  return true;
}

void CC3GLMatrix::invertRigid(GLfloat* m) {
  // Rotation rows become columns; the translation is turned back by them.
  const GLfloat r0 = m[0], r1 = m[1], r2 = m[2], r4 = m[4], r5 = m[5], r6 = m[6];
  const GLfloat r8 = m[8], r9 = m[9], r10 = m[10];
  const GLfloat tx = m[12], ty = m[13], tz = m[14];
  m[1] = r4, m[2] = r8, m[4] = r1, m[6] = r9, m[8] = r2, m[9] = r6;
  m[12] = -(r0 * tx + r1 * ty + r2 * tz);
  m[13] = -(r4 * tx + r5 * ty + r6 * tz);
  m[14] = -(r8 * tx + r9 * ty + r10 * tz);
}

CC3Vec3 CC3GLMatrix::transformLocation(const GLfloat* m, CC3Vec3 v) {
  return CC3Vec3FromHomogenizedCC3Vec4(transformHomogeneousVector(m, CC3Vec4FromCC3Vec3(v, 1)));
}

CC3Vec3 CC3GLMatrix::transformDirection(const GLfloat* m, CC3Vec3 v) {
  return CC3Vec3FromTruncatedCC3Vec4(transformHomogeneousVector(m, CC3Vec4FromCC3Vec3(v, 0)));
}

CC3Vec4 CC3GLMatrix::transformHomogeneousVector(const GLfloat* m, CC3Vec4 v) {
  return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w,
          m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
          m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
          m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

CC3Vec3 CC3GLMatrix::extractRotation(const GLfloat* m) {
  GLfloat s = -m[9];
  if (s >= 1.0f) return {90.0f, RadiansToDegrees(-std::atan2(-m[4], m[0])), 0.0f};
  if (s <= -1.0f) return {-90.0f, RadiansToDegrees(std::atan2(-m[4], m[0])), 0.0f};
  return {RadiansToDegrees(std::asin(s)), RadiansToDegrees(std::atan2(m[8], m[10])),
          RadiansToDegrees(std::atan2(m[1], m[5]))};
}

CC3Vec3 CC3GLMatrix::extractRotationZYXFromMatrix(const GLfloat* m) {
  GLfloat s = -m[2];
  if (s >= 1.0f) return {RadiansToDegrees(std::atan2(m[4], m[5])), 90.0f, 0.0f};
  if (s <= -1.0f) return {RadiansToDegrees(std::atan2(-m[4], m[5])), -90.0f, 0.0f};
  return {RadiansToDegrees(std::atan2(m[6], m[10])), RadiansToDegrees(std::asin(s)),
          RadiansToDegrees(std::atan2(m[1], m[0]))};
}

CC3Quaternion CC3GLMatrix::extractQuaternion(const GLfloat* m) {
  GLfloat trace = m[0] + m[5] + m[10];
  if (trace > 0.0f) {
    GLfloat r = std::sqrt(trace + 1.0f), f = 0.5f / r;
    return {f * (m[9] - m[6]), f * (m[2] - m[8]), f * (m[4] - m[1]), r / 2};
  }
  // Otherwise the branch of the largest diagonal element: its root is then
  // at least 1, where another branch's may be small enough to turn the
  // rounding of the other elements into a wrong rotation. Only a matrix
  // holding NaNs has no usable root, and gives all zero.
  bool xLargest = m[0] >= m[5] && m[0] >= m[10];
  bool yLargest = !xLargest && m[5] > m[10];
  GLfloat r = std::sqrt(xLargest   ? 1.0f + m[0] - m[5] - m[10]
                        : yLargest ? 1.0f + m[5] - m[0] - m[10]
                                   : 1.0f + m[10] - m[0] - m[5]);
  if (!(r > 0.0001f)) return kCC3Vec4Zero;
  GLfloat f = 0.5f / r;
  if (xLargest) return {r / 2, f * (m[1] + m[4]), f * (m[2] + m[8]), f * (m[9] - m[6])};
  if (yLargest) return {f * (m[1] + m[4]), r / 2, f * (m[6] + m[9]), f * (m[2] - m[8])};
  return {f * (m[2] + m[8]), f * (m[6] + m[9]), r / 2, f * (m[4] - m[1])};
}
