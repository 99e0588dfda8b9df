#pragma once

// The reader's two sound switches on the book's sound player, kept in the
// preferences beside "Lan": "Music" and "Voices", each "on" or "off" (on when
// absent or unreadable). A preferences file that cannot be written keeps them
// for the session, with one warning.
class SoundSwitches {
 public:
  static constexpr const char* kMusicKey = "Music";
  static constexpr const char* kVoicesKey = "Voices";

  // Sets the sound player to the stored switches; `mute` turns both off for
  // this run without storing it.
  static void restore(bool mute);
  // Flips one switch and stores it. Answers the new state, true for on.
  static bool toggleMusic();
  static bool toggleVoices();
};
