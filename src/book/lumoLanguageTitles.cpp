#include "lumoLanguageTitles.h"

#include "CC3Actions.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "KstStory.h"
#include "lumoNodeActions.h"
#include "lumoWorld.h"

namespace {
constexpr std::int32_t kLanguages[] = {lmStageInfo::kLangRussian, lmStageInfo::kLangEnglish};
constexpr float kClosingTitleDepth = -130;
constexpr float kRiseOutOfSight = 100;
constexpr ccSeconds kTitleMove = 0.5f;
constexpr double kNarrationDelay = 1.0;

bool pageShows(const KstStoryPage& page, const std::string& identifier) {
  for (const std::string& line : page.layout)
    if (line.size() > identifier.size() && line.compare(0, identifier.size(), identifier) == 0 &&
        line[identifier.size()] == '+')
      return true;
  return false;
}

// The book's first title picture in `language` that stands on `page`, or null.
const char* titleOnPage(std::size_t page, std::int32_t language) {
  const std::vector<KstStoryPage>& pages = kstStoryPages();
  if (page < 1 || page > pages.size()) return nullptr;
  for (const KstStoryTitle& title : kstStoryTitles())
    if (title.language == language && pageShows(pages[page - 1], title.identifier))
      return title.identifier.c_str();
  return nullptr;
}

Selector<> coverArrival(std::int32_t language) {
  return language == lmStageInfo::kLangEnglish ? SELECTOR(lumoWorld::beginCnShouldAnimation)
                                               : SELECTOR(lumoWorld::beginEnShouldAnimation);
}

Selector<> closingArrival(std::int32_t language) {
  return language == lmStageInfo::kLangEnglish ? SELECTOR(lumoWorld::endCnShouldAnimation)
                                               : SELECTOR(lumoWorld::endEnShouldAnimation);
}
// A book may have no title picture in a language: nothing to move then.
CC3Node* titleNode(lumoWorld& world, const char* name) {
  return name ? world.currentGroundChild(name) : nullptr;
}
}  // namespace

const char* lumoLanguageTitles::coverTitle(std::int32_t language) {
  return titleOnPage(1, language);
}

const char* lumoLanguageTitles::closingTitle(std::int32_t language) {
  return titleOnPage(kstStoryPages().size(), language);
}

std::int32_t lumoLanguageTitles::otherLanguage(std::int32_t language) {
  return language == lmStageInfo::kLangEnglish ? lmStageInfo::kLangRussian
                                               : lmStageInfo::kLangEnglish;
}

void lumoLanguageTitles::sink(const char* name, Selector<> followUp, float depth) {
  CC3Node* title = titleNode(world_, name);
  if (!title) return;
  title->setVisible(true);
  auto move = CC3MoveBy::actionWithDuration(kTitleMove, {0, 0, depth});
  auto then = CCCallFunc::actionWithTarget(&world_, followUp);
  title->runAction(CCSequence::actionOne(move.get(), then.get()).get());
}

void lumoLanguageTitles::sinkCoverTitle(float depth) {
  const std::int32_t language = world_.turns().language();
  sink(coverTitle(language), coverArrival(language), depth);
}

void lumoLanguageTitles::sinkClosingTitle() {
  const std::int32_t language = world_.turns().language();
  sink(closingTitle(language), closingArrival(language), kClosingTitleDepth);
}

bool lumoLanguageTitles::nod(const char* name) {
  CC3Node* title = titleNode(world_, name);
  if (!title) return false;
  lumoNodeActions::rock(title);
  return true;
}

void lumoLanguageTitles::coverTitleArrived(std::int32_t language) {
  if (nod(coverTitle(language)))
    world_.performSelector(SELECTOR(lumoWorld::playAsideSound), kNarrationDelay);
}

void lumoLanguageTitles::closingTitleArrived(std::int32_t language) {
  nod(closingTitle(language));
}

void lumoLanguageTitles::hideClosingTitles() {
  for (std::int32_t language : kLanguages) {
    const char* closing = closingTitle(language);
    if (CC3Node* node = titleNode(world_, closing)) node->setVisible(false);
  }
}

void lumoLanguageTitles::raiseCoverTitle(std::int32_t from, Selector<> finish) {
  CC3Node* title = titleNode(world_, coverTitle(from));
  if (!title) return;
  raisedFrom_ = title->location();
  auto rise = CC3MoveBy::actionWithDuration(kTitleMove, {0, 0, kRiseOutOfSight});
  auto then = CCCallFunc::actionWithTarget(&world_, finish);
  title->runAction(CCSequence::actionOne(rise.get(), then.get()).get());
}

void lumoLanguageTitles::hideCoverTitle(std::int32_t language) {
  if (CC3Node* title = titleNode(world_, coverTitle(language))) title->setVisible(false);
}

void lumoLanguageTitles::lowerCoverTitle(std::int32_t language) {
  CC3Node* title = titleNode(world_, coverTitle(language));
  if (!title) return;
  title->stopAllActions();
  title->setLocation({raisedFrom_.x, raisedFrom_.y, raisedFrom_.z + kRiseOutOfSight});
  title->setVisible(true);
  auto lower = CC3MoveBy::actionWithDuration(kTitleMove, {0, 0, -kRiseOutOfSight});
  auto tilt = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto back = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  title->runAction(CCSequence::actions({lower.get(), tilt.get(), back.get()}).get());
}
