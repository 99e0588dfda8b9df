#pragma once
// glm, in double precision, is the reference the engine's float maths is
// checked against. Matrices are laid out alike (column-major, m[column][row])
// and glm's a * b is the engine's post-multiplication of a by b.
#define GLM_ENABLE_EXPERIMENTAL
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtx/euler_angles.hpp>
#include <numbers>
#include <random>
#include <string>
#include <utility>

#include "CC3Foundation.h"

namespace reference {

using Mat = glm::dmat4;
using Vec3 = glm::dvec3;
using Vec4 = glm::dvec4;
using Quat = glm::dquat;

inline double radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

inline Mat toGlm(const GLfloat* m) {
  Mat r;
  for (int c = 0; c < 4; ++c) {
    for (int j = 0; j < 4; ++j) r[c][j] = m[4 * c + j];
  }
  return r;
}
inline void fromGlm(const Mat& r, GLfloat* m) {
  for (int c = 0; c < 4; ++c) {
    for (int j = 0; j < 4; ++j) m[4 * c + j] = GLfloat(r[c][j]);
  }
}
inline Vec3 toGlm(CC3Vec3 v) {
  return {v.x, v.y, v.z};
}
inline Vec4 toGlm(CC3Vec4 v) {
  return {v.x, v.y, v.z, v.w};
}
inline CC3Vec3 fromGlm(Vec3 v) {
  return {GLfloat(v.x), GLfloat(v.y), GLfloat(v.z)};
}
// The engine keeps (x, y, z, w); glm's constructor takes w first.
inline Quat quatOf(CC3Quaternion q) {
  return Quat(q.w, q.x, q.y, q.z);
}
inline CC3Quaternion fromGlm(const Quat& q) {
  return {GLfloat(q.x), GLfloat(q.y), GLfloat(q.z), GLfloat(q.w)};
}

inline double maxComponent(Vec3 v) {
  return std::max({v.x, v.y, v.z});
}
inline Mat absolute(const Mat& m) {
  Mat r;
  for (int c = 0; c < 4; ++c) r[c] = glm::abs(m[c]);
  return r;
}
inline double maxAbs(const Mat& m) {
  double big = 0;
  for (int c = 0; c < 4; ++c) {
    for (int j = 0; j < 4; ++j) big = std::max(big, std::fabs(m[c][j]));
  }
  return big;
}
inline double maxDifference(const GLfloat* m, const Mat& r) {
  double worst = 0;
  for (int c = 0; c < 4; ++c) {
    for (int j = 0; j < 4; ++j) worst = std::max(worst, std::fabs(m[4 * c + j] - r[c][j]));
  }
  return worst;
}
// The error of a float product a * b relative to the largest sum of
// magnitudes that a result element adds up: the scale its rounding, and the
// rounding of the operands, is measured on.
inline double productError(const GLfloat* result, const Mat& a, const Mat& b) {
  return maxDifference(result, a * b) / maxAbs(absolute(a) * absolute(b));
}
// Largest component difference, q and -q being the same rotation.
inline double rotationDifference(CC3Quaternion q, const Quat& r) {
  Vec4 a = toGlm(q), b(r.x, r.y, r.z, r.w);
  Vec4 plus = glm::abs(a - b), minus = glm::abs(a + b);
  return std::min(std::max({plus.x, plus.y, plus.z, plus.w}),
                  std::max({minus.x, minus.y, minus.z, minus.w}));
}
// Difference of two angles in degrees, across the wrap at 180.
inline double angleDifference(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360.0 - d);
}

// Fixed-seed inputs: the same on every run and every machine (mt19937's
// output is fixed by the standard; the conversions here are our own).
class Inputs {
 public:
  explicit Inputs(std::uint32_t seed) : bits_(seed) {}

  double unit() { return double(bits_()) / 4294967296.0; }  // [0, 1)
  float between(double low, double high) { return GLfloat(low + (high - low) * unit()); }
  CC3Vec3 vector(double low, double high) {
    return {between(low, high), between(low, high), between(low, high)};
  }
  // Uniform over the sphere of directions, in double.
  Vec3 direction() {
    double z = 2 * unit() - 1, angle = 2 * std::numbers::pi * unit();
    double r = std::sqrt(1 - z * z);
    return {r * std::cos(angle), r * std::sin(angle), z};
  }
  // Uniform over rotations (Shoemake's method), in double.
  Quat rotation() {
    double u = unit(), a = 2 * std::numbers::pi * unit(), b = 2 * std::numbers::pi * unit();
    double p = std::sqrt(1 - u), q = std::sqrt(u);
    return Quat(q * std::cos(b), p * std::sin(a), p * std::cos(a), q * std::sin(b));
  }
  void matrix(GLfloat* m, double low, double high) {
    for (int i = 0; i < 16; ++i) m[i] = between(low, high);
  }

 private:
  std::mt19937 bits_;
};

// The worst error of one operation over its inputs, held against the
// operation's tolerance; the input it came from is described only when it
// becomes the worst, and the figures are printed for the record.
class WorstError {
 public:
  WorstError(std::string operation, double tolerance)
      : operation_(std::move(operation)), tolerance_(tolerance) {}
  ~WorstError() {
    std::printf("[ maths    ] %-34s worst %.3g (tolerance %.3g) over %d inputs, %d beyond\n",
                operation_.c_str(), worst_, tolerance_, count_, beyond_);
    EXPECT_LE(worst_, tolerance_) << operation_ << ": " << beyond_ << " of " << count_
                                  << " inputs beyond; the worst at " << worstInput_;
  }

  template <typename Describe>
  void record(double error, Describe describe) {
    ++count_;
    // NaN counts as beyond every tolerance.
    if (!(error <= tolerance_)) ++beyond_;
    if (!(error <= worst_)) {
      worst_ = std::isnan(error) ? INFINITY : error;
      worstInput_ = describe();
    }
  }

 private:
  std::string operation_;
  double tolerance_;
  double worst_ = 0;
  int count_ = 0;
  int beyond_ = 0;
  std::string worstInput_;
};

inline std::string text(CC3Vec3 v) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "(%.9g, %.9g, %.9g)", double(v.x), double(v.y), double(v.z));
  return buffer;
}
inline std::string text(CC3Vec4 v) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "(%.9g, %.9g, %.9g, %.9g)", double(v.x), double(v.y),
                double(v.z), double(v.w));
  return buffer;
}
inline std::string text(const GLfloat* m) {
  std::string s = "[";
  for (int i = 0; i < 16; ++i) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, i ? ", %.9g" : "%.9g", double(m[i]));
    s += buffer;
  }
  return s + "]";
}

}  // namespace reference
