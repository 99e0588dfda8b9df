#include "CCSharedServices.h"

#include <algorithm>
#include <vector>

#include "CCActionManager.h"
#include "CCConfiguration.h"
#include "CCDirector.h"
#include "CCScheduler.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "NSAutoreleasePool.h"

namespace {
std::vector<void (*)()>& addedPurges() {
  static std::vector<void (*)()> purges;
  return purges;
}
}  // namespace

void CCSharedServices::addPurge(void (*purge)()) {
  std::vector<void (*)()>& purges = addedPurges();
  if (purge && std::find(purges.begin(), purges.end(), purge) == purges.end())
    purges.push_back(purge);
}

void CCSharedServices::purgeAll() {
  CCTextureCache::purgeSharedTextureCache();
  CCDirector::purgeSharedDirector();
  CCTouchDispatcher::purgeSharedDispatcher();
  CCConfiguration::purgeSharedConfiguration();
  CCScheduler::purgeSharedScheduler();
  CCActionManager::purgeSharedManager();
  const std::vector<void (*)()>& purges = addedPurges();
  std::for_each(purges.rbegin(), purges.rend(), [](void (*purge)()) { purge(); });
  NSAutoreleasePool::current().drain();
}
