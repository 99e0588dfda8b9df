#pragma once
#include "CC3Foundation.h"
#include "CCActionEase.h"
#include "CCActionInterval.h"

class CC3Node;
class CC3TargettingNode;

// Moves a vector property of a 3D node from where it stands at the start to
// an end value. Subclasses name the property.
class CC3TransformTo : public CCActionInterval {
 public:
  static Ptr<CC3TransformTo> actionWithDuration(ccSeconds duration, CC3Vec3 endVector);
  using CCActionInterval::initWithDuration;
  bool initWithDuration(ccSeconds duration, CC3Vec3 endVector);

  CC3TransformTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;
  // Back to where this action started; meaningful once it has started.
  Ptr<CCFiniteTimeAction> reverse() const override;

  CC3Vec3 startVector() const { return startVector_; }
  CC3Vec3 endVector() const { return endVector_; }
  CC3Vec3 differenceVector() const { return differenceVector_; }

  // The target as a node; any other target fails an assertion.
  CC3Node* targetNode() const;
  virtual CC3Vec3 targetVector() const { return kCC3Vec3Zero; }
  virtual void setTargetVector(CC3Vec3) {}

  std::string description() const override;

 protected:
  // An uninitialised action of the receiver's class, for copies and reverses.
  virtual CC3TransformTo* newInstance() const { return new CC3TransformTo(); }

  CC3Vec3 startVector_ = kCC3Vec3Zero;
  CC3Vec3 endVector_ = kCC3Vec3Zero;
  CC3Vec3 differenceVector_ = kCC3Vec3Zero;
};

// Changes a vector property by a difference from where it stands when the
// action starts, so that repeats and sequences accumulate.
class CC3TransformBy : public CC3TransformTo {
 public:
  static Ptr<CC3TransformBy> actionWithDuration(ccSeconds duration, CC3Vec3 differenceVector);
  using CCActionInterval::initWithDuration;
  bool initWithDuration(ccSeconds duration, CC3Vec3 differenceVector);

  CC3TransformBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3TransformBy(); }
};

class CC3MoveTo : public CC3TransformTo {
 public:
  static Ptr<CC3MoveTo> actionWithDuration(ccSeconds duration, CC3Vec3 moveTo);
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3MoveTo(); }
};

// Turns the short way round on each axis.
class CC3RotateTo : public CC3TransformTo {
 public:
  static Ptr<CC3RotateTo> actionWithDuration(ccSeconds duration, CC3Vec3 rotateTo);
  void startWithTarget(NSObject* target) override;
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3RotateTo(); }
};

class CC3ScaleTo : public CC3TransformTo {
 public:
  static Ptr<CC3ScaleTo> actionWithDuration(ccSeconds duration, CC3Vec3 scaleTo);
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3ScaleTo(); }
};

// Turns a pointing node towards a direction.
class CC3RotateToLookTowards : public CC3TransformTo {
 public:
  static Ptr<CC3RotateToLookTowards> actionWithDuration(ccSeconds duration,
                                                        CC3Vec3 forwardDirection);
  using CCActionInterval::initWithDuration;
  bool initWithDuration(ccSeconds duration, CC3Vec3 forwardDirection);
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3RotateToLookTowards(); }
  CC3TargettingNode* targettingNode() const;
};

// Turns a pointing node to look at a location in the world.
class CC3RotateToLookAt : public CC3RotateToLookTowards {
 public:
  static Ptr<CC3RotateToLookAt> actionWithDuration(ccSeconds duration, CC3Vec3 targetLocation);
  using CCActionInterval::initWithDuration;
  bool initWithDuration(ccSeconds duration, CC3Vec3 targetLocation);

  CC3RotateToLookAt* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3RotateToLookAt(); }

 private:
  // Kept apart from the end vector, which each start turns into a direction,
  // so that the action can be run again.
  CC3Vec3 lookAtLocation_ = kCC3Vec3Zero;
};

class CC3MoveBy : public CC3TransformBy {
 public:
  static Ptr<CC3MoveBy> actionWithDuration(ccSeconds duration, CC3Vec3 moveBy);
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3MoveBy(); }
};

class CC3RotateBy : public CC3TransformBy {
 public:
  static Ptr<CC3RotateBy> actionWithDuration(ccSeconds duration, CC3Vec3 rotateBy);
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3RotateBy(); }
};

