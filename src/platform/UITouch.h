#pragma once
#include <vector>

#include "CGGeometry.h"
#include "NSObject.h"

class UIView;

enum UITouchPhase {
  UITouchPhaseBegan,
  UITouchPhaseMoved,
  UITouchPhaseStationary,
  UITouchPhaseEnded,
  UITouchPhaseCancelled
};

// One finger (or the mouse) on the screen, from down to up. Locations are
// kept in window (device screen) coordinates, origin top-left.
class UITouch : public NSObject {
 public:
  UITouch(UIView* view, CGPoint windowPoint, double timestamp);
  ~UITouch() override;

  UITouchPhase phase() const { return phase_; }
  UIView* view() const { return view_.get(); }
  double timestamp() const { return timestamp_; }
  int tapCount() const { return 1; }
  CGPoint locationInView(const UIView* view) const;
  CGPoint previousLocationInView(const UIView* view) const;

  void moveTo(CGPoint windowPoint, UITouchPhase phase, double timestamp);

 private:
  // Retained: a view removed while a finger is still on it gets the rest of the touch.
  Ptr<UIView> view_;
  CGPoint location_;
  CGPoint previous_;
  UITouchPhase phase_ = UITouchPhaseBegan;
  double timestamp_;
};

using UITouchSet = std::vector<UITouch*>;

// The touches of one dispatch.
class UIEvent : public NSObject {
 public:
  explicit UIEvent(UITouchSet touches) : touches_(std::move(touches)) {}
  const UITouchSet& allTouches() const { return touches_; }

 private:
  UITouchSet touches_;
};
