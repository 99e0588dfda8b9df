#include <gtest/gtest.h>

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <string>
#include <vector>

#include "CADisplayLink.h"
#include "CCActionInterval.h"
#include "CCDirectorDisplayLink.h"
#include "CCDirectorTimer.h"
#include "CCScheduler.h"
#include "EAGLView.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"
#include "UIDevice.h"
#include "UIView.h"

namespace {
std::vector<std::string> gEvents;

class LoggingScene : public CCScene {
 public:
  explicit LoggingScene(std::string name) : name_(std::move(name)) {}
  void onEnter() override {
    CCScene::onEnter();
    gEvents.push_back(name_ + ":enter");
  }
  void onEnterTransitionDidFinish() override { gEvents.push_back(name_ + ":didFinish"); }
  void onExit() override {
    CCScene::onExit();
    gEvents.push_back(name_ + ":exit");
  }
  void cleanup() override { gEvents.push_back(name_ + ":cleanup"); }
  std::string name_;
};

class DtProbe : public NSObject {
 public:
  void update(ccSeconds dt) { deltas.push_back(dt); }
  std::vector<ccSeconds> deltas;
};

class DirectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gEvents.clear();
    ASSERT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
    director = CCDirector::sharedDirector();
    view = EAGLView::viewWithFrame(CGRectMake(0, 0, 768, 1024), kEAGLColorFormatRGBA8,
                                   GL_DEPTH_COMPONENT16_OES);
    ASSERT_TRUE(view);
    director->setOpenGLView(view.get());
    director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
  }
  void TearDown() override {
    CCDirector::setSkipsUnchangedFrames(false);
    director->end();
    CCDirector::purgeSharedDirector();
    view = nullptr;
    NSAutoreleasePool::current().drain();
    UIDevice::currentDevice().setSystemVersion("4.3");
  }
  Ptr<LoggingScene> scene(const std::string& name) { return makeObject<LoggingScene>(name); }

  ScopedVirtualClock clock;
  CCDirector* director = nullptr;
  Ptr<EAGLView> view;
};
}  // namespace

TEST_F(DirectorTest, DeltaTimeFollowsTheClock) {
  auto probe = makeObject<DtProbe>();
  CCScheduler::sharedScheduler()->scheduleUpdateForTarget(probe.get(), 0, false);
  director->runWithScene(scene("a").get());
  clock->advance(0.25);
  director->drawScene();
  director->setNextDeltaTimeZero(true);
  clock->advance(0.5);
  director->drawScene();
  clock->set(clock->virtualSeconds() - 1.0);  // the clock goes backwards
  director->drawScene();
  clock->advance(3.0);  // a stall is passed on whole
  director->drawScene();
  ASSERT_EQ(probe->deltas.size(), 4u);
  EXPECT_NEAR(probe->deltas[0], 0.25f, 1e-5);
  EXPECT_EQ(probe->deltas[1], 0.0f);
  EXPECT_EQ(probe->deltas[2], 0.0f);
  EXPECT_NEAR(probe->deltas[3], 3.0f, 1e-5);
  CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(probe.get());
}

TEST_F(DirectorTest, FailingClockGivesZeroAndResumeGivesZero) {
  auto probe = makeObject<DtProbe>();
  CCScheduler::sharedScheduler()->scheduleUpdateForTarget(probe.get(), 0, false);
  director->runWithScene(scene("a").get());
  clock->setFailing(true);
  clock->advance(1);
  director->drawScene();
  clock->setFailing(false);
  director->pause();
  clock->advance(2);
  director->drawScene();  // paused: no tick
  director->resume();
  director->drawScene();
  clock->advance(0.1);
  director->drawScene();
  ASSERT_EQ(probe->deltas.size(), 3u);
  EXPECT_EQ(probe->deltas[0], 0.0f);
  EXPECT_EQ(probe->deltas[1], 0.0f);
  EXPECT_NEAR(probe->deltas[2], 0.1f, 1e-5);
  CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(probe.get());
}

