#pragma once
#include <optional>
#include <string>
#include <vector>

#include "lmWordTimings.h"

class CCLabelTTF;
class lumoWorld;

// Words lit: while the page's narration plays, the panel's text shows the word
// being read, as the sound's own position says; one delayed step a word
// (lumoWorld::followWords, so that a world that goes takes its steps along).
class lumoLitWords {
 public:
  explicit lumoLitWords(lumoWorld& world) : world_(world) {}

  // Starts on the narration playing now, when the aid is on and timings fit.
  void start();
  void stop();
  // The next step.
  void follow();
  // The aid was switched.
  void aidsChanged();

  // The word lit, from 0; -1 when none is.
  int litWord() const { return litWord_; }
  // The narration whose words are followed; empty when none is.
  const std::string& followedNarration() const { return followedNarration_; }

 private:
  void light(CCLabelTTF* label, int index);

  lumoWorld& world_;
  std::optional<lmWordTimings> wordTimings_;
  std::vector<lmWordTimings::Span> wordSpans_;
  std::string followedNarration_;
  int litWord_ = -1;
};
