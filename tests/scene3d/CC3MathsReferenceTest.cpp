// The engine's vector, quaternion and matrix maths against glm in double
// precision, over a few thousand fixed-seed inputs per operation. Each case
// states its error measure and tolerance; where the engine's convention
// differs from glm's, the case says how it is mapped.
#include <gtest/gtest.h>

#include "CC3Camera.h"
#include "CC3GLMatrix.h"
#include "CC3MathsReference.h"
#include "CC3NodeTestSupport.h"
#include "CC3Rotator.h"
#include "CC3ViewportManager.h"
#include "CC3World.h"

using namespace reference;

namespace {

constexpr int kInputs = 4000;
// One unit in the last place of a float near 1.
constexpr double kEps = 1.0 / (1 << 23);

// The engine's quaternion matrix is the transpose of glm's for the same
// quaternion (the engine's own convention, kept in both directions).
Mat engineRotationOf(const Quat& q) {
  return glm::transpose(glm::mat4_cast(q));
}
Quat engineQuaternionOf(const Mat& rotation) {
  return glm::quat_cast(glm::transpose(rotation));
}

// Euler angles in degrees, the engine's (x, y, z), applied as Ry * Rx * Rz.
Mat eulerYXZ(CC3Vec3 degrees) {
  return glm::eulerAngleYXZ(radians(degrees.y), radians(degrees.x), radians(degrees.z));
}

// A float matrix rounded from a double one, with its exact value kept.
struct Rounded {
  GLfloat m[16];
  Mat exact;
  explicit Rounded(const Mat& r) {
    fromGlm(r, m);
    exact = toGlm(m);
  }
};

// ||A||inf * ||A^-1||inf, in double.
double conditionNumber(const Mat& a) {
  auto rowNorm = [](const Mat& m) {
    double big = 0;
    for (int j = 0; j < 4; ++j) {
      big = std::max(
          big, std::fabs(m[0][j]) + std::fabs(m[1][j]) + std::fabs(m[2][j]) + std::fabs(m[3][j]));
    }
    return big;
  };
  return rowNorm(a) * rowNorm(glm::inverse(a));
}

// A matrix with elements in [-1, 1], shaped (some set to fixed values),
// whose condition number is at most 100: the inversions are measured where
// float can resolve them.
template <typename Shape>
void wellConditioned(Inputs& in, GLfloat* m, Shape shape) {
  do {
    in.matrix(m, -1, 1);
    shape(m);
  } while (conditionNumber(toGlm(m)) > 100);
}

}  // namespace

// ---- multiplication ----

// Error relative to the sum of magnitudes each element adds up (see
// productError): four products and three sums round to well within 2 ulps.
TEST(CC3MathsReferenceTest, MultiplicationIsTheColumnMajorProduct) {
  Inputs in(101);
  WorstError product("multiplyByMatrix", 2 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    GLfloat a[16], b[16], m[16];
    in.matrix(a, -10, 10);
    in.matrix(b, -10, 10);
    CC3GLMatrix::copyMatrix(a, m);
    CC3GLMatrix::multiplyByMatrix(m, b);
    product.record(productError(m, toGlm(a), toGlm(b)), [&] { return text(a) + " x " + text(b); });
  }
}

// ---- translation, rotation and scale, post-multiplied ----

