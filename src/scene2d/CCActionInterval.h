#pragma once
#include <initializer_list>
#include <vector>

#include "CCAction.h"
#include "CGGeometry.h"
#include "ccTypes.h"

class CCNode;
class CCRGBAProtocol;

// An action that lasts a duration and maps elapsed time to a progress t in
// 0..1 for `update`. The first step after a start counts no time, so the
// first update always has t = 0 and the last exactly t = 1.
class CCActionInterval : public CCFiniteTimeAction {
 public:
  static Ptr<CCActionInterval> actionWithDuration(ccSeconds duration);
  // Plain construction leaves the action unusable until `initWithDuration`.
  CCActionInterval() = default;
  // Not supported: fails an assertion and gives false.
  bool init();
  bool initWithDuration(ccSeconds duration);

  CCActionInterval* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void step(ccSeconds dt) override;
  bool isDone() const override { return elapsed_ >= duration_; }
  // Interval actions that have no opposite fail an assertion.
  Ptr<CCFiniteTimeAction> reverse() const override;

  ccSeconds elapsed() const { return elapsed_; }

 protected:
  ccSeconds elapsed_ = 0;
  bool firstTick_ = true;
};

// MARK: composites

// Runs one action, then the other. The first always finishes with t = 1
// before the second starts, even when one frame jumps over the split.
class CCSequence : public CCActionInterval {
 public:
  // Folds the list left into nested pairs; a null entry ends the list. One
  // action alone is returned as it is; an empty list gives null.
  static Ptr<CCFiniteTimeAction> actions(std::initializer_list<CCFiniteTimeAction*> list);
  static Ptr<CCFiniteTimeAction> actionsWithArray(const std::vector<Ptr<CCFiniteTimeAction>>& list);
  static Ptr<CCSequence> actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
  bool initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);

  CCSequence* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

  CCFiniteTimeAction* first() const { return actions_[0].get(); }
  CCFiniteTimeAction* second() const { return actions_[1].get(); }

 private:
  Ptr<CCFiniteTimeAction> actions_[2];
  ccSeconds split_ = 0;
  int last_ = -1;
};

// Runs two actions side by side; the shorter one is padded with a delay.
class CCSpawn : public CCActionInterval {
 public:
  static Ptr<CCFiniteTimeAction> actions(std::initializer_list<CCFiniteTimeAction*> list);
  static Ptr<CCFiniteTimeAction> actionsWithArray(const std::vector<Ptr<CCFiniteTimeAction>>& list);
  static Ptr<CCSpawn> actionOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);
  bool initOne(CCFiniteTimeAction* one, CCFiniteTimeAction* two);

  CCSpawn* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

  CCFiniteTimeAction* one() const { return one_.get(); }
  CCFiniteTimeAction* two() const { return two_.get(); }

 private:
  Ptr<CCFiniteTimeAction> one_, two_;
};

// Runs an action a number of times, back to back.
class CCRepeat : public CCActionInterval {
 public:
  static Ptr<CCRepeat> actionWithAction(CCFiniteTimeAction* action, unsigned times);
  bool initWithAction(CCFiniteTimeAction* action, unsigned times);

  CCRepeat* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void update(ccSeconds t) override;
  bool isDone() const override;
  Ptr<CCFiniteTimeAction> reverse() const override;

  CCFiniteTimeAction* innerAction() const { return innerAction_.get(); }
  void setInnerAction(CCFiniteTimeAction* action) { innerAction_ = action; }
  unsigned times() const { return times_; }
  unsigned total() const { return total_; }

 private:
  void finishRound();

  unsigned times_ = 0;
  unsigned total_ = 0;
  Ptr<CCFiniteTimeAction> innerAction_;
};

// Plays an action backwards in time.
class CCReverseTime : public CCActionInterval {
 public:
  static Ptr<CCReverseTime> actionWithAction(CCFiniteTimeAction* action);
  bool initWithAction(CCFiniteTimeAction* action);

  CCReverseTime* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 private:
  Ptr<CCFiniteTimeAction> other_;
};

