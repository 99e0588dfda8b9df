#include "lumoPageJump.h"

bool lumoPageJump::request(int page) {
  if (hooks_.locked()) {
    waiting_ = page;
    return false;
  }
  waiting_.reset();
  if (page == hooks_.pageOnStage()) return false;
  hooks_.go(page);
  return true;
}

void lumoPageJump::settled() {
  if (!waiting_) return;
  const int page = *waiting_;
  waiting_.reset();
  if (page != hooks_.pageOnStage()) hooks_.go(page);
}