// Each operation is checked as base * operation, the operation built by glm
// from the same float arguments, with the error measured as for products.
// Angles are converted with the engine's float degree constant and rounded
// to float radians, a relative error of about 2^-24 of the angle: up to
// 360 degrees that is within 4 ulps of the result for one angle, 8 for the
// three Euler angles.
TEST(CC3MathsReferenceTest, TranslateRotateAndScaleArePostMultiplied) {
  Inputs in(102);
  WorstError translate("translateBy", 2 * kEps);
  WorstError rotateX("rotateByX", 4 * kEps);
  WorstError rotateY("rotateByY", 4 * kEps);
  WorstError rotateZ("rotateByZ", 4 * kEps);
  WorstError rotateYXZ("rotateBy (Euler Y, X, Z)", 8 * kEps);
  WorstError scale("scaleBy", 2 * kEps);
  WorstError trs("translateBy:rotateBy:scaleBy:", 8 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    GLfloat base[16];
    in.matrix(base, -2, 2);
    Mat b = toGlm(base);
    CC3Vec3 t = in.vector(-100, 100), angles = in.vector(-360, 360), s = in.vector(-4, 4);
    GLfloat degrees = in.between(-360, 360);
    auto describe = [&] {
      return text(base) + " by t " + text(t) + " r " + text(angles) + " s " + text(s) + " angle " +
             std::to_string(degrees);
    };
    auto check = [&](WorstError& worst, const Mat& operation, auto apply) {
      GLfloat m[16];
      CC3GLMatrix::copyMatrix(base, m);
      apply(m);
      worst.record(productError(m, b, operation), describe);
    };
    Mat T = glm::translate(Mat(1), toGlm(t)), S = glm::scale(Mat(1), toGlm(s));
    Mat R = eulerYXZ(angles);
    auto about = [&](Vec3 axis) { return glm::rotate(Mat(1), radians(degrees), axis); };
    check(translate, T, [&](GLfloat* m) { CC3GLMatrix::translateBy(m, t); });
    check(rotateX, about({1, 0, 0}), [&](GLfloat* m) { CC3GLMatrix::rotateByX(m, degrees); });
    check(rotateY, about({0, 1, 0}), [&](GLfloat* m) { CC3GLMatrix::rotateByY(m, degrees); });
    check(rotateZ, about({0, 0, 1}), [&](GLfloat* m) { CC3GLMatrix::rotateByZ(m, degrees); });
    check(rotateYXZ, R, [&](GLfloat* m) { CC3GLMatrix::rotateBy(m, angles); });
    check(scale, S, [&](GLfloat* m) { CC3GLMatrix::scaleBy(m, s); });
    check(trs, T * R * S, [&](GLfloat* m) { CC3GLMatrix::translateBy(m, t, angles, s); });
  }
}

// ---- inversions ----

// Error: the largest element difference relative to the inverse's largest
// element, over matrices whose condition number (of the linear part, for
// the affine ones) is at most 100; rigid ones have 1. A float inversion is
// good to about the condition number times an ulp: the bound is 100 ulps
// (8 for the rigid inversion, a transpose and three dot products).
TEST(CC3MathsReferenceTest, InversionsMatchTheExactInverse) {
  Inputs in(103);
  WorstError general("invert", 100 * kEps);
  WorstError affine("invertAffine", 100 * kEps);
  WorstError rigid("invertRigid", 8 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    GLfloat m[16];
    wellConditioned(in, m, [](GLfloat*) {});
    Mat exact = glm::inverse(toGlm(m));
    GLfloat inverted[16];
    CC3GLMatrix::copyMatrix(m, inverted);
    ASSERT_TRUE(CC3GLMatrix::invert(inverted));
    general.record(maxDifference(inverted, exact) / maxAbs(exact), [&] { return text(m); });

    // Affine: a well-conditioned 3 x 3 part and a translation up to 100.
    // Every fourth input keeps a general bottom row: the general inverse is
    // taken and its bottom row then forced to (0, 0, 0, 1).
    GLfloat a[16];
    bool isAffine = n % 4 != 0;
    wellConditioned(in, a, [isAffine](GLfloat* m) {
      if (isAffine) m[3] = m[7] = m[11] = m[12] = m[13] = m[14] = 0, m[15] = 1;
    });
    if (isAffine) {
      a[12] = in.between(-100, 100), a[13] = in.between(-100, 100), a[14] = in.between(-100, 100);
    }
    Mat affineExact = glm::inverse(toGlm(a));
    affineExact[0][3] = affineExact[1][3] = affineExact[2][3] = 0, affineExact[3][3] = 1;
    GLfloat affineInverted[16];
    CC3GLMatrix::copyMatrix(a, affineInverted);
    ASSERT_TRUE(CC3GLMatrix::invertAffine(affineInverted));
    affine.record(maxDifference(affineInverted, affineExact) / maxAbs(affineExact),
                  [&] { return text(a); });

    // Rigid: a rotation and a translation; the float rotation is orthonormal
    // only to float precision, so its transpose is its inverse to a few ulps.
    GLfloat r[16];
    CC3GLMatrix::populateFromQuaternion(r, fromGlm(in.rotation()));
    r[12] = in.between(-100, 100), r[13] = in.between(-100, 100), r[14] = in.between(-100, 100);
    Mat rigidExact = glm::inverse(toGlm(r));
    CC3GLMatrix::invertRigid(r);
    rigid.record(maxDifference(r, rigidExact) / maxAbs(rigidExact), [&] { return text(r); });
  }
}

