#include "UITouch.h"

#include "UIView.h"

UITouch::UITouch(UIView* view, CGPoint windowPoint, double timestamp)
    : view_(view), location_(windowPoint), previous_(windowPoint), timestamp_(timestamp) {}

UITouch::~UITouch() = default;

void UITouch::moveTo(CGPoint windowPoint, UITouchPhase phase, double timestamp) {
  previous_ = location_;
  location_ = windowPoint;
  phase_ = phase;
  timestamp_ = timestamp;
}

CGPoint UITouch::locationInView(const UIView* view) const {
  return view ? view->convertFromWindow(location_) : location_;
}

CGPoint UITouch::previousLocationInView(const UIView* view) const {
  return view ? view->convertFromWindow(previous_) : previous_;
}
