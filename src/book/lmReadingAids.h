#pragma once

// The reader's reading aids, all off unless switched on. Words lit: while
// a narration plays, its panel shows the word being read in a warm colour.
// Read by myself: a settled page shows its panel but keeps its narration until
// the repeat button asks for it. Read to me: each page turns by itself after
// its narration. With all off the book goes as it always has.
class lmReadingAids {
 public:
  static lmReadingAids& shared();

  bool followsWords() const { return followsWords_; }
  void setFollowsWords(bool on) { followsWords_ = on; }
  bool readsByMyself() const { return readsByMyself_; }
  void setReadsByMyself(bool on) { readsByMyself_ = on; }
  bool turnsPages() const { return turnsPages_; }
  void setTurnsPages(bool on) { turnsPages_ = on; }

 private:
  lmReadingAids() = default;
  bool followsWords_ = false;
  bool readsByMyself_ = false;
  bool turnsPages_ = false;
};
