#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CCDirectorDisplayLink.h"
#include "EAGLView.h"
#include "MobClick.h"
#include "NSAutoreleasePool.h"
#include "PlatformHost.h"
#include "TestSupport.h"
#include "UIApplication.h"
#include "lumoAppDelegate.h"

// The launch configures the director as the book needs it, and each
// lifecycle handler reaches the director.
TEST(AppDelegate, LaunchAndLifecycle) {
  ScopedVirtualClock clock;
  UIApplication* app = &UIApplication::sharedApplication();
  auto delegate = makeObject<lumoAppDelegate>();
  delegate->applicationDidFinishLaunching(app);
  ASSERT_TRUE(delegate->launched());
  auto* director = dynamic_cast<CCDirectorDisplayLink*>(CCDirector::sharedDirector());
  ASSERT_NE(director, nullptr) << "display-link director expected";
  EXPECT_EQ(director->deviceOrientation(), 3);
  EXPECT_DOUBLE_EQ(director->animationInterval(), 1.0 / 60);
  EXPECT_FALSE(director->displayFPS());
  ASSERT_NE(director->openGLView(), nullptr);
  EXPECT_EQ(director->openGLView()->pixelFormat(), kEAGLColorFormatRGBA8);
  EXPECT_EQ(director->openGLView()->depthFormat(), 0x81A5u);
  EXPECT_TRUE(director->openGLView()->isMultipleTouchEnabled());
  EXPECT_EQ(director->openGLView()->superview(), delegate->window());
  EXPECT_NE(director->displayLink(), nullptr);
  // The usage records begin with this launch.
  MobClick::flush();
  ASSERT_FALSE(MobClick::folder().empty());
  std::ifstream log(MobClick::folder() + "/usage.jsonl");
  std::string line, last;
  while (std::getline(log, line)) last = line;
  EXPECT_NE(last.find("\"event\":\"launch\""), std::string::npos) << last;
  EXPECT_NE(last.find(delegate->appKey()), std::string::npos) << last;

  delegate->applicationWillResignActive(app);
  EXPECT_TRUE(director->isPaused());
  delegate->applicationDidBecomeActive(app);
  EXPECT_FALSE(director->isPaused());

  delegate->applicationDidEnterBackground(app);
  EXPECT_EQ(director->displayLink(), nullptr);
  delegate->applicationWillEnterForeground(app);
  EXPECT_NE(director->displayLink(), nullptr);

  delegate->applicationSignificantTimeChange(app);
  EXPECT_TRUE(director->nextDeltaTimeZero());
  clock->advance(5);
  director->drawScene();
  EXPECT_EQ(director->deltaTime(), 0.0f) << "a clock change must not become a time step";

  delegate->applicationDidReceiveMemoryWarning(app);

  delegate->applicationWillTerminate(app);
  EXPECT_EQ(delegate->window(), nullptr);
  EXPECT_EQ(director->openGLView(), nullptr);
  EXPECT_EQ(director->runningScene(), nullptr);
  CCDirector::purgeSharedDirector();
  MobClick::reset();
  NSAutoreleasePool::current().drain();
}
