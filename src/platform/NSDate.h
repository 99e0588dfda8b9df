#pragma once

// A moment in time: seconds since 1970-01-01 00:00:00 UTC. `date()` reads the
// engine's clock, so that tests can fix "now" with a virtual clock.
struct NSDate {
  double timeIntervalSince1970 = 0;

  static NSDate date();
  static NSDate dateWithTimeIntervalSince1970(double seconds) { return NSDate{seconds}; }
  bool operator==(const NSDate&) const = default;
};