// MARK: node properties

class CCMoveTo : public CCActionInterval {
 public:
  static Ptr<CCMoveTo> actionWithDuration(ccSeconds duration, CGPoint position);
  bool initWithDuration(ccSeconds duration, CGPoint position);

  CCMoveTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;

 protected:
  CGPoint endPosition_ = CGPointZero;
  CGPoint startPosition_ = CGPointZero;
  CGPoint delta_ = CGPointZero;
};

class CCMoveBy : public CCMoveTo {
 public:
  static Ptr<CCMoveBy> actionWithDuration(ccSeconds duration, CGPoint offset);
  bool initWithDuration(ccSeconds duration, CGPoint offset);

  CCMoveBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCRotateTo : public CCActionInterval {
 public:
  static Ptr<CCRotateTo> actionWithDuration(ccSeconds duration, float angle);
  bool initWithDuration(ccSeconds duration, float angle);

  CCRotateTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;

 private:
  float dstAngle_ = 0;
  float startAngle_ = 0;
  float diffAngle_ = 0;
};

class CCRotateBy : public CCActionInterval {
 public:
  static Ptr<CCRotateBy> actionWithDuration(ccSeconds duration, float angle);
  bool initWithDuration(ccSeconds duration, float angle);

  CCRotateBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 private:
  float angle_ = 0;
  float startAngle_ = 0;
};

class CCScaleTo : public CCActionInterval {
 public:
  static Ptr<CCScaleTo> actionWithDuration(ccSeconds duration, float scale);
  static Ptr<CCScaleTo> actionWithDuration(ccSeconds duration, float scaleX, float scaleY);
  bool initWithDuration(ccSeconds duration, float scale);
  bool initWithDuration(ccSeconds duration, float scaleX, float scaleY);

  CCScaleTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;

 protected:
  float startScaleX_ = 1, startScaleY_ = 1;
  float endScaleX_ = 1, endScaleY_ = 1;
  float deltaX_ = 0, deltaY_ = 0;
};

class CCScaleBy : public CCScaleTo {
 public:
  static Ptr<CCScaleBy> actionWithDuration(ccSeconds duration, float scale);
  static Ptr<CCScaleBy> actionWithDuration(ccSeconds duration, float scaleX, float scaleY);

  CCScaleBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCJumpBy : public CCActionInterval {
 public:
  static Ptr<CCJumpBy> actionWithDuration(ccSeconds duration, CGPoint position, float height,
                                          unsigned jumps);
  bool initWithDuration(ccSeconds duration, CGPoint position, float height, unsigned jumps);

  CCJumpBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 protected:
  CGPoint position_ = CGPointZero;  // as configured: offset, or end point for CCJumpTo
  CGPoint startPosition_ = CGPointZero;
  CGPoint delta_ = CGPointZero;
  float height_ = 0;
  unsigned jumps_ = 0;
};

class CCJumpTo : public CCJumpBy {
 public:
  static Ptr<CCJumpTo> actionWithDuration(ccSeconds duration, CGPoint position, float height,
                                          unsigned jumps);

  CCJumpTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

struct ccBezierConfig {
  CGPoint endPosition = CGPointZero;
  CGPoint controlPoint_1 = CGPointZero;
  CGPoint controlPoint_2 = CGPointZero;
};

class CCBezierBy : public CCActionInterval {
 public:
  static Ptr<CCBezierBy> actionWithDuration(ccSeconds duration, const ccBezierConfig& config);
  bool initWithDuration(ccSeconds duration, const ccBezierConfig& config);

  CCBezierBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 protected:
  ccBezierConfig config_;  // as configured
  ccBezierConfig path_;    // relative to the start of the current run
  CGPoint startPosition_ = CGPointZero;
};

class CCBezierTo : public CCBezierBy {
 public:
  static Ptr<CCBezierTo> actionWithDuration(ccSeconds duration, const ccBezierConfig& config);

  CCBezierTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

// Actions on colour and opacity need a target with the RGBA protocol.
class CCActionIntervalRGBA : public CCActionInterval {
 public:
  void startWithTarget(NSObject* target) override;

