#pragma once
#include <functional>

#include "CCAction.h"
#include "CGGeometry.h"

class CCNode;

// An action of no duration that acts once, when it is started. Stepping it
// only confirms the end; it is always done.
class CCActionInstant : public CCFiniteTimeAction {
 public:
  static Ptr<CCActionInstant> action();
  CCActionInstant* copyWithZone(NSZone* zone) const override;
  bool isDone() const override { return true; }
  void step(ccSeconds dt) override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCShow : public CCActionInstant {
 public:
  static Ptr<CCShow> action();
  CCShow* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCHide : public CCActionInstant {
 public:
  static Ptr<CCHide> action();
  CCHide* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCToggleVisibility : public CCActionInstant {
 public:
  static Ptr<CCToggleVisibility> action();
  CCToggleVisibility* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
};

// Targets of CCFlipX / CCFlipY (sprites).
class CCFlipProtocol {
 public:
  virtual ~CCFlipProtocol() = default;
  virtual void setFlipX(bool flip) = 0;
  virtual void setFlipY(bool flip) = 0;
};

class CCFlipX : public CCActionInstant {
 public:
  static Ptr<CCFlipX> actionWithFlipX(bool flip);
  bool initWithFlipX(bool flip);
  CCFlipX* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 private:
  bool flipX_ = false;
};

class CCFlipY : public CCActionInstant {
 public:
  static Ptr<CCFlipY> actionWithFlipY(bool flip);
  bool initWithFlipY(bool flip);
  CCFlipY* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 private:
  bool flipY_ = false;
};

class CCPlace : public CCActionInstant {
 public:
  static Ptr<CCPlace> actionWithPosition(CGPoint position);
  bool initWithPosition(CGPoint position);
  CCPlace* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;

 private:
  CGPoint position_ = CGPointZero;
};

// Sends a selector to a callback target when started. The callback target is
// retained, so the call never reaches a released object.
class CCCallFunc : public CCActionInstant {
 public:
  static Ptr<CCCallFunc> actionWithTarget(NSObject* target, Selector<> selector);
  bool initWithTarget(NSObject* target, Selector<> selector);

  CCCallFunc* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  virtual void execute();

  NSObject* targetCallback() const { return targetCallback_.get(); }
  void setTargetCallback(NSObject* target) { targetCallback_ = target; }
  std::string description() const override;

 protected:
  virtual const std::string& selectorName() const { return selector_.name(); }

  Ptr<NSObject> targetCallback_;
  Selector<> selector_;
};

// Passes the node that runs the action. The selector may take the node as a
// CCNode (2D targets) or as an engine object (any target, 3D nodes too).
class CCCallFuncN : public CCCallFunc {
 public:
  static Ptr<CCCallFuncN> actionWithTarget(NSObject* target, Selector<NSObject*> selector);
  static Ptr<CCCallFuncN> actionWithTarget(NSObject* target, Selector<CCNode*> selector);
  bool initWithTarget(NSObject* target, Selector<NSObject*> selector);
  bool initWithTarget(NSObject* target, Selector<CCNode*> selector);

  CCCallFuncN* copyWithZone(NSZone* zone) const override;
  void execute() override;

 protected:
  const std::string& selectorName() const override;

 private:
  Selector<NSObject*> objectSelector_;
  Selector<CCNode*> nodeSelector_;
};

// Passes the target node and an opaque pointer owned by the caller.
class CCCallFuncND : public CCCallFunc {
 public:
  static Ptr<CCCallFuncND> actionWithTarget(NSObject* target, Selector<NSObject*, void*> selector,
                                            void* data);
  static Ptr<CCCallFuncND> actionWithTarget(NSObject* target, Selector<CCNode*, void*> selector,
                                            void* data);
  bool initWithTarget(NSObject* target, Selector<NSObject*, void*> selector, void* data);
  bool initWithTarget(NSObject* target, Selector<CCNode*, void*> selector, void* data);

  CCCallFuncND* copyWithZone(NSZone* zone) const override;
  void execute() override;
  void* data() const { return data_; }

 protected:
  const std::string& selectorName() const override;

 private:
  Selector<NSObject*, void*> objectSelector_;
  Selector<CCNode*, void*> nodeSelector_;
  void* data_ = nullptr;
};

// Passes a retained object.
class CCCallFuncO : public CCCallFunc {
 public:
  static Ptr<CCCallFuncO> actionWithTarget(NSObject* target, Selector<NSObject*> selector,
                                           NSObject* object);
  bool initWithTarget(NSObject* target, Selector<NSObject*> selector, NSObject* object);

  CCCallFuncO* copyWithZone(NSZone* zone) const override;
  void execute() override;
  NSObject* object() const { return object_.get(); }
  void setObject(NSObject* object) { object_ = object; }

 protected:
  const std::string& selectorName() const override { return objectSelector_.name(); }

 private:
  Selector<NSObject*> objectSelector_;
  Ptr<NSObject> object_;
};

class CCCallBlock : public CCActionInstant {
 public:
  static Ptr<CCCallBlock> actionWithBlock(std::function<void()> block);
  bool initWithBlock(std::function<void()> block);
  CCCallBlock* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  virtual void execute();

 private:
  std::function<void()> block_;
};

// The block receives the node that runs the action.
class CCCallBlockN : public CCActionInstant {
 public:
  static Ptr<CCCallBlockN> actionWithBlock(std::function<void(NSObject*)> block);
  bool initWithBlock(std::function<void(NSObject*)> block);
  CCCallBlockN* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  virtual void execute();

 private:
  std::function<void(NSObject*)> block_;
};
