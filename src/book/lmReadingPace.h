#pragma once
#include <optional>
#include <string>

// How fast the book's voices read: a little slower for beginners, as
// recorded, or a little faster; the pitch stays the voice's own.
class lmReadingPace {
 public:
  enum Value { kSlow, kNormal, kFast };
  constexpr lmReadingPace(Value value = kNormal) : value_(value) {}

  Value value() const { return value_; }
  // Times the recorded speed: 0.8, 1 and 1.2.
  double tempo() const;
  // "slow", "normal" or "fast", as stored and as the option takes it.
  const char* name() const;
  static std::optional<lmReadingPace> named(const std::string& name);
  // One step, stopping at the ends.
  lmReadingPace slower() const;
  lmReadingPace faster() const;

  bool operator==(const lmReadingPace&) const = default;

 private:
  Value value_;
};