// ---- transforming ----

// Error: each component's difference relative to the sum of magnitudes it
// adds up. A location is divided by w, kept at 0.25 or more: a component's
// error is measured on (its sum + |result| * w's sum) / |w|, the first-order
// reach of both roundings through the division.
TEST(CC3MathsReferenceTest, TransformsAreTheMatrixTimesTheVector) {
  Inputs in(104);
  WorstError homogeneous("transformHomogeneousVector", 2 * kEps);
  WorstError direction("transformDirection", 2 * kEps);
  WorstError location("transformLocation", 8 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    GLfloat m[16];
    in.matrix(m, -2, 2);
    CC3Vec4 v{in.between(-100, 100), in.between(-100, 100), in.between(-100, 100),
              in.between(-2, 2)};
    Mat a = toGlm(m);
    auto componentError = [&](CC3Vec4 actual, Vec4 vector) {
      Vec4 exact = a * vector, scale = absolute(a) * glm::abs(vector);
      Vec4 error = glm::abs(toGlm(actual) - exact) / glm::max(scale, Vec4(1e-30));
      return std::max({error.x, error.y, error.z, error.w});
    };
    auto describe = [&] { return text(m) + " x " + text(v); };
    homogeneous.record(componentError(CC3GLMatrix::transformHomogeneousVector(m, v), toGlm(v)),
                       describe);
    CC3Vec3 xyz{v.x, v.y, v.z};
    CC3Vec3 turned = CC3GLMatrix::transformDirection(m, xyz);
    Vec4 turnedExact = a * Vec4(toGlm(xyz), 0);
    // A direction has no w to compare: the exact one's stands in.
    direction.record(
        componentError({turned.x, turned.y, turned.z, GLfloat(turnedExact.w)}, Vec4(toGlm(xyz), 0)),
        describe);

    Vec4 h = a * Vec4(toGlm(xyz), 1), sums = absolute(a) * glm::abs(Vec4(toGlm(xyz), 1));
    if (std::fabs(h.w) < 0.25) continue;
    Vec3 exact = Vec3(h) / h.w;
    Vec3 difference = glm::abs(toGlm(CC3GLMatrix::transformLocation(m, xyz)) - exact);
    Vec3 scale = (Vec3(sums) + glm::abs(exact) * sums.w) / std::fabs(h.w);
    location.record(maxComponent(difference / scale), describe);
  }
}

// ---- quaternions and matrices ----

// Quaternion to matrix: absolute element error (elements of a rotation are
// at most 1); the engine's matrix is the transpose of glm's.
TEST(CC3MathsReferenceTest, QuaternionMatricesAreTheTransposeOfTheUsualOnes) {
  Inputs in(105);
  WorstError populate("populateFromQuaternion", 4 * kEps);
  WorstError rotate("rotateByQuaternion", 4 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    CC3Quaternion q = fromGlm(in.rotation());
    Mat exact = engineRotationOf(quatOf(q));
    GLfloat m[16];
    CC3GLMatrix::populateFromQuaternion(m, q);
    populate.record(maxDifference(m, exact), [&] { return text(q); });

    GLfloat base[16];
    in.matrix(base, -2, 2);
    CC3GLMatrix::copyMatrix(base, m);
    CC3GLMatrix::rotateByQuaternion(m, q);
    rotate.record(productError(m, toGlm(base), exact), [&] { return text(base) + text(q); });
  }
}

