#include "CC3Actions.h"

#include "Assert.h"
#include "CC3Node.h"
#include "CC3TargettingNode.h"

namespace {

template <class T, class Value>
Ptr<T> makeAction(ccSeconds duration, Value value) {
  auto action = makeObject<T>();
  action->initWithDuration(duration, value);
  return action;
}

CC3Node* asNode(NSObject* target, const std::string& actionClass) {
  auto* node = dynamic_cast<CC3Node*>(target);
  CCAssert(node, actionClass + " can only act on a CC3Node");
  return node;
}

}  // namespace

// MARK: transform to

Ptr<CC3TransformTo> CC3TransformTo::actionWithDuration(ccSeconds duration, CC3Vec3 endVector) {
  return makeAction<CC3TransformTo>(duration, endVector);
}

bool CC3TransformTo::initWithDuration(ccSeconds duration, CC3Vec3 endVector) {
  CCActionInterval::initWithDuration(duration);
  endVector_ = endVector;
  return true;
}

CC3TransformTo* CC3TransformTo::copyWithZone(NSZone*) const {
  CC3TransformTo* aCopy = newInstance();
  aCopy->initWithDuration(duration_, endVector_);
  aCopy->tag_ = tag_;
  return aCopy;
}

CC3Node* CC3TransformTo::targetNode() const {
  return asNode(target_, className());
}

void CC3TransformTo::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  asNode(target, className());
  startVector_ = targetVector();
  differenceVector_ = CC3Vec3Difference(endVector_, startVector_);
}

void CC3TransformTo::update(ccSeconds t) {
  setTargetVector(CC3Vec3Add(startVector_, CC3Vec3ScaleUniform(differenceVector_, t)));
}

Ptr<CCFiniteTimeAction> CC3TransformTo::reverse() const {
  auto reversed = Ptr<CC3TransformTo>::adopt(newInstance());
  reversed->CC3TransformTo::initWithDuration(duration_, startVector_);
  return reversed;
}

std::string CC3TransformTo::description() const {
  return className() + " start: " + NSStringFromCC3Vec3(startVector_) +
         ", end: " + NSStringFromCC3Vec3(endVector_) +
         ", diff: " + NSStringFromCC3Vec3(differenceVector_);
}

// MARK: transform by

Ptr<CC3TransformBy> CC3TransformBy::actionWithDuration(ccSeconds duration,
                                                       CC3Vec3 differenceVector) {
  return makeAction<CC3TransformBy>(duration, differenceVector);
}

bool CC3TransformBy::initWithDuration(ccSeconds duration, CC3Vec3 differenceVector) {
  CCActionInterval::initWithDuration(duration);
  differenceVector_ = differenceVector;
  return true;
}

CC3TransformBy* CC3TransformBy::copyWithZone(NSZone*) const {
  auto* aCopy = static_cast<CC3TransformBy*>(newInstance());
  aCopy->CC3TransformBy::initWithDuration(duration_, differenceVector_);
  aCopy->tag_ = tag_;
  return aCopy;
}

void CC3TransformBy::startWithTarget(NSObject* target) {
  CC3Vec3 difference = differenceVector_;
  CC3TransformTo::startWithTarget(target);
  differenceVector_ = difference;
  endVector_ = CC3Vec3Add(startVector_, differenceVector_);
}

Ptr<CCFiniteTimeAction> CC3TransformBy::reverse() const {
  auto reversed = Ptr<CC3TransformBy>::adopt(static_cast<CC3TransformBy*>(newInstance()));
  reversed->CC3TransformBy::initWithDuration(duration_, CC3Vec3Negate(differenceVector_));
  return reversed;
}

// MARK: node properties

Ptr<CC3MoveTo> CC3MoveTo::actionWithDuration(ccSeconds duration, CC3Vec3 moveTo) {
  return makeAction<CC3MoveTo>(duration, moveTo);
}
CC3Vec3 CC3MoveTo::targetVector() const {
  return targetNode()->location();
}
void CC3MoveTo::setTargetVector(CC3Vec3 v) {
  targetNode()->setLocation(v);
}

Ptr<CC3RotateTo> CC3RotateTo::actionWithDuration(ccSeconds duration, CC3Vec3 rotateTo) {
  return makeAction<CC3RotateTo>(duration, rotateTo);
}
void CC3RotateTo::startWithTarget(NSObject* target) {
  CC3TransformTo::startWithTarget(target);
  differenceVector_ = CC3Vec3RotationalDifference(endVector_, startVector_);
}
CC3Vec3 CC3RotateTo::targetVector() const {
  return targetNode()->rotation();
}
void CC3RotateTo::setTargetVector(CC3Vec3 v) {
  targetNode()->setRotation(v);
}

