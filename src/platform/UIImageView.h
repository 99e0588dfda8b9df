#pragma once
#include "UIImage.h"
#include "UIView.h"

// Shows an image stretched over its bounds.
class UIImageView : public UIView {
 public:
  explicit UIImageView(CGRect frame = CGRectZero);
  ~UIImageView() override;

  UIImage* image() const { return image_.get(); }
  void setImage(UIImage* image);

  const UIViewBitmap* contents() override;

 private:
  Ptr<UIImage> image_;
  UIViewBitmap bitmap_;
  bool decoded_ = false;
};
