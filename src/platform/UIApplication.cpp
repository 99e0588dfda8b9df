#include "UIApplication.h"

UIApplication& UIApplication::sharedApplication() {
  static UIApplication* application = new UIApplication();  // lives for the process
  return *application;
}

void UIApplication::setStatusBarOrientation(UIDeviceOrientation orientation, bool) {
  statusBarOrientation_ = orientation;
}