Ptr<CC3ScaleTo> CC3ScaleTo::actionWithDuration(ccSeconds duration, CC3Vec3 scaleTo) {
  return makeAction<CC3ScaleTo>(duration, scaleTo);
}
CC3Vec3 CC3ScaleTo::targetVector() const {
  return targetNode()->scale();
}
void CC3ScaleTo::setTargetVector(CC3Vec3 v) {
  targetNode()->setScale(v);
}

Ptr<CC3MoveBy> CC3MoveBy::actionWithDuration(ccSeconds duration, CC3Vec3 moveBy) {
  return makeAction<CC3MoveBy>(duration, moveBy);
}
CC3Vec3 CC3MoveBy::targetVector() const {
  return targetNode()->location();
}
void CC3MoveBy::setTargetVector(CC3Vec3 v) {
  targetNode()->setLocation(v);
}

Ptr<CC3RotateBy> CC3RotateBy::actionWithDuration(ccSeconds duration, CC3Vec3 rotateBy) {
  return makeAction<CC3RotateBy>(duration, rotateBy);
}
CC3Vec3 CC3RotateBy::targetVector() const {
  return targetNode()->rotation();
}
void CC3RotateBy::setTargetVector(CC3Vec3 v) {
  targetNode()->setRotation(v);
}

Ptr<CC3ScaleBy> CC3ScaleBy::actionWithDuration(ccSeconds duration, CC3Vec3 scaleBy) {
  return makeAction<CC3ScaleBy>(duration, scaleBy);
}
CC3Vec3 CC3ScaleBy::targetVector() const {
  return targetNode()->scale();
}
void CC3ScaleBy::setTargetVector(CC3Vec3 v) {
  targetNode()->setScale(v);
}

// MARK: pointing

Ptr<CC3RotateToLookTowards> CC3RotateToLookTowards::actionWithDuration(ccSeconds duration,
                                                                       CC3Vec3 forwardDirection) {
  return makeAction<CC3RotateToLookTowards>(duration, forwardDirection);
}

bool CC3RotateToLookTowards::initWithDuration(ccSeconds duration, CC3Vec3 forwardDirection) {
  return CC3TransformTo::initWithDuration(duration, CC3Vec3Normalize(forwardDirection));
}

CC3TargettingNode* CC3RotateToLookTowards::targettingNode() const {
  auto* node = dynamic_cast<CC3TargettingNode*>(target_);
  CCAssert(node, className() + " needs a CC3TargettingNode");
  return node;
}

CC3Vec3 CC3RotateToLookTowards::targetVector() const {
  return targettingNode()->forwardDirection();
}
void CC3RotateToLookTowards::setTargetVector(CC3Vec3 v) {
  targettingNode()->setForwardDirection(v);
}

Ptr<CC3RotateToLookAt> CC3RotateToLookAt::actionWithDuration(ccSeconds duration,
                                                             CC3Vec3 targetLocation) {
  return makeAction<CC3RotateToLookAt>(duration, targetLocation);
}

bool CC3RotateToLookAt::initWithDuration(ccSeconds duration, CC3Vec3 targetLocation) {
  CC3TransformTo::initWithDuration(duration, targetLocation);
  lookAtLocation_ = targetLocation;
  return true;
}

CC3RotateToLookAt* CC3RotateToLookAt::copyWithZone(NSZone*) const {
  auto* aCopy = new CC3RotateToLookAt();
  aCopy->initWithDuration(duration_, lookAtLocation_);
  aCopy->tag_ = tag_;
  return aCopy;
}

void CC3RotateToLookAt::startWithTarget(NSObject* target) {
  CC3Node* node = asNode(target, className());
  endVector_ = CC3Vec3Normalize(CC3Vec3Difference(lookAtLocation_, node->globalLocation()));
  CC3RotateToLookTowards::startWithTarget(target);
}

// MARK: tints

Ptr<CC3TintTo> CC3TintTo::actionWithDuration(ccSeconds duration, ccColor4F colorTo) {
  return makeAction<CC3TintTo>(duration, colorTo);
}

bool CC3TintTo::initWithDuration(ccSeconds duration, ccColor4F colorTo) {
  CCActionInterval::initWithDuration(duration);
  endColor_ = colorTo;
  return true;
}

CC3TintTo* CC3TintTo::copyWithZone(NSZone*) const {
  CC3TintTo* aCopy = newInstance();
  aCopy->initWithDuration(duration_, endColor_);
  aCopy->tag_ = tag_;
  return aCopy;
}

CC3Node* CC3TintTo::targetNode() const {
  return asNode(target_, className());
}

void CC3TintTo::startWithTarget(NSObject* target) {
  CCActionInterval::startWithTarget(target);
  startColor_ = targetColor();
}

void CC3TintTo::update(ccSeconds t) {
  setTargetColor(CCC4FBlend(startColor_, endColor_, t));
}

ccColor4F CC3TintTo::targetColor() const {
  CCAssert(false, className() +
                      " is abstract. Property targetColor must be implemented in a concrete "
                      "subclass");
  return startColor_;
}

