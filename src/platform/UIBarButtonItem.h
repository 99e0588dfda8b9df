#pragma once
#include <string>

#include "NSObject.h"

enum UIBarButtonItemStyle {
  UIBarButtonItemStylePlain = 0,
  UIBarButtonItemStyleBordered = 1,
  UIBarButtonItemStyleDone = 2
};

// A titled button of a navigation or tool bar; pressing it sends the action
// to the target with the item as argument.
class UIBarButtonItem : public NSObject {
 public:
  UIBarButtonItem() = default;
  // `target` is not retained, as bar buttons hold their targets weakly.
  bool initWithTitle(const std::string& title, UIBarButtonItemStyle style, NSObject* target,
                     Selector<NSObject*> action);

  const std::string& title() const { return title_; }
  UIBarButtonItemStyle style() const { return style_; }
  NSObject* target() const { return target_; }
  Selector<NSObject*> action() const { return action_; }
  // What a press does; nothing without a target and an action.
  void sendAction();

 private:
  std::string title_;
  UIBarButtonItemStyle style_ = UIBarButtonItemStylePlain;
  NSObject* target_ = nullptr;
  Selector<NSObject*> action_;
};
