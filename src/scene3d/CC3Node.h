#pragma once
#include <GLES/gl.h>

#include <optional>
#include <string>
#include <vector>

#include "CC3BoundingVolumes.h"
#include "CC3Foundation.h"
#include "CC3GLMatrix.h"
#include "CC3Identifiable.h"
#include "CC3NodeAnimation.h"
#include "CC3Rotator.h"
#include "CCArray.h"
#include "CCProtocols.h"
#include "CGGeometry.h"
#include "DrawRevision.h"
#include "ccTypes.h"

class CCAction;
class CC3Frustum;
class CC3NodeDrawingVisitor;
class CC3NodeTransformingVisitor;
class CC3NodeUpdatingVisitor;

// A member of the 3D scene tree: a location, rotation and scale relative to
// its parent, a visibility and a touch flag. The global transform is cached
// and rebuilt by the transforming visitor only for nodes marked dirty (and
// everything below them). A parent owns its children. Fades and tints of the
// 2D engine act on its colour and opacity.
class CC3Node : public CC3Identifiable, public CCRGBAProtocol {
 public:
  static Ptr<CC3Node> node();
  static Ptr<CC3Node> nodeWithTag(GLuint tag);
  static Ptr<CC3Node> nodeWithName(std::optional<std::string> name);
  static Ptr<CC3Node> nodeWithTag(GLuint tag, std::optional<std::string> name);

  CC3Node() = default;
  ~CC3Node() override;

  using CC3Identifiable::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;
  CC3TagFamily tagFamily() const override { return CC3TagFamily::Node; }
  static GLuint nextNodeTag() { return nextTagInFamily(CC3TagFamily::Node); }
  static void resetNodeTagAllocation() { resetTagAllocation(CC3TagFamily::Node); }

  // MARK: copying
  Ptr<CC3Node> copy() const { return copyWithName(name()); }
  Ptr<CC3Node> copyWithName(std::optional<std::string> name) const;
  // A copy owned by the current autorelease pool.
  CC3Node* copyAutoreleased() const;
  CC3Node* copyWithZone(NSZone* zone, std::optional<std::string> name) const override;
  void populateFrom(const CC3Identifiable* another) override;
  // Replaces this node's children by copies of another node's, in order.
  void copyChildrenFrom(const CC3Node* another);

  // MARK: tree
  CCArray* children() const { return children_.get(); }
  std::size_t childCount() const { return children_ ? children_->count() : 0; }
  CC3Node* childAt(std::size_t index) const {
    return static_cast<CC3Node*>(children_->objectAtIndex(index));
  }
  CC3Node* parent() const { return parent_; }
  virtual void setParent(CC3Node* parent);
  virtual void addChild(CC3Node* child);
  virtual void removeChild(CC3Node* child);
  void remove();
  void removeAllChildren();
  // Adds `child` where it already stands in the world.
  void addAndLocalizeChild(CC3Node* child);
  // This node and all its descendants, node first, subtrees in child order.
  Ptr<CCArray> flatten();
  void flattenInto(CCArray* array);
  bool isDescendantOf(const CC3Node* ancestor) const;

  // Notices passed up the parent chain to the world, which keeps its lists.
  virtual void didAddDescendant(CC3Node* node);
  virtual void didRemoveDescendant(CC3Node* node);
  virtual void descendantDidModifySequencingCriteria(CC3Node* node);

  // MARK: lookup (depth first, node before children)
  CC3Node* getNodeNamed(const std::optional<std::string>& name);
  CC3Node* getNodeTagged(GLuint tag);

  // MARK: transform properties
  CC3Vec3 location() const { return location_; }
  virtual void setLocation(CC3Vec3 location);
  CC3Vec3 rotation() const { return rotator_->rotation(); }
  virtual void setRotation(CC3Vec3 rotation);
  CC3Quaternion quaternion() const { return rotator_->quaternion(); }
  virtual void setQuaternion(CC3Quaternion quaternion);
  CC3Vec3 scale() const { return scale_; }
  virtual void setScale(CC3Vec3 scale);
  GLfloat uniformScale() const;
  void setUniformScale(GLfloat scale) { setScale({scale, scale, scale}); }
  bool isUniformlyScaledLocally() const;
  bool isUniformlyScaledGlobally() const;
  virtual bool isTransformRigid() const;

