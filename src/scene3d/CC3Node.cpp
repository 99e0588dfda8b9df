#include "CC3Node.h"

#include <cstdio>

#include "Assert.h"
#include "CC3BoundingVolumes.h"
#include "CC3NodeAnimation.h"
#include "CCActionManager.h"

// MARK: creation

Ptr<CC3Node> CC3Node::node() {
  return nodeWithName(std::nullopt);
}

Ptr<CC3Node> CC3Node::nodeWithTag(GLuint tag) {
  return makeNode<CC3Node>(tag, std::nullopt);
}

Ptr<CC3Node> CC3Node::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3Node>(nextNodeTag(), std::move(name));
}

Ptr<CC3Node> CC3Node::nodeWithTag(GLuint tag, std::optional<std::string> name) {
  return makeNode<CC3Node>(tag, std::move(name));
}

CC3Node::~CC3Node() {
  if (children_)
    for (NSObject* child : *children_) static_cast<CC3Node*>(child)->parent_ = nullptr;
  if (boundingVolume_) boundingVolume_->setNode(nullptr);
}

bool CC3Node::initWithTag(GLuint tag, std::optional<std::string> name) {
  if (!CC3Identifiable::initWithTag(tag, std::move(name))) return false;
  children_ = nullptr;
  parent_ = nullptr;
  transformMatrix_ = CC3GLMatrix::identity();
  transformMatrixInverted_ = nullptr;
  globalRotationMatrix_ = nullptr;
  rotator_ = makeRotator();
  boundingVolume_ = nullptr;
  animation_ = nullptr;
  location_ = kCC3Vec3Zero;
  globalLocation_ = kCC3Vec3Zero;
  projectedLocation_ = kCC3Vec3Zero;
  scale_ = kCC3Vec3Unit;
  globalScale_ = kCC3Vec3Unit;
  isTransformDirty_ = false;
  isTransformInvertedDirty_ = true;
  isGlobalRotationDirty_ = true;
  isTouchEnabled_ = false;
  isAnimationEnabled_ = true;
  visible_ = true;
  return true;
}

// MARK: copying

Ptr<CC3Node> CC3Node::copyWithName(std::optional<std::string> name) const {
  return Ptr<CC3Node>::adopt(copyWithZone(nullptr, std::move(name)));
}

CC3Node* CC3Node::copyAutoreleased() const {
  CC3Node* aCopy = copyWithZone(nullptr, name());
  aCopy->autorelease();
  return aCopy;
}

CC3Node* CC3Node::copyWithZone(NSZone* zone, std::optional<std::string> name) const {
  auto* aCopy = static_cast<CC3Node*>(CC3Identifiable::copyWithZone(zone, std::move(name)));
  aCopy->copyChildrenFrom(this);
  return aCopy;
}

void CC3Node::populateFrom(const CC3Identifiable* another) {
  CC3Identifiable::populateFrom(another);
  const auto* other = dynamic_cast<const CC3Node*>(another);
  if (!other) return;
  transformMatrix_->populateFrom(other->transformMatrix_.get());
  isTransformInvertedDirty_ = true;
  isGlobalRotationDirty_ = true;
  rotator_ = other->rotator_->copy();
  setBoundingVolume(other->boundingVolume_ ? other->boundingVolume_->copy().get() : nullptr);
  animation_ = other->animation_;  // shared: animations are read-only tracks
  location_ = other->location_;
  globalLocation_ = other->globalLocation_;
  projectedLocation_ = other->projectedLocation_;
  scale_ = other->scale_;
  globalScale_ = other->globalScale_;
  isTransformDirty_ = other->isTransformDirty_;
  isTouchEnabled_ = other->isTouchEnabled_;
  isAnimationEnabled_ = other->isAnimationEnabled_;
  visible_ = other->visible_;
  textureWidth_ = other->textureWidth_;
  textureHeight_ = other->textureHeight_;
}

void CC3Node::copyChildrenFrom(const CC3Node* another) {
  removeAllChildren();
  // A snapshot, so that copying a node into its own subtree cannot loop.
  Ptr<CCArray> sources = another->children_ ? CCArray::array() : nullptr;
  if (sources)
    for (NSObject* child : *another->children_) sources->addObject(child);
  if (!sources) return;
  for (NSObject* child : *sources) addChild(static_cast<CC3Node*>(child)->copy());
}

// MARK: tree

void CC3Node::setParent(CC3Node* parent) {
  parent_ = parent;
  markTransformDirty();
}

void CC3Node::addChild(CC3Node* child) {
  CCAssert(child, "Child CC3Node cannot be nil");
  // An ancestor hung under its own descendant would make a cycle that owns itself.
  CCAssert(child != this && !isDescendantOf(child), "A CC3Node cannot be added under itself");
  Ptr<CC3Node> keep(child);  // survives leaving its old parent
  child->remove();
  if (!children_) children_ = CCArray::arrayWithCapacity(4);
  children_->addObject(child);
  child->setParent(this);
  didAddDescendant(child);
}

