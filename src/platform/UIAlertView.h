#pragma once
#include <string>
#include <vector>

#include "UIView.h"

class UIAlertView;

// Told which button closed an alert.
class UIAlertViewDelegate {
 public:
  virtual ~UIAlertViewDelegate() = default;
  virtual void alertView(UIAlertView* alertView, int clickedButtonAtIndex) = 0;
};

class NSNotification;

// A modal message with a title and buttons: the cancel button (when given)
// is button 0, the other buttons follow. While shown, the alert keeps itself
// alive, sits centred over the key window (when there is one), turned upright
// for the way the device is held, and is the only view there that touches
// reach; a touch ending on a button closes it.
class UIAlertView : public UIView {
 public:
  static constexpr float kWidth = 284, kHeight = 160, kButtonHeight = 44;

  UIAlertView();
  ~UIAlertView() override;

  // `delegate` is not retained; it must outlive the shown alert.
  bool initWithTitle(const std::string& title, const std::string& message,
                     UIAlertViewDelegate* delegate, const std::string& cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles);

  const std::string& title() const { return title_; }
  const std::string& message() const { return message_; }
  UIAlertViewDelegate* delegate() const { return delegate_; }
  // A delegate going away before the alert closes sets null here.
  void setDelegate(UIAlertViewDelegate* delegate) { delegate_ = delegate; }
  int numberOfButtons() const { return static_cast<int>(buttons_.size()); }
  // Empty for an index outside the buttons.
  std::string buttonTitleAtIndex(int index) const;
  int cancelButtonIndex() const { return cancelIndex_; }
  bool isVisible() const { return visible_; }

  void show();
  // Closes the alert and tells the delegate; nothing when it is not shown.
  void dismissWithClickedButtonIndex(int buttonIndex, bool animated);
  // The button under `point` (the alert's coordinates), or -1.
  int buttonIndexAtPoint(CGPoint point) const;

  void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
  void touchesBegan(const UITouchSet&, UIEvent*) override {}
  void touchesMoved(const UITouchSet&, UIEvent*) override {}
  void touchesCancelled(const UITouchSet&, UIEvent*) override {}

  // Title, message and buttons, drawn over the background colour.
  const UIViewBitmap* contents() override;
  void orientationDidChange(NSNotification* notification);

  // Alerts being shown, oldest first.
  static std::vector<UIAlertView*> visibleAlerts();

 private:
  std::string title_, message_;
  UIAlertViewDelegate* delegate_ = nullptr;
  std::vector<std::string> buttons_;
  int cancelIndex_ = -1;
  bool visible_ = false;
  UIViewBitmap bitmap_;
  unsigned drawnVersion_ = ~0u;

  void turnUpright();
};
