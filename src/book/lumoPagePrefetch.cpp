#include "lumoPagePrefetch.h"

#include <algorithm>

#include "AVAudioPlayer.h"
#include "CCFileUtils.h"
#include "CCTextureCache.h"
#include "FreedMemory.h"
#include "KstSound.h"
#include "KstSpriteFactory.h"
#include "KstStage.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "lumoBookNames.h"
#include "lmOwnVoices.h"

lumoPagePrefetch& lumoPagePrefetch::shared() {
  static lumoPagePrefetch prefetch;
  return prefetch;
}

std::vector<std::int32_t> lumoPagePrefetch::reachablePages(std::int32_t page, std::int32_t total) {
  std::vector<std::int32_t> pages;
  for (std::int32_t candidate : {page + 1, page - 1, 1}) {
    if (candidate < 1 || candidate > total || candidate == page) continue;
    if (std::find(pages.begin(), pages.end(), candidate) == pages.end()) pages.push_back(candidate);
  }
  return pages;
}

std::vector<std::string> lumoPagePrefetch::imagesOfPage(const KstStage& stage, std::int32_t page) {
  std::vector<std::string> images;
  for (const auto& [identifier, record] :
       KstSpriteFactory::createWithStageInfo(stage.groundsForStage(page), nullptr))
    images.push_back(record->path());
  return images;
}

std::vector<std::string> lumoPagePrefetch::soundsOfPage(const KstStage& stage, std::int32_t page,
                                                        std::int32_t langTag) {
  std::vector<std::string> sounds;
  for (const std::string& name :
       {stage.narrationSoundForStage(page, langTag), stage.loopSoundForStage(page)})
    if (!name.empty() && name != kKstNil) sounds.push_back(name);
  return sounds;
}

void lumoPagePrefetch::pageDidSettle(const KstStage& stage, std::int32_t page,
                                     std::int32_t langTag) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  // What was queued for the page before is not wanted first any more.
  cache->cancelPendingPrefetches();
  wanted_.clear();
  for (const auto& image : imagesOfPage(stage, page)) wanted_.insert(image);
  std::vector<std::string> ahead;
  for (std::int32_t next : reachablePages(page, stage.totalStageCount()))
    for (const auto& image : imagesOfPage(stage, next))
      if (wanted_.insert(image).second) ahead.push_back(image);
  known_.insert(wanted_.begin(), wanted_.end());
  releaseUnwanted();
  for (const auto& image : ahead) cache->prefetchImage(image);
  // The page just turned away lives to the end of this frame: once it is gone,
  // what only it used can go too.
  NSRunLoop::mainRunLoop().postToMainThread([this] { releaseUnwanted(); });
  prefetchSounds(stage, page, langTag);
}

void lumoPagePrefetch::prefetchSounds(const KstStage& stage, std::int32_t page,
                                      std::int32_t langTag) {
  // The page's own narration first: it is heard soonest. Figures' lines are
  // short and only some are ever tapped; they decode when asked for.
  std::vector<std::pair<std::string, double>> paths;
  std::vector<std::string> names = soundsOfPage(stage, page, langTag);
  for (std::int32_t next : reachablePages(page, stage.totalStageCount()))
    for (auto& name : soundsOfPage(stage, next, langTag)) names.push_back(std::move(name));
  // Narrations are decoded at the reader's pace, as they will be played; a
  // reader's own recording is what will be heard in place of the book's.
  const double voices = KstSound::shared()->voiceTempo();
  for (const auto& name : names) {
    std::string path = lmOwnVoices::shared().recordingHeardFor(langTag, name);
    if (path.empty()) path = NSBundle::mainBundle().pathForResource(name, "mp3");
    if (!path.empty())
      paths.emplace_back(std::move(path), lumoBookNames::isNarrationFile(name) ? voices : 1.0);
  }
  // The settle frame is the turn's busiest; the decoding starts after it.
  NSRunLoop::mainRunLoop().postToMainThread([paths = std::move(paths)] {
    for (const auto& [path, tempo] : paths) AVAudioPlayer::prefetchContentsOfURL(path, tempo);
  });
}

void lumoPagePrefetch::releaseUnwanted() {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  bool released = false;
  for (auto it = known_.begin(); it != known_.end();) {
    // A picture still on stage stays in the cache and is tried again later.
    if (!wanted_.count(*it) && cache->removeUnusedTextureForKey(ccRemoveHDSuffixFromFile(*it))) {
      it = known_.erase(it);
      released = true;
    } else {
      ++it;
    }
  }
  if (released) FreedMemory::returnToSystem();
}
