#pragma once
// A running director over a 1024 x 768 landscape view on the virtual clock,
// for menus that take touches from the view and run actions.
#include <GLES/gl.h>
#include <GLES/glext.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "CCDirectorDisplayLink.h"
#include "CCMenu.h"
#include "CCScene.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "EAGLView.h"
#include "Log.h"
#include "NSAutoreleasePool.h"
#include "HeadlessDirectorTest.h"
#include "TestSupport.h"
#include "UIDevice.h"

// Records the calls of menu items.
class MenuTarget : public NSObject {
 public:
  void pressed(NSObject* sender) { senders.push_back(sender); }
  void plain() { ++plainCalls; }
  std::vector<NSObject*> senders;
  int plainCalls = 0;
};

class MenuFixture : public HeadlessDirectorTest {
 protected:
  void SetUp() override {
    savedLevel_ = logLevel();
    setLogLevel(LogLevel::Silent);
    HeadlessDirectorTest::SetUp();
    scene = CCScene::node();
  }
  void TearDown() override {
    for (UITouch* t : touches_) t->release();
    touches_.clear();
    scene = nullptr;
    HeadlessDirectorTest::TearDown();
    setLogLevel(savedLevel_);
  }

  // Runs the scene and draws its first frame, which enters it.
  void run() {
    director->runWithScene(scene);
    director->drawScene();
    NSAutoreleasePool::current().drain();
  }
  void nextFrame() {
    clock->advance(1.0 / 60);
    director->drawScene();
    NSAutoreleasePool::current().drain();
  }
  // RGB at scene point (x, y), origin bottom-left.
  std::array<int, 3> at(int x, int y) const {
    auto p = HeadlessDirectorTest::at(x, y);
    return {p[0], p[1], p[2]};
  }

  // Fingers by number, at scene points; the view of a landscape-left device
  // has the scene's axes swapped.
  UITouch* down(CGPoint scenePoint) {
    auto* t = new UITouch(view.get(), CGPointMake(scenePoint.y, scenePoint.x), 0);
    touches_.push_back(t);
    view->touchesBegan({t}, nullptr);
    return t;
  }
  void move(UITouch* t, CGPoint scenePoint) {
    t->moveTo(CGPointMake(scenePoint.y, scenePoint.x), UITouchPhaseMoved, 0);
    view->touchesMoved({t}, nullptr);
  }
  void up(UITouch* t, CGPoint scenePoint) {
    t->moveTo(CGPointMake(scenePoint.y, scenePoint.x), UITouchPhaseEnded, 0);
    view->touchesEnded({t}, nullptr);
  }
  void cancel(UITouch* t) {
    t->moveTo(t->locationInView(view.get()), UITouchPhaseCancelled, 0);
    view->touchesCancelled({t}, nullptr);
  }

  ScopedVirtualClock clock;
  Ptr<CCScene> scene;

 private:
  std::vector<UITouch*> touches_;
  LogLevel savedLevel_ = LogLevel::Error;
};
