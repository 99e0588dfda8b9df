#pragma once
#include <GLES/gl.h>

#include <string>

#include "CCArray.h"
#include "CGGeometry.h"
#include "DrawRevision.h"
#include "NSObject.h"
#include "UIDevice.h"
#include "ccTypes.h"

class CCAction;
class CCCamera;
class CCGridBase;
class UITouch;

enum { kCCNodeTagInvalid = -1 };

// The base of everything the director draws: a 2D transform, ordered
// children with z-orders and tags, a running state that follows the scene,
// and hooks into the scheduler and the action manager. Geometry is kept in
// points and in pixels (points times the content scale factor).
class CCNode : public NSObject {
 public:
  static Ptr<CCNode> node();
  CCNode();
  ~CCNode() override;

  // MARK: children
  void addChild(CCNode* child);
  void addChild(CCNode* child, int z);
  virtual void addChild(CCNode* child, int z, int tag);
  void removeFromParentAndCleanup(bool cleanup);
  virtual void removeChild(CCNode* child, bool cleanup);
  void removeChildByTag(int tag, bool cleanup);
  virtual void removeAllChildrenWithCleanup(bool cleanup);
  virtual void reorderChild(CCNode* child, int z);
  CCNode* getChildByTag(int tag) const;
  CCArray* children() const { return children_.get(); }
  std::size_t childrenCount() const { return children_ ? children_->count() : 0; }
  CCNode* childAtIndex(std::size_t index) const {
    return static_cast<CCNode*>(children_->objectAtIndex(index));
  }
  CCNode* parent() const { return parent_; }
  void setParent(CCNode* parent) { parent_ = parent; }

  // MARK: drawing
  virtual void visit();
  virtual void draw() {}
  void transform();
  void transformAncestors();

  // MARK: lifecycle
  virtual void onEnter();
  virtual void onEnterTransitionDidFinish();
  virtual void onExit();
  virtual void cleanup();
  bool isRunning() const { return isRunning_; }
  // Passes the device orientation on to every child, in order.
  virtual void deviceOrientationDidChange(UIDeviceOrientation orientation);

  // MARK: actions
  CCAction* runAction(CCAction* action);
  void stopAllActions();
  void stopAction(CCAction* action);
  void stopActionByTag(int tag);
  CCAction* getActionByTag(int tag) const;
  unsigned numberOfRunningActions() const;

  // MARK: scheduling
  void scheduleUpdate();
  void scheduleUpdateWithPriority(int priority);
  void unscheduleUpdate();
  // Called every frame after scheduleUpdate; nodes override it.
  virtual void update(ccSeconds) {}
  void schedule(Selector<ccSeconds> sel);
  void schedule(Selector<ccSeconds> sel, ccSeconds interval);
  void unschedule(Selector<ccSeconds> sel);
  void unscheduleAllSelectors();
  void pauseSchedulerAndActions();
  void resumeSchedulerAndActions();

  // MARK: transforms (pixels)
  CGAffineTransform nodeToParentTransform();
  CGAffineTransform parentToNodeTransform();
  CGAffineTransform nodeToWorldTransform();
  CGAffineTransform worldToNodeTransform();
  // Point conversions (points).
  CGPoint convertToNodeSpace(CGPoint worldPoint);
  CGPoint convertToWorldSpace(CGPoint nodePoint);
  CGPoint convertToNodeSpaceAR(CGPoint worldPoint);
  CGPoint convertToWorldSpaceAR(CGPoint nodePoint);
  CGPoint convertToWindowSpace(CGPoint nodePoint);
  CGPoint convertTouchToNodeSpace(const UITouch* touch);
  CGPoint convertTouchToNodeSpaceAR(const UITouch* touch);
  CGRect boundingBox();
  CGRect boundingBoxInPixels();

  // MARK: properties
  float rotation() const { return rotation_; }
  virtual void setRotation(float degrees);
  float scaleX() const { return scaleX_; }
  virtual void setScaleX(float scale);
  float scaleY() const { return scaleY_; }
  virtual void setScaleY(float scale);
  float scale() const;
  virtual void setScale(float scale);
  CGPoint position() const { return position_; }
  virtual void setPosition(CGPoint position);
  CGPoint positionInPixels() const { return positionInPixels_; }
  virtual void setPositionInPixels(CGPoint position);
  bool visible() const { return visible_; }
  virtual void setVisible(bool visible) {
    if (visible != visible_) DrawRevision::bump();
    visible_ = visible;
  }
  CGPoint anchorPoint() const { return anchorPoint_; }
  virtual void setAnchorPoint(CGPoint point);
  CGPoint anchorPointInPixels() const { return anchorPointInPixels_; }
  bool isRelativeAnchorPoint() const { return isRelativeAnchorPoint_; }
  virtual void setIsRelativeAnchorPoint(bool relative);
  CGSize contentSize() const { return contentSize_; }
  virtual void setContentSize(CGSize size);
  CGSize contentSizeInPixels() const { return contentSizeInPixels_; }
  virtual void setContentSizeInPixels(CGSize size);
  float vertexZ() const { return vertexZ_; }
  virtual void setVertexZ(float z);
  CCCamera* camera();
  bool hasCamera() const { return camera_ != nullptr; }
  CCGridBase* grid() const { return grid_; }
  void setGrid(CCGridBase* grid);
  int zOrder() const { return zOrder_; }
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  void* userData() const { return userData_; }
  void setUserData(void* data) { userData_ = data; }

  std::string description() const override;

 protected:
  void _setZOrder(int z) {
    zOrder_ = z;
    DrawRevision::bump();
  }
  void markTransformDirty() {
    isTransformDirty_ = isInverseDirty_ = isTransformGLDirty_ = true;
    DrawRevision::bump();
  }

  float rotation_ = 0;
  float scaleX_ = 1, scaleY_ = 1;
  CGPoint position_ = CGPointZero;
  CGPoint positionInPixels_ = CGPointZero;
  bool visible_ = true;
  CGPoint anchorPointInPixels_ = CGPointZero;
  CGPoint anchorPoint_ = CGPointZero;
  bool isRelativeAnchorPoint_ = true;
  CGSize contentSize_ = CGSizeZero;
  CGSize contentSizeInPixels_ = CGSizeZero;
  CGAffineTransform transform_ = CGAffineTransformIdentity;
  CGAffineTransform inverse_ = CGAffineTransformIdentity;
  GLfloat transformGL_[16] = {};
  float vertexZ_ = 0;
  CCCamera* camera_ = nullptr;  // owned
  CCGridBase* grid_ = nullptr;  // owned
  int zOrder_ = 0;
  Ptr<CCArray> children_;
  CCNode* parent_ = nullptr;  // not retained
  int tag_ = kCCNodeTagInvalid;
  void* userData_ = nullptr;
  bool isRunning_ = false;
  bool isTransformDirty_ : 1 = true;
  bool isInverseDirty_ : 1 = true;
  bool isTransformGLDirty_ : 1 = true;

 private:
  void insertChild(CCNode* child, int z);
  void detachChild(CCNode* child, bool doCleanup);
  bool gridActive() const;
};