// Adds to the scale: (1, 1, 1) changed by (0.5, 0.5, 0.5) ends at 1.5.
class CC3ScaleBy : public CC3TransformBy {
 public:
  static Ptr<CC3ScaleBy> actionWithDuration(ccSeconds duration, CC3Vec3 scaleBy);
  CC3Vec3 targetVector() const override;
  void setTargetVector(CC3Vec3 v) override;

 protected:
  CC3TransformTo* newInstance() const override { return new CC3ScaleBy(); }
};

// Blends one of a node's material colours to an end colour. Only the four
// subclasses say which colour; the base class itself fails an assertion.
class CC3TintTo : public CCActionInterval {
 public:
  static Ptr<CC3TintTo> actionWithDuration(ccSeconds duration, ccColor4F colorTo);
  using CCActionInterval::initWithDuration;
  bool initWithDuration(ccSeconds duration, ccColor4F colorTo);

  CC3TintTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;

  ccColor4F startColor() const { return startColor_; }
  ccColor4F endColor() const { return endColor_; }
  CC3Node* targetNode() const;
  virtual ccColor4F targetColor() const;
  virtual void setTargetColor(ccColor4F color);

 protected:
  virtual CC3TintTo* newInstance() const { return new CC3TintTo(); }

  ccColor4F startColor_{0, 0, 0, 0};
  ccColor4F endColor_{0, 0, 0, 0};
};

class CC3TintAmbientTo : public CC3TintTo {
 public:
  static Ptr<CC3TintAmbientTo> actionWithDuration(ccSeconds duration, ccColor4F colorTo);
  ccColor4F targetColor() const override;
  void setTargetColor(ccColor4F color) override;

 protected:
  CC3TintTo* newInstance() const override { return new CC3TintAmbientTo(); }
};

class CC3TintDiffuseTo : public CC3TintTo {
 public:
  static Ptr<CC3TintDiffuseTo> actionWithDuration(ccSeconds duration, ccColor4F colorTo);
  ccColor4F targetColor() const override;
  void setTargetColor(ccColor4F color) override;

 protected:
  CC3TintTo* newInstance() const override { return new CC3TintDiffuseTo(); }
};

class CC3TintSpecularTo : public CC3TintTo {
 public:
  static Ptr<CC3TintSpecularTo> actionWithDuration(ccSeconds duration, ccColor4F colorTo);
  ccColor4F targetColor() const override;
  void setTargetColor(ccColor4F color) override;

 protected:
  CC3TintTo* newInstance() const override { return new CC3TintSpecularTo(); }
};

class CC3TintEmissionTo : public CC3TintTo {
 public:
  static Ptr<CC3TintEmissionTo> actionWithDuration(ccSeconds duration, ccColor4F colorTo);
  ccColor4F targetColor() const override;
  void setTargetColor(ccColor4F color) override;

 protected:
  CC3TintTo* newInstance() const override { return new CC3TintEmissionTo(); }
};

// Plays the target's node animations (and its descendants') over the duration.
class CC3Animate : public CCActionInterval {
 public:
  static Ptr<CC3Animate> actionWithDuration(ccSeconds duration);
  // Plays only the part of the animation from one progress value to another.
  static Ptr<CCActionInterval> actionWithDuration(ccSeconds duration, ccSeconds startOfRange,
                                                  ccSeconds endOfRange);
  Ptr<CCActionInterval> asActionLimitedFrom(ccSeconds startOfRange, ccSeconds endOfRange);

  CC3Animate* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

  bool isReversed() const { return isReversed_; }
  void setIsReversed(bool reversed) { isReversed_ = reversed; }

 private:
  bool isReversed_ = false;
};

// Plays a part of another interval action: progress t maps to
// rangeStart + t * rangeSpan of the wrapped action.
class CC3ActionRangeLimit : public CCActionEase {
 public:
  static Ptr<CC3ActionRangeLimit> actionWithAction(CCActionInterval* action, ccSeconds startOfRange,
                                                   ccSeconds endOfRange);
  using CCActionEase::initWithAction;
  bool initWithAction(CCActionInterval* action, ccSeconds startOfRange, ccSeconds endOfRange);

  CC3ActionRangeLimit* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

  ccSeconds rangeStart() const { return rangeStart_; }
  ccSeconds rangeSpan() const { return rangeSpan_; }

 private:
  ccSeconds rangeStart_ = 0;
  ccSeconds rangeSpan_ = 1;
};
