#include "CC3NodeVisitor.h"

#include "CC3Node.h"

Ptr<CC3NodeVisitor> CC3NodeVisitor::visitor() {
  return makeObject<CC3NodeVisitor>();
}

Ptr<CC3NodeVisitor> CC3NodeVisitor::visitorWithWorld(CC3Node* world) {
  auto v = makeObject<CC3NodeVisitor>();
  v->initWithWorld(world);
  return v;
}

bool CC3NodeVisitor::initWithWorld(CC3Node* world) {
  world_ = world;
  shouldVisitChildren_ = true;
  return true;
}

Ptr<CC3NodeTransformingVisitor> CC3NodeTransformingVisitor::visitor() {
  return makeObject<CC3NodeTransformingVisitor>();
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
  return makeObject<CC3NodeDrawingVisitor>();
}

void CC3NodeDrawingVisitor::drawLocalContentOf(CC3Node* node) {
  node->drawLocalContentWithVisitor(this);
}
