#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lmSentences.h"
#include "lmWordTimings.h"

class lumoWorld;

// Sentence by sentence: when the reader has it on, a page's narration is read
// one sentence of its panel at a time, each from its first word's start in
// the `.words` file to the next sentence's; after each, the next sentence is
// hinted in the panel and waits for a tap on the panel, or Enter. The repeat
// button and the figure hint come after the last sentence, as after a whole
// narration; the repeat button starts again from the first sentence.
class lumoSentenceReading {
 public:
  enum class PartEnd { kNotASentence, kNextWaits, kLastRead };

  explicit lumoSentenceReading(lumoWorld& world) : world_(world) {}

  // Reads the page's first sentence instead of its whole narration; false
  // when the aid is off or the page cannot be read so (no panel, no timings).
  bool readFromFirst();
  // Reads the sentence that waits; false when none does.
  bool readNext();
  // A main-channel recording ended by itself (`part`: a part of it). Answers
  // whether its end counts as a whole recording's for the panel (the repeat
  // button, the hint): not a word's, nor a sentence's with more to come, nor
  // a figure's line while the page's sentences are read.
  bool recordingEnded(bool part);
  // A part of the main channel's recording ended by itself: was it a sentence, and the last?
  PartEnd partEnded();
  // Switched off while a sentence waits: the page is as after its narration.
  void aidsChanged();
  // The panel goes, or the aid is switched off: nothing more is read or waits.
  void stop();
  // Shows the waiting sentence in its hint colour again (after a word lit over it).
  void hintNext();

  // A sentence waits for the reader.
  bool waiting() const { return waiting_; }
  // Reading has begun and its last sentence is still to come.
  bool midPage() const;
  // Whether word `index` of the panel's text is in the sentence that waits.
  bool inNextSentence(int index) const;
  // The sentence last read, from 0, while reading sentence by sentence; -1 otherwise.
  int sentenceIndex() const;
  // The panel's sentences once reading has begun (empty before).
  const std::vector<lmSentences::Sentence>& sentences() const { return sentences_; }

 private:
  bool prepare();
  void otherSoundEnded();
  void read(std::size_t index);

  lumoWorld& world_;
  std::string narration_;
  std::string path_;  // the file heard: the book's recording or the own one
  std::optional<lmWordTimings> timings_;
  std::vector<lmSentences::Sentence> sentences_;
  double length_ = 0;
  int index_ = -1;
  bool waiting_ = false;
  std::uint64_t sound_ = 0;
};