void CC3Node::removeChild(CC3Node* child) {
  if (!children_ || !child || !children_->containsObject(child)) return;
  child->retain()->autorelease();
  child->setParent(nullptr);
  children_->removeObject(child);
  if (children_->count() == 0) children_ = nullptr;
  didRemoveDescendant(child);
}

void CC3Node::remove() {
  if (parent_) parent_->removeChild(this);
}

void CC3Node::removeAllChildren() {
  if (!children_) return;
  Ptr<CCArray> snapshot = CCArray::arrayWithCapacity(children_->count());
  for (NSObject* child : *children_) snapshot->addObject(child);
  for (NSObject* child : *snapshot) removeChild(static_cast<CC3Node*>(child));
}

void CC3Node::addAndLocalizeChild(CC3Node* child) {
  CCAssert(child, "Child CC3Node cannot be nil");
  child->updateTransformMatrices();
  updateTransformMatrices();

  // Where the child stands, seen from this node's frame.
  auto local = transformMatrixInverted()->copy();
  local->multiplyByMatrix(child->transformMatrix());
  child->setLocation(local->transformLocation(kCC3Vec3Zero));

  auto rotation = globalRotationMatrix()->copy();
  rotation->invertRigid();
  rotation->multiplyByMatrix(child->globalRotationMatrix());
  child->setRotation(rotation->extractRotation());

  CC3Vec3 gs = globalScale_;
  CC3Vec3 cgs = child->globalScale();
  child->setScale({cgs.x / gs.x, cgs.y / gs.y, cgs.z / gs.z});
  addChild(child);
}

Ptr<CCArray> CC3Node::flatten() {
  auto array = CCArray::array();
  flattenInto(array);
  return array;
}

void CC3Node::flattenInto(CCArray* array) {
  array->addObject(this);
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->flattenInto(array);
}

bool CC3Node::isDescendantOf(const CC3Node* ancestor) const {
  for (const CC3Node* p = parent_; p; p = p->parent_)
    if (p == ancestor) return true;
  return false;
}

void CC3Node::didAddDescendant(CC3Node* node) {
  if (parent_) parent_->didAddDescendant(node);
}

void CC3Node::didRemoveDescendant(CC3Node* node) {
  if (parent_) parent_->didRemoveDescendant(node);
}

void CC3Node::descendantDidModifySequencingCriteria(CC3Node* node) {
  if (parent_) parent_->descendantDidModifySequencingCriteria(node);
}

// MARK: lookup

CC3Node* CC3Node::getNodeNamed(const std::optional<std::string>& name) {
  if (name == this->name()) return this;
  for (std::size_t i = 0; i < childCount(); ++i)
    if (CC3Node* found = childAt(i)->getNodeNamed(name)) return found;
  return nullptr;
}

CC3Node* CC3Node::getNodeTagged(GLuint tag) {
  if (tag == this->tag()) return this;
  for (std::size_t i = 0; i < childCount(); ++i)
    if (CC3Node* found = childAt(i)->getNodeTagged(tag)) return found;
  return nullptr;
}

// MARK: visibility and touch

bool CC3Node::visible() const {
  return visible_ && (!parent_ || parent_->visible());
}

bool CC3Node::isTouchable() const {
  return isTouchEnabled_ || (parent_ && parent_->isTouchable());
}

CC3Node* CC3Node::touchableNode() {
  for (CC3Node* n = this; n; n = n->parent_)
    if (n->isTouchEnabled_) return n;
  return nullptr;
}

void CC3Node::touchEnableAll() {
  isTouchEnabled_ = true;
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->touchEnableAll();
}

void CC3Node::touchDisableAll() {
  isTouchEnabled_ = false;
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->touchDisableAll();
}

// MARK: colour

namespace {

template <class Getter>
ccColor4F meanColor4F(const CC3Node* node, Getter get) {
  std::size_t n = node->childCount();
  ccColor4F sum{0, 0, 0, 0};
  if (n == 0) return sum;
  for (std::size_t i = 0; i < n; ++i) {
    ccColor4F c = get(node->childAt(i));
    sum.r += c.r;
    sum.g += c.g;
    sum.b += c.b;
    sum.a += c.a;
  }
  float count = static_cast<float>(n);
  return {sum.r / count, sum.g / count, sum.b / count, sum.a / count};
}

}  // namespace

ccColor3B CC3Node::color() const {
  std::size_t n = childCount();
  if (n == 0) return {0, 0, 0};
  unsigned r = 0, g = 0, b = 0;
  for (std::size_t i = 0; i < n; ++i) {
    ccColor3B c = childAt(i)->color();
    r += c.r;
    g += c.g;
    b += c.b;
  }
  return {static_cast<GLubyte>(r / n), static_cast<GLubyte>(g / n), static_cast<GLubyte>(b / n)};
}

void CC3Node::setColor(ccColor3B color) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setColor(color);
}

