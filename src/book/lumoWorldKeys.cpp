#include "Assert.h"
#include "lumoWorld.h"

bool lumoWorld::requestTurnFromKey(std::int32_t direction) {
  CCAssert(direction == 0 || direction == 1, "a turn goes forward (0) or back (1)");
  // The turn lock refuses a key as it refuses a drag, so a held key turns once per turn.
  if (stageInfo_->lockDrag()) return false;
  if (direction == 0 && stageInfo_->curStageIndex() == 1)
    cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::addHelpAlert));
  reflashStage(direction);
  return true;
}

bool lumoWorld::requestHomeFromKey() {
  CC3Node* home = getNodeNamed("home-btn");
  if (!home || !home->visible() || !home->isTouchEnabled()) return false;
  jumpHome(home);
  return true;
}
