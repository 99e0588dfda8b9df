#pragma once
#include <GLES/gl.h>

#include <cmath>
#include <string>

#include "ccTypes.h"

// Small value types of the 3D engine: plain float structs, copied by value.
// Angles at the interface are in degrees.

struct CC3Vec3 {
  GLfloat x = 0, y = 0, z = 0;
  bool operator==(const CC3Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
};

// Homogeneous location, quaternion (x, y, z imaginary, w real) or plane
// (a, b, c, d as x, y, z, w: points p with a*px + b*py + c*pz + d = 0).
struct CC3Vec4 {
  GLfloat x = 0, y = 0, z = 0, w = 0;
  bool operator==(const CC3Vec4& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
};
using CC3Quaternion = CC3Vec4;
using CC3Plane = CC3Vec4;

struct CC3Box {
  CC3Vec3 minimum;
  CC3Vec3 maximum;
  bool operator==(const CC3Box& o) const { return minimum == o.minimum && maximum == o.maximum; }
};

struct CC3Ray {
  CC3Vec3 startLocation;
  CC3Vec3 direction;
};

struct CC3Viewport {
  GLint x = 0, y = 0;
  GLsizei w = 0, h = 0;
  bool operator==(const CC3Viewport& o) const {
    return x == o.x && y == o.y && w == o.w && h == o.h;
  }
};

inline constexpr float kCC3DegToRad = 0.017453292f;
inline constexpr float kCC3RadToDeg = 57.29578f;
inline float DegreesToRadians(float d) {
  return d * kCC3DegToRad;
}
inline float RadiansToDegrees(float r) {
  return r * kCC3RadToDeg;
}

inline constexpr CC3Vec3 kCC3Vec3Zero{0, 0, 0};
inline constexpr CC3Vec3 kCC3Vec3Unit{1, 1, 1};
inline constexpr CC3Vec3 kCC3Vec3UnitXPositive{1, 0, 0};
inline constexpr CC3Vec3 kCC3Vec3UnitYPositive{0, 1, 0};
inline constexpr CC3Vec3 kCC3Vec3UnitZPositive{0, 0, 1};
inline constexpr CC3Vec3 kCC3Vec3UnitXNegative{-1, 0, 0};
inline constexpr CC3Vec3 kCC3Vec3UnitYNegative{0, -1, 0};
inline constexpr CC3Vec3 kCC3Vec3UnitZNegative{0, 0, -1};
inline constexpr CC3Vec4 kCC3Vec4Zero{0, 0, 0, 0};
inline constexpr CC3Quaternion kCC3QuaternionIdentity{0, 0, 0, 1};
inline constexpr CC3Box kCC3BoxZero{{0, 0, 0}, {0, 0, 0}};
inline constexpr CC3Viewport kCC3ViewportZero{0, 0, 0, 0};

// ---- makers and equality ----

inline CC3Vec3 cc3v(float x, float y, float z) {
  return {x, y, z};
}
inline CC3Vec3 CC3Vec3Make(float x, float y, float z) {
  return {x, y, z};
}
inline CC3Vec4 CC3Vec4Make(float x, float y, float z, float w) {
  return {x, y, z, w};
}
inline CC3Quaternion CC3QuaternionMake(float x, float y, float z, float w) {
  return {x, y, z, w};
}
inline CC3Plane CC3PlaneMake(float a, float b, float c, float d) {
  return {a, b, c, d};
}
inline CC3Box CC3BoxMake(float minX, float minY, float minZ, float maxX, float maxY, float maxZ) {
  return {{minX, minY, minZ}, {maxX, maxY, maxZ}};
}
inline CC3Box CC3BoxFromMinMax(CC3Vec3 minimum, CC3Vec3 maximum) {
  return {minimum, maximum};
}
inline CC3Viewport CC3ViewportMake(GLint x, GLint y, GLsizei w, GLsizei h) {
  return {x, y, w, h};
}

inline bool CC3Vec3sAreEqual(CC3Vec3 a, CC3Vec3 b) {
  return a == b;
}
inline bool CC3Vec4sAreEqual(CC3Vec4 a, CC3Vec4 b) {
  return a == b;
}
inline bool CC3BoxesAreEqual(const CC3Box& a, const CC3Box& b) {
  return a == b;
}
inline bool CC3ViewportsAreEqual(CC3Viewport a, CC3Viewport b) {
  return a == b;
}
inline bool CCC4FAreEqual(ccColor4F a, ccColor4F b) {
  return a == b;
}
inline bool CCC4BAreEqual(ccColor4B a, ccColor4B b) {
  return a == b;
}
inline bool CCC3BAreEqual(ccColor3B a, ccColor3B b) {
  return a == b;
}

// ---- 3-vectors ----

inline CC3Vec3 CC3Vec3Minimize(CC3Vec3 a, CC3Vec3 b) {
  return {std::fmin(a.x, b.x), std::fmin(a.y, b.y), std::fmin(a.z, b.z)};
}
inline CC3Vec3 CC3Vec3Maximize(CC3Vec3 a, CC3Vec3 b) {
  return {std::fmax(a.x, b.x), std::fmax(a.y, b.y), std::fmax(a.z, b.z)};
}
inline CC3Vec3 CC3Vec3Negate(CC3Vec3 v) {
  return {-v.x, -v.y, -v.z};
}
inline CC3Vec3 CC3Vec3Invert(CC3Vec3 v) {
  return {1.0f / v.x, 1.0f / v.y, 1.0f / v.z};
}
inline CC3Vec3 CC3Vec3Add(CC3Vec3 a, CC3Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline CC3Vec3 CC3Vec3Difference(CC3Vec3 a, CC3Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline CC3Vec3 CC3Vec3Scale(CC3Vec3 a, CC3Vec3 b) {
  return {a.x * b.x, a.y * b.y, a.z * b.z};
}
inline CC3Vec3 CC3Vec3ScaleUniform(CC3Vec3 v, float s) {
  return {v.x * s, v.y * s, v.z * s};
}
inline float CC3Vec3Dot(CC3Vec3 a, CC3Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline CC3Vec3 CC3Vec3Cross(CC3Vec3 a, CC3Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float CC3Vec3Length(CC3Vec3 v) {
  return std::sqrt(CC3Vec3Dot(v, v));
}
inline float CC3Vec3Distance(CC3Vec3 a, CC3Vec3 b) {
  return CC3Vec3Length(CC3Vec3Difference(a, b));
}
// A zero vector has no direction and is returned as it is, not as NaNs.
inline CC3Vec3 CC3Vec3Normalize(CC3Vec3 v) {
  float len = CC3Vec3Length(v);
  if (len == 0.0f) return v;
  return {v.x / len, v.y / len, v.z / len};
}
CC3Vec3 CC3Vec3Lerp(CC3Vec3 a, CC3Vec3 b, float t);
// Per-component difference of two angles, wrapped into [-180, 180].
CC3Vec3 CC3Vec3RotationalDifference(CC3Vec3 a, CC3Vec3 b);
float CC3SemiCyclicAngle(float angle);

// ---- 4-vectors, quaternions and planes ----

inline CC3Vec4 CC3Vec4FromCC3Vec3(CC3Vec3 v, float w) {
  return {v.x, v.y, v.z, w};
}
inline CC3Vec3 CC3Vec3FromTruncatedCC3Vec4(CC3Vec4 v) {
  return {v.x, v.y, v.z};
}
inline CC3Vec3 CC3Vec3FromHomogenizedCC3Vec4(CC3Vec4 v) {
  if (v.w == 0.0f) return {v.x, v.y, v.z};
  return {v.x / v.w, v.y / v.w, v.z / v.w};
}
inline CC3Vec4 CC3Vec4Negate(CC3Vec4 v) {
  return {-v.x, -v.y, -v.z, -v.w};
}
inline CC3Vec4 CC3Vec4Add(CC3Vec4 a, CC3Vec4 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
inline CC3Vec4 CC3Vec4Difference(CC3Vec4 a, CC3Vec4 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}
inline CC3Vec4 CC3Vec4ScaleUniform(CC3Vec4 v, float s) {
  return {v.x * s, v.y * s, v.z * s, v.w * s};
}
inline float CC3Vec4Dot(CC3Vec4 a, CC3Vec4 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}
inline float CC3Vec4Length(CC3Vec4 v) {
  return std::sqrt(CC3Vec4Dot(v, v));
}
inline CC3Vec4 CC3Vec4Normalize(CC3Vec4 v) {
  float len = CC3Vec4Length(v);
  if (len == 0.0f) return v;
  return CC3Vec4ScaleUniform(v, 1.0f / len);
}
CC3Quaternion CC3QuaternionSlerp(CC3Quaternion q1, CC3Quaternion q2, float t);

inline CC3Vec3 CC3PlaneNormal(CC3Plane p) {
  return {p.x, p.y, p.z};
}
CC3Plane CC3PlaneNormalize(CC3Plane p);
CC3Plane CC3PlaneFromPoints(CC3Vec3 p1, CC3Vec3 p2, CC3Vec3 p3);
inline float CC3DistanceFromNormalizedPlane(CC3Plane p, CC3Vec3 v) {
  return p.x * v.x + p.y * v.y + p.z * v.z + p.w;
}
// The point where the ray meets the plane, with the ray's parameter in w;
// all zero when the ray runs parallel to the plane.
CC3Vec4 CC3RayIntersectionWithPlane(CC3Ray ray, CC3Plane plane);

// ---- colours ----

inline GLfloat CCColorFloatFromByte(GLubyte b) {
  return b / 255.0f;
}
inline GLubyte CCColorByteFromFloat(GLfloat f) {
  return static_cast<GLubyte>(f * 255.0f);
}
inline ccColor4F CCC4FMake(float r, float g, float b, float a) {
  return {r, g, b, a};
}
inline ccColor4F CCC4FFromCCC4B(ccColor4B c) {
  return {CCColorFloatFromByte(c.r), CCColorFloatFromByte(c.g), CCColorFloatFromByte(c.b),
          CCColorFloatFromByte(c.a)};
}
inline ccColor4B CCC4BFromCCC4F(ccColor4F c) {
  return {CCColorByteFromFloat(c.r), CCColorByteFromFloat(c.g), CCColorByteFromFloat(c.b),
          CCColorByteFromFloat(c.a)};
}
ccColor4F CCC4FBlend(ccColor4F start, ccColor4F end, float t);

inline constexpr ccColor4F kCCC4FBlack{0, 0, 0, 1};
inline constexpr ccColor4F kCCC4FWhite{1, 1, 1, 1};
inline constexpr ccColor4F kCCC4FBlackTransparent{0, 0, 0, 0};

// ---- random numbers ----

// min + (max - min) * r, r uniform in [0, 1) from the book's seeded generator.
float CC3RandomFloatBetween(float min, float max);

// ---- string forms ----

std::string NSStringFromCC3Vec3(CC3Vec3 v);
std::string NSStringFromCC3Vec4(CC3Vec4 v);
inline std::string NSStringFromCC3Quaternion(CC3Quaternion q) {
  return NSStringFromCC3Vec4(q);
}
std::string NSStringFromCC3Box(const CC3Box& b);
std::string NSStringFromCCC4F(ccColor4F c);
std::string NSStringFromCC3Viewport(CC3Viewport v);
