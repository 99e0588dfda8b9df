#include "CCScheduler.h"

#include <uthash.h>
#include <utlist.h>

#include <algorithm>
#include <cstdlib>

#include "Assert.h"

#undef uthash_fatal
#define uthash_fatal(msg) std::exit(-1)

struct CCSchedulerListEntry {
  CCSchedulerListEntry* prev;
  CCSchedulerListEntry* next;
  Selector<ccSeconds> update;
  NSObject* target;  // retained by the update record
  int priority;
  bool paused;
  bool markedForDeletion;
  unsigned addedInTick;
};

struct CCSchedulerUpdateRecord {
  CCSchedulerListEntry** list;
  CCSchedulerListEntry* entry;
  NSObject* target;  // retained
  UT_hash_handle hh;
};

struct CCSchedulerTimerRecord {
  std::vector<CCTimer*> timers;  // retained
  NSObject* target;              // retained
  int timerIndex;
  CCTimer* currentTimer;
  bool currentTimerSalvaged;
  bool paused;
  UT_hash_handle hh;
};

namespace {
CCScheduler* gSharedScheduler = nullptr;
}

CCScheduler* CCScheduler::sharedScheduler() {
  if (!gSharedScheduler) new CCScheduler();
  return gSharedScheduler;
}

void CCScheduler::purgeSharedScheduler() {
  if (gSharedScheduler) gSharedScheduler->release();
}

CCScheduler::CCScheduler() {
  CCAssert(gSharedScheduler == nullptr, "Attempted to allocate a second instance of a singleton.");
  gSharedScheduler = this;
}

CCScheduler::~CCScheduler() {
  unscheduleAllSelectors();
  for (auto* entry : deferredFrees_) delete entry;
  if (gSharedScheduler == this) gSharedScheduler = nullptr;
}

void CCScheduler::releaseTarget(NSObject* target) {
  // A target unscheduled while the scheduler is calling it lives to the frame's end.
  if (updateWalkActive_ || currentTarget_)
    target->autorelease();
  else
    target->release();
}

// MARK: timers

void CCScheduler::scheduleSelector(Selector<ccSeconds> sel, NSObject* target, ccSeconds interval,
                                   bool paused) {
  CCAssert(bool(sel), "Argument selector must be non-nil");
  CCAssert(target != nullptr, "Argument target must be non-nil");
  CCSchedulerTimerRecord* record = nullptr;
  HASH_FIND_PTR(hashForSelectors_, &target, record);
  if (!record) {
    record = new CCSchedulerTimerRecord{};
    record->target = target;
    target->retain();
    record->paused = paused;
    record->timers.reserve(10);
    HASH_ADD_PTR(hashForSelectors_, target, record);
  } else {
    CCAssert(record->paused == paused,
             "CCScheduler. Trying to schedule a selector with a pause value different than the "
             "target");
  }
  for (CCTimer* timer : record->timers)
    if (timer->selector() == sel) {
      timer->setInterval(interval);
      return;
    }
  record->timers.push_back(CCTimer::timerWithTarget(target, sel, interval).leak());
}

void CCScheduler::removeTimerRecord(CCSchedulerTimerRecord* record) {
  HASH_DEL(hashForSelectors_, record);
  NSObject* target = record->target;
  delete record;
  releaseTarget(target);
}

void CCScheduler::unscheduleSelector(Selector<ccSeconds> sel, NSObject* target) {
  if (!target && !sel) return;
  CCAssert(target != nullptr, "Target MUST not be nil");
  CCAssert(bool(sel), "Selector MUST not be NULL");
  CCSchedulerTimerRecord* record = nullptr;
  HASH_FIND_PTR(hashForSelectors_, &target, record);
  if (!record) return;
  auto& timers = record->timers;
  for (std::size_t i = 0; i < timers.size(); ++i) {
    CCTimer* timer = timers[i];
    if (timer->selector() != sel) continue;
    if (timer == record->currentTimer && !record->currentTimerSalvaged) {
      timer->retain();
      record->currentTimerSalvaged = true;
    }
    timers.erase(timers.begin() + std::ptrdiff_t(i));
    timer->release();
    if (record->timerIndex >= int(i)) record->timerIndex--;
    if (timers.empty()) {
      if (currentTarget_ == record)
        currentTargetSalvaged_ = true;
      else
        removeTimerRecord(record);
    }
    return;
  }
}

