#include "CCActionInstant.h"

#include "Assert.h"
#include "CCNode.h"

namespace {

CCNode* nodeTarget(NSObject* target) {
  auto* node = dynamic_cast<CCNode*>(target);
  CCAssert(node != nullptr, "Action target must be a CCNode");
  return node;
}

template <class T>
T* copyWithTag(T* copy, int tag) {
  copy->setTag(tag);
  return copy;
}

}  // namespace

// MARK: CCActionInstant

Ptr<CCActionInstant> CCActionInstant::action() {
  return makeObject<CCActionInstant>();
}

CCActionInstant* CCActionInstant::copyWithZone(NSZone*) const {
  return copyWithTag(new CCActionInstant(), tag_);
}

void CCActionInstant::step(ccSeconds) {
  update(1);
}

void CCActionInstant::update(ccSeconds) {}

Ptr<CCFiniteTimeAction> CCActionInstant::reverse() const {
  return copyAction(this);
}

// MARK: visibility

Ptr<CCShow> CCShow::action() {
  return makeObject<CCShow>();
}

CCShow* CCShow::copyWithZone(NSZone*) const {
  return copyWithTag(new CCShow(), tag_);
}

void CCShow::startWithTarget(NSObject* target) {
  CCActionInstant::startWithTarget(target);
  nodeTarget(target)->setVisible(true);
}

Ptr<CCFiniteTimeAction> CCShow::reverse() const {
  return CCHide::action();
}

Ptr<CCHide> CCHide::action() {
  return makeObject<CCHide>();
}

CCHide* CCHide::copyWithZone(NSZone*) const {
  return copyWithTag(new CCHide(), tag_);
}

void CCHide::startWithTarget(NSObject* target) {
  CCActionInstant::startWithTarget(target);
  nodeTarget(target)->setVisible(false);
}

Ptr<CCFiniteTimeAction> CCHide::reverse() const {
  return CCShow::action();
}

Ptr<CCToggleVisibility> CCToggleVisibility::action() {
  return makeObject<CCToggleVisibility>();
}

CCToggleVisibility* CCToggleVisibility::copyWithZone(NSZone*) const {
  return copyWithTag(new CCToggleVisibility(), tag_);
}

void CCToggleVisibility::startWithTarget(NSObject* target) {
  CCActionInstant::startWithTarget(target);
  CCNode* node = nodeTarget(target);
  node->setVisible(!node->visible());
}

// MARK: flips and place

Ptr<CCFlipX> CCFlipX::actionWithFlipX(bool flip) {
  auto action = makeObject<CCFlipX>();
  action->initWithFlipX(flip);
  return action;
}

bool CCFlipX::initWithFlipX(bool flip) {
  flipX_ = flip;
  return true;
}

CCFlipX* CCFlipX::copyWithZone(NSZone*) const {
  auto* copy = new CCFlipX();
  copy->initWithFlipX(flipX_);
  return copyWithTag(copy, tag_);
}

void CCFlipX::startWithTarget(NSObject* target) {
  CCActionInstant::startWithTarget(target);
  auto* flippable = dynamic_cast<CCFlipProtocol*>(target);
  CCAssert(flippable != nullptr, "Action target must be able to flip");
  flippable->setFlipX(flipX_);
}

Ptr<CCFiniteTimeAction> CCFlipX::reverse() const {
  return actionWithFlipX(!flipX_);
}

Ptr<CCFlipY> CCFlipY::actionWithFlipY(bool flip) {
  auto action = makeObject<CCFlipY>();
  action->initWithFlipY(flip);
  return action;
}

bool CCFlipY::initWithFlipY(bool flip) {
  flipY_ = flip;
  return true;
}

CCFlipY* CCFlipY::copyWithZone(NSZone*) const {
  auto* copy = new CCFlipY();
  copy->initWithFlipY(flipY_);
  return copyWithTag(copy, tag_);
}

void CCFlipY::startWithTarget(NSObject* target) {
  CCActionInstant::startWithTarget(target);
  auto* flippable = dynamic_cast<CCFlipProtocol*>(target);
  CCAssert(flippable != nullptr, "Action target must be able to flip");
  flippable->setFlipY(flipY_);
}

