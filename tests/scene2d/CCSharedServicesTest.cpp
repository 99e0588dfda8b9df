#include "CCSharedServices.h"

#include <gtest/gtest.h>

#include <string>

#include "CCActionManager.h"
#include "CCDirector.h"
#include "CCScheduler.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "NSAutoreleasePool.h"

namespace {
std::string gPurged;
void purgeFirst() {
  gPurged += "first;";
}
void purgeSecond() {
  gPurged += "second;";
}

// Every 2D service goes, nothing of them is left alive, and a later call
// finds fresh ones: the singletons were really dropped, not only emptied.
TEST(CCSharedServices, PurgesEveryTwoDServiceAndLeavesNothingAlive) {
  CCSharedServices::purgeAll();
  const std::int64_t before = NSObject::liveObjectCount();
  CCTextureCache::sharedTextureCache();
  CCTouchDispatcher::sharedDispatcher();
  CCScheduler::sharedScheduler();
  CCActionManager::sharedManager();
  CCDirector* director = CCDirector::sharedDirector();
  director->end();
  EXPECT_GT(NSObject::liveObjectCount(), before);
  CCSharedServices::purgeAll();
  EXPECT_EQ(NSObject::liveObjectCount(), before);
  CCSharedServices::purgeAll();  // a second time with nothing to purge is harmless
  EXPECT_EQ(NSObject::liveObjectCount(), before);
}

// Added purges run once each per teardown, the latest added first, after
// the 2D services are gone; adding one twice does not run it twice.
TEST(CCSharedServices, AddedPurgesRunLatestFirstAndOnce) {
  CCSharedServices::addPurge(&purgeFirst);
  CCSharedServices::addPurge(&purgeSecond);
  CCSharedServices::addPurge(&purgeFirst);
  CCSharedServices::addPurge(nullptr);
  gPurged.clear();
  CCSharedServices::purgeAll();
  EXPECT_EQ(gPurged, "second;first;");
}
}  // namespace
