#include "lumoReaderFeatures.h"

#include "CCTouchDispatcher.h"
#include "EventLog.h"
#include "lmReadingAids.h"
#include "lumoWorld.h"

lumoReaderFeatures::lumoReaderFeatures(lumoWorld& world)
    : world_(world),
      navigator_({[this](int page) { jumps_.request(page); }, [this] { navigatorChanged(); }}),
      view_([this] { return overlayHost_ ? overlayHost_() : nullptr; }),
      jumps_({[this] { return world_.turns().dragsLocked(); },
              [this] { return world_.turns().page(); }, [this](int page) { go(page); }}),
      resume_(world.stage()->totalStageCount()),
      readToMe_({[this](double seconds) {
                   world_.performSelector(SELECTOR(lumoWorld::autoTurnDue), seconds);
                 },
                 [this] {
                   NSObject::cancelPreviousPerformRequestsWithTarget(
                       &world_, SELECTOR(lumoWorld::autoTurnDue));
                 },
                 [this] { turnByReadToMe(); }}),
      continue_(world) {
  readToMe_.setOn(lmReadingAids::shared().turnsPages());
}

lumoReaderFeatures::~lumoReaderFeatures() {
  view_.hide();
}

bool lumoReaderFeatures::isLastPage(std::int32_t page) const {
  return page == world_.stage()->totalStageCount();
}

bool lumoReaderFeatures::isSilent(std::int32_t page) const {
  return world_.genStageSoundWithIndex(page) == kKstNil;
}

// MARK: what happens to the book

void lumoReaderFeatures::firstPageShown(std::int32_t page) {
  resume_.pageSettled(page, false);
  if (resume_.isStoryPage(page)) world_.addHome();
  readToMe_.pageSettled(isLastPage(page), isSilent(page));
  // Beside the language menu, which joins the cover once set-up has finished.
  if (page == 1 && resume_.storedPage())
    world_.performSelector(SELECTOR(lumoWorld::addContinueButton), 0.0);
}

void lumoReaderFeatures::addContinueButton() {
  if (const std::optional<int> page = resume_.storedPage())
    if (world_.turns().page() == 1) continue_.add(*page);
}

void lumoReaderFeatures::pageSettled() {
  const std::int32_t page = world_.turns().page();
  // A jump may land past page 2, where the home button comes in reading.
  if (jumped_ && resume_.isStoryPage(page)) world_.addHome();
  jumped_ = false;
  resume_.pageSettled(page, true);
  readToMe_.pageSettled(isLastPage(page), isSilent(page));
  // Last: it may start the jump that waited for this turn.
  jumps_.settled();
}

void lumoReaderFeatures::pageLeft() {
  if (world_.turns().page() != 1) return;
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_,
                                                    SELECTOR(lumoWorld::addContinueButton));
  continue_.remove();
}

void lumoReaderFeatures::narrationPlayed(bool started) {
  if (started) {
    readToMe_.narrationStarted();
  } else if (!isSilent(world_.turns().page())) {
    readToMe_.narrationFailed();
  }
}

void lumoReaderFeatures::recordingEnded(KstRecordingKind kind) {
  if (kind == KstRecordingKind::kNarration) readToMe_.narrationEnded();
}

void lumoReaderFeatures::readingAidsChanged() {
  readToMe_.setOn(lmReadingAids::shared().turnsPages());
}

// MARK: the page navigator

void lumoReaderFeatures::toggleNavigator() {
  if (navigator_.isOpen()) {
    navigator_.close();
  } else if (world_.ownVoice().isBusy()) {
    // The page holds still while the reader records it.
    EventLog::log("navigator", "refused while recording");
  } else {
    navigator_.open(world_.stage()->totalStageCount(), world_.turns().page());
  }
}

void lumoReaderFeatures::navigatorChanged() {
  if (const lumoNavigatorStrip* strip = navigator_.strip()) {
    view_.show(*strip, world_.turns().page(),
               world_.turns().language() == lmStageInfo::kLangEnglish);
  } else {
    view_.hide();
  }
}

bool lumoReaderFeatures::touchTaken(GLuint touchType, CGPoint point, CGSize layer) {
  if (touchType == kCCTouchBegan) {
    readToMe_.readerActed();
    touchToNavigator_ = navigator_.isOpen();
  }
  if (!touchToNavigator_) return false;
  // The layer is the picture: its points to the picture's pixels, origin top left.
  const float x = layer.width > 0 ? point.x * lumoNavigatorStrip::kPictureWidth / layer.width : 0;
  const float y = layer.height > 0
                      ? (layer.height - point.y) * lumoNavigatorStrip::kPictureHeight / layer.height
                      : 0;
  switch (touchType) {
    case kCCTouchBegan:
      navigator_.touchBegan(x, y);
      break;
    case kCCTouchMoved:
      navigator_.touchMoved(x, y);
      break;
    case kCCTouchEnded:
      touchToNavigator_ = false;
      navigator_.touchEnded(x, y);
      break;
    default:
      touchToNavigator_ = false;
      navigator_.touchCancelled();
      break;
  }
  return true;
}

// MARK: going to a page

bool lumoReaderFeatures::continueTapped(CC3Node*) {
  const std::int32_t page = continue_.page();
  if (page == 0) return false;
  requestJump(page);
  return true;
}

void lumoReaderFeatures::go(int page) {
  const std::int32_t from = world_.turns().page();
  readToMe_.turnStarted();
  // Leaving the cover: the drag hint has no use any more.
  if (from == 1)
    NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::addHelpAlert));
  world_.dismissAsideWithAnimation(false);
  world_.turns().jumpTo(page);
  KstSound::shared()->cancelSound();
  // A page's own sound stops; the page that has one starts it when it settles.
  KstSound::shared()->cancelSpecialSound();
  jumped_ = true;
  if (page > from) {
    world_.stageUpAnimationWithStageIndex(page);
  } else {
    world_.stageDownAnimationWithStageIndex(page);
  }
}

// MARK: read to me

void lumoReaderFeatures::turnByReadToMe() {
  if (world_.turns().dragsLocked()) return;
  world_.turnBy(lumoTurn::kForward, lumoTurnBy::kReadToMe);
}
