// Cost of the 2D node tree per frame: visiting a scene whose transforms are
// all cached, and stepping running actions. Both should grow linearly with
// the number of nodes (see the fitted complexity and the per-node counter).
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "CCDirectorDisplayLink.h"
#include "CCLayer.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "EAGLView.h"
#include "Log.h"
#include "NSAutoreleasePool.h"

namespace {

// A director drawing headless into a 1024 x 768 landscape view.
struct Stage {
  Stage() {
    CCDirector::setDirectorType(kCCDirectorTypeDisplayLink);
    director = CCDirector::sharedDirector();
    view = EAGLView::viewWithFrame(CGRectMake(0, 0, 768, 1024), kEAGLColorFormatRGBA8,
                                   GL_DEPTH_COMPONENT16_OES);
    director->setOpenGLView(view);
    director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
  }
  ~Stage() {
    director->end();
    CCDirector::purgeSharedDirector();
    view = nullptr;
    NSAutoreleasePool::current().drain();
  }
  CCDirector* director;
  Ptr<EAGLView> view;
};

// `count` nodes: layers of 100 children each, every node placed, turned and scaled.
Ptr<CCScene> sceneOf(int count) {
  auto scene = CCScene::node();
  Ptr<CCNode> group;
  for (int i = 0; i < count; ++i) {
    if (i % 100 == 0) {
      group = CCLayer::node().get();
      scene->addChild(group, i % 7);
    }
    auto node = CCNode::node();
    node->setPosition({float(i % 1024), float(i % 768)});
    node->setRotation(float(i % 360));
    node->setScale(1.5f);
    group->addChild(node, i % 5 - 2);
  }
  return scene;
}

void BM_VisitCachedScene(benchmark::State& state) {
  Stage stage;
  const int count = int(state.range(0));
  auto scene = sceneOf(count);
  scene->onEnter();
  scene->visit();  // fills every transform cache
  for (auto _ : state) scene->visit();
  glFinish();
  scene->onExit();
  scene->cleanup();
  state.SetComplexityN(count);
  state.counters["s_per_node"] = benchmark::Counter(
      double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_VisitCachedScene)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN);

void BM_StepRunningActions(benchmark::State& state) {
  const int count = int(state.range(0));
  {
    std::vector<Ptr<CCNode>> nodes;
    nodes.reserve(std::size_t(count));
    CCActionManager* manager = CCActionManager::sharedManager();
    for (int i = 0; i < count; ++i) {
      auto node = CCNode::node();
      // Long enough never to finish while measured.
      manager->addAction(CCMoveBy::actionWithDuration(1e6f, {1, 1}), node, false);
      nodes.push_back(node);
    }
    for (auto _ : state) manager->update(1.0f / 60);
    state.SetComplexityN(count);
    state.counters["s_per_action"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    manager->removeAllActions();
  }
  CCActionManager::purgeSharedManager();
  CCScheduler::purgeSharedScheduler();
}
BENCHMARK(BM_StepRunningActions)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
  setLogLevel(LogLevel::Error);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
