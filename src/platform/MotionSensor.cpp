#include "MotionSensor.h"

#include <SDL.h>

#include "Clock.h"
#include "Log.h"
#include "UIAccelerometer.h"

struct MotionSensor::Device {
  SDL_Sensor* sensor = nullptr;
  SDL_GameController* controller = nullptr;
  SDL_JoystickID controllerId = -1;
  std::string name;
};

MotionSensor::MotionSensor() : device_(std::make_unique<Device>()) {}

MotionSensor::~MotionSensor() {
  close();
}

bool MotionSensor::open() {
  if (!subsystemsOpen_) {
    if (SDL_InitSubSystem(SDL_INIT_SENSOR | SDL_INIT_GAMECONTROLLER) != 0) {
      logMessage(LogLevel::Warning, std::string("no motion sensors: ") + SDL_GetError());
      return false;
    }
    subsystemsOpen_ = true;
  }
  if (isOpen()) return true;
  if (openSensor()) return true;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (openController(i)) return true;
  return false;
}

bool MotionSensor::openSensor() {
  for (int i = 0; i < SDL_NumSensors(); ++i) {
    if (SDL_SensorGetDeviceType(i) != SDL_SENSOR_ACCEL) continue;
    device_->sensor = SDL_SensorOpen(i);
    if (!device_->sensor) continue;
    const char* name = SDL_SensorGetName(device_->sensor);
    device_->name = name ? name : "accelerometer";
    return true;
  }
  return false;
}

bool MotionSensor::openController(int joystickIndex) {
  if (!SDL_IsGameController(joystickIndex)) return false;
  SDL_GameController* controller = SDL_GameControllerOpen(joystickIndex);
  if (!controller) return false;
  if (!SDL_GameControllerHasSensor(controller, SDL_SENSOR_ACCEL) ||
      SDL_GameControllerSetSensorEnabled(controller, SDL_SENSOR_ACCEL, SDL_TRUE) != 0) {
    SDL_GameControllerClose(controller);
    return false;
  }
  device_->controller = controller;
  device_->controllerId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  const char* name = SDL_GameControllerName(controller);
  device_->name = name ? name : "game controller";
  return true;
}

void MotionSensor::close() {
  if (device_->sensor) SDL_SensorClose(device_->sensor);
  if (device_->controller) SDL_GameControllerClose(device_->controller);
  *device_ = Device{};
  hasDelivered_ = false;
}

bool MotionSensor::isOpen() const {
  return device_->sensor || device_->controller;
}

const std::string& MotionSensor::name() const {
  return device_->name;
}

bool MotionSensor::handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_SENSORUPDATE:
      if (device_->sensor && event.sensor.which == SDL_SensorGetInstanceID(device_->sensor)) {
        const float reading[3] = {event.sensor.data[0], event.sensor.data[1], event.sensor.data[2]};
        sample(reading, Clock::current().seconds());
      }
      return true;
    case SDL_CONTROLLERSENSORUPDATE:
      if (device_->controller && event.csensor.which == device_->controllerId &&
          event.csensor.sensor == SDL_SENSOR_ACCEL) {
        const float reading[3] = {event.csensor.data[0], event.csensor.data[1],
                                  event.csensor.data[2]};
        sample(reading, Clock::current().seconds());
      }
      return true;
    case SDL_CONTROLLERDEVICEADDED:
      if (subsystemsOpen_ && !isOpen()) openController(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (device_->controller && event.cdevice.which == device_->controllerId) {
        close();
        open();
      }
      return true;
    default:
      return false;
  }
}

void MotionSensor::sample(const float (&metresPerSecondSquared)[3], double seconds) {
  UIAccelerometer& accelerometer = UIAccelerometer::sharedAccelerometer();
  // Deliveries keep to a beat of the update interval: a faster sensor has
  // readings dropped, one at the interval survives a little jitter, and a
  // slower one has every reading delivered.
  const double interval = accelerometer.updateInterval();
  constexpr double kJitter = 0.001;
  if (hasDelivered_ && seconds + kJitter < nextDelivery_) return;
  nextDelivery_ = hasDelivered_ && seconds < nextDelivery_ + interval ? nextDelivery_ + interval
                                                                      : seconds + interval;
  hasDelivered_ = true;
  const double g = SDL_STANDARD_GRAVITY;
  accelerometer.deliver({-metresPerSecondSquared[0] / g, -metresPerSecondSquared[1] / g,
                         -metresPerSecondSquared[2] / g, seconds});
}
