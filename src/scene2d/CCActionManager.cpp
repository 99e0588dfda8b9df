#include "CCActionManager.h"

#include <uthash.h>

#include <cstdlib>
#include <vector>

#include "Assert.h"
#include "CCScheduler.h"
#include "DrawRevision.h"

#undef uthash_fatal
#define uthash_fatal(msg) std::exit(-1)

struct CCActionManagerTarget {
  std::vector<CCAction*> actions;  // retained
  NSObject* target;                // retained
  int actionIndex;
  CCAction* currentAction;
  bool currentActionSalvaged;
  bool paused;
  UT_hash_handle hh;
};

namespace {
CCActionManager* gSharedManager = nullptr;
}

CCActionManager* CCActionManager::sharedManager() {
  if (!gSharedManager) new CCActionManager();
  return gSharedManager;
}

void CCActionManager::purgeSharedManager() {
  CCActionManager* manager = gSharedManager;
  if (!manager) return;
  // While the scheduler still calls our update it holds a second reference;
  // once the scheduler is gone, only ours is left.
  if (manager->retainCount() > 1)
    CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(manager);
  gSharedManager = nullptr;
  manager->release();
}

CCActionManager::CCActionManager() {
  CCAssert(gSharedManager == nullptr, "Attempted to allocate a second instance of a singleton.");
  gSharedManager = this;
  CCScheduler::sharedScheduler()->scheduleUpdateForTarget(this, 0, false);
}

CCActionManager::~CCActionManager() {
  removeAllActions();
  if (gSharedManager == this) gSharedManager = nullptr;
}

CCActionManagerTarget* CCActionManager::find(NSObject* target) const {
  CCActionManagerTarget* record = nullptr;
  HASH_FIND_PTR(targets_, &target, record);
  return record;
}

void CCActionManager::deleteRecord(CCActionManagerTarget* record) {
  HASH_DEL(targets_, record);
  NSObject* target = record->target;
  delete record;
  target->release();
}

// MARK: adding

void CCActionManager::addAction(CCAction* action, NSObject* target, bool paused) {
  CCAssert(action != nullptr, "Argument action must be non-nil");
  CCAssert(target != nullptr, "Argument target must be non-nil");
  CCActionManagerTarget* record = find(target);
  if (!record) {
    record = new CCActionManagerTarget{};
    record->paused = paused;
    record->target = target;
    target->retain();
    record->actions.reserve(4);
    HASH_ADD_PTR(targets_, target, record);
  }
  auto& actions = record->actions;
  for (CCAction* a : actions) CCAssert(a != action, "runAction: Action already running");
  if (actions.size() == actions.capacity()) actions.reserve(actions.capacity() * 2);
  action->retain();
  actions.push_back(action);
  action->startWithTarget(target);
}

// MARK: removing

void CCActionManager::removeActionAtIndex(std::size_t index, CCActionManagerTarget* record) {
  CCAction* action = record->actions[index];
  if (action == record->currentAction && !record->currentActionSalvaged) {
    action->retain();
    record->currentActionSalvaged = true;
  }
  record->actions.erase(record->actions.begin() + std::ptrdiff_t(index));
  action->release();
  // The update loop goes on with the action that moved into the freed place.
  if (record->actionIndex >= int(index)) record->actionIndex--;
  if (record->actions.empty()) {
    if (currentTarget_ == record)
      currentTargetSalvaged_ = true;
    else
      deleteRecord(record);
  }
}

void CCActionManager::removeAllActions() {
  for (CCActionManagerTarget* record = targets_; record;) {
    auto* next = static_cast<CCActionManagerTarget*>(record->hh.next);
    removeAllActionsFromTarget(record->target);
    record = next;
  }
}

