#include "CC3Camera.h"

#include <cmath>
#include <cstdio>

#include "Assert.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3ViewportManager.h"
#include "CC3World.h"

// MARK: creation

Ptr<CC3Camera> CC3Camera::node() {
  return nodeWithName(std::nullopt);
}

Ptr<CC3Camera> CC3Camera::nodeWithTag(GLuint tag) {
  return makeNode<CC3Camera>(tag, std::nullopt);
}

Ptr<CC3Camera> CC3Camera::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3Camera>(nextNodeTag(), std::move(name));
}

Ptr<CC3Camera> CC3Camera::nodeWithTag(GLuint tag, std::optional<std::string> name) {
  return makeNode<CC3Camera>(tag, std::move(name));
}

CC3Camera::~CC3Camera() = default;

bool CC3Camera::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3TargettingNode::initWithTag(tag, std::move(name))) return false;
  world_ = nullptr;
  modelviewMatrix_ = CC3GLMatrix::identity();
  frustum_ = CC3Frustum::frustum();
  fieldOfView_ = 45.0f;
  nearClippingPlane_ = 0.5f;
  farClippingPlane_ = 1000.0f;
  isProjectionDirty_ = false;
  return true;
}

void CC3Camera::populateFrom(const CC3Identifiable* another) {
  CC3TargettingNode::populateFrom(another);
  const auto* other = dynamic_cast<const CC3Camera*>(another);
  if (!other) return;
  // A copy belongs to no world until one adopts it.
  modelviewMatrix_->populateFrom(other->modelviewMatrix_.get());
  fieldOfView_ = other->fieldOfView_;
  nearClippingPlane_ = other->nearClippingPlane_;
  farClippingPlane_ = other->farClippingPlane_;
  isProjectionDirty_ = true;
}

CC3ViewportManager* CC3Camera::viewportManager() const {
  return world_ ? world_->viewportManager() : nullptr;
}

CC3Viewport CC3Camera::viewport() const {
  CC3ViewportManager* manager = viewportManager();
  return manager ? manager->viewport() : kCC3ViewportZero;
}

// MARK: lens

void CC3Camera::setFieldOfView(GLfloat degrees) {
  fieldOfView_ = degrees;
  markProjectionDirty();
}

void CC3Camera::setNearClippingPlane(GLfloat distance) {
  nearClippingPlane_ = distance;
  markProjectionDirty();
}

void CC3Camera::setFarClippingPlane(GLfloat distance) {
  farClippingPlane_ = distance;
  markProjectionDirty();
}

void CC3Camera::setScale(CC3Vec3 scale) {
  scale_ = scale;
  markProjectionDirty();
}

// MARK: transform

bool CC3Camera::isTransformRigid() const {
  return !parent_ || parent_->isTransformRigid();
}

void CC3Camera::applyScaling() {
  // The camera's own scale is its zoom; any scale inherited from the
  // parents is undone, so that the view is never stretched.
  globalScale_ = parent_ ? parent_->globalScale() : kCC3Vec3Unit;
  auto undo = [](GLfloat s) { return s != 0.0f ? 1.0f / s : 1.0f; };
  transformMatrix_->scaleBy({undo(globalScale_.x), undo(globalScale_.y), undo(globalScale_.z)});
}

void CC3Camera::buildTransformMatrix() {
  CC3TargettingNode::buildTransformMatrix();
  buildModelViewMatrix();
}

void CC3Camera::buildModelViewMatrix() {
  CC3ViewportManager* manager = viewportManager();
  CC3GLMatrix* deviceRotation = manager ? manager->deviceRotationMatrix() : nullptr;
  if (deviceRotation)
    modelviewMatrix_->populateFrom(deviceRotation);
  else
    modelviewMatrix_->populateIdentity();
  modelviewMatrix_->multiplyByMatrix(transformMatrixInverted());
  frustum_->markPlanesDirty();
}

// MARK: perspective

void CC3Camera::buildPerspective() {
  trackTarget();
  buildProjectionMatrix();
  buildFrustumPlanes();
}

void CC3Camera::buildProjectionMatrix() {
  if (!isProjectionDirty_) return;
  CC3Viewport vp = viewport();
  CCAssert(vp.h != 0, "Camera projection matrix cannot be updated before setting the viewport");
  GLfloat aspect = GLfloat(vp.w) / GLfloat(vp.h);
  frustum_->populateFrom(fieldOfView_, aspect, nearClippingPlane_, farClippingPlane_,
                         uniformScale());
  isProjectionDirty_ = false;
}

