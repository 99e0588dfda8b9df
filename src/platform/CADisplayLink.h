#pragma once
#include "NSObject.h"

class NSRunLoop;

// Calls its target once every `frameInterval` display refreshes while it is
// in a run loop: vsync in a window, 1/60 s of virtual time when headless.
class CADisplayLink : public NSObject {
 public:
  static Ptr<CADisplayLink> displayLinkWithTarget(NSObject* target, Selector<CADisplayLink*> sel);
  ~CADisplayLink() override;

  int frameInterval() const { return frameInterval_; }
  void setFrameInterval(int interval) { frameInterval_ = interval < 1 ? 1 : interval; }
  void addToRunLoop(NSRunLoop& runLoop);
  void invalidate();
  double timestamp() const { return timestamp_; }
  double duration() const { return 1.0 / 60.0; }

  // Called by the frame driver on every display refresh.
  static void refreshAll(double timestamp);
  static bool anyActive();

 private:
  CADisplayLink(NSObject* target, Selector<CADisplayLink*> sel);
  void refresh(double timestamp);
  Ptr<NSObject> target_;
  Selector<CADisplayLink*> sel_;
  int frameInterval_ = 1;
  int refreshesSinceFire_ = 0;
  double timestamp_ = 0;
  bool active_ = false;
};