void CC3TintTo::setTargetColor(ccColor4F) {
  CCAssert(false, className() +
                      " is abstract. Property targetColor must be implemented in a concrete "
                      "subclass");
}

Ptr<CC3TintAmbientTo> CC3TintAmbientTo::actionWithDuration(ccSeconds duration, ccColor4F c) {
  return makeAction<CC3TintAmbientTo>(duration, c);
}
ccColor4F CC3TintAmbientTo::targetColor() const {
  return targetNode()->ambientColor();
}
void CC3TintAmbientTo::setTargetColor(ccColor4F c) {
  targetNode()->setAmbientColor(c);
}

Ptr<CC3TintDiffuseTo> CC3TintDiffuseTo::actionWithDuration(ccSeconds duration, ccColor4F c) {
  return makeAction<CC3TintDiffuseTo>(duration, c);
}
ccColor4F CC3TintDiffuseTo::targetColor() const {
  return targetNode()->diffuseColor();
}
void CC3TintDiffuseTo::setTargetColor(ccColor4F c) {
  targetNode()->setDiffuseColor(c);
}

Ptr<CC3TintSpecularTo> CC3TintSpecularTo::actionWithDuration(ccSeconds duration, ccColor4F c) {
  return makeAction<CC3TintSpecularTo>(duration, c);
}
ccColor4F CC3TintSpecularTo::targetColor() const {
  return targetNode()->specularColor();
}
void CC3TintSpecularTo::setTargetColor(ccColor4F c) {
  targetNode()->setSpecularColor(c);
}

Ptr<CC3TintEmissionTo> CC3TintEmissionTo::actionWithDuration(ccSeconds duration, ccColor4F c) {
  return makeAction<CC3TintEmissionTo>(duration, c);
}
ccColor4F CC3TintEmissionTo::targetColor() const {
  return targetNode()->emissionColor();
}
void CC3TintEmissionTo::setTargetColor(ccColor4F c) {
  targetNode()->setEmissionColor(c);
}

// MARK: animation

Ptr<CC3Animate> CC3Animate::actionWithDuration(ccSeconds duration) {
  auto action = makeObject<CC3Animate>();
  action->initWithDuration(duration);
  return action;
}

Ptr<CCActionInterval> CC3Animate::actionWithDuration(ccSeconds duration, ccSeconds startOfRange,
                                                     ccSeconds endOfRange) {
  return actionWithDuration(duration)->asActionLimitedFrom(startOfRange, endOfRange);
}

Ptr<CCActionInterval> CC3Animate::asActionLimitedFrom(ccSeconds startOfRange,
                                                      ccSeconds endOfRange) {
  return CC3ActionRangeLimit::actionWithAction(this, startOfRange, endOfRange);
}

CC3Animate* CC3Animate::copyWithZone(NSZone*) const {
  auto* aCopy = new CC3Animate();
  aCopy->initWithDuration(duration_);
  aCopy->isReversed_ = isReversed_;
  aCopy->tag_ = tag_;
  return aCopy;
}

void CC3Animate::update(ccSeconds t) {
  asNode(target_, className())->establishAnimationFrameAt(isReversed_ ? 1.0f - t : t);
}

Ptr<CCFiniteTimeAction> CC3Animate::reverse() const {
  auto reversed = actionWithDuration(duration_);
  reversed->isReversed_ = !isReversed_;
  return reversed;
}

// MARK: range limit

Ptr<CC3ActionRangeLimit> CC3ActionRangeLimit::actionWithAction(CCActionInterval* action,
                                                               ccSeconds startOfRange,
                                                               ccSeconds endOfRange) {
  auto limit = makeObject<CC3ActionRangeLimit>();
  limit->initWithAction(action, startOfRange, endOfRange);
  return limit;
}

bool CC3ActionRangeLimit::initWithAction(CCActionInterval* action, ccSeconds startOfRange,
                                         ccSeconds endOfRange) {
  if (!CCActionEase::initWithAction(action)) return false;
  rangeStart_ = startOfRange;
  rangeSpan_ = endOfRange - startOfRange;
  return true;
}

CC3ActionRangeLimit* CC3ActionRangeLimit::copyWithZone(NSZone*) const {
  auto* aCopy = new CC3ActionRangeLimit();
  aCopy->initWithAction(copyAction(other_.get()).get(), rangeStart_, rangeStart_ + rangeSpan_);
  aCopy->tag_ = tag_;
  return aCopy;
}

void CC3ActionRangeLimit::update(ccSeconds t) {
  other_->update(rangeStart_ + t * rangeSpan_);
}

Ptr<CCFiniteTimeAction> CC3ActionRangeLimit::reverse() const {
  // A copy of the wrapped action, so that the two can run side by side.
  return actionWithAction(copyAction(other_.get()).get(), rangeStart_ + rangeSpan_, rangeStart_);
}
