#include "CC3OpenGLES11StateTrackerComposite.h"

CC3GLESStateOriginalValueHandling CC3OpenGLES11StateTrackerComposite::memberHandling(
    CC3GLESStateOriginalValueHandling h) {
  switch (h) {
    case kCC3GLESStateOriginalValueReadOnceAndRestore:
      return kCC3GLESStateOriginalValueReadOnce;
    case kCC3GLESStateOriginalValueReadAlwaysAndRestore:
      return kCC3GLESStateOriginalValueReadAlways;
    default:
      return h;  // bad values pass through, for the members to report
  }
}

void CC3OpenGLES11StateTrackerComposite::setOriginalValueHandling(
    CC3GLESStateOriginalValueHandling handling) {
  handling_ = handling;
  for (auto& member : members_) member->setOriginalValueHandling(memberHandling(handling));
}

bool CC3OpenGLES11StateTrackerComposite::valueIsKnown() const {
  for (const auto& member : members_) {
    if (!member->valueIsKnown()) return false;
  }
  return true;
}

void CC3OpenGLES11StateTrackerComposite::addMember(CC3OpenGLES11StateTrackerPrimitive* member) {
  member->setOriginalValueHandling(memberHandling(handling_));
  members_.emplace_back(member);
}

void CC3OpenGLES11StateTrackerComposite::open() {
  openTrackers(members_);
}

void CC3OpenGLES11StateTrackerComposite::close() {
  closeTrackers(members_);
  if (CC3GLESStateHandlingRestores(handling_)) restoreOriginalValues();
}
