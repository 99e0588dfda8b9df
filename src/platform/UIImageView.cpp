#include "UIImageView.h"

UIImageView::UIImageView(CGRect frame) : UIView(frame) {}
UIImageView::~UIImageView() = default;

void UIImageView::setImage(UIImage* image) {
  if (image == image_.get()) return;
  image_ = image;
  bitmap_ = UIViewBitmap{};
  decoded_ = false;
  setNeedsDisplay();
}

const UIViewBitmap* UIImageView::contents() {
  // Decoded when first shown; a damaged image shows nothing (the decoder logs why).
  if (!decoded_ && image_ && image_->CGImage()) bitmap_.setImage(*image_->CGImage());
  decoded_ = true;
  return bitmap_.empty() ? nullptr : &bitmap_;
}
