#include "CC3BoundingVolumes.h"

#include <gtest/gtest.h>

#include "CC3Frustum.h"
#include "CC3LocalContentNode.h"
#include "CC3NodeTestSupport.h"
#include "TestSupport.h"

namespace {

// A box-shaped view: x and y within +-10, z from -1 to -100, normals inwards.
Ptr<CC3Frustum> boxFrustum() {
  auto f = CC3Frustum::frustum();
  f->setPlanes(/*top*/ {0, -1, 0, 10}, /*bottom*/ {0, 1, 0, 10}, /*left*/ {1, 0, 0, 10},
               /*right*/ {-1, 0, 0, 10}, /*near*/ {0, 0, -1, -1}, /*far*/ {0, 0, 1, 100});
  return f;
}

const std::vector<CC3Vec3> kCentredPlane{{-50, -25, 0}, {50, -25, 0}, {-50, 25, 0}, {50, 25, 0}};
const std::vector<CC3Vec3> kCornerPlane{{0, 0, 0}, {100, 0, 0}, {0, 50, 0}, {100, 50, 0}};

// Vertex locations held in memory, as a mesh's location array holds them.
class Locations : public CC3BoundingVertexLocations {
 public:
  explicit Locations(std::vector<CC3Vec3> v, GLenum type = GL_FLOAT)
      : v_(std::move(v)), type_(type) {}
  GLenum elementType() const override { return type_; }
  GLuint elementCount() const override { return static_cast<GLuint>(v_.size()); }
  CC3Vec3 locationAt(GLuint i) const override { return v_[i]; }
  CC3Box boundingBox() override { return CC3NodeBoundingBoxVolume::boxAround(v_); }
  CC3Vec3 centerOfGeometry() override {
    CC3Box b = boundingBox();
    return CC3Vec3ScaleUniform(CC3Vec3Add(b.minimum, b.maximum), 0.5f);
  }

 private:
  std::vector<CC3Vec3> v_;
  GLenum type_;
};

// Stands in for a mesh node: local content with vertex locations.
class MeshLike : public CC3LocalContentNode {
 public:
  Locations* locations = nullptr;
  CC3BoundingVertexLocations* boundingVertexLocations() const override { return locations; }
};

// A mesh-like node with the mesh nodes' default volume: a sphere, then a box.
Ptr<MeshLike> boundedNode(Locations* locations) {
  auto node = makeObject<MeshLike>();
  node->init();
  node->locations = locations;
  auto sequence = CC3NodeTighteningBoundingVolumeSequence::boundingVolume();
  sequence->addBoundingVolume(CC3VertexLocationsSphericalBoundingVolume::boundingVolume());
  sequence->addBoundingVolume(CC3VertexLocationsBoundingBoxVolume::boundingVolume());
  node->setBoundingVolume(sequence);
  return node;
}

CC3NodeSphericalBoundingVolume* sphereOf(CC3Node* node) {
  auto* seq = static_cast<CC3NodeTighteningBoundingVolumeSequence*>(node->boundingVolume());
  return static_cast<CC3NodeSphericalBoundingVolume*>(seq->volumeAt(0));
}

CC3NodeBoundingBoxVolume* boxOf(CC3Node* node) {
  auto* seq = static_cast<CC3NodeTighteningBoundingVolumeSequence*>(node->boundingVolume());
  return static_cast<CC3NodeBoundingBoxVolume*>(seq->volumeAt(1));
}

}  // namespace

TEST(CC3BoundingVolumesTest, ShapesAroundAPlane) {
  LeakScope leaks;
  CC3Box box = CC3NodeBoundingBoxVolume::boxAround(kCentredPlane);
  EXPECT_EQ(box, CC3BoxMake(-50, -25, 0, 50, 25, 0));
  EXPECT_NEAR(CC3NodeSphericalBoundingVolume::radiusAround(kCC3Vec3Zero, kCentredPlane), 55.9017f,
              1e-3);
  EXPECT_ASSERTION(
      CC3NodeSphericalBoundingVolume::radiusAround(kCC3Vec3Zero, std::vector<CC3Vec3>{}),
      "Spherical bounding radius is zero");
}

