#include "CC3Billboard.h"

#include <algorithm>
#include <cstdio>

#include "CC3Camera.h"

// MARK: creation

Ptr<CC3Billboard> CC3Billboard::nodeWithBillboard(CCNode* billboard) {
  auto aNode = makeObject<CC3Billboard>();
  aNode->initWithBillboard(billboard);
  return aNode;
}

Ptr<CC3Billboard> CC3Billboard::nodeWithName(std::optional<std::string> name, CCNode* billboard) {
  auto aNode = makeObject<CC3Billboard>();
  aNode->initWithName(std::move(name), billboard);
  return aNode;
}

bool CC3Billboard::initWithBillboard(CCNode* billboard) {
  return initWithTag(nextNodeTag(), std::nullopt, billboard);
}

bool CC3Billboard::initWithName(std::optional<std::string> name, CCNode* billboard) {
  return initWithTag(nextNodeTag(), std::move(name), billboard);
}

bool CC3Billboard::initWithTag(GLuint tag, std::optional<std::string> name, CCNode* billboard) {
  if (!initWithTag(tag, std::move(name))) return false;
  setBillboard(billboard);
  return true;
}

bool CC3Billboard::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3Node::initWithTag(tag, std::move(name))) return false;
  offsetPosition_ = CGPointZero;
  unityScaleDistance_ = 0;
  minimumBillboardScale_ = CGPointZero;
  maximumBillboardScale_ = CGPointZero;
  setBoundingVolume(CC3BillboardBoundingBoxArea::boundingVolume());
  return true;
}

// MARK: properties

void CC3Billboard::setBillboard(CCNode* billboard) {
  Ptr<CCNode> old = billboard_;
  billboard_ = billboard;
  if (billboard_) billboard_->setVisible(visible());
}

void CC3Billboard::setVisible(bool visible) {
  CC3Node::setVisible(visible);
  if (billboard_) billboard_->setVisible(visible);
}

namespace {
CCRGBAProtocol* rgbaOf(CCNode* node) {
  return dynamic_cast<CCRGBAProtocol*>(node);
}
}  // namespace

ccColor3B CC3Billboard::color() const {
  CCRGBAProtocol* rgba = rgbaOf(billboard_.get());
  return rgba ? rgba->color() : CC3Node::color();
}

void CC3Billboard::setColor(ccColor3B color) {
  if (CCRGBAProtocol* rgba = rgbaOf(billboard_.get())) rgba->setColor(color);
  CC3Node::setColor(color);
}

GLubyte CC3Billboard::opacity() const {
  CCRGBAProtocol* rgba = rgbaOf(billboard_.get());
  return rgba ? rgba->opacity() : CC3Node::opacity();
}

void CC3Billboard::setOpacity(GLubyte opacity) {
  if (CCRGBAProtocol* rgba = rgbaOf(billboard_.get())) rgba->setOpacity(opacity);
  CC3Node::setOpacity(opacity);
}

// MARK: facing the camera

void CC3Billboard::faceCamera(CC3Camera* camera) {
  if (!camera || !billboard_) return;
  camera->projectNode(this);
  CGPoint projected = projectedPosition();
  billboard_->setPosition(
      CGPointMake(projected.x + offsetPosition_.x, projected.y + offsetPosition_.y));

  CGPoint scale2d;
  bool fixed = !(minimumBillboardScale_.x == 0 && minimumBillboardScale_.y == 0) &&
               minimumBillboardScale_.x == maximumBillboardScale_.x &&
               minimumBillboardScale_.y == maximumBillboardScale_.y;
  if (fixed) {
    scale2d = minimumBillboardScale_;
  } else {
    GLfloat nearClip = camera->nearClippingPlane();
    GLfloat camDist =
        std::max(CC3Vec3Distance(globalLocation(), camera->globalLocation()), nearClip);
    GLfloat unityDist = std::max(unityScaleDistance_, nearClip);
    GLfloat s = unityDist / camDist;
    GLfloat sx = std::max(minimumBillboardScale_.x, s);
    GLfloat sy = std::max(minimumBillboardScale_.y, s);
    if (maximumBillboardScale_.x != 0) sx = std::min(sx, maximumBillboardScale_.x);
    if (maximumBillboardScale_.y != 0) sy = std::min(sy, maximumBillboardScale_.y);
    scale2d = CGPointMake(scale().x * sx, scale().y * sy);
  }
  if (billboard_->scaleX() != scale2d.x) billboard_->setScaleX(scale2d.x);
  if (billboard_->scaleY() != scale2d.y) billboard_->setScaleY(scale2d.y);
}

// MARK: drawing

bool CC3Billboard::doesIntersectBounds(CGRect bounds) {
  auto* area = dynamic_cast<CC3NodeBoundingArea*>(boundingVolume());
  return area ? area->doesIntersectBounds(bounds) : true;
}

void CC3Billboard::draw2dWithinBounds(CGRect bounds) {
  if (billboard_ && visible() && doesIntersectBounds(bounds)) billboard_->visit();
}

// MARK: copying and descriptions

void CC3Billboard::populateFrom(const CC3Identifiable* another) {
  CC3Node::populateFrom(another);
  const auto* other = dynamic_cast<const CC3Billboard*>(another);
  if (!other) return;
  // 2D nodes cannot be copied: the copy shows nothing until given one.
  setBillboard(nullptr);
  offsetPosition_ = other->offsetPosition_;
  unityScaleDistance_ = other->unityScaleDistance_;
  minimumBillboardScale_ = other->minimumBillboardScale_;
  maximumBillboardScale_ = other->maximumBillboardScale_;
}

std::string CC3Billboard::fullDescription() {
  char distance[32];
  std::snprintf(distance, sizeof distance, "%.2f", unityScaleDistance_);
  return CC3Node::fullDescription() +
         ", billboard: " + (billboard_ ? billboard_->description() : std::string("(null)")) +
         ", offset: " + CC3StringFromCGPoint(offsetPosition_) + ", unity distance: " + distance +
         ", min: " + CC3StringFromCGPoint(minimumBillboardScale_) +
         ", max: " + CC3StringFromCGPoint(maximumBillboardScale_);
}
