// The node's transform: local properties, the cached global matrices and the
// update and drawing entry points that the visitors call.
#include "Assert.h"
#include "CC3BoundingVolumes.h"
#include "CC3Node.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3OpenGLES11Matrices.h"

// MARK: local properties

// Setting what is already set leaves the transform, and the picture, alone.

void CC3Node::setLocation(CC3Vec3 location) {
  if (location == location_) return;
  location_ = location;
  markTransformDirty();
}

void CC3Node::setRotation(CC3Vec3 rotation) {
  rotator_->setRotation(rotation);
  markTransformDirty();
}

void CC3Node::setQuaternion(CC3Quaternion quaternion) {
  rotator_->setQuaternion(quaternion);
  markTransformDirty();
}

void CC3Node::setScale(CC3Vec3 scale) {
  if (scale == scale_) return;
  scale_ = scale;
  markTransformDirty();
}

void CC3Node::setRotator(CC3Rotator* rotator) {
  rotator_ = rotator;
  markTransformDirty();
}

GLfloat CC3Node::uniformScale() const {
  if (isUniformlyScaledLocally()) return scale_.x;
  return CC3Vec3Length(scale_) / 1.7320508f;
}

bool CC3Node::isUniformlyScaledLocally() const {
  return scale_.x == scale_.y && scale_.x == scale_.z;
}

bool CC3Node::isUniformlyScaledGlobally() const {
  return isUniformlyScaledLocally() && (!parent_ || parent_->isUniformlyScaledGlobally());
}

bool CC3Node::isTransformRigid() const {
  return scale_ == kCC3Vec3Unit && (!parent_ || parent_->isTransformRigid());
}

// MARK: global transform

void CC3Node::setTransformMatrix(CC3GLMatrix* matrix) {
  transformMatrix_ = matrix;
  isTransformInvertedDirty_ = true;
  isGlobalRotationDirty_ = true;
}

void CC3Node::updateTransformMatrices() {
  auto visitor = CC3NodeTransformingVisitor::visitor();
  visitor->open();
  updateWithVisitor(visitor);
  visitor->close();
}

void CC3Node::buildTransformMatrix() {
  if (parent_)
    transformMatrix_->populateFrom(parent_->transformMatrix());
  else
    transformMatrix_->populateIdentity();
  applyLocalTransforms();
  if (boundingVolume_) boundingVolume_->update();
  isTransformDirty_ = false;
  isTransformInvertedDirty_ = true;
  isGlobalRotationDirty_ = true;
}

void CC3Node::applyLocalTransforms() {
  applyTranslation();
  applyRotation();
  applyScaling();
}

void CC3Node::applyTranslation() {
  transformMatrix_->translateBy(location_);
  globalLocation_ = transformMatrix_->transformLocation(kCC3Vec3Zero);
}

void CC3Node::applyRotation() {
  rotator_->applyRotationTo(transformMatrix_.get());
}

void CC3Node::applyScaling() {
  transformMatrix_->scaleBy(scale_);
  globalScale_ = parent_ ? CC3Vec3Scale(parent_->globalScale(), scale_) : scale_;
}

CC3GLMatrix* CC3Node::transformMatrixInverted() {
  if (!transformMatrixInverted_) {
    transformMatrixInverted_ = CC3GLMatrix::matrix();
    isTransformInvertedDirty_ = true;
  }
  if (isTransformInvertedDirty_) {
    transformMatrixInverted_->populateFrom(transformMatrix_.get());
    if (isTransformRigid())
      transformMatrixInverted_->invertRigid();
    else
      transformMatrixInverted_->invertAffine();
    isTransformInvertedDirty_ = false;
  }
  return transformMatrixInverted_.get();
}

CC3GLMatrix* CC3Node::globalRotationMatrix() {
  if (!globalRotationMatrix_) {
    globalRotationMatrix_ = CC3GLMatrix::matrix();
    isGlobalRotationDirty_ = true;
  }
  if (isGlobalRotationDirty_) {
    if (parent_) {
      globalRotationMatrix_->populateFrom(parent_->globalRotationMatrix());
      globalRotationMatrix_->multiplyByMatrix(rotator_->rotationMatrix());
    } else {
      globalRotationMatrix_->populateFrom(rotator_->rotationMatrix());
    }
    isGlobalRotationDirty_ = false;
  }
  return globalRotationMatrix_.get();
}

CC3Vec3 CC3Node::globalRotation() {
  return globalRotationMatrix()->extractRotation();
}

// MARK: updating

void CC3Node::updateWithVisitor(CC3NodeTransformingVisitor* visitor) {
  visitor->updateNode(this);
}

void CC3Node::updateChildrenWithVisitor(CC3NodeTransformingVisitor* visitor) {
  // Indexing, not a range: an update hook may add or remove children.
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->updateWithVisitor(visitor);
}

void CC3Node::updateBeforeTransform(CC3NodeUpdatingVisitor* visitor) {
  updateBeforeChildren(visitor);
  update(visitor->deltaTime());
}

void CC3Node::updateAfterTransform(CC3NodeUpdatingVisitor* visitor) {
  updateAfterChildren(visitor);
}

// MARK: drawing

void CC3Node::drawWithVisitor(CC3NodeDrawingVisitor* visitor) {
  CCAssert(visitor, className() + " drawing visitor must not be nil");
  if (!visible()) return;
  if (hasLocalContent() && doesIntersectFrustum(visitor->frustum()))
    transformAndDrawWithVisitor(visitor);
  if (visitor->shouldVisitChildren()) drawChildrenWithVisitor(visitor);
}

void CC3Node::drawChildrenWithVisitor(CC3NodeDrawingVisitor* visitor) {
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->drawWithVisitor(visitor);
}

bool CC3Node::doesIntersectFrustum(CC3Frustum* frustum) {
  if (!boundingVolume_ || !frustum) return true;
  return boundingVolume_->doesIntersectFrustum(frustum);
}

void CC3Node::transformAndDrawWithVisitor(CC3NodeDrawingVisitor* visitor) {
  CC3OpenGLES11MatrixStack* modelview = CC3OpenGLES11Engine::engine()->matrices()->modelview();
  modelview->push();
  modelview->multiply(transformMatrix_->glMatrix());
  visitor->drawLocalContentOf(this);
  modelview->pop();
}

void CC3Node::checkDrawingOrder() {
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->checkDrawingOrder();
}
