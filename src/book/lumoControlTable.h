#pragma once
#include <array>
#include <functional>
#include <optional>

#include "CC3Foundation.h"

class CC3Node;

// The book's controls: the nodes a tap runs an operation on. Each carries its
// tag; every other tapped node is a page figure.
enum class lumoControl {
  kRussian,          // language menu, "menu-btn1" and its highlighted image
  kEnglish,          // language menu, "menu-btn2" and its highlighted image
  kHome,             // "home-btn" and "home-btn-highlighted"
  kReplay,           // ending menu, "menu-end1"
  kCredits,          // ending menu, "menu-end2"
  kRepeatNarration,  // narration panel, "aside_repeat_highlighted"
  kPages,            // "pages-btn", beside the home button: opens the page navigator
  kContinue,         // the cover's "continue-btn": back to the page last read
  kRecordVoice,      // narration panel, "aside_record": the reader records the page
  kRecordingLight,   // "record_light", shown while recording: a tap ends it
};

// Where a tap on a control goes: each control's tag and the handler the world
// gave it.
class lumoControlTable {
 public:
  // Answers false when it does not take the tap: it falls to the figures then
  // (a language button of the language already read).
  using Handler = std::function<bool(CC3Node* control)>;
  // One past the last control: a control added after it must move this.
  static constexpr std::size_t kCount = static_cast<std::size_t>(lumoControl::kRecordingLight) + 1;

  static GLuint tagOf(lumoControl control);
  // The control carrying `tag`; none for any other tag.
  static std::optional<lumoControl> controlTagged(GLuint tag);

  void setHandler(lumoControl control, Handler handler);
  // Runs the handler of the control `node` is; false when it is no control or
  // its handler did not take the tap.
  bool dispatch(CC3Node* node) const;

 private:
  std::array<Handler, kCount> handlers_;
};
