#pragma once
#include <optional>

#include "lmReadingPace.h"

// The reader's reading aids, kept in the preferences beside "Lan" and the
// sound switches: "FollowWords", "ReadMyself", "AutoPlay" (read to me) and
// "BySentence", each "on" or "off" (off when absent or unreadable), and
// "Pace", "slow", "normal" or "fast" (normal when absent or unreadable). A
// preferences file that cannot be written keeps them for the session, with
// one warning.
class ReadingSwitches {
 public:
  static constexpr const char* kFollowWordsKey = "FollowWords";
  static constexpr const char* kReadMyselfKey = "ReadMyself";
  static constexpr const char* kAutoPlayKey = "AutoPlay";
  static constexpr const char* kBySentenceKey = "BySentence";
  static constexpr const char* kPaceKey = "Pace";

  // Sets the aids to the stored switches; `followWords`, `readMyself`,
  // `autoPlay` and `bySentence` (command-line options) turn one on, and `pace`
  // sets the pace, for this run without storing it.
  static void restore(bool followWords, bool readMyself, bool autoPlay = false,
                      bool bySentence = false, std::optional<lmReadingPace> pace = std::nullopt);
  // Flips one aid and stores it. Answers the new state, true for on.
  static bool toggleFollowWords();
  static bool toggleReadMyself();
  static bool toggleAutoPlay();
  static bool toggleBySentence();
  // One step slower or faster, stored; the voices take it from their next
  // recording on. Answers the new pace.
  static lmReadingPace slowerPace();
  static lmReadingPace fasterPace();
};
