#pragma once
#include "UIView.h"

// The screen's root view. The key window receives the platform's touches.
class UIWindow : public UIView {
 public:
  explicit UIWindow(CGRect frame);
  ~UIWindow() override;
  void makeKeyAndVisible();
  static UIWindow* keyWindow();

  // Routes one touch phase to the view it began in (hit-tested at began).
  void sendTouch(UITouch* touch, UITouchPhase phase);
};
