#pragma once
#include "NSObject.h"

struct UIAcceleration {
  double x = 0, y = 0, z = 0;  // in g
  double timestamp = 0;
};

class UIAccelerometer;

class UIAccelerometerDelegate {
 public:
  virtual ~UIAccelerometerDelegate() = default;
  virtual void accelerometer(UIAccelerometer* accelerometer,
                             const UIAcceleration& acceleration) = 0;
};

// The motion sensor: samples reach the delegate on the main thread.
class UIAccelerometer : public NSObject {
 public:
  static UIAccelerometer& sharedAccelerometer();
  UIAccelerometerDelegate* delegate() const { return delegate_; }
  void setDelegate(UIAccelerometerDelegate* delegate) { delegate_ = delegate; }
  double updateInterval() const { return updateInterval_; }
  void setUpdateInterval(double seconds) { updateInterval_ = seconds; }
  // Delivers one sample (sensor or script).
  void deliver(const UIAcceleration& acceleration);

 private:
  UIAccelerometer() = default;
  UIAccelerometerDelegate* delegate_ = nullptr;  // not retained
  double updateInterval_ = 0.1;
};
