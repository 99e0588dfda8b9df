#pragma once
#include <optional>

#include "CGGeometry.h"
#include "UIAccelerometer.h"
#include "lumoTurnMachine.h"

// The reader's gestures from raw input: a tap, a drag step (a turn request
// each 120 points up or down) and a tilt step from the accelerometer. It holds
// only where the gesture began and the filtered acceleration; what a gesture
// does is the world's.
class lumoGestureRecogniser {
 public:
  // A touch that ends nearer than this to where it began, both across and up,
  // is a tap. The one rule for the raw touches and for the picked ones.
  static constexpr float kTapSlop = 30;
  // Points of vertical drag per page turn.
  static constexpr float kDragStep = 120;
  static bool isTap(CGPoint from, CGPoint to);

  // MARK: raw touches (layer points, y up)
  void touchBegan(CGPoint point);
  // The turn a drag to `point` asks for: more than a step up (forward) or down
  // (back) from the last step taken.
  std::optional<lumoTurn> dragStepAt(CGPoint point) const;
  // The step was taken: the next one counts from `point`.
  void stepTaken(CGPoint point) { lastGesture_ = point; }
  // True for the first refused step of a gesture: a long drag crosses the
  // step on every move after.
  bool firstRefusal();
  bool touchEndsAsTap(CGPoint point) const { return isTap(beginGesture_, point); }

  // MARK: picked touches (reported a frame later, with their own points)
  void pickBegan(CGPoint point) { nodeBeginGesture_ = point; }
  bool pickEndsAsTap(CGPoint point) const { return isTap(nodeBeginGesture_, point); }

  // MARK: tilt
  // Degrees to tilt the page by about x and about y; 0: no step.
  struct TiltStep {
    float aboutX = 0;
    float aboutY = 0;
  };
  // What is left after a low-pass filter is a change of attitude: holding the
  // device still at any angle makes no step.
  TiltStep accelerate(const UIAcceleration& acceleration);

 private:
  CGPoint beginGesture_{};
  CGPoint nodeBeginGesture_{};
  CGPoint lastGesture_{};
  bool refusalReported_ = false;
  double filtered_[3] = {0, 0, 0};
};
