#pragma once
#include <string>

#include "UIBarButtonItem.h"

// What a navigation bar shows for one screen: a title and the buttons at its
// left and right ends (retained).
class UINavigationItem : public NSObject {
 public:
  UINavigationItem() = default;
  explicit UINavigationItem(std::string title) : title_(std::move(title)) {}

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  UIBarButtonItem* leftBarButtonItem() const { return left_.get(); }
  void setLeftBarButtonItem(UIBarButtonItem* item) { left_ = item; }
  UIBarButtonItem* rightBarButtonItem() const { return right_.get(); }
  void setRightBarButtonItem(UIBarButtonItem* item) { right_ = item; }

 private:
  std::string title_;
  Ptr<UIBarButtonItem> left_, right_;
};
