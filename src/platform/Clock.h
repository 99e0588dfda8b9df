#pragma once
#include <cstdint>

// Seconds and microseconds, as the wall clock reports them.
struct TimeValue {
  std::int64_t seconds = 0;
  std::int64_t microseconds = 0;
  double toSeconds() const { return double(seconds) + double(microseconds) / 1e6; }
  static TimeValue fromSeconds(double s);
};

// The engine's time source. The program uses real time; headless runs and
// tests use virtual time that only the frame driver advances.
class Clock {
 public:
  virtual ~Clock() = default;
  // False when the clock cannot be read.
  virtual bool now(TimeValue& out) const = 0;
  double seconds() const;

  static Clock& current();
  // Installs `clock` (not owned; it must outlive its use), or the real clock for null.
  static void setCurrent(Clock* clock);
};

class RealClock : public Clock {
 public:
  bool now(TimeValue& out) const override;
};

class VirtualClock : public Clock {
 public:
  bool now(TimeValue& out) const override;
  void advance(double seconds);
  void set(double seconds);
  void setFailing(bool failing) { failing_ = failing; }
  double virtualSeconds() const { return seconds_; }

 private:
  double seconds_ = 0;  // kept in double so that 60 frames of 1/60 s make exactly 1 s
  bool failing_ = false;
};
