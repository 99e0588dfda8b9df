#pragma once
#include <functional>

// Read to me: when a page's narration has ended, the page turns forward by
// itself a moment later, up to the ending page, where it stops. A page with
// no narration (the cover in the Russian reading) turns after a longer look.
// A touch or a key of the reader's pauses the turning on that page until a
// narration that starts after it has ended (a repeat, or the next page's).
class lumoReadToMe {
 public:
  static constexpr double kAfterNarration = 2.0;
  static constexpr double kOnSilentPage = 4.0;

  struct Hooks {
    std::function<void(double seconds)> schedule;  // calls due() after that long
    std::function<void()> cancel;                  // the scheduled call is dropped
    std::function<void()> turn;                    // requests the automatic forward turn
  };
  explicit lumoReadToMe(Hooks hooks) : hooks_(std::move(hooks)) {}

  void setOn(bool on);
  bool isOn() const { return on_; }
  bool isWaiting() const { return waiting_; }
  bool isPaused() const { return paused_; }

  // A page has come to rest. `silent`: it has no narration to wait for.
  void pageSettled(bool lastPage, bool silent);
  void narrationStarted();
  // The narration played to its end (heard or silenced).
  void narrationEnded();
  // The narration could not start (no recording): the page counts as silent.
  void narrationFailed();
  // A touch or a key of the reader's.
  void readerActed();
  // Any turn or jump has begun: the page is being left.
  void turnStarted();
  // The scheduled call.
  void due();

 private:
  void rest(double seconds);
  void wait(double seconds);
  void stopWaiting();

  Hooks hooks_;
  bool on_ = false;
  bool paused_ = false;
  bool heardSincePause_ = false;
  bool resting_ = false;  // settled and its narration over: it may turn
  bool lastPage_ = false;
  bool waiting_ = false;
  double restFor_ = kAfterNarration;
};
