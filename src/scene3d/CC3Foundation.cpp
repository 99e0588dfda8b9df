#include "CC3Foundation.h"

#include <algorithm>
#include <cstdio>

#include "Random.h"

CC3Vec3 CC3Vec3Lerp(CC3Vec3 a, CC3Vec3 b, float t) {
  // The end points are returned exactly so that an animation lands on its target.
  if (t == 0.0f) return a;
  if (t == 1.0f) return b;
  return CC3Vec3Add(a, CC3Vec3ScaleUniform(CC3Vec3Difference(b, a), t));
}

float CC3SemiCyclicAngle(float angle) {
  if (angle > 180.0f) return angle - 360.0f;
  if (angle < -180.0f) return angle + 360.0f;
  return angle;
}

CC3Vec3 CC3Vec3RotationalDifference(CC3Vec3 a, CC3Vec3 b) {
  CC3Vec3 d = CC3Vec3Difference(a, b);
  return {CC3SemiCyclicAngle(d.x), CC3SemiCyclicAngle(d.y), CC3SemiCyclicAngle(d.z)};
}

CC3Quaternion CC3QuaternionSlerp(CC3Quaternion q1, CC3Quaternion q2, float t) {
  if (t == 0.0f) return q1;
  if (t == 1.0f) return q2;

  float lengths = CC3Vec4Length(q1) * CC3Vec4Length(q2);
  float cosTheta = lengths == 0.0f ? 1.0f : CC3Vec4Dot(q1, q2) / lengths;
  // Take the short way round: q and -q are the same rotation.
  if (cosTheta < 0.0f) {
    q2 = CC3Vec4Negate(q2);
    cosTheta = -cosTheta;
  }
  float w1, w2;
  if (1.0f - cosTheta < 0.01f) {
    // Nearly parallel: sin(theta) would be too small to divide by.
    w1 = 1.0f - t;
    w2 = t;
  } else {
    float theta = std::acos(std::min(cosTheta, 1.0f));
    float sinTheta = std::sin(theta);
    w1 = std::sin((1.0f - t) * theta) / sinTheta;
    w2 = std::sin(t * theta) / sinTheta;
  }
  return CC3Vec4Normalize(CC3Vec4Add(CC3Vec4ScaleUniform(q1, w1), CC3Vec4ScaleUniform(q2, w2)));
}

CC3Plane CC3PlaneNormalize(CC3Plane p) {
  float len = CC3Vec3Length(CC3PlaneNormal(p));
  if (len == 0.0f) return p;
  return CC3Vec4ScaleUniform(p, 1.0f / len);
}

CC3Plane CC3PlaneFromPoints(CC3Vec3 p1, CC3Vec3 p2, CC3Vec3 p3) {
  CC3Vec3 normal =
      CC3Vec3Normalize(CC3Vec3Cross(CC3Vec3Difference(p2, p1), CC3Vec3Difference(p3, p2)));
  return CC3Vec4FromCC3Vec3(normal, -CC3Vec3Dot(normal, p1));
}

CC3Vec4 CC3RayIntersectionWithPlane(CC3Ray ray, CC3Plane plane) {
  CC3Vec3 normal = CC3PlaneNormal(plane);
  float facing = CC3Vec3Dot(normal, ray.direction);
  if (facing == 0.0f) return kCC3Vec4Zero;
  float t = -(CC3Vec3Dot(normal, ray.startLocation) + plane.w) / facing;
  CC3Vec3 hit = CC3Vec3Add(ray.startLocation, CC3Vec3ScaleUniform(ray.direction, t));
  return CC3Vec4FromCC3Vec3(hit, t);
}

ccColor4F CCC4FBlend(ccColor4F start, ccColor4F end, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {start.r + (end.r - start.r) * t, start.g + (end.g - start.g) * t,
          start.b + (end.b - start.b) * t, start.a + (end.a - start.a) * t};
}

float CC3RandomFloatBetween(float min, float max) {
  // The generator yields 31 bits; dividing by 2^31 gives the same [0, 1) range
  // that a 32-bit value over 2^32 would.
  double r = static_cast<double>(Random::next()) / 2147483648.0;
  return min + (max - min) * static_cast<float>(r);
}

namespace {
template <class... Args>
std::string format(const char* fmt, Args... args) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, fmt, args...);
  return buffer;
}
}  // namespace

std::string NSStringFromCC3Vec3(CC3Vec3 v) {
  return format("(%.3f, %.3f, %.3f)", double(v.x), double(v.y), double(v.z));
}

std::string NSStringFromCC3Vec4(CC3Vec4 v) {
  return format("(%.3f, %.3f, %.3f, %.3f)", double(v.x), double(v.y), double(v.z), double(v.w));
}

std::string NSStringFromCC3Box(const CC3Box& b) {
  return "(Min: " + NSStringFromCC3Vec3(b.minimum) + ", Max: " + NSStringFromCC3Vec3(b.maximum) +
         ")";
}

std::string NSStringFromCCC4F(ccColor4F c) {
  return format("(%.2f, %.2f, %.2f, %.2f)", double(c.r), double(c.g), double(c.b), double(c.a));
}

std::string NSStringFromCC3Viewport(CC3Viewport v) {
  return format("(%i, %i, %i, %i)", v.x, v.y, v.w, v.h);
}