namespace {

// Rotations by more than 120 degrees about an axis within `tilt` degrees of
// one of the six axis directions: one diagonal element is near 1 and the
// other two well below zero, where the choice of branch matters.
Mat nearAxisHalfTurn(Inputs& in, double tilt) {
  static const Vec3 axes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
  Vec3 axis = axes[int(in.unit() * 6)], aside;
  do {
    aside = glm::cross(axis, in.direction());
  } while (glm::length(aside) < 0.1);
  aside = glm::normalize(aside);
  axis = glm::normalize(axis + aside * std::tan(radians(tilt * in.unit())));
  double angle = radians(120 + 60 * in.unit());
  return glm::mat4_cast(glm::angleAxis(angle, axis));
}

}  // namespace

// Matrix to quaternion: the largest component difference from glm's
// quaternion of the same float matrix, either sign being the same rotation,
// and the length's difference from 1. The branch on the largest diagonal
// element divides by a root of at least 1, so float rounding stays within a
// few ulps.
TEST(CC3MathsReferenceTest, ExtractedQuaternionsAreTheRotationsOfTheirMatrices) {
  Inputs in(106);
  WorstError uniform("extractQuaternion (any rotation)", 4 * kEps);
  WorstError halfTurns("extractQuaternion (>120 deg near axes)", 4 * kEps);
  WorstError length("extractQuaternion length - 1", 4 * kEps);
  auto check = [&](WorstError& worst, const Mat& rotation) {
    Rounded r(rotation);
    CC3Quaternion q = CC3GLMatrix::extractQuaternion(r.m);
    worst.record(rotationDifference(q, engineQuaternionOf(r.exact)), [&] { return text(r.m); });
    length.record(std::fabs(glm::length(toGlm(q)) - 1), [&] { return text(r.m); });
  };
  // A rotation by 126.374866 degrees about a direction 0.0136 degrees from
  // y, which the branch order tried first was once taken wrongly for.
  check(halfTurns,
        glm::mat4_cast(glm::angleAxis(radians(126.374866),
                                      glm::normalize(Vec3(1.0245e-5, 0.99999997, 2.3578e-4)))));
  for (double degrees : {180.0, 120.0}) {
    for (Vec3 axis : {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1)}) {
      check(halfTurns, glm::mat4_cast(glm::angleAxis(radians(degrees), axis)));
    }
  }
  for (int n = 0; n < kInputs; ++n) {
    check(uniform, glm::mat4_cast(in.rotation()));
    check(halfTurns, nearAxisHalfTurn(in, n % 2 ? 0.05 : 5.0));
  }
  // Nothing usable in a matrix of NaNs: the all-zero quaternion.
  GLfloat nans[16];
  std::fill(nans, nans + 16, NAN);
  EXPECT_EQ(CC3GLMatrix::extractQuaternion(nans), kCC3Vec4Zero);
}

// Through the rotator, as a node sees it: angles set, the quaternion read,
// set on a second rotator and its matrix read back. Errors: the quaternion
// against glm's, and the matrix back against the first matrix (absolute).
TEST(CC3MathsReferenceTest, RotatorsGoFromAnglesToQuaternionsAndBack) {
  LeakScope leaks;
  Inputs in(107);
  WorstError quaternion("rotator angles -> quaternion", 4 * kEps);
  WorstError roundTrip("rotator quaternion -> matrix", 8 * kEps);
  auto check = [&](CC3Vec3 angles) {
    auto byAngles = CC3Rotator::rotator();
    byAngles->setRotation(angles);
    CC3Quaternion q = byAngles->quaternion();
    const GLfloat* m = byAngles->rotationMatrix()->glMatrix();
    quaternion.record(rotationDifference(q, engineQuaternionOf(toGlm(m))),
                      [&] { return text(angles); });
    auto byQuaternion = CC3Rotator::rotator();
    byQuaternion->setQuaternion(q);
    roundTrip.record(maxDifference(byQuaternion->rotationMatrix()->glMatrix(), toGlm(m)),
                     [&] { return text(angles); });
  };
  check({-0.042369172f, 133.64035f, 0.0279918797f});
  for (int n = 0; n < kInputs; ++n) {
    // Half the inputs turn by 120 to 180 degrees of yaw, barely tilted.
    if (n % 2) {
      GLfloat yaw = in.between(120, 180) * (in.unit() < 0.5 ? -1 : 1);
      check({in.between(-0.05, 0.05), yaw, in.between(-0.05, 0.05)});
    } else {
      check({in.between(-90, 90), in.between(-180, 180), in.between(-180, 180)});
    }
  }
}