TEST(CC3BoundingVolumesTest, MeshVolumesAreBuiltFromTheVertexLocations) {
  LeakScope leaks;
  Locations centred(kCentredPlane);
  auto node = boundedNode(&centred);
  EXPECT_TRUE(node->boundingVolume()->volumeNeedsBuilding());
  node->boundingVolume()->buildVolumeIfNeeded();
  EXPECT_FALSE(node->boundingVolume()->volumeNeedsBuilding());
  EXPECT_EQ(node->boundingVolume()->centerOfGeometry(), kCC3Vec3Zero);
  EXPECT_NEAR(sphereOf(node)->radius(), 55.9017f, 1e-3);
  EXPECT_EQ(boxOf(node)->boundingBox(), CC3BoxMake(-50, -25, 0, 50, 25, 0));

  auto plain = CC3VertexLocationsBoundingVolume::boundingVolume();
  Locations corner(kCornerPlane);
  auto other = boundedNode(&corner);
  other->setBoundingVolume(plain);
  plain->buildVolume();
  EXPECT_EQ(plain->centerOfGeometry(), cc3v(50, 25, 0));

  Locations fixed(kCentredPlane, GL_FIXED);
  EXPECT_ASSERTION(boundedNode(&fixed)->boundingVolume()->buildVolume(),
                   "CC3VertexLocationsSphericalBoundingVolume must have elementType GLFLOAT to "
                   "calculate mesh radius");
  Locations point({{1, 1, 1}, {1, 1, 1}});
  EXPECT_ASSERTION(boundedNode(&point)->boundingVolume()->buildVolume(),
                   "Spherical bounding radius is zero");
}

TEST(CC3BoundingVolumesTest, VolumesFollowTheNodeTransform) {
  LeakScope leaks;
  Locations corner(kCornerPlane);
  auto node = boundedNode(&corner);
  node->setLocation({10, 0, 0});
  node->updateTransformMatrices();
  auto* sphere = sphereOf(node);
  EXPECT_EQ(node->boundingVolume()->node(), node.get());
  EXPECT_EQ(sphere->node(), node.get());  // the sequence hands its node on
  EXPECT_FALSE(node->boundingVolume()->volumeNeedsBuilding());
  EXPECT_VEC3_NEAR(node->boundingVolume()->centerOfGeometry(), cc3v(50, 25, 0), 0);
  EXPECT_VEC3_NEAR(sphere->globalCenterOfGeometry(), cc3v(60, 25, 0), 1e-5);
  EXPECT_VEC3_NEAR(boxOf(node)->globalBoundingBoxVertices()[0], cc3v(10, 0, 0), 1e-5);
  EXPECT_VEC3_NEAR(boxOf(node)->globalBoundingBoxVertices()[7], cc3v(110, 50, 0), 1e-5);

  GLfloat radius = sphere->globalRadius();
  node->setScale({1, 3, 1});
  node->updateTransformMatrices();
  EXPECT_NEAR(sphere->globalRadius(), 3 * radius, 1e-4);

  // A centre at the origin is the node's own global location.
  auto plain = CC3NodeBoundingVolume::boundingVolume();
  auto other = CC3Node::node();
  other->setBoundingVolume(plain);
  other->setLocation({1, 2, 3});
  other->updateTransformMatrices();
  EXPECT_EQ(plain->globalCenterOfGeometry(), cc3v(1, 2, 3));
}

