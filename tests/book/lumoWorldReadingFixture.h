#pragma once
// The book world on a headless GL context for the tests of reading it: turns,
// drags, taps and tilt. Resources come from a folder of the fixture's own: no
// pictures (planes stay untextured), a short tone under the names of the music,
// the snore and the cover fox's dialogue lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "AudioBackend.h"
#include "CC3OpenGLES11Engine.h"
#include "CCActionManager.h"
#include "CCScheduler.h"
#include "CCTextureCache.h"
#include "HeadlessDirectorTest.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"
#include "lumoWorld.h"

class lumoWorldReadingTest : public HeadlessDirectorTest {
 protected:
  static constexpr const char* kFox = "s1layer2l-t";

  void SetUp() override {
    namespace fs = std::filesystem;
    const fs::path audio = fs::path(__FILE__).parent_path().parent_path() / "platform" / "audio";
    AudioBackend::setUseVirtualBackend(true);
    savedPaths_ = NSBundle::mainBundle().searchPaths();
    NSBundle::mainBundle().setSearchPaths({dir.path()});
    for (const char* name :
         {"background", "b_snore", "dialogue_cover_r1_ru", "dialogue_cover_r2_ru",
          "dialogue_cover_r3_ru", "dialogue_cover_r4_ru"})
      fs::copy_file(audio / "tone_quarter.mp3", dir.file(std::string(name) + ".mp3"));
    NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
    KstSound::shared();  // a singleton for the run, made before objects are counted
    HeadlessDirectorTest::SetUp();
    world = lumoWorld::world();
    ASSERT_TRUE(world);
    // The drag hint is not what these tests are about.
    NSObject::cancelPreviousPerformRequestsWithTarget(world.get(),
                                                      SELECTOR(lumoWorld::addHelpAlert));
  }

  void TearDown() override {
    // Running actions and pending delayed calls hold nodes and the world.
    CCActionManager::sharedManager()->removeAllActions();
    NSObject::cancelPreviousPerformRequestsWithTarget(world.get());
    world = nullptr;
    KstSound::shared()->releasePlayers();
    AudioBackend::shared().shutdown();
    // The texture loader stops first: what it posted goes with the run loop's queue.
    CCTextureCache::purgeSharedTextureCache();
    NSRunLoop::mainRunLoop().reset();
    CC3OpenGLES11Engine::purgeEngine();
    HeadlessDirectorTest::TearDown();
    NSUserDefaults::resetStandardUserDefaults();
    NSBundle::mainBundle().setSearchPaths(savedPaths_);
  }

  // Time passes as in the program: actions step, delayed calls fire.
  void advance(double seconds) {
    for (int frames = int(seconds * 20 + 0.5); frames > 0; --frames) {
      clock->advance(0.05);
      CCScheduler::sharedScheduler()->tick(0.05f);
      NSRunLoop::mainRunLoop().runDue();
    }
  }
  // A requested turn runs 1.5 s; a little more lets it settle.
  void settle() { advance(1.6); }

  CC3Node* node(const std::string& name) { return world->getNodeNamed(name); }
  lmStageInfo* info() { return world->stageInfo(); }
  std::vector<std::string> grounds() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < world->childCount(); ++i) {
      const std::string name = world->childAt(i)->name().value_or("");
      if (name.rfind("ground", 0) == 0) names.push_back(name);
    }
    return names;
  }
  // Turns forward from the cover until `page` is on stage.
  void turnTo(std::int32_t page) {
    while (info()->curStageIndex() < page) {
      world->reflashStage(0);
      settle();
    }
  }

  ScopedVirtualClock clock;
  TempDir dir;
  Ptr<lumoWorld> world;

 private:
  std::vector<std::string> savedPaths_;
};

inline void expectNear3(CC3Vec3 actual, CC3Vec3 expected, float tolerance = 1e-3f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}
