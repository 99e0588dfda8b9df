#pragma once
#include "UIView.h"

// The screen's root view. The key window receives the platform's touches.
class UIWindow : public UIView {
 public:
  explicit UIWindow(CGRect frame);
  ~UIWindow() override;
  void makeKeyAndVisible();
  static UIWindow* keyWindow();

  // While an alert is shown on this window it is modal: only the newest
  // alert can be touched, and touches elsewhere reach no view.
  UIView* hitTest(CGPoint point) override;

  // Routes one touch phase to the view it began in (hit-tested at began).
  void sendTouch(UITouch* touch, UITouchPhase phase);
};