GLubyte CC3Node::opacity() const {
  std::size_t n = childCount();
  if (n == 0) return 0;
  unsigned sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += childAt(i)->opacity();
  return static_cast<GLubyte>(sum / n);
}

void CC3Node::setOpacity(GLubyte opacity) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setOpacity(opacity);
}

bool CC3Node::isOpaque() const {
  for (std::size_t i = 0; i < childCount(); ++i)
    if (!childAt(i)->isOpaque()) return false;
  return true;
}

void CC3Node::setIsOpaque(bool opaque) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setIsOpaque(opaque);
}

ccColor4F CC3Node::ambientColor() const {
  return meanColor4F(this, [](CC3Node* c) { return c->ambientColor(); });
}
void CC3Node::setAmbientColor(ccColor4F color) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setAmbientColor(color);
}
ccColor4F CC3Node::diffuseColor() const {
  return meanColor4F(this, [](CC3Node* c) { return c->diffuseColor(); });
}
void CC3Node::setDiffuseColor(ccColor4F color) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setDiffuseColor(color);
}
ccColor4F CC3Node::specularColor() const {
  return meanColor4F(this, [](CC3Node* c) { return c->specularColor(); });
}
void CC3Node::setSpecularColor(ccColor4F color) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setSpecularColor(color);
}
ccColor4F CC3Node::emissionColor() const {
  return meanColor4F(this, [](CC3Node* c) { return c->emissionColor(); });
}
void CC3Node::setEmissionColor(ccColor4F color) {
  DrawRevision::bump();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->setEmissionColor(color);
}

// MARK: actions

CCAction* CC3Node::runAction(CCAction* action) {
  CCAssert(action, "Argument must be non-nil");
  CCActionManager::sharedManager()->addAction(action, this, false);
  return action;
}

void CC3Node::stopAllActions() {
  CCActionManager::sharedManager()->removeAllActionsFromTarget(this);
}

void CC3Node::stopAction(CCAction* action) {
  CCActionManager::sharedManager()->removeAction(action);
}

void CC3Node::stopActionByTag(int tag) {
  CCAssert(tag != kCCActionTagInvalid, "Invalid tag");
  CCActionManager::sharedManager()->removeActionByTag(tag, this);
}

CCAction* CC3Node::getActionByTag(int tag) {
  CCAssert(tag != kCCActionTagInvalid, "Invalid tag");
  return CCActionManager::sharedManager()->getActionByTag(tag, this);
}

unsigned CC3Node::numberOfRunningActions() {
  return CCActionManager::sharedManager()->numberOfRunningActionsInTarget(this);
}

// MARK: animation

void CC3Node::setAnimation(CC3NodeAnimation* animation) {
  animation_ = animation;
}

void CC3Node::enableAllAnimation() {
  enableAnimation();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->enableAllAnimation();
}

void CC3Node::disableAllAnimation() {
  disableAnimation();
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->disableAllAnimation();
}

bool CC3Node::containsAnimation() const {
  if (animation_) return true;
  for (std::size_t i = 0; i < childCount(); ++i)
    if (childAt(i)->containsAnimation()) return true;
  return false;
}

void CC3Node::establishAnimationFrameAt(ccSeconds t) {
  if (animation_ && isAnimationEnabled_) animation_->establishFrameAt(t, this);
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->establishAnimationFrameAt(t);
}

// MARK: bounding volume

void CC3Node::setBoundingVolume(CC3NodeBoundingVolume* volume) {
  if (boundingVolume_ && boundingVolume_.get() != volume) boundingVolume_->setNode(nullptr);
  boundingVolume_ = volume;
  if (boundingVolume_) boundingVolume_->setNode(this);
}

// MARK: graphics resources

void CC3Node::createGLBuffers() {
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->createGLBuffers();
}

void CC3Node::deleteGLBuffers() {
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->deleteGLBuffers();
}

void CC3Node::releaseRedundantData() {
  for (std::size_t i = 0; i < childCount(); ++i) childAt(i)->releaseRedundantData();
}

// MARK: projection

CGPoint CC3Node::projectedPosition() const {
  if (projectedLocation_.z > 0.0f) return {projectedLocation_.x, projectedLocation_.y};
  return {-3.4028235e38f, -3.4028235e38f};
}

// MARK: descriptions

std::string CC3Node::description() const {
  return className() + " " + CC3NameOrUnnamed(name()) + "-" + std::to_string(tag());
}

std::string CC3Node::fullDescription() {
  return description() + " location: " + NSStringFromCC3Vec3(location_) +
         ", global: " + NSStringFromCC3Vec3(globalLocation_) + ", " + rotator_->description() +
         ", scale: " + NSStringFromCC3Vec3(scale_) +
         ", projected to: " + CC3StringFromCGPoint(projectedPosition()) +
         ", bounded by: " + (boundingVolume_ ? boundingVolume_->description() : "(null)");
}

std::string CC3StringFromCGPoint(CGPoint point) {
  char text[96];
  std::snprintf(text, sizeof text, "{%g, %g}", point.x, point.y);
  return text;
}
