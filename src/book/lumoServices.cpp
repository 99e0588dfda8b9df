#include "lumoServices.h"

#include "AudioBackend.h"
#include "CCTextureCache.h"
#include "KstSound.h"
#include "NSRunLoop.h"

void lumoServices::stopReading() {
  KstSound::shared()->releasePlayers();
  AudioBackend::shared().shutdown();
  CCTextureCache::purgeSharedTextureCache();
  NSRunLoop::mainRunLoop().reset();
}
