#pragma once
#include "CC3Node.h"
#include "NSObject.h"
#include "ccTypes.h"

class CC3Frustum;
class CC3Node;
class CC3World;

// A pass over the node tree carries its state in a visitor. A visitor is
// made for one pass and dropped after it.
class CC3NodeVisitor : public NSObject {
 public:
  static Ptr<CC3NodeVisitor> visitor();
  static Ptr<CC3NodeVisitor> visitorWithWorld(CC3Node* world);
  CC3NodeVisitor() = default;
  bool init() { return initWithWorld(nullptr); }
  bool initWithWorld(CC3Node* world);

  // The root of the pass: normally a CC3World, but any node will do for a
  // pass that needs no camera.
  CC3Node* world() const { return world_.get(); }
  void setWorld(CC3Node* world) { world_ = world; }
  // The world as a CC3World, or null when the root is a plain node.
  CC3World* world3D() const;
  bool shouldVisitChildren() const { return shouldVisitChildren_; }
  void setShouldVisitChildren(bool visit) { shouldVisitChildren_ = visit; }

  virtual void open() {}
  virtual void close() {}

  std::string description() const override { return className(); }

 protected:
  Ptr<CC3Node> world_;
  bool shouldVisitChildren_ = true;
};

// Rebuilds the global transforms of dirty nodes and of everything below them.
class CC3NodeTransformingVisitor : public CC3NodeVisitor {
 public:
  static Ptr<CC3NodeTransformingVisitor> visitor();

  bool isTransformDirty() const { return isTransformDirty_; }
  void setIsTransformDirty(bool dirty) { isTransformDirty_ = dirty; }

  // Visits `node` and, through it, its subtree.
  void updateNode(CC3Node* node);
  virtual void visitNodeBeforeUpdatingTransform(CC3Node*) {}
  virtual void visitNodeAfterUpdatingTransform(CC3Node*) {}

 protected:
  bool isTransformDirty_ = false;
};

// The per-frame pass: each node's update hooks around its transform.
class CC3NodeUpdatingVisitor : public CC3NodeTransformingVisitor {
 public:
  static Ptr<CC3NodeUpdatingVisitor> visitor();
  static Ptr<CC3NodeUpdatingVisitor> visitorWithWorld(CC3Node* world, ccSeconds deltaTime);
  using CC3NodeVisitor::initWithWorld;
  bool initWithWorld(CC3Node* world, ccSeconds deltaTime);

  ccSeconds deltaTime() const { return deltaTime_; }
  void setDeltaTime(ccSeconds dt) { deltaTime_ = dt; }

  void visitNodeBeforeUpdatingTransform(CC3Node* node) override;
  void visitNodeAfterUpdatingTransform(CC3Node* node) override;

 protected:
  ccSeconds deltaTime_ = 0;
};

// Draws nodes, skipping those outside the active camera's frustum.
class CC3NodeDrawingVisitor : public CC3NodeVisitor {
 public:
  static Ptr<CC3NodeDrawingVisitor> visitor();
  static Ptr<CC3NodeDrawingVisitor> visitorWithWorld(CC3Node* world);

  CC3Frustum* frustum() const { return frustum_; }
  void setFrustum(CC3Frustum* frustum) { frustum_ = frustum; }
  bool shouldDecorateNode() const { return shouldDecorateNode_; }
  void setShouldDecorateNode(bool decorate) { shouldDecorateNode_ = decorate; }

  // Takes the active camera's frustum, when the world has a camera.
  void open() override;
  void close() override;
  virtual void drawLocalContentOf(CC3Node* node);

 protected:
  CC3Frustum* frustum_ = nullptr;  // the active camera's, not retained
  bool shouldDecorateNode_ = true;
};
