#include "CADisplayLink.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<CADisplayLink*>& activeLinks() {
  static std::vector<CADisplayLink*> links;  // each retained while active
  return links;
}
}  // namespace

CADisplayLink::CADisplayLink(NSObject* target, Selector<CADisplayLink*> sel)
    : target_(target), sel_(sel) {}

CADisplayLink::~CADisplayLink() = default;

Ptr<CADisplayLink> CADisplayLink::displayLinkWithTarget(NSObject* target,
                                                        Selector<CADisplayLink*> sel) {
  return Ptr<CADisplayLink>::adopt(new CADisplayLink(target, sel));
}

void CADisplayLink::addToRunLoop(NSRunLoop&) {
  if (active_) return;
  active_ = true;
  retain();
  activeLinks().push_back(this);
}

void CADisplayLink::invalidate() {
  target_ = nullptr;
  if (!active_) return;
  active_ = false;
  auto& links = activeLinks();
  links.erase(std::remove(links.begin(), links.end(), this), links.end());
  autorelease();  // may be invalidated from inside its own callback
}

void CADisplayLink::refresh(double timestamp) {
  if (!active_ || ++refreshesSinceFire_ < frameInterval_) return;
  refreshesSinceFire_ = 0;
  timestamp_ = timestamp;
  Ptr<NSObject> target = target_;
  sel_(target.get(), this);
}

void CADisplayLink::refreshAll(double timestamp) {
  std::vector<Ptr<CADisplayLink>> links(activeLinks().begin(), activeLinks().end());
  for (auto& link : links) link->refresh(timestamp);
}

bool CADisplayLink::anyActive() {
  return !activeLinks().empty();
}
