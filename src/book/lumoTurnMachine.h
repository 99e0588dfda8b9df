#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "lmStageInfo.h"

// The two ways a page turns; the values are the ones the turn requests take.
enum class lumoTurn : std::int32_t { kForward = 0, kBack = 1 };
// Who asks for a turn: the reader (drag, key, wheel) or read to me.
enum class lumoTurnBy { kReader, kReadToMe };

// The reading state and its transitions: the page on stage, the reading
// language, the turn lock and whether a figure may start speaking. Everything
// that changes these goes through a named transition here; the world and its
// parts only read them.
//
//   idle --requestTurn / jumpTo--> turning --settled--> idle
//   idle --creditsOpened--> drags locked --creditsClosed--> idle
//   figures ready --figureStarts--> speaking --recordingEnded--> ready
class lumoTurnMachine {
 public:
  explicit lumoTurnMachine(std::int32_t pageCount);

  lmStageInfo* info() const { return info_.get(); }
  std::int32_t page() const { return info_->curStageIndex(); }
  std::int32_t language() const { return info_->curLangTag(); }
  std::int32_t pageCount() const { return pageCount_; }
  bool isLastPage() const { return page() == pageCount_; }

  // MARK: the turn lock
  // Told each time the turn lock is taken (true) or released (false).
  void setLockListener(std::function<void(bool locked)> listener);
  void takeLock();
  void releaseLock();
  // Whether drags and turn keys are refused now.
  bool dragsLocked() const { return info_->lockDrag(); }
  bool tiltAllowed() const { return info_->canAccelerometer(); }
  // A drag step that came while locked.
  void refuseLocked(lumoTurn turn) const;

  // MARK: turns
  // Takes the lock and answers the page a turn would reach, or none at the
  // book's ends (the lock is released again at once).
  std::optional<std::int32_t> requestTurn(lumoTurn turn, lumoTurnBy by = lumoTurnBy::kReader);
  // The turn has left the old page: `page` is now the page on stage.
  void turnTo(std::int32_t page);
  // A jump straight to `page` (home, replay): through the turn lock, as a turn.
  void jumpTo(std::int32_t page);
  // A jump a control asks for: refused while the turn lock is held (a turn, a
  // jump, a recording), as a control's pick arrives frames after its tap, when
  // a key may have started a turn already. The credits' lock does not refuse it.
  bool jumpUnlessTurning(std::int32_t page);
  // The incoming page has come to rest: the lock goes.
  void settled();

  // MARK: the credits screen locks drags while it shows
  void creditsOpened();
  void creditsClosed();

  // MARK: figures
  bool figuresReady() const { return figuresReady_; }
  void setFiguresReady(bool ready) { figuresReady_ = ready; }
  // A tap on `figure`: true when it may speak; then no other may until its line ends.
  bool figureStarts(const std::string& figure);
  // The figure said nothing after all (no line, or it could not play).
  void figureStaysSilent() { figuresReady_ = true; }
  // Its rocking is over.
  void figureStoppedMoving();
  // Any main-channel recording has ended.
  void recordingEnded() { figuresReady_ = true; }

  // MARK: language
  // The stored language, or Russian (stored) when none is.
  void restoreLanguage();
  void changeLanguage(std::int32_t language);

 private:
  Ptr<lmStageInfo> info_;
  std::int32_t pageCount_;
  bool figuresReady_ = false;
  bool turning_ = false;  // the turn lock is held, not only the credits' drag lock
  std::function<void(bool)> lockListener_;
};

const char* lumoTurnName(lumoTurn turn);
