#pragma once
#include <functional>
#include <memory>
#include <string>

#include "Clock.h"
#include "UITouch.h"

class UIApplicationDelegate;

struct HostOptions {
  bool headless = false;
  long maxFrames = -1;  // stop after this many display refreshes; negative: no limit
};

// Brings the tablet to the desktop: the window (or nothing when headless),
// the GL display, the event pump, the display refresh and the main loop.
class PlatformHost {
 public:
  static PlatformHost& shared();

  // Opens video and GL. False, with a one-line reason, when that is impossible.
  bool open(const HostOptions& options, std::string& error);
  // Launches the delegate and runs the main loop until quit. Returns the exit status.
  int run(UIApplicationDelegate* delegate);
  void quit(int status = 0);
  bool isHeadless() const { return options_.headless; }
  bool isRunning() const { return running_; }
  long frameCount() const { return frames_; }
  VirtualClock* virtualClock() { return options_.headless ? &virtualClock_ : nullptr; }

  // Called at the start of every frame, before time advances (scripted runs).
  void setFrameHook(std::function<void()> hook) { frameHook_ = std::move(hook); }

  // Input in the picture's pixels as held (DisplayGeometry), origin top-left.
  void touchDown(long finger, float x, float y);
  void touchMove(long finger, float x, float y);
  void touchUp(long finger, float x, float y);
  void cancelAllTouches();
  void accelerate(double x, double y, double z);
  // The window gaining or losing the focus: the application becomes active or resigns.
  void setFocused(bool focused);
  // The wall clock set forward or back by `seconds` (headless: the virtual clock).
  void jumpClock(double seconds);
  // The sound card went away or came back (SDL's device events, scripts).
  void soundDeviceChanged(bool present);

  // The last presented frame as seen on the screen (RGBA, rows from the top).
  bool saveScreenshot(const std::string& path, std::string& error);

 private:
  PlatformHost();
  ~PlatformHost();
  // The desktop's stand-ins for the tablet's hardware: the SDL window and its
  // state, the fingers (or mouse) down as touches, and the motion sensor.
  struct Devices;
  HostOptions options_;
  VirtualClock virtualClock_;
  std::unique_ptr<Devices> devices_;
  std::function<void()> frameHook_;
  bool opened_ = false;
  bool running_ = false;
  int exitStatus_ = 0;
  long frames_ = 0;
  double lastWall_ = 0, lastMonotonic_ = 0;
  double runStarted_ = 0;  // clock time when the run began: frame times count from it

  void runFrame(UIApplicationDelegate* delegate);
  void pumpEvents(UIApplicationDelegate* delegate, bool mayWait);
  void checkClockChange(UIApplicationDelegate* delegate);
  void clockJumped(UIApplicationDelegate* delegate, double seconds);
  void touch(long finger, float x, float y, UITouchPhase phase);
};