void CC3Camera::buildFrustumPlanes() {
  frustum_->buildPlanes(modelviewMatrix_.get());
}

// MARK: drawing

void CC3Camera::open() {
  CC3OpenGLES11Matrices* matrices = CC3OpenGLES11Engine::engine()->matrices();
  matrices->projection()->push();
  matrices->projection()->load(projectionMatrix()->glMatrix());
  matrices->modelview()->push();
  matrices->modelview()->load(modelviewMatrix_->glMatrix());
}

void CC3Camera::close() {
  CC3OpenGLES11Matrices* matrices = CC3OpenGLES11Engine::engine()->matrices();
  matrices->modelview()->pop();
  matrices->projection()->pop();
}

// MARK: projection

CC3Vec3 CC3Camera::projectNode(CC3Node* node) {
  CCAssert(node, "Camera cannot project a nil node.");
  CC3Vec3 projected = projectLocation(node->globalLocation());
  node->setProjectedLocation(projected);
  return projected;
}

CC3Vec3 CC3Camera::projectLocation(CC3Vec3 location) {
  CC3Vec4 v = modelviewMatrix_->transformHomogeneousVector(CC3Vec4FromCC3Vec3(location, 1));
  v = projectionMatrix()->transformHomogeneousVector(v);
  CC3Vec3 ndc = CC3Vec3FromHomogenizedCC3Vec4(v);

  CC3Viewport vp = viewport();
  CGPoint glPoint{GLfloat(vp.x) + GLfloat(vp.w) * (ndc.x + 1) / 2,
                  GLfloat(vp.y) + GLfloat(vp.h) * (ndc.y + 1) / 2};

  CC3Vec3 offset = CC3Vec3Difference(location, globalLocation_);
  GLfloat facing = CC3Vec3Dot(offset, forwardDirection());
  GLfloat side = facing > 0 ? 1.0f : (facing < 0 ? -1.0f : 0.0f);
  GLfloat z = CC3Vec3Length(offset) * side;

  CC3ViewportManager* manager = viewportManager();
  CGPoint point = manager ? manager->cc2PointFromGLPoint(glPoint) : glPoint;
  return {point.x, point.y, z};
}

CC3Vec3 CC3Camera::unprojectPoint(CGPoint point) {
  CC3ViewportManager* manager = viewportManager();
  CGPoint glPoint = manager ? manager->glPointFromCC2Point(point) : point;
  CC3Viewport vp = viewport();
  if (vp.w == 0 || vp.h == 0) return kCC3Vec3Zero;

  // The point on the near plane, in the device-rotated eye space that the
  // projection works in.
  GLfloat xNDC = 2 * (glPoint.x - GLfloat(vp.x)) / GLfloat(vp.w) - 1;
  GLfloat yNDC = 2 * (glPoint.y - GLfloat(vp.y)) / GLfloat(vp.h) - 1;
  CC3Vec3 eye{xNDC * frustum_->right(), yNDC * frustum_->top(), -frustum_->near()};

  // Back through the device rotation (a rotation: its inverse is its
  // transpose) into the camera's frame, then into the world by the camera's
  // rotation.
  CC3GLMatrix* deviceRotation = manager ? manager->deviceRotationMatrix() : nullptr;
  CC3Vec3 local = eye;
  if (deviceRotation) {
    GLfloat m[16];
    CC3GLMatrix::copyMatrix(deviceRotation->glMatrix(), m);
    CC3GLMatrix::transpose(m);
    local = CC3GLMatrix::transformDirection(m, eye);
  }
  return CC3Vec3Normalize(globalRotationMatrix()->transformDirection(local));
}

CC3Vec4 CC3Camera::unprojectPoint(CGPoint point, CC3Plane plane) {
  CC3Ray ray{globalLocation_, unprojectPoint(point)};
  return CC3RayIntersectionWithPlane(ray, plane);
}

// MARK: descriptions

std::string CC3Camera::fullDescription() {
  char lens[96];
  std::snprintf(lens, sizeof lens, ", FOV: %.2f, near: %.2f, far: %.2f", double(fieldOfView_),
                double(nearClippingPlane_), double(farClippingPlane_));
  return CC3TargettingNode::fullDescription() + lens;
}
