#include "UIButton.h"

#include <algorithm>

UIButton::UIButton(CGRect frame) : UIView(frame) {}
UIButton::~UIButton() = default;

void UIButton::setImage(UIImage* image) {
  if (image == image_.get()) return;
  image_ = image;
  normal_ = pressed_ = UIViewBitmap{};
  decoded_ = false;
  setNeedsDisplay();
}

void UIButton::setHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  setNeedsDisplay();
}

void UIButton::addTarget(NSObject* target, Selector<> action, UIControlEvents events) {
  if (!target || !action || !(events & UIControlEventTouchUpInside)) return;
  actions_.push_back({target, action});
}

void UIButton::removeTarget(NSObject* target) {
  std::erase_if(actions_, [target](const Action& a) { return a.target == target; });
}

void UIButton::sendActions() {
  // The button may be released by an action: keep it to the end of the round.
  Ptr<UIButton> keep(this);
  const auto actions = actions_;
  for (const Action& a : actions) a.action(a.target);
}

bool UIButton::touchInside(const UITouchSet& touches) const {
  if (touches.empty()) return false;
  const CGPoint p = touches.front()->locationInView(this);
  return CGRectContainsPoint(bounds(), p);
}

void UIButton::touchesBegan(const UITouchSet& touches, UIEvent*) {
  setHighlighted(touchInside(touches));
}

void UIButton::touchesMoved(const UITouchSet& touches, UIEvent*) {
  setHighlighted(touchInside(touches));
}

void UIButton::touchesEnded(const UITouchSet& touches, UIEvent*) {
  setHighlighted(false);
  if (touchInside(touches)) sendActions();
}

void UIButton::touchesCancelled(const UITouchSet&, UIEvent*) {
  setHighlighted(false);
}

const UIViewBitmap* UIButton::contents() {
  if (!decoded_ && image_ && image_->CGImage() && normal_.setImage(*image_->CGImage())) {
    pressed_ = normal_;
    pressed_.darken(0.75f);
  }
  decoded_ = true;
  const UIViewBitmap& shown = highlighted_ ? pressed_ : normal_;
  return shown.empty() ? nullptr : &shown;
}
