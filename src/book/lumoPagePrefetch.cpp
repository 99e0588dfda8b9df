#include "lumoPagePrefetch.h"

#include <algorithm>

#include "CCFileUtils.h"
#include "CCTextureCache.h"
#include "KstSpriteFactory.h"
#include "KstStage.h"

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

void lumoPagePrefetch::pageDidSettle(const KstStage& stage, std::int32_t page) {
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  // What was queued for the page before is not wanted first any more.
  cache->cancelPendingPrefetches();
  std::set<std::string> wanted;
  for (const auto& image : imagesOfPage(stage, page)) wanted.insert(image);
  std::vector<std::string> ahead;
  for (std::int32_t next : reachablePages(page, stage.totalStageCount()))
    for (const auto& image : imagesOfPage(stage, next))
      if (wanted.insert(image).second) ahead.push_back(image);
  // Pictures still on stage (the page just turned away lives to the end of
  // the frame) are kept by the cache and go at a later settle.
  for (auto it = known_.begin(); it != known_.end();) {
    if (!wanted.count(*it) && cache->removeUnusedTextureForKey(ccRemoveHDSuffixFromFile(*it)))
      it = known_.erase(it);
    else
      ++it;
  }
  for (const auto& image : ahead) cache->prefetchImage(image);
  known_.insert(wanted.begin(), wanted.end());
}
