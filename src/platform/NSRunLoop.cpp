#include "NSRunLoop.h"

#include <algorithm>
#include <limits>

#include "Clock.h"
#include "DrawRevision.h"
#include "NSTimer.h"

NSRunLoop& NSRunLoop::mainRunLoop() {
  static NSRunLoop loop;
  return loop;
}

void NSRunLoop::schedule(DelayedCall call, double delay) {
  call.order = nextOrder_++;
  call.fireTime = Clock::current().seconds() + std::max(0.0, delay);
  calls_.push_back(std::move(call));
}

void NSRunLoop::performAfterDelay(NSObject* target, Selector<> sel, double delay) {
  DelayedCall call{};
  call.target = target;
  call.sel0 = sel;
  schedule(std::move(call), delay);
}

void NSRunLoop::performAfterDelay(NSObject* target, Selector<NSObject*> sel, NSObject* object,
                                  double delay) {
  DelayedCall call{};
  call.target = target;
  call.object = object;
  call.sel1 = sel;
  schedule(std::move(call), delay);
}

namespace {
// A cancelled call lets go of its target and object at once, not at the next
// run: a target released late may outlive the services its destructor uses.
// The references drop after the list is consistent, as a destructor may
// cancel or schedule calls itself.
template <class Calls>
void dropCancelled(Calls& calls) {
  Calls dropped;
  for (auto it = calls.begin(); it != calls.end();) {
    if (it->cancelled) {
      dropped.push_back(std::move(*it));
      it = calls.erase(it);
    } else {
      ++it;
    }
  }
}
}  // namespace

void NSRunLoop::cancelPerformRequests(NSObject* target) {
  for (auto& c : calls_)
    if (c.target.get() == target) c.cancelled = true;
  dropCancelled(calls_);
}

void NSRunLoop::cancelPerformRequests(NSObject* target, Selector<> sel) {
  for (auto& c : calls_)
    if (c.target.get() == target && c.sel0 && c.sel0 == sel) c.cancelled = true;
  dropCancelled(calls_);
}

void NSRunLoop::cancelPerformRequests(NSObject* target, Selector<NSObject*> sel, NSObject* object) {
  for (auto& c : calls_)
    if (c.target.get() == target && c.sel1 && c.sel1 == sel && c.object.get() == object)
      c.cancelled = true;
  dropCancelled(calls_);
}

void NSRunLoop::addTimer(NSTimer* timer) {
  timer->retain();
  timers_.push_back(timer);
}

void NSRunLoop::removeTimer(NSTimer* timer) {
  auto it = std::find(timers_.begin(), timers_.end(), timer);
  if (it == timers_.end()) return;
  timers_.erase(it);
  timer->autorelease();  // it may be removing itself from inside its own firing
}

void NSRunLoop::postToMainThread(std::function<void()> work) {
  std::function<void()> wake;
  {
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(work));
    wake = wakeUp_;
  }
  if (wake) wake();
}

void NSRunLoop::setWakeUp(std::function<void()> wakeUp) {
  std::lock_guard lock(postedMutex_);
  wakeUp_ = std::move(wakeUp);
}

int NSRunLoop::runPosted() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard lock(postedMutex_);
    work.swap(posted_);
  }
  for (auto& w : work) w();
  return static_cast<int>(work.size());
}

bool NSRunLoop::runOneDueCall(double now) {
  std::erase_if(calls_, [](const DelayedCall& c) { return c.cancelled; });
  auto due = calls_.end();
  for (auto it = calls_.begin(); it != calls_.end(); ++it)
    if (it->fireTime <= now && (due == calls_.end() || it->fireTime < due->fireTime ||
                                (it->fireTime == due->fireTime && it->order < due->order)))
      due = it;
  if (due == calls_.end()) return false;
  DelayedCall call = std::move(*due);
  calls_.erase(due);
  if (call.sel0)
    call.sel0(call.target.get());
  else
    call.sel1(call.target.get(), call.object.get());
  return true;
}

bool NSRunLoop::runOneDueTimer(double now) {
  NSTimer* due = nullptr;
  for (NSTimer* t : timers_)
    if (t->fireDate_ <= now && (!due || t->fireDate_ < due->fireDate_)) due = t;
  if (!due) return false;
  // A repeating timer skips missed periods rather than firing in a burst.
  if (due->repeats_) {
    due->fireDate_ += due->interval_;
    if (due->fireDate_ <= now) due->fireDate_ = now + due->interval_;
  }
  due->fire();
  return true;
}

int NSRunLoop::runDue() {
  const double now = Clock::current().seconds();
  int count = runPosted();
  // Calls scheduled while running with zero delay wait for the next servicing.
  std::size_t budget = calls_.size() + timers_.size();
  while (budget-- > 0 && (runOneDueTimer(now) || runOneDueCall(now))) ++count;
  // Delayed work is free to change anything on screen.
  if (count > 0) DrawRevision::bump();
  return count;
}

double NSRunLoop::timeUntilNextEvent() const {
  {
    std::lock_guard lock(postedMutex_);
    if (!posted_.empty()) return 0;
  }
  double next = std::numeric_limits<double>::infinity();
  for (const auto& c : calls_)
    if (!c.cancelled) next = std::min(next, c.fireTime);
  for (NSTimer* t : timers_) next = std::min(next, t->fireDate_);
  if (next == std::numeric_limits<double>::infinity()) return -1;
  return std::max(0.0, next - Clock::current().seconds());
}

std::vector<NSRunLoop::PendingCall> NSRunLoop::pendingCalls() const {
  std::vector<PendingCall> out;
  for (const auto& c : calls_) {
    if (c.cancelled) continue;
    out.push_back({c.target ? c.target->className() : "", c.sel0 ? c.sel0.name() : c.sel1.name(),
                   c.fireTime});
  }
  return out;
}

void NSRunLoop::clockDidJump(double seconds) {
  for (auto& c : calls_) c.fireTime += seconds;
  for (NSTimer* t : timers_) t->fireDate_ += seconds;
}

void NSRunLoop::reset() {
  calls_.clear();
  for (NSTimer* t : std::vector<NSTimer*>(timers_)) t->invalidate();
  std::lock_guard lock(postedMutex_);
  posted_.clear();
}
