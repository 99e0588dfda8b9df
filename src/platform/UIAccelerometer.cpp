#include "UIAccelerometer.h"

UIAccelerometer& UIAccelerometer::sharedAccelerometer() {
  static UIAccelerometer* accelerometer = new UIAccelerometer();  // lives for the process
  return *accelerometer;
}

void UIAccelerometer::deliver(const UIAcceleration& acceleration) {
  if (delegate_) delegate_->accelerometer(this, acceleration);
}