TEST_F(DirectorTest, PauseLowersTheFrameRateToFour) {
  director->runWithScene(scene("a").get());
  auto* link = static_cast<CCDirectorDisplayLink*>(director)->displayLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->frameInterval(), 1);
  director->pause();
  EXPECT_DOUBLE_EQ(director->animationInterval(), 0.25);
  link = static_cast<CCDirectorDisplayLink*>(director)->displayLink();
  EXPECT_EQ(link->frameInterval(), 15);
  unsigned long before = director->totalFrames();
  for (int i = 0; i < 60; ++i) CADisplayLink::refreshAll(i / 60.0);
  EXPECT_EQ(director->totalFrames() - before, 4u);
  director->resume();
  EXPECT_DOUBLE_EQ(director->animationInterval(), 1.0 / 60);
}

TEST_F(DirectorTest, SceneStackSendsExitAndCleanupAtTheNextFrame) {
  auto a = scene("a"), b = scene("b"), c = scene("c");
  director->runWithScene(a.get());
  director->drawScene();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"a:enter", "a:didFinish"}));
  gEvents.clear();
  director->pushScene(b.get());
  EXPECT_TRUE(gEvents.empty()) << "the switch waits for the next frame";
  director->drawScene();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"a:exit", "b:enter", "b:didFinish"}));
  gEvents.clear();
  director->replaceScene(c.get());
  director->drawScene();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"b:exit", "b:cleanup", "c:enter", "c:didFinish"}));
  gEvents.clear();
  director->popScene();
  director->drawScene();
  EXPECT_EQ(gEvents, (std::vector<std::string>{"c:exit", "c:cleanup", "a:enter", "a:didFinish"}));
  EXPECT_EQ(director->runningScene(), a.get());
  gEvents.clear();
  director->popScene();  // the last scene: the director ends
  EXPECT_EQ(gEvents, (std::vector<std::string>{"a:exit", "a:cleanup"}));
  EXPECT_EQ(director->runningScene(), nullptr);
}

TEST_F(DirectorTest, ConvertToGLForEveryOrientation) {
  const CGPoint p{100, 200};  // view points in a 768 x 1024 view
  struct Case {
    UIDeviceOrientation orientation;
    CGPoint gl;
  } cases[] = {{UIDeviceOrientationPortrait, {100, 824}},
               {UIDeviceOrientationPortraitUpsideDown, {668, 200}},
               {UIDeviceOrientationLandscapeLeft, {200, 100}},
               {UIDeviceOrientationLandscapeRight, {824, 668}},
               {UIDeviceOrientationFaceUp, {0, 0}}};
  for (auto c : cases) {
    director->setDeviceOrientation(c.orientation);
    CGPoint gl = director->convertToGL(p);
    EXPECT_EQ(gl.x, c.gl.x) << "orientation " << c.orientation;
    EXPECT_EQ(gl.y, c.gl.y) << "orientation " << c.orientation;
    if (c.orientation <= UIDeviceOrientationLandscapeRight) {
      CGPoint back = director->convertToUI(gl);
      EXPECT_EQ(back.x, p.x);
      EXPECT_EQ(back.y, p.y);
    }
  }
  director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
  EXPECT_EQ(director->winSize().width, 1024);
  EXPECT_EQ(director->winSize().height, 768);
  director->setDeviceOrientation(UIDeviceOrientationPortrait);
  EXPECT_EQ(director->winSize().width, 768);
  EXPECT_EQ(director->displaySizeInPixels().height, 1024);
}

TEST_F(DirectorTest, AssertionsAndTypes) {
  EXPECT_ASSERTION(director->runWithScene(nullptr), "Argument must be non-nil");
  director->runWithScene(scene("a").get());
  director->drawScene();
  EXPECT_ASSERTION(director->runWithScene(scene("b").get()),
                   "You can't run an scene if another Scene is running. Use replaceScene or "
                   "pushScene instead");
  EXPECT_ASSERTION(CCDirector::setDirectorType(ccDirectorType(4)), "Unknown director type");
  EXPECT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeNSTimer)) << "an existing director stays";
  EXPECT_NE(dynamic_cast<CCDirectorDisplayLink*>(CCDirector::sharedDirector()), nullptr);
}

