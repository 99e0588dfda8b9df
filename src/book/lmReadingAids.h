#pragma once
#include "ccTypes.h"
#include "lmReadingPace.h"

// The reader's reading aids, all off unless switched on. Words lit: while
// a narration plays, its panel shows the word being read in a warm colour.
// Read by myself: a settled page shows its panel but keeps its narration until
// the repeat button asks for it. Read to me: each page turns by itself after
// its narration. Sentence by sentence: the narration stops after each sentence
// until the reader asks for the next. The pace: how fast the voices read. With
// all off and the normal pace the book goes as it always has.
class lmReadingAids {
 public:
  static lmReadingAids& shared();

  // The word being read, or tapped, in a warm amber on the panel's dark ground.
  static constexpr ccColor3B kLitWordColour{255, 186, 64};

  bool followsWords() const { return followsWords_; }
  void setFollowsWords(bool on) { followsWords_ = on; }
  bool readsByMyself() const { return readsByMyself_; }
  void setReadsByMyself(bool on) { readsByMyself_ = on; }
  bool turnsPages() const { return turnsPages_; }
  void setTurnsPages(bool on) { turnsPages_ = on; }
  bool readsBySentence() const { return readsBySentence_; }
  void setReadsBySentence(bool on) { readsBySentence_ = on; }
  lmReadingPace pace() const { return pace_; }
  void setPace(lmReadingPace pace) { pace_ = pace; }

 private:
  lmReadingAids() = default;
  bool followsWords_ = false;
  bool readsByMyself_ = false;
  bool turnsPages_ = false;
  bool readsBySentence_ = false;
  lmReadingPace pace_;
};
