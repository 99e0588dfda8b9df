#include "UIBarButtonItem.h"

bool UIBarButtonItem::initWithTitle(const std::string& title, UIBarButtonItemStyle style,
                                    NSObject* target, Selector<NSObject*> action) {
  title_ = title;
  style_ = style;
  target_ = target;
  action_ = action;
  return true;
}

void UIBarButtonItem::sendAction() {
  if (!target_ || !action_) return;
  Ptr<NSObject> keep(this);  // the action may replace this item on its bar
  action_(target_, this);
}
