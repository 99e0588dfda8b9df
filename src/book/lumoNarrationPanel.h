#pragma once
#include <string>

#include "CC3Billboard.h"
#include "CC3PlaneNode.h"
#include "KstSound.h"

class CCLabelTTF;
class lumoWorld;

// The narration panel of a page: it slides in after the page has come to
// rest, its recording starts a second later (or, read by myself, the reader
// reads first), and when the recording ends its repeat button pulses and one
// figure gets a dialogue hint. Leaving a page takes away what belongs to it.
class lumoNarrationPanel {
 public:
  static constexpr const char* kPanelName = "aside_bg";
  static constexpr const char* kRepeatName = "aside_repeat_highlighted";
  static constexpr const char* kDialogueHintName = "hint_dialogue";

  explicit lumoNarrationPanel(lumoWorld& world) : world_(world) {}

  // Builds and shows the current page's panel; its narration follows.
  void show();
  // Plays the current page's narration ("nil" and a missing recording start
  // nothing). Answers whether it started.
  bool playNarration();
  // Removes what belongs to the page being left: the panel, the cover's hint
  // and menu, the last page's menu and titles; and what it still had pending.
  void dismissPageControls(bool animated);
  // The panel goes at once, with its words lit, and nothing pending of it stays.
  void discard();
  // A recording ended: the button pulses; after a narration, a figure gets the hint.
  void recordingEnded(KstRecordingKind kind);
  // A tap on the repeat button: it nods, hides, and the narration plays again.
  bool repeatTapped(CC3Node* button);
  // The repeat button pulses: there is something new to hear.
  void offerRepeat() { pulseRepeatButton(); }

  // The panel's text label, or none.
  CCLabelTTF* textLabel();

 private:
  // A not opaque centred plane showing `name`.png, inverted as the book's pictures are.
  Ptr<CC3PlaneNode> makePlane(const std::string& name, CGSize size, GLuint tag);
  // The narration text as a billboard named `name`; `measured` gets the text's size.
  Ptr<CC3Billboard> makeText(const std::string& name, const std::string& text, CGSize& measured);
  void cancelPendingCalls();
  void remove();
  void pulseRepeatButton();
  void placeDialogueHint();

  lumoWorld& world_;
};
