#pragma once
#include <memory>
#include <string>

union SDL_Event;

// The machine's accelerometer, where it has one: a motion sensor of its own
// (tablets, convertible laptops) or a game controller's. SDL reports metres
// per second squared with gravity pointing up the axis that faces away from
// the earth; the shared UIAccelerometer takes g with gravity pointing down,
// as the tablet's sensor reports it. Samples reach it no more often than its
// update interval asks.
class MotionSensor {
 public:
  MotionSensor();
  ~MotionSensor();
  MotionSensor(const MotionSensor&) = delete;
  MotionSensor& operator=(const MotionSensor&) = delete;

  // Opens the first accelerometer SDL finds. False when there is none yet; a
  // game controller with one is still taken when it is plugged in later.
  bool open();
  void close();
  bool isOpen() const;
  // The device's name, empty while none is open.
  const std::string& name() const;

  // Takes sensor and controller events; false for any other event.
  bool handleEvent(const SDL_Event& event);
  // One reading in SDL's units and axes, taken at `seconds`.
  void sample(const float (&metresPerSecondSquared)[3], double seconds);

 private:
  struct Device;
  std::unique_ptr<Device> device_;
  bool subsystemsOpen_ = false;
  bool hasDelivered_ = false;
  double nextDelivery_ = 0;

  bool openSensor();
  bool openController(int joystickIndex);
};
