#pragma once
#include <atomic>

// One number for everything that can change the picture: node transforms,
// visibility, colours, textures, labels, views, the window, input. Whatever
// changes what a frame would draw bumps it; the director draws a frame only
// when it moved (or something else keeps the picture moving), so a resting
// page costs no GL work. Bumping is one relaxed increment, cheap enough for
// every setter.
class DrawRevision {
 public:
  static void bump() { revision().fetch_add(1, std::memory_order_relaxed); }
  static unsigned long current() { return revision().load(std::memory_order_relaxed); }

  // A change shown gradually by the clock alone (a view fading), with no
  // setter called along the way: every frame until `seconds` (clock time) draws.
  static void keepChangingUntil(double seconds);
  static bool changingAt(double now);

 private:
  static std::atomic<unsigned long>& revision();
};
