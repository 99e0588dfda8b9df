#pragma once
#include <vector>

#include "UIImage.h"
#include "UIView.h"

enum UIControlEvents { UIControlEventTouchUpInside = 1 << 6 };

// A button showing an image, darkened while a finger is down on it. A touch
// that lifts inside the button sends its actions.
class UIButton : public UIView {
 public:
  explicit UIButton(CGRect frame = CGRectZero);
  ~UIButton() override;

  UIImage* image() const { return image_.get(); }
  void setImage(UIImage* image);
  bool isHighlighted() const { return highlighted_; }
  void setHighlighted(bool highlighted);

  // The target is not retained; it must outlive the button or remove itself.
  void addTarget(NSObject* target, Selector<> action, UIControlEvents events);
  void removeTarget(NSObject* target);
  // Calls the touch-up-inside actions, in the order they were added.
  void sendActions();

  void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
  void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
  void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
  void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;

  const UIViewBitmap* contents() override;

 private:
  struct Action {
    NSObject* target;
    Selector<> action;
  };
  Ptr<UIImage> image_;
  std::vector<Action> actions_;
  bool highlighted_ = false;
  UIViewBitmap normal_, pressed_;
  bool decoded_ = false;

  bool touchInside(const UITouchSet& touches) const;
};
