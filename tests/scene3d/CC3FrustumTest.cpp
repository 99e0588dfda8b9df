#include "CC3Frustum.h"

#include <gtest/gtest.h>

#include <cmath>

#include "CC3NodeTestSupport.h"

namespace {

void expectPlaneNear(CC3Plane actual, CC3Plane expected, float tolerance = 1e-5f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << NSStringFromCC3Vec4(actual);
  EXPECT_NEAR(actual.y, expected.y, tolerance) << NSStringFromCC3Vec4(actual);
  EXPECT_NEAR(actual.z, expected.z, tolerance) << NSStringFromCC3Vec4(actual);
  EXPECT_NEAR(actual.w, expected.w, tolerance) << NSStringFromCC3Vec4(actual);
}

constexpr float kHalf = 0.70710678f;

}  // namespace

TEST(CC3FrustumTest, EdgesFromFieldOfViewAspectAndZoom) {
  LeakScope leaks;
  auto f = CC3Frustum::frustum();
  EXPECT_TRUE(f->projectionMatrix()->isIdentity());
  EXPECT_TRUE(f->arePlanesDirty());

  // The book's landscape viewport reaches the camera as 768 x 1024.
  f->populateFrom(45, 768.0f / 1024.0f, 0.5f, 1000, 1);
  EXPECT_FLOAT_EQ(f->top(), 0.20710678f);
  EXPECT_FLOAT_EQ(f->bottom(), -0.20710678f);
  EXPECT_FLOAT_EQ(f->right(), 0.15533009f);
  EXPECT_FLOAT_EQ(f->left(), -0.15533009f);
  EXPECT_EQ(f->near(), 0.5f);
  EXPECT_EQ(f->far(), 1000.0f);
  const GLfloat* m = f->projectionMatrix()->glMatrix();
  EXPECT_FLOAT_EQ(m[0], 0.5f / 0.15533009f);
  EXPECT_FLOAT_EQ(m[5], 0.5f / 0.20710678f);
  EXPECT_FLOAT_EQ(m[10], -1000.5f / 999.5f);
  EXPECT_FLOAT_EQ(m[14], -1000.0f / 999.5f);
  EXPECT_EQ(m[11], -1.0f);
  EXPECT_FALSE(f->projectionMatrix()->isIdentity());

  // Zooming in narrows the view; a zoom of 0 collapses it.
  f->populateFrom(45, 0.75f, 0.5f, 1000, 0.7f);
  EXPECT_FLOAT_EQ(f->top(), 0.29586683f);
  f->populateFrom(45, 0.75f, 0.5f, 1000, 0);
  EXPECT_EQ(f->top(), 0.0f);
  EXPECT_EQ(f->right(), 0.0f);

  f->populateFrom(60, 2, 1, 10, 1);
  EXPECT_EQ(f->description().substr(f->description().find('>') + 1),
            " top: 0.577, bottom: -0.577, left: -1.155, right: 1.155, near: 1.000, far: 10.000");
}

TEST(CC3FrustumTest, PlanesFollowTheViewOnlyWhenMarkedDirty) {
  LeakScope leaks;
  auto f = CC3Frustum::frustum();
  // A right-angled view: top and right equal near.
  f->populateFrom(90, 1, 1, 10, 1);
  f->buildPlanes(nullptr);
  EXPECT_FALSE(f->arePlanesDirty());
  expectPlaneNear(f->nearPlane(), {0, 0, -1, -1});
  expectPlaneNear(f->farPlane(), {0, 0, 1, 10});
  expectPlaneNear(f->leftPlane(), {kHalf, 0, -kHalf, 0});
  expectPlaneNear(f->rightPlane(), {-kHalf, 0, -kHalf, 0});
  expectPlaneNear(f->bottomPlane(), {0, kHalf, -kHalf, 0});
  expectPlaneNear(f->topPlane(), {0, -kHalf, -kHalf, 0});

  // A camera at z = 20: the view matrix moves the world by -20.
  auto view = CC3GLMatrix::identity();
  view->translateBy({0, 0, -20});
  f->buildPlanes(view.get());  // still clean: nothing changes
  expectPlaneNear(f->nearPlane(), {0, 0, -1, -1});
  f->markPlanesDirty();
  f->buildPlanes(view.get());
  expectPlaneNear(f->nearPlane(), {0, 0, -1, 19});
  expectPlaneNear(f->farPlane(), {0, 0, 1, -10});
  expectPlaneNear(f->leftPlane(), {kHalf, 0, -kHalf, 20 * kHalf});

  // A new lens marks the planes dirty again.
  f->populateFrom(90, 1, 2, 10, 1);
  EXPECT_TRUE(f->arePlanesDirty());
  f->buildPlanes(view.get());
  expectPlaneNear(f->nearPlane(), {0, 0, -1, 18});
  EXPECT_NE(f->fullDescription().find(" nearPlane: " + NSStringFromCC3Vec4(f->nearPlane())),
            std::string::npos);
}

TEST(CC3FrustumTest, SpheresAreCulledOnlyWhenWhollyOutsideOnePlane) {
  LeakScope leaks;
  auto f = CC3Frustum::frustum();
  f->populateFrom(90, 1, 1, 100, 1);
  f->buildPlanes(nullptr);

  // A point on the left plane, well between near and far.
  CC3Vec3 onLeft{-50, 0, -50};
  CC3Vec3 outward = CC3Vec3Negate(CC3PlaneNormal(f->leftPlane()));
  EXPECT_TRUE(f->doesIntersectSphereAt(CC3Vec3Add(onLeft, CC3Vec3ScaleUniform(outward, 0.5f)), 1));
  EXPECT_FALSE(f->doesIntersectSphereAt(CC3Vec3Add(onLeft, CC3Vec3ScaleUniform(outward, 1.5f)), 1));
  // Exactly touching counts as inside.
  EXPECT_TRUE(f->doesIntersectSphereAt({0, 0, 0}, 1));  // 1 behind the near plane
  EXPECT_FALSE(f->doesIntersectSphereAt({0, 0, 0.01f}, 1));

  EXPECT_TRUE(f->doesIntersectPointAt({0, 0, -1}));
  EXPECT_TRUE(f->doesIntersectPointAt({0, 0, -99.9f}));
  EXPECT_FALSE(f->doesIntersectPointAt({0, 0, -100.5f}));
  EXPECT_FALSE(f->doesIntersectPointAt({0, 30, -20}));  // above the top
  EXPECT_TRUE(f->doesIntersectPointAt({0, 19, -20}));
}