// ---- Euler angles ----

// Angles to matrix: absolute element error against glm's Y * X * Z matrix.
// Matrix to angles (degrees): x = asin(-m9) in [-90, 90], y and z in
// (-180, 180]. Up to 89 degrees of pitch they are compared with glm's
// extraction from the same float matrix, in degrees across the wrap: y and
// z come from elements as small as cos(89 degrees), so an ulp of those is
// 3.9e-4 degrees; rebuilt into a matrix the angles are good to about a
// dozen ulps. Within sqrt(2^-24) = 2.4e-4 radians of +-90 the sine of the
// pitch rounds to 1 and the cosine is dropped, so there the angles are held
// only to rebuild the matrix to 2.4e-4 (absolute element error). At exactly
// +-90 only y - z (or y + z) is defined: the engine puts it all in y with
// z = 0, where glm splits it otherwise.
TEST(CC3MathsReferenceTest, EulerAnglesInTheOrderYXZ) {
  Inputs in(108);
  WorstError populate("populateFromRotation", 4 * kEps);
  WorstError extract("extractRotation |pitch| <= 89 (deg)", 4e-4);
  WorstError rebuilt("extractRotation, rebuilt matrix", 16 * kEps);
  WorstError nearLock("extractRotation near +-90, rebuilt", 3e-4);
  for (int n = 0; n < kInputs; ++n) {
    CC3Vec3 angles{in.between(-89, 89), in.between(-180, 180), in.between(-180, 180)};
    GLfloat m[16];
    CC3GLMatrix::populateFromRotation(m, angles);
    populate.record(maxDifference(m, eulerYXZ(angles)), [&] { return text(angles); });

    Rounded r(eulerYXZ(angles));
    CC3Vec3 found = CC3GLMatrix::extractRotation(r.m);
    double y, x, z;
    glm::extractEulerAngleYXZ(r.exact, y, x, z);
    extract.record(std::max({angleDifference(found.x, glm::degrees(x)),
                             angleDifference(found.y, glm::degrees(y)),
                             angleDifference(found.z, glm::degrees(z))}),
                   [&] { return text(angles) + " found " + text(found); });
    rebuilt.record(maxDifference(r.m, eulerYXZ(found)), [&] { return text(angles); });

    // Pitches at and within 0.05 degrees of +-90.
    GLfloat pitch = (n % 4 == 0 ? 90.0f : in.between(89.95, 90)) * (n % 8 < 4 ? 1 : -1);
    CC3Vec3 locked{pitch, in.between(-180, 180), in.between(-180, 180)};
    Rounded l(eulerYXZ(locked));
    CC3Vec3 lockedFound = CC3GLMatrix::extractRotation(l.m);
    nearLock.record(maxDifference(l.m, eulerYXZ(lockedFound)),
                    [&] { return text(locked) + " found " + text(lockedFound); });
    if (std::fabs(pitch) == 90.0f) {
      EXPECT_EQ(lockedFound.x, pitch);
      EXPECT_EQ(lockedFound.z, 0.0f);
    }
  }
}

// ---- slerp ----

