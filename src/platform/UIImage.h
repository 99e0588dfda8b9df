#pragma once
#include <string>

#include "CGImage.h"
#include "NSObject.h"

// A picture loaded from a file (PNG or JPEG).
class UIImage : public NSObject {
 public:
  static Ptr<UIImage> imageWithContentsOfFile(const std::string& path);
  static Ptr<UIImage> imageWithCGImage(CGImage* image);
  ::CGImage* CGImage() const { return image_.get(); }

 private:
  UIImage() = default;
  Ptr<::CGImage> image_;
};
