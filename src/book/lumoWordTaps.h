#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CGGeometry.h"
#include "NSStringDrawing.h"

class lumoWorld;

// Tap a word: while a story page's panel is shown and no narration or
// sentence is playing, a tap on a word of the panel plays that word from the
// page's recording (from its start in the `.words` file to the next word's,
// lmWordTimings::kEdge wider either side, faded in and out) and lights it in
// the lit words' amber while it plays. Whatever stops a narration (a figure's
// line, a turn, the repeat button) stops the word.
class lumoWordTaps {
 public:
  // A word of the panel's text where it is seen, in the picture's pixels from
  // its top-left corner (the coordinates of a script's `tap`).
  struct Word {
    int index = 0;
    std::string text;
    CGRect rect{};
  };

  explicit lumoWordTaps(lumoWorld& world) : world_(world) {}

  // Every word of the panel's text, in reading order; empty without a panel.
  std::vector<Word> words();
  // The word under a point of the picture, -1 for none; whether the point is on the panel.
  int wordAt(CGPoint picturePoint);
  bool panelContains(CGPoint picturePoint);
  // Plays word `index` when nothing of the narration is being read; true when it does.
  bool play(int index);
  // A tap ended at a point of the layer (points, y up): on a word, it plays
  // it; on the sentence that waits, or on the panel around the words, it
  // reads that sentence. True when the tap was the panel's.
  bool tapped(CGPoint layerPoint);

  // The main channel's sound ended by itself: the word's light goes if it was ours.
  void soundEnded();
  // The word's time is over (a delayed call): its light goes unless it still plays.
  void timeUp();
  // The panel goes: the light and what is pending with it.
  void stop();

  // The word lit by a tap, from 0; -1 when none is.
  int litWord() const { return lit_; }

 private:
  bool narrationPlaying() const;
  void unlight();

  lumoWorld& world_;
  int lit_ = -1;
  TextRange litRange_;
  std::uint64_t sound_ = 0;
};