// Absolute component error, either sign being the same rotation. Where the
// quaternions are within 1 - cos = 0.01 of each other the engine blends
// linearly and normalises, where glm still follows the arc: there the
// reference is glm's normalised linear blend, and the blend's own departure
// from the arc is bounded separately (at most 4.6e-5 there, at the
// threshold and a fifth of the way from either end).
TEST(CC3MathsReferenceTest, SlerpFollowsTheShorterArc) {
  Inputs in(109);
  WorstError arc("slerp", 8 * kEps);
  WorstError blend("slerp near 1 (linear blend)", 4 * kEps);
  WorstError blendFromArc("slerp near 1, blend vs arc", 4.6e-5);
  for (int n = 0; n < kInputs; ++n) {
    Quat a = in.rotation(), b;
    // Half the pairs turn by less than 20 degrees from each other, which
    // takes in the linear blend below about 16 degrees.
    if (n % 2) {
      b = in.rotation();
    } else {
      b = glm::angleAxis(radians(20 * in.unit()), in.direction()) * a;
      if (in.unit() < 0.5) b = -b;
    }
    CC3Quaternion q1 = fromGlm(a), q2 = fromGlm(b);
    Quat x = quatOf(q1), y = quatOf(q2);
    GLfloat t = in.between(0, 1);
    CC3Quaternion found = CC3QuaternionSlerp(q1, q2, t);
    auto describe = [&] { return text(q1) + " to " + text(q2) + " at " + std::to_string(t); };
    double cosine = glm::dot(x, y) / (glm::length(x) * glm::length(y));
    // Too close to the threshold to tell which side float rounding puts it.
    if (std::fabs(1 - std::fabs(cosine) - 0.01) < 1e-6) continue;
    Quat onArc = glm::slerp(x, y, double(t));
    if (1 - std::fabs(cosine) < 0.01) {
      Quat near = cosine < 0 ? -y : y;
      Quat linear = glm::normalize(x * (1.0 - t) + near * double(t));
      blend.record(rotationDifference(found, linear), describe);
      blendFromArc.record(rotationDifference(fromGlm(linear), onArc), describe);
    } else {
      arc.record(rotationDifference(found, onArc), describe);
    }
  }
  CC3Quaternion q1 = fromGlm(in.rotation()), q2 = fromGlm(in.rotation());
  EXPECT_EQ(CC3QuaternionSlerp(q1, q2, 0), q1);
  EXPECT_EQ(CC3QuaternionSlerp(q1, q2, 1), q2);
}

// ---- pointing and looking ----

namespace {

// A direction and an up at least 2 degrees apart: closer, their cross
// product (the right direction) is ill-conditioned in float.
std::pair<CC3Vec3, CC3Vec3> forwardAndUp(Inputs& in) {
  for (;;) {
    CC3Vec3 forward = in.vector(-100, 100), up = fromGlm(in.direction());
    Vec3 f = glm::normalize(toGlm(forward)), u = toGlm(up);
    if (glm::length(glm::cross(f, u)) > std::sin(radians(2))) return {forward, up};
  }
}

}  // namespace

// Point towards: the columns are right, true up and minus forward, glm's
// look-at rotation transposed; absolute element error. Look-at takes the
// target before the eye (glm's lookAt takes the eye first); error relative
// to the largest element of the view, which holds the eye's distances.
// Right = f x up is normalised from a length down to sin(2 degrees), which
// costs up to 1 / sin(2 degrees) = 29 ulps.
TEST(CC3MathsReferenceTest, PointingAndLookingMatchGlmLookAt) {
  Inputs in(110);
  WorstError towards("populateToPointTowards", 32 * kEps);
  WorstError lookAt("populateToLookAt", 32 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    auto [forward, up] = forwardAndUp(in);
    GLfloat m[16];
    CC3GLMatrix::populateToPointTowards(m, forward, up);
    Mat pointing = glm::transpose(glm::lookAt(Vec3(0), toGlm(forward), toGlm(up)));
    towards.record(maxDifference(m, pointing), [&] { return text(forward) + text(up); });

    CC3Vec3 eye = in.vector(-100, 100);
    CC3Vec3 target = CC3Vec3Add(eye, forward);
    // The offset as float arithmetic leaves it, for both.
    CC3Vec3 offset = CC3Vec3Difference(target, eye);
    CC3Vec3 lookUp = forwardAndUp(in).second;
    if (glm::length(glm::cross(glm::normalize(toGlm(offset)), toGlm(lookUp))) <
        std::sin(radians(2))) {
      continue;
    }
    CC3GLMatrix::populateToLookAt(m, target, eye, lookUp);
    Mat view = glm::lookAt(toGlm(eye), toGlm(eye) + toGlm(offset), toGlm(lookUp));
    lookAt.record(maxDifference(m, view) / maxAbs(view),
                  [&] { return text(target) + " from " + text(eye) + " up " + text(lookUp); });
  }
}