// MARK: updates

void CCScheduler::priorityIn(CCSchedulerListEntry** list, NSObject* target,
                             Selector<ccSeconds> update, int priority, bool paused) {
  auto* entry = new CCSchedulerListEntry{nullptr,  nullptr, update, target,
                                         priority, paused,  false,  tickSerial_};
  CCSchedulerListEntry* before = nullptr;
  for (CCSchedulerListEntry* e = *list; e; e = e->next)
    if (priority < e->priority) {
      before = e;
      break;
    }
  if (before)
    DL_PREPEND_ELEM(*list, before, entry);
  else
    DL_APPEND(*list, entry);
  auto* record = new CCSchedulerUpdateRecord{};
  record->list = list;
  record->entry = entry;
  record->target = target;
  target->retain();
  HASH_ADD_PTR(hashForUpdates_, target, record);
}

void CCScheduler::appendIn(CCSchedulerListEntry** list, NSObject* target,
                           Selector<ccSeconds> update, bool paused) {
  auto* entry =
      new CCSchedulerListEntry{nullptr, nullptr, update, target, 0, paused, false, tickSerial_};
  DL_APPEND(*list, entry);
  auto* record = new CCSchedulerUpdateRecord{};
  record->list = list;
  record->entry = entry;
  record->target = target;
  target->retain();
  HASH_ADD_PTR(hashForUpdates_, target, record);
}

void CCScheduler::scheduleUpdate(NSObject* target, Selector<ccSeconds> update, int priority,
                                 bool paused) {
  CCAssert(target != nullptr, "Argument target must be non-nil");
  if (priority == 0)
    appendIn(&updates0_, target, update, paused);
  else if (priority < 0)
    priorityIn(&updatesNeg_, target, update, priority, paused);
  else
    priorityIn(&updatesPos_, target, update, priority, paused);
}

void CCScheduler::unscheduleUpdateForTarget(NSObject* target) {
  if (!target) return;
  CCSchedulerUpdateRecord* record = nullptr;
  HASH_FIND_PTR(hashForUpdates_, &target, record);
  if (!record) return;
  CCSchedulerListEntry* entry = record->entry;
  if (updateWalkActive_) {
    // Unlinking now would break the walk; the entry is freed when it ends.
    entry->markedForDeletion = true;
    deferredFrees_.push_back(entry);
  } else {
    DL_DELETE(*record->list, entry);
    delete entry;
  }
  HASH_DEL(hashForUpdates_, record);
  delete record;
  releaseTarget(target);
}

void CCScheduler::unscheduleAllSelectorsForTarget(NSObject* target) {
  if (!target) return;
  CCSchedulerTimerRecord* record = nullptr;
  HASH_FIND_PTR(hashForSelectors_, &target, record);
  if (record) {
    auto& timers = record->timers;
    if (record->currentTimer && !record->currentTimerSalvaged &&
        std::find(timers.begin(), timers.end(), record->currentTimer) != timers.end()) {
      record->currentTimer->retain();
      record->currentTimerSalvaged = true;
    }
    while (!timers.empty()) {
      timers.back()->release();
      timers.pop_back();
    }
    if (currentTarget_ == record)
      currentTargetSalvaged_ = true;
    else
      removeTimerRecord(record);
  }
  unscheduleUpdateForTarget(target);
}

void CCScheduler::unscheduleAllSelectors() {
  for (CCSchedulerTimerRecord *r = hashForSelectors_, *next = nullptr; r; r = next) {
    next = static_cast<CCSchedulerTimerRecord*>(r->hh.next);
    unscheduleAllSelectorsForTarget(r->target);
  }
  for (CCSchedulerListEntry* list : {updates0_, updatesNeg_, updatesPos_})
    for (CCSchedulerListEntry *e = list, *next = nullptr; e; e = next) {
      next = e->next;
      if (!e->markedForDeletion) unscheduleUpdateForTarget(e->target);
    }
}

