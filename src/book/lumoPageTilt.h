#pragma once
#include <cstdint>

class CC3Node;
class lmStageInfo;

// Tilt steps applied to the page on stage: about x within 15 steps either side
// of where tilting started, about y short of 20 degrees. The reading state keeps
// the tilt, so the next page built takes it.
class lumoPageTilt {
 public:
  static constexpr std::int16_t kStepsEachWay = 14;
  static constexpr float kMaxAboutY = 20;

  explicit lumoPageTilt(lmStageInfo& info) : info_(info) {}

  // `ground` is the page on stage, or none (only the reading state changes).
  void stepAboutX(float degrees, CC3Node* ground);
  void stepAboutY(float degrees, CC3Node* ground);

  // Net steps about x each way; they always sum to 0.
  std::int16_t increaseUp() const { return increaseUp_; }
  std::int16_t increaseDown() const { return increaseDown_; }

 private:
  lmStageInfo& info_;
  std::int16_t increaseUp_ = 0;
  std::int16_t increaseDown_ = 0;
};
