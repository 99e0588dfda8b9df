#pragma once
#include <cstdint>
#include <functional>

#include "CCNode.h"
#include "KstSound.h"
#include "lumoContinueButton.h"
#include "lumoNavigatorView.h"
#include "lumoPageJump.h"
#include "lumoPageNavigator.h"
#include "lumoReadToMe.h"
#include "lumoResumeStore.h"

class lumoWorld;

// The reader's features beside the book's own parts: the page navigator and
// its look, the jump it and the cover's continue button make, the stored
// place to continue at, and read to me. The world tells this part what
// happens to the book (a page opens or settles, a narration starts or ends,
// the reader touches or presses a key) and it moves each feature on.
class lumoReaderFeatures {
 public:
  explicit lumoReaderFeatures(lumoWorld& world);
  ~lumoReaderFeatures();
  lumoReaderFeatures(const lumoReaderFeatures&) = delete;
  lumoReaderFeatures& operator=(const lumoReaderFeatures&) = delete;

  // Where the navigator is drawn: the book's layer.
  void setOverlayHost(std::function<CCNode*()> host) { overlayHost_ = std::move(host); }

  // MARK: what happens to the book
  // The page the book opens on is shown (not reached by reading).
  void firstPageShown(std::int32_t page);
  // A turn or a jump has come to rest.
  void pageSettled();
  // A page is left: what belongs to the cover goes with it.
  void pageLeft();
  // A turn or a jump has begun.
  void turnStarted() { readToMe_.turnStarted(); }
  // The page's narration was asked to play: `started`, or nothing could.
  void narrationPlayed(bool started);
  void recordingEnded(KstRecordingKind kind);
  // A key of the reader's; touches are seen by touchTaken().
  void readerPressedKey() { readToMe_.readerActed(); }
  void readingAidsChanged();
  void languageChanged() { continue_.languageChanged(); }

  // MARK: the page navigator
  bool navigatorIsOpen() const { return navigator_.isOpen(); }
  const lumoPageNavigator& navigator() const { return navigator_; }
  // G and the button beside the home button.
  void toggleNavigator();
  // A raw touch of the book's layer (its points, origin bottom left): true when
  // the navigator takes it, as it takes every touch that begins while it is open.
  bool touchTaken(GLuint touchType, CGPoint point, CGSize layer);
  bool navigatorKey(lumoPageNavigator::Key key) { return navigator_.keyPressed(key); }
  bool navigatorWheel(int notches) { return navigator_.wheel(notches); }

  // MARK: going to a page
  // Through the turn lock, as home goes home; made when a running turn settles.
  bool requestJump(std::int32_t page) { return jumps_.request(page); }
  std::optional<int> waitingJump() const { return jumps_.waiting(); }
  void addContinueButton();
  bool continueTapped(CC3Node* button);
  const lumoContinueButton& continueButton() const { return continue_; }

  // MARK: read to me
  const lumoReadToMe& readToMe() const { return readToMe_; }
  // The read-to-me turn that was waiting is due.
  void autoTurnDue() { readToMe_.due(); }

 private:
  void go(int page);
  void navigatorChanged();
  void turnByReadToMe();
  bool isSilent(std::int32_t page) const;
  bool isLastPage(std::int32_t page) const;

  lumoWorld& world_;
  std::function<CCNode*()> overlayHost_;
  lumoPageNavigator navigator_;
  lumoNavigatorView view_;
  lumoPageJump jumps_;
  lumoResumeStore resume_;
  lumoReadToMe readToMe_;
  lumoContinueButton continue_;
  bool touchToNavigator_ = false;
  bool jumped_ = false;
};
