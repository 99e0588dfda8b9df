#pragma once
#include "CCAction.h"
#include "NSObject.h"

struct CCActionManagerTarget;

// Owns the running actions of every target and steps them once per frame,
// from its own priority-0 update with the scheduler. Actions and targets may
// be added or removed while they are being stepped.
class CCActionManager : public NSObject {
 public:
  static CCActionManager* sharedManager();
  static void purgeSharedManager();
  CCActionManager();
  ~CCActionManager() override;

  // Starts `action` on `target` at once; a new target's record takes `paused`.
  void addAction(CCAction* action, NSObject* target, bool paused);
  void removeAllActions();
  void removeAllActionsFromTarget(NSObject* target);
  void removeAction(CCAction* action);
  void removeActionByTag(int tag, NSObject* target);
  CCAction* getActionByTag(int tag, NSObject* target) const;
  unsigned numberOfRunningActionsInTarget(NSObject* target) const;
  unsigned numberOfRunningActions() const;
  void pauseTarget(NSObject* target);
  void resumeTarget(NSObject* target);
  bool isTargetPaused(NSObject* target) const;

  void update(ccSeconds dt);

 private:
  CCActionManagerTarget* find(NSObject* target) const;
  void removeActionAtIndex(std::size_t index, CCActionManagerTarget* record);
  void deleteRecord(CCActionManagerTarget* record);
  void stepTarget(CCActionManagerTarget* record, ccSeconds dt);

  CCActionManagerTarget* targets_ = nullptr;
  CCActionManagerTarget* currentTarget_ = nullptr;
  bool currentTargetSalvaged_ = false;
};