Ptr<CCFiniteTimeAction> CCFlipY::reverse() const {
  return actionWithFlipY(!flipY_);
}

Ptr<CCPlace> CCPlace::actionWithPosition(CGPoint position) {
  auto action = makeObject<CCPlace>();
  action->initWithPosition(position);
  return action;
}

bool CCPlace::initWithPosition(CGPoint position) {
  position_ = position;
  return true;
}

CCPlace* CCPlace::copyWithZone(NSZone*) const {
  auto* copy = new CCPlace();
  copy->initWithPosition(position_);
  return copyWithTag(copy, tag_);
}

void CCPlace::startWithTarget(NSObject* target) {
  CCActionInstant::startWithTarget(target);
  nodeTarget(target)->setPosition(position_);
}

// MARK: call-backs

Ptr<CCCallFunc> CCCallFunc::actionWithTarget(NSObject* target, Selector<> selector) {
  auto action = makeObject<CCCallFunc>();
  action->initWithTarget(target, selector);
  return action;
}

bool CCCallFunc::initWithTarget(NSObject* target, Selector<> selector) {
  targetCallback_ = target;
  selector_ = selector;
  return true;
}

CCCallFunc* CCCallFunc::copyWithZone(NSZone*) const {
  auto* copy = new CCCallFunc();
  copy->initWithTarget(targetCallback_.get(), selector_);
  return copyWithTag(copy, tag_);
}

void CCCallFunc::startWithTarget(NSObject* target) {
  // The call may stop this action (and release it) or drop the last other
  // reference to the callback target; both live until the call returns.
  Ptr<CCCallFunc> keepAlive(this);
  CCActionInstant::startWithTarget(target);
  execute();
}

void CCCallFunc::execute() {
  if (!targetCallback_ || !selector_) return;
  Ptr<NSObject> callee = targetCallback_;
  selector_(callee.get());
}

std::string CCCallFunc::description() const {
  std::string target = targetCallback_ ? targetCallback_->description() : "(null)";
  return objectAddressPrefix(this) + " | Tag = " + std::to_string(tag_) + " | target = " + target +
         " | selector = " + selectorName() + ">";
}

Ptr<CCCallFuncN> CCCallFuncN::actionWithTarget(NSObject* target, Selector<NSObject*> selector) {
  auto action = makeObject<CCCallFuncN>();
  action->initWithTarget(target, selector);
  return action;
}

Ptr<CCCallFuncN> CCCallFuncN::actionWithTarget(NSObject* target, Selector<CCNode*> selector) {
  auto action = makeObject<CCCallFuncN>();
  action->initWithTarget(target, selector);
  return action;
}

bool CCCallFuncN::initWithTarget(NSObject* target, Selector<NSObject*> selector) {
  targetCallback_ = target;
  objectSelector_ = selector;
  return true;
}

bool CCCallFuncN::initWithTarget(NSObject* target, Selector<CCNode*> selector) {
  targetCallback_ = target;
  nodeSelector_ = selector;
  return true;
}

CCCallFuncN* CCCallFuncN::copyWithZone(NSZone*) const {
  auto* copy = new CCCallFuncN();
  copy->targetCallback_ = targetCallback_;
  copy->objectSelector_ = objectSelector_;
  copy->nodeSelector_ = nodeSelector_;
  return copyWithTag(copy, tag_);
}

void CCCallFuncN::execute() {
  if (!targetCallback_) return;
  Ptr<NSObject> callee = targetCallback_;
  Ptr<NSObject> runner = target_;
  if (objectSelector_) objectSelector_(callee.get(), runner.get());
  if (nodeSelector_) nodeSelector_(callee.get(), dynamic_cast<CCNode*>(runner.get()));
}

const std::string& CCCallFuncN::selectorName() const {
  return objectSelector_ ? objectSelector_.name() : nodeSelector_.name();
}

Ptr<CCCallFuncND> CCCallFuncND::actionWithTarget(NSObject* target,
                                                 Selector<NSObject*, void*> selector, void* data) {
  auto action = makeObject<CCCallFuncND>();
  action->initWithTarget(target, selector, data);
  return action;
}

