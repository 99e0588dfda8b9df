#pragma once
// The book world for the narration and language tests: frames that also run
// the delayed calls (and so the ends of recordings), recordings under the
// book's names, and pages reached by real turns.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
#include "KstSound.h"
#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"
#include "lumoWorld.h"
#include "lumoWorldFixture.h"

class lumoWorldNarrationTest : public lumoWorldTest {
 protected:
  void TearDown() override {
    dropWorld();
    lumoWorldTest::TearDown();
  }

  // A recording resource `name`.mp3 made of one of the platform tests' tones
  // ("tone_1s.mp3" lasts a second, "tone_quarter.mp3" a quarter).
  void addRecording(const std::string& name, const char* tone = "tone_1s.mp3") {
    std::filesystem::copy_file(lumoWorldTesting::kAudio / tone, dir.file(name + ".mp3"));
  }

  // Pending delayed calls and running actions hold the world and its nodes.
  void dropWorld() {
    if (world) {
      NSObject::cancelPreviousPerformRequestsWithTarget(world.get());
      stopActionsBelow(world.get());
    }
    world = nullptr;
  }

  // Frames of 1/60 s: the clock, the delayed calls, then the actions.
  void advance(double seconds) {
    for (int i = 0, n = int(seconds * 60 + 0.5); i < n; ++i) {
      clock->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      CCScheduler::sharedScheduler()->tick(1.0f / 60);
      NSAutoreleasePool::current().drain();
    }
  }

  // Lets a running turn finish, then turns page by page to page n; stops on
  // the frame the last settling step runs.
  void settleOn(std::int32_t page) {
    lmStageInfo* info = world->stageInfo();
    finishTurn();
    while (info->curStageIndex() != page) {
      world->reflashStage(page > info->curStageIndex() ? 0 : 1);
      finishTurn();
    }
  }
  void finishTurn() {
    lmStageInfo* info = world->stageInfo();
    for (int frame = 0; info->lockDrag() && frame < 200; ++frame) advance(1.0 / 60);
    ASSERT_FALSE(info->lockDrag())
        << "the turn to page " << info->curStageIndex() << " never settled";
  }

  // A tap on a picked node, as the picking pass reports it.
  void tap(CC3Node* picked) {
    world->nodeSelected(picked, kCCTouchBegan, {500, 100});
    world->nodeSelected(picked, kCCTouchEnded, {500, 100});
  }

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
};
