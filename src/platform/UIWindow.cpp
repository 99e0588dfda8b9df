#include "UIWindow.h"

#include "UIAlertView.h"

namespace {
UIWindow* gKeyWindow = nullptr;
}

UIWindow::UIWindow(CGRect frame) : UIView(frame) {}

UIWindow::~UIWindow() {
  if (gKeyWindow == this) gKeyWindow = nullptr;
}

void UIWindow::makeKeyAndVisible() {
  gKeyWindow = this;
  setHidden(false);
}

UIWindow* UIWindow::keyWindow() {
  return gKeyWindow;
}

UIView* UIWindow::hitTest(CGPoint point) {
  const auto alerts = UIAlertView::visibleAlerts();
  for (auto it = alerts.rbegin(); it != alerts.rend(); ++it) {
    UIAlertView* alert = *it;
    if (alert->superview() != this) continue;
    return alert->hitTest(alert->convertFromWindow(point));
  }
  return UIView::hitTest(point);
}

void UIWindow::sendTouch(UITouch* touch, UITouchPhase phase) {
  UIView* view = touch->view();
  if (!view) return;
  auto event = makeObject<UIEvent>(UITouchSet{touch});
  const UITouchSet touches{touch};
  switch (phase) {
    case UITouchPhaseBegan:
      view->touchesBegan(touches, event.get());
      break;
    case UITouchPhaseMoved:
      view->touchesMoved(touches, event.get());
      break;
    case UITouchPhaseEnded:
      view->touchesEnded(touches, event.get());
      break;
    case UITouchPhaseCancelled:
      view->touchesCancelled(touches, event.get());
      break;
    case UITouchPhaseStationary:
      break;
  }
}