// ---- projections ----

namespace {

// The largest element error relative to the element's size (at least 1).
double elementError(const GLfloat* m, const Mat& exact) {
  double worst = 0;
  for (int c = 0; c < 4; ++c) {
    for (int j = 0; j < 4; ++j) {
      worst = std::max(
          worst, std::fabs(m[4 * c + j] - exact[c][j]) / std::max(1.0, std::fabs(exact[c][j])));
    }
  }
  return worst;
}

}  // namespace

// The frustum matrix is glm's right-handed one with depth -1 to 1; the
// perspective comes from the vertical field of view narrowed by the zoom:
// glm's perspective of 2 atan(tan(fov / 2) / zoom). Error per element,
// relative to its size (at least 1). An element like (r + l) / (r - l)
// loses the digits that r + l cancels, measured on 1.
TEST(CC3MathsReferenceTest, FrustumAndPerspectiveMatchGlm) {
  Inputs in(111);
  WorstError frustum("populateFromFrustumLeft", 4 * kEps);
  WorstError perspective("CC3Frustum perspective", 8 * kEps);
  WorstError edges("CC3Frustum edges (relative)", 4 * kEps);
  for (int n = 0; n < kInputs; ++n) {
    GLfloat near = in.between(0.01, 10), far = near * in.between(2, 10000);
    GLfloat left = in.between(-10, 10), right = left + in.between(0.01, 10);
    GLfloat bottom = in.between(-10, 10), top = bottom + in.between(0.01, 10);
    GLfloat m[16];
    CC3GLMatrix::populateFromFrustumLeft(m, left, right, bottom, top, near, far);
    frustum.record(elementError(m, glm::frustum<double>(left, right, bottom, top, near, far)), [&] {
      return text(CC3Vec3{left, right, bottom}) + text(CC3Vec3{top, near, far});
    });

    GLfloat fov = in.between(10, 120), aspect = in.between(0.3, 3), zoom = in.between(0.25, 4);
    auto f = CC3Frustum::frustum();
    f->populateFrom(fov, aspect, near, far, zoom);
    double tangent = std::tan(radians(fov) / 2) / zoom;
    Mat exact = glm::perspective<double>(2 * std::atan(tangent), aspect, near, far);
    auto describe = [&] { return text(CC3Vec4{fov, aspect, zoom, 0}) + text(CC3Vec3{near, far}); };
    perspective.record(elementError(f->projectionMatrix()->glMatrix(), exact), describe);
    double exactTop = near * tangent;
    edges.record(std::max(std::fabs(f->top() - exactTop) / exactTop,
                          std::fabs(f->right() - aspect * exactTop) / (aspect * exactTop)),
                 describe);
  }
}

// ---- the camera ----

