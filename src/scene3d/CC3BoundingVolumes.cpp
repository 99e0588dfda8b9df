#include "CC3BoundingVolumes.h"

#include <algorithm>
#include <cstdio>

#include "Assert.h"
#include "CC3Frustum.h"
#include "CC3Node.h"

namespace {

std::string formatRadii(GLfloat radius, GLfloat globalRadius) {
  char text[96];
  std::snprintf(text, sizeof text, " with radius: %.2f, global radius: %.2f", radius, globalRadius);
  return text;
}

}  // namespace

// MARK: base

Ptr<CC3NodeBoundingVolume> CC3NodeBoundingVolume::boundingVolume() {
  return makeObject<CC3NodeBoundingVolume>();
}

void CC3NodeBoundingVolume::buildVolumeIfNeeded() {
  if (volumeNeedsBuilding_) buildVolume();
}

void CC3NodeBoundingVolume::update() {
  buildVolumeIfNeeded();
  if (node_) transformVolume();
}

void CC3NodeBoundingVolume::transformVolume() {
  if (!node_) return;
  // The node's origin is already known; only an offset centre needs the matrix.
  if (centerOfGeometry_ == kCC3Vec3Zero)
    globalCenterOfGeometry_ = node_->globalLocation();
  else
    globalCenterOfGeometry_ = node_->transformMatrix()->transformLocation(centerOfGeometry_);
}

bool CC3NodeBoundingVolume::doesIntersectFrustum(CC3Frustum* frustum) {
  return frustum->doesIntersectPointAt(globalCenterOfGeometry_);
}

Ptr<CC3NodeBoundingVolume> CC3NodeBoundingVolume::copy() const {
  auto aCopy = Ptr<CC3NodeBoundingVolume>::adopt(newInstance());
  aCopy->populateFrom(this);
  return aCopy;
}

void CC3NodeBoundingVolume::populateFrom(const CC3NodeBoundingVolume* another) {
  centerOfGeometry_ = another->centerOfGeometry_;
  globalCenterOfGeometry_ = another->globalCenterOfGeometry_;
  cameraDistanceSquared_ = another->cameraDistanceSquared_;
  volumeNeedsBuilding_ = another->volumeNeedsBuilding_;
}

std::string CC3NodeBoundingVolume::description() const {
  return NSObject::description() +
         " globally centered at: " + NSStringFromCC3Vec3(globalCenterOfGeometry_);
}

// MARK: sphere

Ptr<CC3NodeSphericalBoundingVolume> CC3NodeSphericalBoundingVolume::boundingVolume() {
  return makeObject<CC3NodeSphericalBoundingVolume>();
}

void CC3NodeSphericalBoundingVolume::transformVolume() {
  CC3NodeBoundingVolume::transformVolume();
  if (!node_) return;
  CC3Vec3 gs = node_->globalScale();
  globalRadius_ = radius_ * std::max({gs.x, gs.y, gs.z});
}

bool CC3NodeSphericalBoundingVolume::doesIntersectFrustum(CC3Frustum* frustum) {
  return frustum->doesIntersectSphereAt(globalCenterOfGeometry_, globalRadius_);
}

void CC3NodeSphericalBoundingVolume::populateFrom(const CC3NodeBoundingVolume* another) {
  CC3NodeBoundingVolume::populateFrom(another);
  if (const auto* other = dynamic_cast<const CC3NodeSphericalBoundingVolume*>(another)) {
    radius_ = other->radius_;
    globalRadius_ = other->globalRadius_;
  }
}

std::string CC3NodeSphericalBoundingVolume::description() const {
  return CC3NodeBoundingVolume::description() + formatRadii(radius_, globalRadius_);
}

GLfloat CC3NodeSphericalBoundingVolume::radiusAround(CC3Vec3 center,
                                                     const CC3BoundingVertexLocations& locations) {
  GLfloat radius = 0;
  GLuint count = locations.elementCount();
  for (GLuint i = 0; i < count; ++i)
    radius = std::max(radius, CC3Vec3Distance(center, locations.locationAt(i)));
  CCAssert(radius > 0, "Spherical bounding radius is zero");
  return radius;
}

GLfloat CC3NodeSphericalBoundingVolume::radiusAround(CC3Vec3 center,
                                                     const std::vector<CC3Vec3>& locations) {
  GLfloat radius = 0;
  for (const CC3Vec3& location : locations)
    radius = std::max(radius, CC3Vec3Distance(center, location));
  CCAssert(radius > 0, "Spherical bounding radius is zero");
  return radius;
}

// MARK: box

Ptr<CC3NodeBoundingBoxVolume> CC3NodeBoundingBoxVolume::boundingVolume() {
  return makeObject<CC3NodeBoundingBoxVolume>();
}

void CC3NodeBoundingBoxVolume::transformVolume() {
  CC3NodeBoundingVolume::transformVolume();
  if (!node_) return;
  const CC3Vec3 lo = boundingBox_.minimum;
  const CC3Vec3 hi = boundingBox_.maximum;
  const CC3Vec3 corners[8] = {{lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, lo.z},
                              {lo.x, hi.y, hi.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z},
                              {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}};
  CC3GLMatrix* transform = node_->transformMatrix();
  for (int i = 0; i < 8; ++i)
    globalBoundingBoxVertices_[i] = transform->transformLocation(corners[i]);
}

bool CC3NodeBoundingBoxVolume::doesIntersectFrustum(CC3Frustum* frustum) {
  for (const CC3Plane& plane : {frustum->nearPlane(), frustum->leftPlane(), frustum->rightPlane(),
                                frustum->topPlane(), frustum->bottomPlane(), frustum->farPlane()}) {
    bool anyInside = false;
    for (const CC3Vec3& corner : globalBoundingBoxVertices_) {
      if (CC3DistanceFromNormalizedPlane(plane, corner) > 0) {
        anyInside = true;
        break;
      }
    }
    if (!anyInside) return false;
  }
  return true;
}

