#include "Clock.h"

#include <sys/time.h>

#include <cmath>

TimeValue TimeValue::fromSeconds(double s) {
  auto micros = static_cast<std::int64_t>(std::llround(s * 1e6));
  std::int64_t secs = micros / 1000000;
  std::int64_t rest = micros % 1000000;
  if (rest < 0) {
    rest += 1000000;
    --secs;
  }
  return {secs, rest};
}

namespace {
RealClock gRealClock;
Clock* gCurrent = &gRealClock;
}  // namespace

double Clock::seconds() const {
  TimeValue t;
  return now(t) ? t.toSeconds() : 0.0;
}

Clock& Clock::current() {
  return *gCurrent;
}
void Clock::setCurrent(Clock* clock) {
  gCurrent = clock ? clock : &gRealClock;
}

bool RealClock::now(TimeValue& out) const {
  timeval tv{};
  if (gettimeofday(&tv, nullptr) != 0) return false;
  out = {tv.tv_sec, tv.tv_usec};
  return true;
}

bool VirtualClock::now(TimeValue& out) const {
  if (failing_) return false;
  out = TimeValue::fromSeconds(seconds_);
  return true;
}

void VirtualClock::advance(double seconds) {
  seconds_ += seconds;
}
void VirtualClock::set(double seconds) {
  seconds_ = seconds;
}
