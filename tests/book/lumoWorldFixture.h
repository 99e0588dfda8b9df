#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AudioBackend.h"
#include "CC3OpenGLES11Engine.h"
#include "CCScheduler.h"
#include "CCTextureCache.h"
#include "HeadlessDirectorTest.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"
#include "lumoWorld.h"

namespace lumoWorldTesting {
namespace fs = std::filesystem;
const inline fs::path kAudio =
    fs::path(__FILE__).parent_path().parent_path() / "platform" / "audio";
}  // namespace lumoWorldTesting

// The book world built on a headless GL context, with user defaults and
// resources in a folder of the test's own (no pictures: planes stay untextured).
class lumoWorldTest : public HeadlessDirectorTest {
 protected:
  void SetUp() override {
    AudioBackend::setUseVirtualBackend(true);
    savedPaths_ = NSBundle::mainBundle().searchPaths();
    NSBundle::mainBundle().setSearchPaths({dir.path()});
    for (const char* name : {"background", "b_snore"})
      std::filesystem::copy_file(lumoWorldTesting::kAudio / "tone_quarter.mp3",
                                 dir.file(std::string(name) + ".mp3"));
    NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
    KstSound::shared();  // a singleton for the run, made before objects are counted
    HeadlessDirectorTest::SetUp();
  }
  void TearDown() override {
    // Pending delayed calls and running title actions hold the world.
    if (world) {
      NSObject::cancelPreviousPerformRequestsWithTarget(world.get());
      for (const char* title : {"s1layer3-cn", "s1layer5-cn"})
        if (CC3Node* node = world->getNodeNamed(title)) node->stopAllActions();
    }
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

  void build() {
    world = lumoWorld::world();
    ASSERT_TRUE(world);
  }
  CC3Node* node(const std::string& name) { return world->getNodeNamed(name); }
  void advance(ccSeconds seconds) {
    for (ccSeconds t = 0; t < seconds; t += 0.05f) {
      clock->advance(0.05);
      CCScheduler::sharedScheduler()->tick(0.05f);
      NSRunLoop::mainRunLoop().runDue();  // the world's delayed calls
    }
  }

  ScopedVirtualClock clock;
  TempDir dir;
  Ptr<lumoWorld> world;

 private:
  std::vector<std::string> savedPaths_;
};
