#pragma once
#include <string>
#include <vector>

#include "lmSpeechActivity.h"

// When each word of a narration starts in a reader's own recording of it,
// from the recording's speech alone: the speech is split at its pauses, the
// words are shared out over those stretches so that each stretch's share of
// the syllables follows its share of the speaking time (a pause after a
// comma or a full stop is the likeliest place for one), and within a stretch
// the words are spread by their length: their syllables, and their letters at
// half a syllable each.
class lmOwnVoiceWords {
 public:
  // A pause at least this long can part two words.
  static constexpr double kShortestPause = 0.12;

  // Vowel groups of a word (Latin or Cyrillic letters), at least 1.
  static int syllables(const std::string& word);

  // One start in seconds for each word of `text` (lmWordTimings' words), in
  // order; empty when the recording holds no speech or the text no word.
  static std::vector<double> starts(const lmSpeechActivity& activity, const std::string& text);

  // The recording's ".words" file: a line per word, its start, a tab, the word.
  static std::string wordsFile(const std::vector<double>& starts, const std::string& text);
};
