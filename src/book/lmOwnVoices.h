#pragma once
#include <cstdint>
#include <string>

#include "lmOwnVoiceStore.h"

// The reader's own voices for this run: where they are kept (the program
// sets the folder at start) and whether they are heard (`--no-own-voices`
// reads with the book's voices for one run, keeping them all).
class lmOwnVoices {
 public:
  static lmOwnVoices& shared();

  void setFolder(const std::string& folder) { store_ = lmOwnVoiceStore(folder); }
  lmOwnVoiceStore& store() { return store_; }
  bool areHeard() const { return heard_; }
  void setHeard(bool heard) { heard_ = heard; }

  // The own recording heard in place of `name` in `language`; empty when the
  // book's own is heard.
  std::string recordingHeardFor(std::int32_t language, const std::string& name) const;

 private:
  lmOwnVoices() = default;
  lmOwnVoiceStore store_{""};
  bool heard_ = true;
};
