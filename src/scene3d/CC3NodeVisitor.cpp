#include "CC3NodeVisitor.h"

#include "CC3Camera.h"
#include "CC3Node.h"
#include "CC3World.h"

namespace {
template <class T>
Ptr<T> makeVisitor(CC3Node* world) {
  auto v = makeObject<T>();
  v->initWithWorld(world);
  return v;
}
}  // namespace

Ptr<CC3NodeVisitor> CC3NodeVisitor::visitor() {
  return makeVisitor<CC3NodeVisitor>(nullptr);
}

Ptr<CC3NodeVisitor> CC3NodeVisitor::visitorWithWorld(CC3Node* world) {
  return makeVisitor<CC3NodeVisitor>(world);
}

bool CC3NodeVisitor::initWithWorld(CC3Node* world) {
  world_ = world;
  shouldVisitChildren_ = true;
  return true;
}

CC3World* CC3NodeVisitor::world3D() const {
  return dynamic_cast<CC3World*>(world_.get());
}

Ptr<CC3NodeTransformingVisitor> CC3NodeTransformingVisitor::visitor() {
  return makeVisitor<CC3NodeTransformingVisitor>(nullptr);
}

void CC3NodeTransformingVisitor::updateNode(CC3Node* node) {
  bool wasDirty = isTransformDirty_;
  visitNodeBeforeUpdatingTransform(node);
  // Dirtiness travels down: everything below a changed node is rebuilt too.
  isTransformDirty_ = wasDirty || node->isTransformDirty();
  if (isTransformDirty_) node->buildTransformMatrix();
  if (shouldVisitChildren_) node->updateChildrenWithVisitor(this);
  visitNodeAfterUpdatingTransform(node);
  isTransformDirty_ = wasDirty;
}

Ptr<CC3NodeUpdatingVisitor> CC3NodeUpdatingVisitor::visitor() {
  return visitorWithWorld(nullptr, 0);
}

Ptr<CC3NodeUpdatingVisitor> CC3NodeUpdatingVisitor::visitorWithWorld(CC3Node* world,
                                                                     ccSeconds deltaTime) {
  auto v = makeObject<CC3NodeUpdatingVisitor>();
  v->initWithWorld(world, deltaTime);
  return v;
}

bool CC3NodeUpdatingVisitor::initWithWorld(CC3Node* world, ccSeconds deltaTime) {
  CC3NodeVisitor::initWithWorld(world);
  deltaTime_ = deltaTime;
  return true;
}

void CC3NodeUpdatingVisitor::visitNodeBeforeUpdatingTransform(CC3Node* node) {
  node->updateBeforeTransform(this);
}

void CC3NodeUpdatingVisitor::visitNodeAfterUpdatingTransform(CC3Node* node) {
  node->updateAfterTransform(this);
}

Ptr<CC3NodeDrawingVisitor> CC3NodeDrawingVisitor::visitor() {
  return makeVisitor<CC3NodeDrawingVisitor>(nullptr);
}

Ptr<CC3NodeDrawingVisitor> CC3NodeDrawingVisitor::visitorWithWorld(CC3Node* world) {
  return makeVisitor<CC3NodeDrawingVisitor>(world);
}

void CC3NodeDrawingVisitor::open() {
  CC3World* w = world3D();
  CC3Camera* camera = w ? w->activeCamera() : nullptr;
  frustum_ = camera ? camera->frustum() : nullptr;
}

void CC3NodeDrawingVisitor::close() {
  frustum_ = nullptr;
}

void CC3NodeDrawingVisitor::drawLocalContentOf(CC3Node* node) {
  node->drawLocalContentWithVisitor(this);
}
