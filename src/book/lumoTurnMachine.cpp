#include "lumoTurnMachine.h"

#include "EventLog.h"
#include "NSUserDefaults.h"

namespace {
const char* const kLanguageKey = lmStageInfo::kLanguageDefaultsKey;
}  // namespace

const char* lumoTurnName(lumoTurn turn) {
  return turn == lumoTurn::kForward ? "forward" : "back";
}

lumoTurnMachine::lumoTurnMachine(std::int32_t pageCount)
    : info_(lmStageInfo::stageInfo()), pageCount_(pageCount) {}

void lumoTurnMachine::setLockListener(std::function<void(bool)> listener) {
  lockListener_ = std::move(listener);
}

void lumoTurnMachine::takeLock() {
  turning_ = true;
  if (lockListener_) lockListener_(true);
  info_->setLockDrag(true);
  info_->setCanAccelerometer(false);
}

void lumoTurnMachine::releaseLock() {
  turning_ = false;
  if (lockListener_) lockListener_(false);
  info_->setLockDrag(false);
  info_->setCanAccelerometer(true);
}

void lumoTurnMachine::refuseLocked(lumoTurn turn) const {
  EventLog::log("turn", std::string("refused ") + lumoTurnName(turn) + " on page " +
                            std::to_string(page()) + ": locked");
}

std::optional<std::int32_t> lumoTurnMachine::requestTurn(lumoTurn turn, lumoTurnBy by) {
  EventLog::log("turn", std::string("requested ") + lumoTurnName(turn) + " from page " +
                            std::to_string(page()) +
                            (by == lumoTurnBy::kReadToMe ? " (auto)" : ""));
  takeLock();
  const bool forward = turn == lumoTurn::kForward;
  if (forward ? page() + 1 > pageCount_ : page() < 2) {
    EventLog::log("turn", std::string("refused ") + lumoTurnName(turn) + " on page " +
                              std::to_string(page()) + ": no page there");
    releaseLock();
    return std::nullopt;
  }
  return forward ? page() + 1 : page() - 1;
}

void lumoTurnMachine::turnTo(std::int32_t page) {
  info_->setCurStageIndex(page);
}

void lumoTurnMachine::jumpTo(std::int32_t page) {
  // A drag during the jump must not start a second turn over it.
  takeLock();
  EventLog::log("jump",
                "from page " + std::to_string(this->page()) + " to page " + std::to_string(page));
  info_->setCurStageIndex(page);
}

bool lumoTurnMachine::jumpUnlessTurning(std::int32_t page) {
  if (turning_) {
    EventLog::log("jump", "refused to page " + std::to_string(page) + " on page " +
                              std::to_string(this->page()) + ": locked");
    return false;
  }
  jumpTo(page);
  return true;
}

void lumoTurnMachine::settled() {
  releaseLock();
  EventLog::log("page", "settled " + std::to_string(page()));
}

void lumoTurnMachine::creditsOpened() {
  info_->setLockDrag(true);
}

void lumoTurnMachine::creditsClosed() {
  info_->setLockDrag(false);
}

bool lumoTurnMachine::figureStarts(const std::string& figure) {
  if (!figuresReady_) return false;
  figuresReady_ = false;
  info_->setNormalElementInTouch(figure);
  return true;
}

void lumoTurnMachine::figureStoppedMoving() {
  info_->setNormalElementInTouch("");
}

void lumoTurnMachine::restoreLanguage() {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  if (defaults.hasKey(kLanguageKey)) {
    info_->setCurLangTag(static_cast<std::int32_t>(defaults.integerForKey(kLanguageKey)));
  } else {
    defaults.setObject(std::to_string(lmStageInfo::kLangRussian), kLanguageKey);
    defaults.synchronize();
  }
}

void lumoTurnMachine::changeLanguage(std::int32_t language) {
  info_->setCurLangTag(language);
  EventLog::log("language", "changed to " + std::to_string(language));
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  const std::string value = std::to_string(language);
  defaults.setObject(value, kLanguageKey);
  defaults.synchronize();
  EventLog::log("language", std::string("stored ") + kLanguageKey + "=" + value);
}
