#include "lumoGestureRecogniser.h"

#include <cmath>

namespace {
// Each sample moves the filtered value by a twentieth.
constexpr double kSampleWeight = 0.05;
constexpr double kFilteredWeight = 0.95;
constexpr float kTiltThresholdX = 0.05f;
constexpr float kTiltThresholdY = 0.04f;
constexpr float kTiltStepX = 0.2f;
constexpr float kTiltStepY = 0.4f;
}  // namespace

bool lumoGestureRecogniser::isTap(CGPoint from, CGPoint to) {
  return std::fabs(to.x - from.x) < kTapSlop && std::fabs(to.y - from.y) < kTapSlop;
}

void lumoGestureRecogniser::touchBegan(CGPoint point) {
  beginGesture_ = point;
  lastGesture_ = point;
  refusalReported_ = false;
}

std::optional<lumoTurn> lumoGestureRecogniser::dragStepAt(CGPoint point) const {
  const float dy = point.y - lastGesture_.y;
  if (std::fabs(dy) <= kDragStep) return std::nullopt;
  return dy > 0 ? lumoTurn::kForward : lumoTurn::kBack;
}

bool lumoGestureRecogniser::firstRefusal() {
  const bool first = !refusalReported_;
  refusalReported_ = true;
  return first;
}

lumoGestureRecogniser::TiltStep lumoGestureRecogniser::accelerate(
    const UIAcceleration& acceleration) {
  const double sample[3] = {acceleration.x, acceleration.y, acceleration.z};
  for (int i = 0; i < 3; ++i)
    filtered_[i] = kSampleWeight * sample[i] + kFilteredWeight * filtered_[i];
  TiltStep step;
  const double dx = acceleration.x - filtered_[0];
  if (std::fabs(static_cast<float>(dx)) > kTiltThresholdX)
    step.aboutX = dx > 0 ? -kTiltStepX : kTiltStepX;
  const double dy = acceleration.y - filtered_[1];
  if (std::fabs(static_cast<float>(dy)) > kTiltThresholdY)
    step.aboutY = dy > 0 ? -kTiltStepY : kTiltStepY;
  return step;
}