// The camera in a world, placed and turned at random, with the viewport of a
// portrait layer or of the book's landscape one (the device's turn of -90
// degrees about z leads the view). The view is the device turn times the
// inverse of the camera's translation and rotation: error relative to its
// largest element. The projection is glm's perspective as above. Projected
// locations are compared in GL window coordinates (the layer's points mapped
// back by the viewport manager). The float view carries the world's
// coordinates, so a location's place on the screen is good to some ulps of
// the coordinates' size over its distance from the camera: the error is
// measured in half viewports times that ratio. z is the signed distance. A
// point unprojected is the direction from the camera through glm's
// unprojection of the point onto the near plane: absolute error, within 16
// ulps for a device turn, a rotation and a normalisation.
TEST(CC3MathsReferenceTest, CameraViewProjectionAndUnprojection) {
  LeakScope leaks;
  Inputs in(112);
  WorstError view("camera view", 8 * kEps);
  WorstError projection("camera projection", 8 * kEps);
  WorstError projected("projectLocation (x, y)", 16 * kEps);
  WorstError distance("projectLocation z (relative)", 4 * kEps);
  WorstError unprojected("unprojectPoint", 2e-6);

  auto world = CC3World::world();
  auto camera = CC3Camera::node();
  world->addChild(camera);
  CC3ViewportManager* viewports = world->viewportManager();
  constexpr int kCameras = kInputs / 4;
  for (int n = 0; n < kCameras; ++n) {
    bool landscape = n % 2;
    GLfloat width = in.between(100, 2000), height = in.between(100, 2000);
    viewports->updateBounds(
        {{0, 0}, {width, height}},
        landscape ? UIDeviceOrientationLandscapeLeft : UIDeviceOrientationPortrait,
        landscape ? CGSize{height, width} : CGSize{width, height}, 1);
    CC3Vec3 location = in.vector(-500, 500), angles = in.vector(-180, 180);
    angles.x = in.between(-89, 89);
    camera->setLocation(location);
    camera->setRotation(angles);
    camera->setFieldOfView(in.between(20, 100));
    camera->setNearClippingPlane(in.between(0.1, 5));
    camera->setFarClippingPlane(in.between(1000, 5000));
    camera->setUniformScale(in.between(0.5, 2));
    world->updateTransformMatrices();
    camera->buildPerspective();
    auto describe = [&] {
      return text(location) + " turned " + text(angles) + (landscape ? " landscape" : "");
    };

    Mat device = glm::rotate(Mat(1), radians(landscape ? -90 : 0), Vec3(0, 0, 1));
    Mat exactView =
        device * glm::inverse(glm::translate(Mat(1), toGlm(location)) * eulerYXZ(angles));
    view.record(maxDifference(camera->modelviewMatrix()->glMatrix(), exactView) / maxAbs(exactView),
                describe);
    CC3Viewport vp = viewports->viewport();
    double tangent = std::tan(radians(camera->fieldOfView()) / 2) / camera->uniformScale();
    Mat exactProjection =
        glm::perspective<double>(2 * std::atan(tangent), double(vp.w) / vp.h,
                                 camera->nearClippingPlane(), camera->farClippingPlane());
    projection.record(elementError(camera->projectionMatrix()->glMatrix(), exactProjection),
                      describe);

    Vec4 glViewport(vp.x, vp.y, vp.w, vp.h);
    Vec3 eye = toGlm(location);
    Vec3 forward = -Vec3(eulerYXZ(angles)[2]);
    for (int k = 0; k < 4; ++k) {
      // Locations in view, 1 to 500 away.
      CGPoint gl{in.between(vp.x, vp.x + vp.w), in.between(vp.y, vp.y + vp.h)};
      Vec3 through = glm::unProject(Vec3(gl.x, gl.y, 0), exactView, exactProjection, glViewport);
      Vec3 ray = glm::normalize(through - eye);
      CC3Vec3 point = fromGlm(eye + ray * double(in.between(1, 500)));
      Vec3 exact = glm::project(toGlm(point), exactView, exactProjection, glViewport);
      CC3Vec3 found = camera->projectLocation(point);
      CGPoint inGL = viewports->glPointFromCC2Point({found.x, found.y});
      auto describePoint = [&] { return describe() + " point " + text(point); };
      Vec3 offset = toGlm(point) - eye;
      double coordinatesPerDepth =
          (glm::length(eye) + glm::length(toGlm(point))) / glm::length(offset);
      projected.record(std::max(std::fabs(inGL.x - exact.x), std::fabs(inGL.y - exact.y)) /
                           (0.5 * std::max(vp.w, vp.h) * coordinatesPerDepth),
                       describePoint);
      double signedDistance = glm::length(offset) * (glm::dot(offset, forward) < 0 ? -1 : 1);
      distance.record(std::fabs(found.z - signedDistance) / std::fabs(signedDistance),
                      describePoint);

      CGPoint layerPoint = viewports->cc2PointFromGLPoint(gl);
      unprojected.record(maxComponent(glm::abs(toGlm(camera->unprojectPoint(layerPoint)) - ray)),
                         describe);
    }
  }
  camera->remove();
}