  CC3Vec3 globalLocation() const { return globalLocation_; }
  CC3Vec3 globalScale() const { return globalScale_; }
  CC3Vec3 globalRotation();
  CC3GLMatrix* transformMatrix() const { return transformMatrix_.get(); }
  void setTransformMatrix(CC3GLMatrix* matrix);
  CC3GLMatrix* transformMatrixInverted();
  CC3GLMatrix* globalRotationMatrix();
  CC3Rotator* rotator() const { return rotator_.get(); }
  void setRotator(CC3Rotator* rotator);
  // The rotator class nodes of this class are made with.
  virtual Ptr<CC3Rotator> makeRotator() const { return CC3Rotator::rotator(); }

  bool isTransformDirty() const { return isTransformDirty_; }
  virtual void markTransformDirty() {
    isTransformDirty_ = true;
    DrawRevision::bump();
  }
  // Rebuilds the transforms of this node and its subtree now.
  void updateTransformMatrices();
  // Parent x Translate x Rotate x Scale; run by the transforming visitor.
  virtual void buildTransformMatrix();

  // MARK: visibility and touch
  bool visible() const;
  virtual void setVisible(bool visible) {
    if (visible != visible_) DrawRevision::bump();
    visible_ = visible;
  }
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  bool isTouchEnabled() const { return isTouchEnabled_; }
  void setIsTouchEnabled(bool enabled) { isTouchEnabled_ = enabled; }
  bool isTouchable() const;
  CC3Node* touchableNode();
  void touchEnableAll();
  void touchDisableAll();

  // MARK: colour, passed to the children (mesh nodes use their material)
  ccColor3B color() const override;
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override;
  void setOpacity(GLubyte opacity) override;
  virtual bool isOpaque() const;
  virtual void setIsOpaque(bool opaque);
  virtual ccColor4F ambientColor() const;
  virtual void setAmbientColor(ccColor4F color);
  virtual ccColor4F diffuseColor() const;
  virtual void setDiffuseColor(ccColor4F color);
  virtual ccColor4F specularColor() const;
  virtual void setSpecularColor(ccColor4F color);
  virtual ccColor4F emissionColor() const;
  virtual void setEmissionColor(ccColor4F color);

  // MARK: actions, through the shared action manager
  CCAction* runAction(CCAction* action);
  void stopAllActions();
  void stopAction(CCAction* action);
  void stopActionByTag(int tag);
  CCAction* getActionByTag(int tag);
  unsigned numberOfRunningActions();

  // MARK: per-frame hooks, called by the updating visitor
  // The world overrides both entry points to open and close the visitor.
  virtual void updateWithVisitor(CC3NodeTransformingVisitor* visitor);
  void updateChildrenWithVisitor(CC3NodeTransformingVisitor* visitor);
  virtual void updateBeforeTransform(CC3NodeUpdatingVisitor* visitor);
  virtual void updateAfterTransform(CC3NodeUpdatingVisitor* visitor);
  virtual void updateBeforeChildren(CC3NodeUpdatingVisitor*) {}
  virtual void updateAfterChildren(CC3NodeUpdatingVisitor*) {}
  virtual void update(ccSeconds) {}

  // MARK: animation
  CC3NodeAnimation* animation() const { return animation_.get(); }
  void setAnimation(CC3NodeAnimation* animation);
  bool isAnimationEnabled() const { return isAnimationEnabled_; }
  void setIsAnimationEnabled(bool enabled) { isAnimationEnabled_ = enabled; }
  void enableAnimation() { isAnimationEnabled_ = true; }
  void disableAnimation() { isAnimationEnabled_ = false; }
  void enableAllAnimation();
  void disableAllAnimation();
  bool containsAnimation() const;
  void establishAnimationFrameAt(ccSeconds t);