Ptr<CCCallFuncND> CCCallFuncND::actionWithTarget(NSObject* target,
                                                 Selector<CCNode*, void*> selector, void* data) {
  auto action = makeObject<CCCallFuncND>();
  action->initWithTarget(target, selector, data);
  return action;
}

bool CCCallFuncND::initWithTarget(NSObject* target, Selector<NSObject*, void*> selector,
                                  void* data) {
  targetCallback_ = target;
  objectSelector_ = selector;
  data_ = data;
  return true;
}

bool CCCallFuncND::initWithTarget(NSObject* target, Selector<CCNode*, void*> selector, void* data) {
  targetCallback_ = target;
  nodeSelector_ = selector;
  data_ = data;
  return true;
}

CCCallFuncND* CCCallFuncND::copyWithZone(NSZone*) const {
  auto* copy = new CCCallFuncND();
  copy->targetCallback_ = targetCallback_;
  copy->objectSelector_ = objectSelector_;
  copy->nodeSelector_ = nodeSelector_;
  copy->data_ = data_;
  return copyWithTag(copy, tag_);
}

void CCCallFuncND::execute() {
  if (!targetCallback_) return;
  Ptr<NSObject> callee = targetCallback_;
  Ptr<NSObject> runner = target_;
  if (objectSelector_) objectSelector_(callee.get(), runner.get(), data_);
  if (nodeSelector_) nodeSelector_(callee.get(), dynamic_cast<CCNode*>(runner.get()), data_);
}

const std::string& CCCallFuncND::selectorName() const {
  return objectSelector_ ? objectSelector_.name() : nodeSelector_.name();
}

Ptr<CCCallFuncO> CCCallFuncO::actionWithTarget(NSObject* target, Selector<NSObject*> selector,
                                               NSObject* object) {
  auto action = makeObject<CCCallFuncO>();
  action->initWithTarget(target, selector, object);
  return action;
}

bool CCCallFuncO::initWithTarget(NSObject* target, Selector<NSObject*> selector, NSObject* object) {
  targetCallback_ = target;
  objectSelector_ = selector;
  object_ = object;
  return true;
}

CCCallFuncO* CCCallFuncO::copyWithZone(NSZone*) const {
  auto* copy = new CCCallFuncO();
  copy->initWithTarget(targetCallback_.get(), objectSelector_, object_.get());
  return copyWithTag(copy, tag_);
}

void CCCallFuncO::execute() {
  if (!targetCallback_ || !objectSelector_) return;
  Ptr<NSObject> callee = targetCallback_;
  Ptr<NSObject> object = object_;
  objectSelector_(callee.get(), object.get());
}

Ptr<CCCallBlock> CCCallBlock::actionWithBlock(std::function<void()> block) {
  auto action = makeObject<CCCallBlock>();
  action->initWithBlock(std::move(block));
  return action;
}

bool CCCallBlock::initWithBlock(std::function<void()> block) {
  block_ = std::move(block);
  return true;
}

CCCallBlock* CCCallBlock::copyWithZone(NSZone*) const {
  auto* copy = new CCCallBlock();
  copy->initWithBlock(block_);
  return copyWithTag(copy, tag_);
}

void CCCallBlock::startWithTarget(NSObject* target) {
  Ptr<CCCallBlock> keepAlive(this);
  CCActionInstant::startWithTarget(target);
  execute();
}

void CCCallBlock::execute() {
  if (block_) block_();
}

Ptr<CCCallBlockN> CCCallBlockN::actionWithBlock(std::function<void(NSObject*)> block) {
  auto action = makeObject<CCCallBlockN>();
  action->initWithBlock(std::move(block));
  return action;
}

bool CCCallBlockN::initWithBlock(std::function<void(NSObject*)> block) {
  block_ = std::move(block);
  return true;
}

CCCallBlockN* CCCallBlockN::copyWithZone(NSZone*) const {
  auto* copy = new CCCallBlockN();
  copy->initWithBlock(block_);
  return copyWithTag(copy, tag_);
}

void CCCallBlockN::startWithTarget(NSObject* target) {
  Ptr<CCCallBlockN> keepAlive(this);
  CCActionInstant::startWithTarget(target);
  execute();
}

void CCCallBlockN::execute() {
  if (!block_) return;
  Ptr<NSObject> runner = target_;
  block_(runner.get());
}