TEST(DirectorTypes, DisplayLinkRefusedOnOldSystems) {
  UIDevice::currentDevice().setSystemVersion("3.0.1");
  EXPECT_FALSE(CCDirector::setDirectorType(kCCDirectorTypeDisplayLink));
  UIDevice::currentDevice().setSystemVersion("4.3");
  EXPECT_TRUE(CCDirector::setDirectorType(kCCDirectorTypeNSTimer));
  EXPECT_NE(dynamic_cast<CCDirectorTimer*>(CCDirector::sharedDirector()), nullptr);
  EXPECT_ASSERTION(CCDirectorTimer::sharedDirector()->startAnimation();
                   CCDirector::sharedDirector()->startAnimation(),
                   "animationTimer must be nil. Calling startAnimation twice?");
  CCDirector::sharedDirector()->end();
  CCDirector::purgeSharedDirector();
  NSAutoreleasePool::current().drain();
}

// The cleared frame really reaches the GL view, upright in landscape.
TEST_F(DirectorTest, DrawnFrameReadsBackAsLandscape) {
  director->runWithScene(scene("a").get());
  glClearColor(0.2f, 0.4f, 0.6f, 1);
  director->drawScene();
  int w = 0, h = 0;
  auto pixels = view->context()->snapshotPresentedFrame(w, h);
  ASSERT_EQ(w, 1024);
  ASSERT_EQ(h, 768);
  EXPECT_NEAR(pixels[0], 51, 1);
  EXPECT_NEAR(pixels[1], 102, 1);
  EXPECT_NEAR(pixels[2], 153, 1);
}

#include "CCLabelTTF.h"

// The rate display counts frames over a tenth of a second and shows "%.1f".
TEST_F(DirectorTest, DisplayFPSShowsTheRate) {
  ASSERT_NE(director->FPSLabel(), nullptr);
  EXPECT_EQ(director->FPSLabel()->string(), "00.0");
  director->setDisplayFPS(true);
  director->runWithScene(scene("a").get());
  for (int i = 0; i < 12; ++i) {
    clock->advance(1.0 / 60);
    director->drawScene();
  }
  EXPECT_NEAR(director->frameRate(), 60.0f, 0.5f);
  EXPECT_EQ(director->FPSLabel()->string(), "60.0");
}

// With skipping on, only frames after a change draw; each kind of change that
// no setter of the scene reports on its own must still make the next frame draw.
TEST_F(DirectorTest, UnchangedFramesAreSkippedAndEveryKindOfChangeDrawsAgain) {
  CCDirector::setSkipsUnchangedFrames(true);
  auto root = scene("a");
  auto child = makeObject<CCNode>();
  root->addChild(child.get());
  director->runWithScene(root.get());
  const unsigned long framesBefore = director->totalFrames();
  unsigned long skipped = 0;
  auto frame = [&] {
    clock->advance(1.0 / 60);
    director->drawScene();
    if (!director->lastFrameRendered()) ++skipped;
    return director->lastFrameRendered();
  };
  EXPECT_TRUE(frame()) << "the first frame draws";
  EXPECT_FALSE(frame());
  const unsigned long rendered = director->renderedFrames();
  EXPECT_FALSE(frame());
  EXPECT_EQ(director->renderedFrames(), rendered);

  child->setPosition(CGPointMake(10, 20));
  EXPECT_TRUE(frame()) << "a moved node";
  child->setPosition(CGPointMake(10, 20));
  EXPECT_FALSE(frame()) << "the same position again changes nothing";
  child->setVisible(false);
  EXPECT_TRUE(frame()) << "a hidden node";

  child->runAction(CCDelayTime::actionWithDuration(0.05f).get());
  EXPECT_TRUE(frame()) << "a running action, even one that sets nothing";
  while (child->numberOfRunningActions() > 0) frame();
  EXPECT_FALSE(frame());

  auto fading = makeObject<UIView>(CGRectMake(0, 0, 10, 10));
  UIView::beginAnimations("fade", nullptr);
  UIView::setAnimationDuration(0.1);
  fading->setAlpha(0);
  UIView::commitAnimations();
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(frame()) << "a view fading, frame " << i;
  for (int i = 0; i < 6; ++i) frame();
  EXPECT_FALSE(frame()) << "the fade has ended";

  CCDirector::setSkipsUnchangedFrames(false);
  EXPECT_TRUE(frame()) << "off: every frame draws";
  EXPECT_GT(skipped, 0u);
  EXPECT_EQ(director->totalFrames() - framesBefore, director->renderedFrames() + skipped)
      << "skipped frames still count as frames";
}
