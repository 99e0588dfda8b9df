#include "lumoLanguageTitles.h"

#include "CC3Actions.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "lumoNodeActions.h"
#include "lumoWorld.h"

namespace {
struct Titles {
  std::int32_t language;
  const char* cover;
  const char* closing;
};
constexpr Titles kTitles[] = {
    {lmStageInfo::kLangRussian, "s1layer3-cn", "s18layer2-cn"},
    {lmStageInfo::kLangEnglish, "s1layer5-cn", "s18layer3-cn"},
};
constexpr float kClosingTitleDepth = -130;
constexpr float kRiseOutOfSight = 100;
constexpr ccSeconds kTitleMove = 0.5f;
constexpr double kNarrationDelay = 1.0;

const Titles* titlesOf(std::int32_t language) {
  for (const Titles& titles : kTitles)
    if (titles.language == language) return &titles;
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
}  // namespace

const char* lumoLanguageTitles::coverTitle(std::int32_t language) {
  const Titles* titles = titlesOf(language);
  return titles ? titles->cover : nullptr;
}

const char* lumoLanguageTitles::closingTitle(std::int32_t language) {
  const Titles* titles = titlesOf(language);
  return titles ? titles->closing : nullptr;
}

std::int32_t lumoLanguageTitles::otherLanguage(std::int32_t language) {
  return language == lmStageInfo::kLangEnglish ? lmStageInfo::kLangRussian
                                               : lmStageInfo::kLangEnglish;
}

void lumoLanguageTitles::sink(const char* name, Selector<> followUp, float depth) {
  CC3Node* title = name ? world_.currentGroundChild(name) : nullptr;
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
  CC3Node* title = world_.currentGroundChild(name);
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
  for (const Titles& titles : kTitles)
    if (CC3Node* node = world_.currentGroundChild(titles.closing)) node->setVisible(false);
}

void lumoLanguageTitles::raiseCoverTitle(std::int32_t from, Selector<> finish) {
  CC3Node* title = world_.currentGroundChild(coverTitle(from));
  if (!title) return;
  raisedFrom_ = title->location();
  auto rise = CC3MoveBy::actionWithDuration(kTitleMove, {0, 0, kRiseOutOfSight});
  auto then = CCCallFunc::actionWithTarget(&world_, finish);
  title->runAction(CCSequence::actionOne(rise.get(), then.get()).get());
}

void lumoLanguageTitles::hideCoverTitle(std::int32_t language) {
  if (CC3Node* title = world_.currentGroundChild(coverTitle(language))) title->setVisible(false);
}

void lumoLanguageTitles::lowerCoverTitle(std::int32_t language) {
  CC3Node* title = world_.currentGroundChild(coverTitle(language));
  if (!title) return;
  title->stopAllActions();
  title->setLocation({raisedFrom_.x, raisedFrom_.y, raisedFrom_.z + kRiseOutOfSight});
  title->setVisible(true);
  auto lower = CC3MoveBy::actionWithDuration(kTitleMove, {0, 0, -kRiseOutOfSight});
  auto tilt = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto back = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  title->runAction(CCSequence::actions({lower.get(), tilt.get(), back.get()}).get());
}