  // MARK: bounding volume
  CC3NodeBoundingVolume* boundingVolume() const { return boundingVolume_.get(); }
  virtual void setBoundingVolume(CC3NodeBoundingVolume* volume);
  // The vertex locations the vertex-location volumes are built from: a mesh
  // node answers its mesh's; a plain node has none.
  virtual CC3BoundingVertexLocations* boundingVertexLocations() const { return nullptr; }

  // MARK: graphics resources, handled by mesh nodes
  virtual void createGLBuffers();
  virtual void deleteGLBuffers();
  virtual void releaseRedundantData();

  // MARK: drawing
  virtual void drawWithVisitor(CC3NodeDrawingVisitor* visitor);
  void drawChildrenWithVisitor(CC3NodeDrawingVisitor* visitor);
  virtual bool doesIntersectFrustum(CC3Frustum* frustum);
  virtual void transformAndDrawWithVisitor(CC3NodeDrawingVisitor* visitor);
  virtual void drawLocalContentWithVisitor(CC3NodeDrawingVisitor*) {}
  virtual bool hasLocalContent() const { return false; }
  virtual bool isMeshNode() const { return false; }
  virtual void checkDrawingOrder();

  // MARK: projection by the active camera
  CC3Vec3 projectedLocation() const { return projectedLocation_; }
  void setProjectedLocation(CC3Vec3 location) { projectedLocation_ = location; }
  // (x, y) of the projected location, or the lowest float in both when the
  // node lies behind the camera.
  CGPoint projectedPosition() const;

  // MARK: the book's picture size, never read by the engine
  GLfloat textureWidth() const { return textureWidth_; }
  void setTextureWidth(GLfloat width) { textureWidth_ = width; }
  GLfloat textureHeight() const { return textureHeight_; }
  void setTextureHeight(GLfloat height) { textureHeight_ = height; }
  GLfloat getTextureWidth() const;
  GLfloat getTextureHeight() const;

  std::string description() const override;
  virtual std::string fullDescription();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3Node(); }
  template <class T>
  static Ptr<T> makeNode(GLuint tag, std::optional<std::string> name) {
    auto aNode = makeObject<T>();
    aNode->initWithTag(tag, std::move(name));
    return aNode;
  }

  // The three steps of buildTransformMatrix; cameras and lights change them.
  virtual void applyLocalTransforms();
  virtual void applyTranslation();
  virtual void applyRotation();
  virtual void applyScaling();

  Ptr<CCArray> children_;
  CC3Node* parent_ = nullptr;  // not retained
  Ptr<CC3GLMatrix> transformMatrix_;
  Ptr<CC3GLMatrix> transformMatrixInverted_;
  Ptr<CC3GLMatrix> globalRotationMatrix_;
  Ptr<CC3Rotator> rotator_;
  Ptr<CC3NodeBoundingVolume> boundingVolume_;
  Ptr<CC3NodeAnimation> animation_;
  CC3Vec3 location_ = kCC3Vec3Zero;
  CC3Vec3 globalLocation_ = kCC3Vec3Zero;
  CC3Vec3 projectedLocation_ = kCC3Vec3Zero;
  CC3Vec3 scale_ = kCC3Vec3Unit;
  CC3Vec3 globalScale_ = kCC3Vec3Unit;
  bool isTransformDirty_ = false;
  bool isTransformInvertedDirty_ = false;
  bool isGlobalRotationDirty_ = false;
  bool isTouchEnabled_ = false;
  bool isAnimationEnabled_ = true;
  bool visible_ = true;
  GLfloat textureWidth_ = 0;
  GLfloat textureHeight_ = 0;
};

// "{x, y}", as points print in descriptions.
std::string CC3StringFromCGPoint(CGPoint point);
