#include "DrawRevision.h"

#include <algorithm>

namespace {
// The frame that shows the end of the change must draw too.
constexpr double kLastFrameMargin = 0.05;
double gChangingUntil = -1;
}  // namespace

std::atomic<unsigned long>& DrawRevision::revision() {
  static std::atomic<unsigned long> value{1};
  return value;
}

void DrawRevision::keepChangingUntil(double seconds) {
  gChangingUntil = std::max(gChangingUntil, seconds + kLastFrameMargin);
  bump();
}

bool DrawRevision::changingAt(double now) {
  return now <= gChangingUntil;
}
