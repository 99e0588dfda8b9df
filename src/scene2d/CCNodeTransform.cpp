#include <GLES/gl.h>

#include "CCCamera.h"
#include "CCDirector.h"
#include "CCGridBase.h"
#include "CCNode.h"
#include "UITouch.h"

namespace {
constexpr float kDegreesToRadians = 0.017453292f;

CGPoint scaled(CGPoint p, float f) {
  return f == 1 ? p : CGPoint{p.x * f, p.y * f};
}
}  // namespace

// MARK: drawing

void CCNode::visit() {
  if (!visible_) return;
  glPushMatrix();
  const bool withGrid = gridActive();
  if (withGrid) {
    grid_->beforeDraw();
    transformAncestors();
  }
  transform();
  // Negative z-orders are drawn behind the node, the rest in front.
  // Counts are re-read: a child may leave its parent while it is drawn.
  std::size_t i = 0;
  for (; i < childrenCount(); ++i) {
    CCNode* child = childAtIndex(i);
    if (child->zOrder_ >= 0) break;
    child->visit();
  }
  draw();
  for (; i < childrenCount(); ++i) childAtIndex(i)->visit();
  if (withGrid) grid_->afterDraw(this);
  glPopMatrix();
}

void CCNode::transformAncestors() {
  if (parent_) {
    parent_->transformAncestors();
    parent_->transform();
  }
}

void CCNode::transform() {
  if (isTransformGLDirty_) {
    const CGAffineTransform t = nodeToParentTransform();
    for (GLfloat& m : transformGL_) m = 0;
    transformGL_[0] = t.a;
    transformGL_[1] = t.b;
    transformGL_[4] = t.c;
    transformGL_[5] = t.d;
    transformGL_[12] = t.tx;
    transformGL_[13] = t.ty;
    transformGL_[10] = 1;
    transformGL_[15] = 1;
    isTransformGLDirty_ = false;
  }
  glMultMatrixf(transformGL_);
  if (vertexZ_ != 0) glTranslatef(0, 0, vertexZ_);
  if (camera_ && !gridActive()) {
    const CGPoint a = anchorPointInPixels_;
    const bool translate = a.x != 0 || a.y != 0;
    if (translate) glTranslatef(a.x, a.y, 0);
    camera_->locate();
    if (translate) glTranslatef(-a.x, -a.y, 0);
  }
}

// MARK: transforms

CGAffineTransform CCNode::nodeToParentTransform() {
  if (!isTransformDirty_) return transform_;
  CGAffineTransform t = CGAffineTransformIdentity;
  const CGPoint a = anchorPointInPixels_;
  const bool hasAnchor = a.x != 0 || a.y != 0;
  if (!isRelativeAnchorPoint_ && hasAnchor) t = CGAffineTransformTranslate(t, a.x, a.y);
  if (positionInPixels_.x != 0 || positionInPixels_.y != 0)
    t = CGAffineTransformTranslate(t, positionInPixels_.x, positionInPixels_.y);
  if (rotation_ != 0) t = CGAffineTransformRotate(t, -rotation_ * kDegreesToRadians);
  if (scaleX_ != 1 || scaleY_ != 1) t = CGAffineTransformScale(t, scaleX_, scaleY_);
  if (hasAnchor) t = CGAffineTransformTranslate(t, -a.x, -a.y);
  transform_ = t;
  isTransformDirty_ = false;
  return transform_;
}

CGAffineTransform CCNode::parentToNodeTransform() {
  if (isInverseDirty_) {
    inverse_ = CGAffineTransformInvert(nodeToParentTransform());
    isInverseDirty_ = false;
  }
  return inverse_;
}

CGAffineTransform CCNode::nodeToWorldTransform() {
  CGAffineTransform t = nodeToParentTransform();
  for (CCNode* p = parent_; p; p = p->parent_)
    t = CGAffineTransformConcat(t, p->nodeToParentTransform());
  return t;
}

CGAffineTransform CCNode::worldToNodeTransform() {
  return CGAffineTransformInvert(nodeToWorldTransform());
}

CGRect CCNode::boundingBoxInPixels() {
  CGRect r = {CGPointZero, contentSizeInPixels_};
  return CGRectApplyAffineTransform(r, nodeToParentTransform());
}

CGRect CCNode::boundingBox() {
  CGRect r = boundingBoxInPixels();
  const float f = CC_CONTENT_SCALE_FACTOR();
  if (f == 1) return r;
  return {{r.origin.x / f, r.origin.y / f}, {r.size.width / f, r.size.height / f}};
}

// MARK: conversions

CGPoint CCNode::convertToNodeSpace(CGPoint worldPoint) {
  const float f = CC_CONTENT_SCALE_FACTOR();
  CGPoint p = CGPointApplyAffineTransform(scaled(worldPoint, f), worldToNodeTransform());
  return scaled(p, 1 / f);
}

CGPoint CCNode::convertToWorldSpace(CGPoint nodePoint) {
  const float f = CC_CONTENT_SCALE_FACTOR();
  CGPoint p = CGPointApplyAffineTransform(scaled(nodePoint, f), nodeToWorldTransform());
  return scaled(p, 1 / f);
}

CGPoint CCNode::convertToNodeSpaceAR(CGPoint worldPoint) {
  CGPoint p = convertToNodeSpace(worldPoint);
  const CGPoint a = scaled(anchorPointInPixels_, 1 / CC_CONTENT_SCALE_FACTOR());
  return {p.x - a.x, p.y - a.y};
}

CGPoint CCNode::convertToWorldSpaceAR(CGPoint nodePoint) {
  const CGPoint a = scaled(anchorPointInPixels_, 1 / CC_CONTENT_SCALE_FACTOR());
  return convertToWorldSpace({nodePoint.x + a.x, nodePoint.y + a.y});
}

CGPoint CCNode::convertToWindowSpace(CGPoint nodePoint) {
  return CCDirector::sharedDirector()->convertToUI(convertToWorldSpace(nodePoint));
}

CGPoint CCNode::convertTouchToNodeSpace(const UITouch* touch) {
  CGPoint p = touch->locationInView(touch->view());
  return convertToNodeSpace(CCDirector::sharedDirector()->convertToGL(p));
}

CGPoint CCNode::convertTouchToNodeSpaceAR(const UITouch* touch) {
  CGPoint p = touch->locationInView(touch->view());
  return convertToNodeSpaceAR(CCDirector::sharedDirector()->convertToGL(p));
}
