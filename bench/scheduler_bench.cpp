// `tick` cost with many scheduled targets: updates and interval timers.
#include <benchmark/benchmark.h>

#include <vector>

#include "CCScheduler.h"

namespace {
class Target : public NSObject {
 public:
  void update(ccSeconds dt) { total += dt; }
  void step(ccSeconds dt) { total += dt; }
  float total = 0;
};

void BM_TickUpdates(benchmark::State& state) {
  CCScheduler* scheduler = CCScheduler::sharedScheduler();
  std::vector<Ptr<Target>> targets;
  for (long i = 0; i < state.range(0); ++i) {
    targets.push_back(makeObject<Target>());
    scheduler->scheduleUpdateForTarget(targets.back().get(), int(i % 3) - 1, false);
  }
  for (auto _ : state) scheduler->tick(1.0f / 60);
  state.SetComplexityN(state.range(0));
  CCScheduler::purgeSharedScheduler();
}
BENCHMARK(BM_TickUpdates)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

void BM_TickTimers(benchmark::State& state) {
  CCScheduler* scheduler = CCScheduler::sharedScheduler();
  std::vector<Ptr<Target>> targets;
  for (long i = 0; i < state.range(0); ++i) {
    targets.push_back(makeObject<Target>());
    scheduler->scheduleSelector(SELECTOR(Target::step), targets.back().get(), 0.1f, false);
  }
  for (auto _ : state) scheduler->tick(1.0f / 60);
  state.SetComplexityN(state.range(0));
  CCScheduler::purgeSharedScheduler();
}
BENCHMARK(BM_TickTimers)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);
}  // namespace

BENCHMARK_MAIN();