void CC3NodeBoundingBoxVolume::populateFrom(const CC3NodeBoundingVolume* another) {
  CC3NodeBoundingVolume::populateFrom(another);
  if (const auto* other = dynamic_cast<const CC3NodeBoundingBoxVolume*>(another)) {
    boundingBox_ = other->boundingBox_;
    std::copy(std::begin(other->globalBoundingBoxVertices_),
              std::end(other->globalBoundingBoxVertices_), globalBoundingBoxVertices_);
  }
}

std::string CC3NodeBoundingBoxVolume::description() const {
  return NSObject::description() + " with global bounding box: (" +
         NSStringFromCC3Vec3(globalBoundingBoxVertices_[0]) + ", " +
         NSStringFromCC3Vec3(globalBoundingBoxVertices_[7]) + ")";
}

CC3Box CC3NodeBoundingBoxVolume::boxAround(const std::vector<CC3Vec3>& locations) {
  if (locations.empty()) return kCC3BoxZero;
  CC3Box box{locations.front(), locations.front()};
  for (const CC3Vec3& location : locations) {
    box.minimum = CC3Vec3Minimize(box.minimum, location);
    box.maximum = CC3Vec3Maximize(box.maximum, location);
  }
  return box;
}

// MARK: sequence

Ptr<CC3NodeTighteningBoundingVolumeSequence>
CC3NodeTighteningBoundingVolumeSequence::boundingVolume() {
  return makeObject<CC3NodeTighteningBoundingVolumeSequence>();
}

void CC3NodeTighteningBoundingVolumeSequence::addBoundingVolume(CC3NodeBoundingVolume* volume) {
  if (!volume) return;
  boundingVolumes_.emplace_back(volume);
  volume->setNode(node_);
}

void CC3NodeTighteningBoundingVolumeSequence::setNode(CC3Node* node) {
  CC3NodeBoundingVolume::setNode(node);
  for (auto& volume : boundingVolumes_) volume->setNode(node);
}

void CC3NodeTighteningBoundingVolumeSequence::buildVolume() {
  for (auto& volume : boundingVolumes_) {
    volume->buildVolume();
    centerOfGeometry_ = volume->centerOfGeometry();
  }
  volumeNeedsBuilding_ = false;
}

void CC3NodeTighteningBoundingVolumeSequence::transformVolume() {
  CC3NodeBoundingVolume::transformVolume();
  for (auto& volume : boundingVolumes_) volume->transformVolume();
}

bool CC3NodeTighteningBoundingVolumeSequence::doesIntersectFrustum(CC3Frustum* frustum) {
  for (auto& volume : boundingVolumes_)
    if (!volume->doesIntersectFrustum(frustum)) return false;
  return true;
}

void CC3NodeTighteningBoundingVolumeSequence::populateFrom(const CC3NodeBoundingVolume* another) {
  CC3NodeBoundingVolume::populateFrom(another);
  const auto* other = dynamic_cast<const CC3NodeTighteningBoundingVolumeSequence*>(another);
  if (!other) return;
  boundingVolumes_.clear();
  for (const auto& volume : other->boundingVolumes_) addBoundingVolume(volume->copy());
}

std::string CC3NodeTighteningBoundingVolumeSequence::description() const {
  if (boundingVolumes_.empty()) return NSObject::description() + " containing nothing";
  std::string text = NSObject::description() + " containing:";
  for (const auto& volume : boundingVolumes_) text += "\n\t" + volume->description();
  return text;
}

// MARK: built from the mesh's vertex locations

namespace {

CC3BoundingVertexLocations* locationsOf(const CC3Node* node) {
  return node ? node->boundingVertexLocations() : nullptr;
}

}  // namespace

Ptr<CC3VertexLocationsBoundingVolume> CC3VertexLocationsBoundingVolume::boundingVolume() {
  return makeObject<CC3VertexLocationsBoundingVolume>();
}

void CC3VertexLocationsBoundingVolume::buildVolume() {
  if (CC3BoundingVertexLocations* locations = locationsOf(node_))
    centerOfGeometry_ = locations->centerOfGeometry();
  volumeNeedsBuilding_ = false;
}

Ptr<CC3VertexLocationsSphericalBoundingVolume>
CC3VertexLocationsSphericalBoundingVolume::boundingVolume() {
  return makeObject<CC3VertexLocationsSphericalBoundingVolume>();
}

void CC3VertexLocationsSphericalBoundingVolume::buildVolume() {
  if (CC3BoundingVertexLocations* locations = locationsOf(node_)) {
    centerOfGeometry_ = locations->centerOfGeometry();
    CCAssert(locations->elementType() == GL_FLOAT,
             className() + " must have elementType GLFLOAT to calculate mesh radius");
    radius_ = radiusAround(centerOfGeometry_, *locations);
  }
  volumeNeedsBuilding_ = false;
}

Ptr<CC3VertexLocationsBoundingBoxVolume> CC3VertexLocationsBoundingBoxVolume::boundingVolume() {
  return makeObject<CC3VertexLocationsBoundingBoxVolume>();
}

void CC3VertexLocationsBoundingBoxVolume::buildVolume() {
  if (CC3BoundingVertexLocations* locations = locationsOf(node_)) {
    centerOfGeometry_ = locations->centerOfGeometry();
    boundingBox_ = locations->boundingBox();
  }
  volumeNeedsBuilding_ = false;
}