void CCActionManager::removeAllActionsFromTarget(NSObject* target) {
  if (!target) return;
  CCActionManagerTarget* record = find(target);
  if (!record) return;
  auto& actions = record->actions;
  for (CCAction* a : actions)
    if (a == record->currentAction && !record->currentActionSalvaged) {
      a->retain();
      record->currentActionSalvaged = true;
    }
  std::vector<CCAction*> old;
  old.swap(actions);
  for (auto it = old.rbegin(); it != old.rend(); ++it) (*it)->release();
  if (currentTarget_ == record)
    currentTargetSalvaged_ = true;
  else
    deleteRecord(record);
}

void CCActionManager::removeAction(CCAction* action) {
  if (!action) return;
  CCActionManagerTarget* record = find(action->originalTarget());
  if (!record) return;
  auto& actions = record->actions;
  for (std::size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == action) {
      removeActionAtIndex(i, record);
      return;
    }
}

void CCActionManager::removeActionByTag(int tag, NSObject* target) {
  CCAssert(tag != kCCActionTagInvalid, "Invalid tag");
  CCAssert(target != nullptr, "Target should be ! nil");
  CCActionManagerTarget* record = find(target);
  if (!record) return;
  auto& actions = record->actions;
  for (std::size_t i = 0; i < actions.size(); ++i)
    if (actions[i]->tag() == tag && actions[i]->originalTarget() == target) {
      removeActionAtIndex(i, record);
      return;
    }
}

// MARK: queries

CCAction* CCActionManager::getActionByTag(int tag, NSObject* target) const {
  CCAssert(tag != kCCActionTagInvalid, "Invalid tag");
  CCActionManagerTarget* record = find(target);
  if (!record) return nullptr;
  for (CCAction* a : record->actions)
    if (a->tag() == tag) return a;
  return nullptr;
}

unsigned CCActionManager::numberOfRunningActionsInTarget(NSObject* target) const {
  CCActionManagerTarget* record = find(target);
  return record ? unsigned(record->actions.size()) : 0;
}

unsigned CCActionManager::numberOfRunningActions() const {
  unsigned count = 0;
  for (CCActionManagerTarget* r = targets_; r; r = static_cast<CCActionManagerTarget*>(r->hh.next))
    count += unsigned(r->actions.size());
  return count;
}

void CCActionManager::pauseTarget(NSObject* target) {
  if (CCActionManagerTarget* record = find(target)) record->paused = true;
}

void CCActionManager::resumeTarget(NSObject* target) {
  if (CCActionManagerTarget* record = find(target)) record->paused = false;
}

bool CCActionManager::isTargetPaused(NSObject* target) const {
  CCActionManagerTarget* record = find(target);
  return record && record->paused;
}

// MARK: stepping

void CCActionManager::stepTarget(CCActionManagerTarget* record, ccSeconds dt) {
  // An action may change what shows by means no setter reports (a material's colour).
  if (!record->actions.empty()) DrawRevision::bump();
  // The count is re-read every round: actions may be added or removed meanwhile.
  for (record->actionIndex = 0; record->actionIndex < int(record->actions.size());
       record->actionIndex++) {
    CCAction* action = record->actions[std::size_t(record->actionIndex)];
    record->currentAction = action;
    record->currentActionSalvaged = false;
    action->step(dt);
    if (!record->currentActionSalvaged && action->isDone()) {
      action->stop();
      // `stop` may itself have removed the action (a call-back clearing its
      // target): then the salvage hold is released below instead.
      if (!record->currentActionSalvaged) {
        record->currentAction = nullptr;
        removeAction(action);
      }
    }
    if (record->currentActionSalvaged) action->release();
    record->currentAction = nullptr;
  }
}

void CCActionManager::update(ccSeconds dt) {
  for (CCActionManagerTarget* record = targets_; record;) {
    currentTarget_ = record;
    currentTargetSalvaged_ = false;
    if (!record->paused) stepTarget(record, dt);
    auto* next = static_cast<CCActionManagerTarget*>(record->hh.next);
    if (currentTargetSalvaged_ && record->actions.empty()) deleteRecord(record);
    record = next;
  }
  currentTarget_ = nullptr;
}
