#include "CC3TargettingNode.h"

#include <cmath>

#include "Assert.h"

Ptr<CC3TargettingNode> CC3TargettingNode::node() {
  return nodeWithName(std::nullopt);
}

Ptr<CC3TargettingNode> CC3TargettingNode::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3TargettingNode>(nextNodeTag(), std::move(name));
}

CC3TargettingNode::~CC3TargettingNode() = default;

bool CC3TargettingNode::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3Node::initWithTag(tag, std::move(name))) return false;
  target_ = nullptr;
  targetLocation_ = kCC3Vec3Zero;
  isNewTarget_ = false;
  shouldTrackTarget_ = false;
  // Derived from the default direction on first read, not left at the origin.
  isTargetLocationDirty_ = true;
  isRotatorDirtyByTargetLocation_ = false;
  return true;
}

CC3DirectionalRotator* CC3TargettingNode::directionalRotator() const {
  auto* rotator = dynamic_cast<CC3DirectionalRotator*>(rotator_.get());
  CCAssert(rotator, className() + " needs a directional rotator");
  return rotator;
}

void CC3TargettingNode::setTarget(CC3Node* target) {
  if (target != target_.get()) isNewTarget_ = true;
  target_ = target;
}

void CC3TargettingNode::setTargetLocation(CC3Vec3 location) {
  targetLocation_ = location;
  isTargetLocationDirty_ = false;
  markTransformDirty();
  isRotatorDirtyByTargetLocation_ = true;
}

CC3Vec3 CC3TargettingNode::targetLocation() {
  if (isTargetLocationDirty_) {
    CC3Vec3 g = globalLocation_;
    GLfloat d = std::fabs(g.x) + std::fabs(g.y) + std::fabs(g.z);
    if (d <= 1.0f) d = 1.0f;
    targetLocation_ = CC3Vec3Add(g, CC3Vec3ScaleUniform(forwardDirection(), d));
    isTargetLocationDirty_ = false;
  }
  return targetLocation_;
}

void CC3TargettingNode::setForwardDirection(CC3Vec3 direction) {
  if (shouldTrackTarget_) return;
  directionalRotator()->setForwardDirection(direction);
  isRotatorDirtyByTargetLocation_ = false;
  // The location looked at follows the new direction.
  isTargetLocationDirty_ = true;
  markTransformDirty();
}

void CC3TargettingNode::setWorldUpDirection(CC3Vec3 direction) {
  directionalRotator()->setWorldUpDirection(direction);
  markTransformDirty();
}

void CC3TargettingNode::setLocation(CC3Vec3 location) {
  CC3Node::setLocation(location);
  isTargetLocationDirty_ = true;
}

void CC3TargettingNode::setRotation(CC3Vec3 rotation) {
  if (shouldTrackTarget_) return;
  CC3Node::setRotation(rotation);
  isTargetLocationDirty_ = true;
  isRotatorDirtyByTargetLocation_ = false;
}

void CC3TargettingNode::setQuaternion(CC3Quaternion quaternion) {
  if (shouldTrackTarget_) return;
  CC3Node::setQuaternion(quaternion);
  isTargetLocationDirty_ = true;
  isRotatorDirtyByTargetLocation_ = false;
}

void CC3TargettingNode::applyRotation() {
  if (isRotatorDirtyByTargetLocation_) {
    directionalRotator()->setForwardDirection(CC3Vec3Difference(targetLocation_, globalLocation_));
    isRotatorDirtyByTargetLocation_ = false;
  }
  CC3Node::applyRotation();
}

void CC3TargettingNode::trackTarget() {
  if (target_ && (isNewTarget_ || shouldTrackTarget_)) {
    CC3Vec3 targetGlobal = target_->globalLocation();
    if (!(targetGlobal == targetLocation())) {
      setTargetLocation(targetGlobal);
      updateTransformMatrices();
    }
  }
  isNewTarget_ = false;
}

void CC3TargettingNode::populateFrom(const CC3Identifiable* another) {
  CC3Node::populateFrom(another);
  const auto* other = dynamic_cast<const CC3TargettingNode*>(another);
  if (!other) return;
  target_ = other->target_;
  targetLocation_ = other->targetLocation_;
  isNewTarget_ = other->isNewTarget_;
  shouldTrackTarget_ = other->shouldTrackTarget_;
  isTargetLocationDirty_ = other->isTargetLocationDirty_;
  isRotatorDirtyByTargetLocation_ = other->isRotatorDirtyByTargetLocation_;
}

std::string CC3TargettingNode::fullDescription() {
  return CC3Node::fullDescription() + ", targetted at: " + NSStringFromCC3Vec3(targetLocation()) +
         ", from target: " + (target_ ? target_->description() : "(null)");
}
