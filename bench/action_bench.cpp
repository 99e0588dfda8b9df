// Cost of stepping timed actions: 10,000 nodes each running a repeating
// sequence of a move and a rotation, stepped by the action manager once per
// 1/60 s frame. Reports the time per action step and the heap allocations
// made per frame once the actions run (expected: none).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "CCActionEase.h"
#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "CCNode.h"
#include "CCScheduler.h"
#include "NSAutoreleasePool.h"

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

// Every allocation of the program is counted; the replacements pair malloc
// with free, which the compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

constexpr ccSeconds kFrame = 1.0f / 60;

struct Actors {
  explicit Actors(int count, bool eased) {
    nodes.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
      auto node = CCNode::node();
      node->onEnter();  // running: its actions are stepped
      // Rounds of different lengths, so that restarts spread over frames.
      ccSeconds d = 0.5f + 0.01f * float(i % 50);
      Ptr<CCActionInterval> move = CCMoveBy::actionWithDuration(d, {10, 5});
      if (eased) move = CCEaseSineInOut::actionWithAction(move).get();
      auto round = CCSequence::actions({move, CCRotateBy::actionWithDuration(d, 30),
                                        CCMoveBy::actionWithDuration(d, {-10, -5})});
      node->runAction(CCRepeat::actionWithAction(round, 1000000));
      nodes.push_back(node);
    }
    NSAutoreleasePool::current().drain();
  }
  ~Actors() {
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
    nodes.clear();
    NSAutoreleasePool::current().drain();
  }
  std::vector<Ptr<CCNode>> nodes;
};

void stepActions(benchmark::State& state, bool eased) {
  const int count = int(state.range(0));
  Actors actors(count, eased);
  CCActionManager* manager = CCActionManager::sharedManager();
  for (int i = 0; i < 120; ++i) manager->update(kFrame);  // past every first tick and restart
  long frames = 0;
  long before = gAllocations.load();
  for (auto _ : state) {
    manager->update(kFrame);
    ++frames;
  }
  long allocations = gAllocations.load() - before;
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["time_per_action_step"] =
      benchmark::Counter(double(state.iterations()) * count,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["allocations_per_frame"] = double(allocations) / double(frames ? frames : 1);
  if (manager->numberOfRunningActions() != unsigned(count)) state.SkipWithError("actions ended");
}

void BM_StepMoveRotateSequences(benchmark::State& state) {
  stepActions(state, false);
}
void BM_StepEasedSequences(benchmark::State& state) {
  stepActions(state, true);
}

}  // namespace

BENCHMARK(BM_StepMoveRotateSequences)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepEasedSequences)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