void CCScheduler::setTargetPaused(NSObject* target, bool paused, const char* unknownError) {
  CCAssert(target != nullptr, "target must be non nil");
  CCSchedulerTimerRecord* timers = nullptr;
  HASH_FIND_PTR(hashForSelectors_, &target, timers);
  if (timers) timers->paused = paused;
  CCSchedulerUpdateRecord* update = nullptr;
  HASH_FIND_PTR(hashForUpdates_, &target, update);
  if (update) {
    CCAssert(update->entry != nullptr, unknownError);
    update->entry->paused = paused;
  }
}

void CCScheduler::pauseTarget(NSObject* target) {
  setTargetPaused(target, true, "pauseTarget: unknown error");
}

void CCScheduler::resumeTarget(NSObject* target) {
  setTargetPaused(target, false, "resumeTarget: unknown error");
}

bool CCScheduler::isTargetPaused(NSObject* target) const {
  CCSchedulerTimerRecord* timers = nullptr;
  HASH_FIND_PTR(hashForSelectors_, &target, timers);
  if (timers) return timers->paused;
  CCSchedulerUpdateRecord* update = nullptr;
  HASH_FIND_PTR(hashForUpdates_, &target, update);
  return update && update->entry->paused;
}

std::size_t CCScheduler::updateCount() const {
  return HASH_COUNT(hashForUpdates_);
}
std::size_t CCScheduler::timerTargetCount() const {
  return HASH_COUNT(hashForSelectors_);
}

// MARK: tick

void CCScheduler::walkUpdates(CCSchedulerListEntry* list, ccSeconds dt) {
  for (CCSchedulerListEntry *e = list, *next = nullptr; e; e = next) {
    next = e->next;
    if (!e->paused && !e->markedForDeletion && e->addedInTick != tickSerial_)
      e->update(e->target, dt);
  }
}

void CCScheduler::runTimers(ccSeconds dt) {
  for (CCSchedulerTimerRecord *record = hashForSelectors_, *next = nullptr; record; record = next) {
    currentTarget_ = record;
    currentTargetSalvaged_ = false;
    if (!record->paused) {
      for (record->timerIndex = 0; record->timerIndex < int(record->timers.size());
           ++record->timerIndex) {
        record->currentTimer = record->timers[std::size_t(record->timerIndex)];
        record->currentTimerSalvaged = false;
        record->currentTimer->update(dt);
        if (record->currentTimerSalvaged) record->currentTimer->release();
        record->currentTimer = nullptr;
      }
    }
    next = static_cast<CCSchedulerTimerRecord*>(record->hh.next);
    if (currentTargetSalvaged_ && record->timers.empty()) {
      currentTarget_ = nullptr;  // so the target is released after this record, not deferred
      removeTimerRecord(record);
    }
  }
  currentTarget_ = nullptr;
}

void CCScheduler::tick(ccSeconds dt) {
  if (timeScale_ != 1.0f) dt *= timeScale_;
  Ptr<CCScheduler> keepAlive(this);
  // Entries scheduled before this tick carry an older serial and are called.
  ++tickSerial_;
  updateWalkActive_ = true;
  walkUpdates(updatesNeg_, dt);
  walkUpdates(updates0_, dt);
  walkUpdates(updatesPos_, dt);
  updateWalkActive_ = false;
  for (CCSchedulerListEntry* entry : deferredFrees_) {
    for (CCSchedulerListEntry** list : {&updatesNeg_, &updates0_, &updatesPos_}) {
      bool inList = false;
      for (CCSchedulerListEntry* e = *list; e; e = e->next)
        if (e == entry) inList = true;
      if (inList) {
        DL_DELETE(*list, entry);
        break;
      }
    }
    delete entry;
  }
  deferredFrees_.clear();
  runTimers(dt);
}