TEST(CC3BoundingVolumesTest, FrustumTests) {
  LeakScope leaks;
  auto frustum = boxFrustum();
  Locations centred(kCentredPlane);
  auto node = boundedNode(&centred);
  node->setScale({0.1f, 0.1f, 0.1f});  // a 10 x 5 picture

  node->setLocation({-12, 0, -50});  // straddles the left plane
  node->updateTransformMatrices();
  EXPECT_TRUE(node->doesIntersectFrustum(frustum));
  node->setLocation({-15.3f, 0, -50});  // the sphere reaches in, the box stops short
  node->updateTransformMatrices();
  EXPECT_TRUE(sphereOf(node)->doesIntersectFrustum(frustum));
  EXPECT_FALSE(boxOf(node)->doesIntersectFrustum(frustum));
  EXPECT_FALSE(node->doesIntersectFrustum(frustum));
  node->setLocation({0, 0, -200});  // wholly beyond the far plane
  node->updateTransformMatrices();
  EXPECT_FALSE(sphereOf(node)->doesIntersectFrustum(frustum));
  EXPECT_FALSE(node->doesIntersectFrustum(frustum));
  EXPECT_TRUE(node->doesIntersectFrustum(nullptr));  // no frustum: always drawn

  // A flat box lying exactly on the left plane is outside; a point on it is inside.
  auto flat = CC3NodeBoundingBoxVolume::boundingVolume();
  flat->setBoundingBox(CC3BoxMake(-10, -1, -6, -10, 1, -5));
  auto onPlane = CC3Node::node();
  onPlane->setBoundingVolume(flat);
  onPlane->setLocation(kCC3Vec3Zero);
  onPlane->updateTransformMatrices();
  EXPECT_FALSE(flat->doesIntersectFrustum(frustum));
  EXPECT_TRUE(frustum->doesIntersectPointAt({-10, 0, -5}));
  EXPECT_TRUE(frustum->doesIntersectSphereAt({-10.5f, 0, -5}, 1));
  EXPECT_FALSE(frustum->doesIntersectSphereAt({-11.5f, 0, -5}, 1));

  EXPECT_TRUE(
      CC3NodeTighteningBoundingVolumeSequence::boundingVolume()->doesIntersectFrustum(frustum));
}

TEST(CC3BoundingVolumesTest, CopiesAndDescriptions) {
  LeakScope leaks;
  Locations centred(kCentredPlane);
  auto node = boundedNode(&centred);
  node->setLocation({0, 0, 1});
  node->updateTransformMatrices();
  auto copy = node->boundingVolume()->copy();
  auto* seq = dynamic_cast<CC3NodeTighteningBoundingVolumeSequence*>(copy.get());
  ASSERT_NE(seq, nullptr);
  ASSERT_EQ(seq->volumeCount(), 2u);
  EXPECT_NE(seq->volumeAt(0), sphereOf(node));
  EXPECT_EQ(seq->volumeAt(0)->className(), "CC3VertexLocationsSphericalBoundingVolume");
  EXPECT_FLOAT_EQ(static_cast<CC3NodeSphericalBoundingVolume*>(seq->volumeAt(0))->radius(),
                  sphereOf(node)->radius());
  EXPECT_EQ(static_cast<CC3NodeBoundingBoxVolume*>(seq->volumeAt(1))->boundingBox(),
            boxOf(node)->boundingBox());

  std::string sphere = sphereOf(node)->description();
  EXPECT_NE(sphere.find(" globally centered at: (0.000, 0.000, 1.000) with radius: 55.90, "
                        "global radius: 55.90"),
            std::string::npos)
      << sphere;
  std::string box = boxOf(node)->description();
  EXPECT_NE(box.find(" with global bounding box: ((-50.000, -25.000, 1.000), (50.000, 25.000, "
                     "1.000))"),
            std::string::npos)
      << box;
  std::string all = node->boundingVolume()->description();
  EXPECT_NE(all.find(" containing:\n\t"), std::string::npos) << all;
  EXPECT_NE(CC3NodeTighteningBoundingVolumeSequence::boundingVolume()->description().find(
                " containing nothing"),
            std::string::npos);
}
