#include "lumoNodeActions.h"

#include "CC3Actions.h"
#include "CC3Node.h"
#include "CCActionInterval.h"

namespace lumoNodeActions {

void flash(CC3Node* node) {
  auto glow = CC3TintEmissionTo::actionWithDuration(0.1f, {1, 0, 1, 1});
  auto fade = CC3TintEmissionTo::actionWithDuration(0.9f, {0, 0, 0, 1});
  node->runAction(CCSequence::actionOne(glow.get(), fade.get()).get());
}

void rock(CC3Node* node) {
  auto tilt = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto back = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  node->runAction(CCSequence::actionOne(tilt.get(), back.get()).get());
}

void removeWithActions(CC3Node* node) {
  if (!node) return;
  Ptr<CCArray> subtree = node->flatten();
  for (NSObject* each : *subtree) static_cast<CC3Node*>(each)->stopAllActions();
  node->remove();
}

Ptr<CCAction> forever(std::initializer_list<CCFiniteTimeAction*> steps) {
  auto sequence = CCSequence::actions(steps);
  return CCRepeatForever::actionWithAction(static_cast<CCActionInterval*>(sequence.get()));
}

}  // namespace lumoNodeActions
