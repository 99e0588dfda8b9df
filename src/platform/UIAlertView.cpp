#include "UIAlertView.h"

#include <algorithm>

#include "Log.h"
#include "UIWindow.h"

namespace {
// Shown alerts, each holding one reference to itself until dismissed.
std::vector<UIAlertView*>& shownAlerts() {
  static std::vector<UIAlertView*> alerts;
  return alerts;
}
}  // namespace

UIAlertView::UIAlertView() : UIView(CGRectMake(0, 0, kWidth, kHeight)) {}
UIAlertView::~UIAlertView() = default;

bool UIAlertView::initWithTitle(const std::string& title, const std::string& message,
                                UIAlertViewDelegate* delegate, const std::string& cancelButtonTitle,
                                const std::vector<std::string>& otherButtonTitles) {
  title_ = title;
  message_ = message;
  delegate_ = delegate;
  buttons_.clear();
  cancelIndex_ = -1;
  if (!cancelButtonTitle.empty()) {
    cancelIndex_ = 0;
    buttons_.push_back(cancelButtonTitle);
  }
  for (const auto& other : otherButtonTitles)
    if (!other.empty()) buttons_.push_back(other);
  setBackgroundColor(UIColor{0.1f, 0.15f, 0.3f, 0.9f});
  return true;
}

std::string UIAlertView::buttonTitleAtIndex(int index) const {
  return index >= 0 && index < numberOfButtons() ? buttons_[static_cast<std::size_t>(index)]
                                                 : std::string();
}

void UIAlertView::show() {
  if (visible_) return;
  visible_ = true;
  retain();
  shownAlerts().push_back(this);
  if (UIWindow* window = UIWindow::keyWindow()) {
    CGRect area = window->bounds();
    setFrame(CGRectMake(area.origin.x + (area.size.width - kWidth) / 2,
                        area.origin.y + (area.size.height - kHeight) / 2, kWidth, kHeight));
    window->addSubview(this);
  }
  logMessage(LogLevel::Info, "alert: " + title_ + (message_.empty() ? "" : " - " + message_));
}

void UIAlertView::dismissWithClickedButtonIndex(int buttonIndex, bool) {
  if (!visible_) return;
  visible_ = false;
  auto& alerts = shownAlerts();
  alerts.erase(std::remove(alerts.begin(), alerts.end(), this), alerts.end());
  removeFromSuperview();
  // The reference taken by show() goes to the pool: the delegate may drop its
  // own last reference while the alert is still in use.
  autorelease();
  if (delegate_) delegate_->alertView(this, buttonIndex);
}

int UIAlertView::buttonIndexAtPoint(CGPoint point) const {
  const CGSize size = frame().size;
  if (buttons_.empty() || point.x < 0 || point.x >= size.width || point.y >= size.height ||
      point.y < size.height - kButtonHeight)
    return -1;
  const float width = size.width / static_cast<float>(buttons_.size());
  return std::min(static_cast<int>(point.x / width), numberOfButtons() - 1);
}

void UIAlertView::touchesEnded(const UITouchSet& touches, UIEvent*) {
  for (UITouch* touch : touches) {
    int index = buttonIndexAtPoint(touch->locationInView(this));
    if (index >= 0) {
      dismissWithClickedButtonIndex(index, true);
      return;
    }
  }
}

std::vector<UIAlertView*> UIAlertView::visibleAlerts() {
  return shownAlerts();
}
