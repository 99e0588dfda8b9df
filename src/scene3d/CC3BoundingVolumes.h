#pragma once
#include <vector>

#include <GLES/gl.h>

#include "CC3Foundation.h"
#include "NSObject.h"

class CC3Frustum;
class CC3Node;

// The vertex locations that the vertex-location volumes are built from: the
// location array of a mesh node's mesh provides them (see
// CC3Node::boundingVertexLocations).
class CC3BoundingVertexLocations {
 public:
  virtual ~CC3BoundingVertexLocations() = default;
  virtual GLenum elementType() const = 0;
  virtual GLuint elementCount() const = 0;
  virtual CC3Vec3 locationAt(GLuint index) const = 0;
  // Component-wise extremes and their midpoint, built once on first request.
  virtual CC3Box boundingBox() = 0;
  virtual CC3Vec3 centerOfGeometry() = 0;
};

// A simple shape around a node's content in world coordinates: it decides
// whether the node can be seen at all, and its centre gives the node's
// distance from the camera for the translucent draw order.
class CC3NodeBoundingVolume : public NSObject {
 public:
  static Ptr<CC3NodeBoundingVolume> boundingVolume();

  CC3Node* node() const { return node_; }
  virtual void setNode(CC3Node* node) { node_ = node; }
  CC3Vec3 centerOfGeometry() const { return centerOfGeometry_; }
  void setCenterOfGeometry(CC3Vec3 center) { centerOfGeometry_ = center; }
  CC3Vec3 globalCenterOfGeometry() const { return globalCenterOfGeometry_; }
  GLfloat cameraDistanceSquared() const { return cameraDistanceSquared_; }
  void setCameraDistanceSquared(GLfloat d) { cameraDistanceSquared_ = d; }
  bool volumeNeedsBuilding() const { return volumeNeedsBuilding_; }
  void markVolumeNeedsBuilding() { volumeNeedsBuilding_ = true; }

  // Computes the local shape; the base has none to compute.
  virtual void buildVolume() { volumeNeedsBuilding_ = false; }
  void buildVolumeIfNeeded();
  // Builds if needed, then follows the node's transform.
  void update();
  virtual void transformVolume();
  // False only when the node certainly lies outside the frustum.
  virtual bool doesIntersectFrustum(CC3Frustum* frustum);

  Ptr<CC3NodeBoundingVolume> copy() const;
  virtual void populateFrom(const CC3NodeBoundingVolume* another);
  std::string description() const override;

 protected:
  virtual CC3NodeBoundingVolume* newInstance() const { return new CC3NodeBoundingVolume(); }

  CC3Node* node_ = nullptr;  // not retained: the node owns its volume
  CC3Vec3 centerOfGeometry_ = kCC3Vec3Zero;
  CC3Vec3 globalCenterOfGeometry_ = kCC3Vec3Zero;
  GLfloat cameraDistanceSquared_ = 0;
  bool volumeNeedsBuilding_ = true;
};

class CC3NodeSphericalBoundingVolume : public CC3NodeBoundingVolume {
 public:
  static Ptr<CC3NodeSphericalBoundingVolume> boundingVolume();

  GLfloat radius() const { return radius_; }
  void setRadius(GLfloat radius) { radius_ = radius; }
  GLfloat globalRadius() const { return globalRadius_; }

  void transformVolume() override;
  bool doesIntersectFrustum(CC3Frustum* frustum) override;
  void populateFrom(const CC3NodeBoundingVolume* another) override;
  std::string description() const override;

  // The largest distance from `center` to any of the locations; a radius of
  // zero (no extent) fails an assertion.
  static GLfloat radiusAround(CC3Vec3 center, const std::vector<CC3Vec3>& locations);
  static GLfloat radiusAround(CC3Vec3 center, const CC3BoundingVertexLocations& locations);

 protected:
  CC3NodeBoundingVolume* newInstance() const override {
    return new CC3NodeSphericalBoundingVolume();
  }

  GLfloat radius_ = 0;
  GLfloat globalRadius_ = 0;
};

class CC3NodeBoundingBoxVolume : public CC3NodeBoundingVolume {
 public:
  static Ptr<CC3NodeBoundingBoxVolume> boundingVolume();

  CC3Box boundingBox() const { return boundingBox_; }
  void setBoundingBox(CC3Box box) { boundingBox_ = box; }
  // The eight corners in world coordinates, min-x corners first (see transformVolume).
  const CC3Vec3* globalBoundingBoxVertices() const { return globalBoundingBoxVertices_; }

  void transformVolume() override;
  bool doesIntersectFrustum(CC3Frustum* frustum) override;
  void populateFrom(const CC3NodeBoundingVolume* another) override;
  std::string description() const override;

  // Component-wise minimum and maximum of the locations.
  static CC3Box boxAround(const std::vector<CC3Vec3>& locations);

 protected:
  CC3NodeBoundingVolume* newInstance() const override { return new CC3NodeBoundingBoxVolume(); }

  CC3Box boundingBox_ = kCC3BoxZero;
  CC3Vec3 globalBoundingBoxVertices_[8] = {};
};

// Tests its members in order, the cheap ones first: the node is outside as
// soon as one member says so.
class CC3NodeTighteningBoundingVolumeSequence : public CC3NodeBoundingVolume {
 public:
  static Ptr<CC3NodeTighteningBoundingVolumeSequence> boundingVolume();

  std::size_t volumeCount() const { return boundingVolumes_.size(); }
  CC3NodeBoundingVolume* volumeAt(std::size_t i) const { return boundingVolumes_[i].get(); }
  void addBoundingVolume(CC3NodeBoundingVolume* volume);

  void setNode(CC3Node* node) override;
  void buildVolume() override;
  void transformVolume() override;
  bool doesIntersectFrustum(CC3Frustum* frustum) override;
  void populateFrom(const CC3NodeBoundingVolume* another) override;
  std::string description() const override;

 protected:
  CC3NodeBoundingVolume* newInstance() const override {
    return new CC3NodeTighteningBoundingVolumeSequence();
  }

  std::vector<Ptr<CC3NodeBoundingVolume>> boundingVolumes_;
};

// The centre of the node's mesh vertex locations.
class CC3VertexLocationsBoundingVolume : public CC3NodeBoundingVolume {
 public:
  static Ptr<CC3VertexLocationsBoundingVolume> boundingVolume();
  void buildVolume() override;

 protected:
  CC3NodeBoundingVolume* newInstance() const override {
    return new CC3VertexLocationsBoundingVolume();
  }
};

// A sphere around the centre of the mesh's vertex locations, reaching the farthest one.
class CC3VertexLocationsSphericalBoundingVolume : public CC3NodeSphericalBoundingVolume {
 public:
  static Ptr<CC3VertexLocationsSphericalBoundingVolume> boundingVolume();
  void buildVolume() override;

 protected:
  CC3NodeBoundingVolume* newInstance() const override {
    return new CC3VertexLocationsSphericalBoundingVolume();
  }
};

// The box of the mesh's vertex locations.
class CC3VertexLocationsBoundingBoxVolume : public CC3NodeBoundingBoxVolume {
 public:
  static Ptr<CC3VertexLocationsBoundingBoxVolume> boundingVolume();
  void buildVolume() override;

 protected:
  CC3NodeBoundingVolume* newInstance() const override {
    return new CC3VertexLocationsBoundingBoxVolume();
  }
};
