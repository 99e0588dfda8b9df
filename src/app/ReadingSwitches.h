#pragma once

// The reader's reading aids, kept in the preferences beside "Lan" and the
// sound switches: "FollowWords", "ReadMyself" and "AutoPlay" (read to me),
// each "on" or "off" (off when absent or unreadable). A preferences file that cannot be written
// keeps them for the session, with one warning.
class ReadingSwitches {
 public:
  static constexpr const char* kFollowWordsKey = "FollowWords";
  static constexpr const char* kReadMyselfKey = "ReadMyself";
  static constexpr const char* kAutoPlayKey = "AutoPlay";

  // Sets the aids to the stored switches; `followWords`, `readMyself` and
  // `autoPlay` (command-line options) turn one on for this run without storing it.
  static void restore(bool followWords, bool readMyself, bool autoPlay);
  // Flips one aid and stores it. Answers the new state, true for on.
  static bool toggleFollowWords();
  static bool toggleReadMyself();
  static bool toggleAutoPlay();
};