 protected:
  CCRGBAProtocol* rgba_ = nullptr;  // the target, seen through its protocol
};

class CCFadeIn : public CCActionIntervalRGBA {
 public:
  static Ptr<CCFadeIn> actionWithDuration(ccSeconds duration);
  CCFadeIn* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCFadeOut : public CCActionIntervalRGBA {
 public:
  static Ptr<CCFadeOut> actionWithDuration(ccSeconds duration);
  CCFadeOut* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

class CCFadeTo : public CCActionIntervalRGBA {
 public:
  static Ptr<CCFadeTo> actionWithDuration(ccSeconds duration, GLubyte opacity);
  bool initWithDuration(ccSeconds duration, GLubyte opacity);

  CCFadeTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;

 private:
  GLubyte toOpacity_ = 0;
  GLubyte fromOpacity_ = 0;
};

class CCTintTo : public CCActionIntervalRGBA {
 public:
  static Ptr<CCTintTo> actionWithDuration(ccSeconds duration, GLubyte red, GLubyte green,
                                          GLubyte blue);
  bool initWithDuration(ccSeconds duration, GLubyte red, GLubyte green, GLubyte blue);

  CCTintTo* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;

 private:
  ccColor3B to_;
  ccColor3B from_;
};

class CCTintBy : public CCActionIntervalRGBA {
 public:
  static Ptr<CCTintBy> actionWithDuration(ccSeconds duration, GLshort deltaRed, GLshort deltaGreen,
                                          GLshort deltaBlue);
  bool initWithDuration(ccSeconds duration, GLshort deltaRed, GLshort deltaGreen,
                        GLshort deltaBlue);

  CCTintBy* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 private:
  GLshort deltaR_ = 0, deltaG_ = 0, deltaB_ = 0;
  GLshort fromR_ = 0, fromG_ = 0, fromB_ = 0;
};

class CCBlink : public CCActionInterval {
 public:
  static Ptr<CCBlink> actionWithDuration(ccSeconds duration, unsigned blinks);
  bool initWithDuration(ccSeconds duration, unsigned blinks);

  CCBlink* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;

 private:
  unsigned times_ = 0;
};

class CCDelayTime : public CCActionInterval {
 public:
  static Ptr<CCDelayTime> actionWithDuration(ccSeconds duration);
  CCDelayTime* copyWithZone(NSZone* zone) const override;
  void update(ccSeconds t) override;
  Ptr<CCFiniteTimeAction> reverse() const override;
};

// MARK: frame animation

// Something that can show one frame of a frame animation (a sprite).
class CCFrameDisplayProtocol {
 public:
  virtual ~CCFrameDisplayProtocol() = default;
  virtual NSObject* displayedFrame() const = 0;
  virtual void setDisplayFrame(NSObject* frame) = 0;
  virtual bool isFrameDisplayed(NSObject* frame) const = 0;
};

// An ordered list of frames; what a frame is belongs to the target.
class CCAnimation : public NSObject {
 public:
  static Ptr<CCAnimation> animationWithFrames(const std::vector<Ptr<NSObject>>& frames);
  const std::vector<Ptr<NSObject>>& frames() const { return frames_; }

 private:
  std::vector<Ptr<NSObject>> frames_;
};

class CCAnimate : public CCActionInterval {
 public:
  static Ptr<CCAnimate> actionWithDuration(ccSeconds duration, CCAnimation* animation,
                                           bool restoreOriginalFrame);
  bool initWithDuration(ccSeconds duration, CCAnimation* animation, bool restoreOriginalFrame);

  CCAnimate* copyWithZone(NSZone* zone) const override;
  void startWithTarget(NSObject* target) override;
  void stop() override;
  void update(ccSeconds t) override;
  CCAnimation* animation() const { return animation_.get(); }

 private:
  Ptr<CCAnimation> animation_;
  Ptr<NSObject> origFrame_;
  bool restoreOriginalFrame_ = false;
  CCFrameDisplayProtocol* display_ = nullptr;
};
