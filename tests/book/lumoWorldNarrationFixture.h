#pragma once
// The book world on a headless GL context for the narration and language
// tests: virtual clock and audio, user defaults and resources in a folder of
// the test's own. Recordings are short tones under the book's names; there are
// no pictures, so every plane stays untextured.
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
#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"
#include "lumoWorld.h"

class lumoWorldNarrationTest : public HeadlessDirectorTest {
 protected:
  static std::filesystem::path audioFixtures() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "platform" / "audio";
  }

  void SetUp() override {
    AudioBackend::setUseVirtualBackend(true);
    savedPaths_ = NSBundle::mainBundle().searchPaths();
    NSBundle::mainBundle().setSearchPaths({dir.path()});
    for (const char* name : {"background", "b_snore"}) addRecording(name, "tone_quarter.mp3");
    NSUserDefaults::resetStandardUserDefaults(dir.file("defaults.json"));
    KstSound::shared();  // a singleton for the run, made before objects are counted
    HeadlessDirectorTest::SetUp();
  }

  void TearDown() override {
    dropWorld();
    KstSound::shared()->releasePlayers();
    AudioBackend::shared().shutdown();
    NSRunLoop::mainRunLoop().reset();
    CCTextureCache::purgeSharedTextureCache();
    CC3OpenGLES11Engine::purgeEngine();
    HeadlessDirectorTest::TearDown();
    NSUserDefaults::resetStandardUserDefaults();
    NSBundle::mainBundle().setSearchPaths(savedPaths_);
  }

  // A recording resource `name`.mp3 made of one of the platform tests' tones
  // ("tone_1s.mp3" lasts a second, "tone_quarter.mp3" a quarter).
  void addRecording(const std::string& name, const char* tone = "tone_1s.mp3") {
    std::filesystem::copy_file(audioFixtures() / tone, dir.file(name + ".mp3"));
  }

  // Pending delayed calls and running actions hold the world and its nodes.
  void dropWorld() {
    if (world) {
      NSObject::cancelPreviousPerformRequestsWithTarget(world.get());
      stopActionsBelow(world.get());
    }
    world = nullptr;
  }

  void build() {
    world = lumoWorld::world();
    ASSERT_TRUE(world);
  }

  // Frames of 1/60 s: the clock, the delayed calls (and so the ends of
  // recordings), then the actions.
  void advance(double seconds) {
    for (int i = 0, n = int(seconds * 60 + 0.5); i < n; ++i) {
      clock->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      CCScheduler::sharedScheduler()->tick(1.0f / 60);
      NSAutoreleasePool::current().drain();
    }
  }

  // Page n arrives as a turn leaves it: built, then settled over the page on stage.
  void settleOn(std::int32_t page) {
    lmStageInfo* info = world->stageInfo();
    world->dismissAsideWithAnimation(false);
    info->setShouldRemoveGroundName(info->curGroundName());
    info->setCurStageIndex(page);
    info->setCurGroundName(world->buildStage(page));
    world->renderStage();
  }

  CC3Node* node(const std::string& name) { return world->getNodeNamed(name); }
  // Whether a delayed call of `selector` ("lumoWorld::showAside") waits.
  static bool pending(const std::string& selector) {
    for (const auto& call : NSRunLoop::mainRunLoop().pendingCalls())
      if (call.selector == selector) return true;
    return false;
  }
  std::string playing() { return KstSound::shared()->playingSoundName(); }

  static void stopActionsBelow(CC3Node* root) {
    root->stopAllActions();
    for (std::size_t i = 0; i < root->childCount(); ++i) stopActionsBelow(root->childAt(i));
  }

  ScopedVirtualClock clock;
  TempDir dir;
  Ptr<lumoWorld> world;

 private:
  std::vector<std::string> savedPaths_;
};
