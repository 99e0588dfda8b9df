#pragma once
#include <cstdint>
#include <string>

#include "ccTypes.h"

class CC3Node;
class lumoWorld;

// The pop-up motion of a turn. Forward, the old page swings up and away while
// the next one, lying underneath, raises its layers; back, the old page folds
// its layers down while the previous one falls forward onto it and raises
// them. The incoming page's last layer settles the turn (lumoWorld::renderStage).
class lumoPageTurnMotion {
 public:
  explicit lumoPageTurnMotion(lumoWorld& world) : world_(world) {}

  // Builds page `page` and runs the forward turn to it.
  void turnForwardTo(std::int32_t page);
  // Builds page `page` and runs the backward turn to it (a jump home too).
  void turnBackTo(std::int32_t page);

 private:
  // The layers of the incoming ground rise and the ground lifts 5 units; the
  // last layer settles the turn.
  void raiseIncomingPage(const std::string& groundName, float degrees);
  void rotateLayers(CC3Node* ground, ccSeconds duration, float degrees, bool settleOnLast);

  lumoWorld& world_;
};
