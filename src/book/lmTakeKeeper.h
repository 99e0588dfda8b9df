#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "lmVoiceTake.h"

class lmOwnVoiceStore;

// What becomes of a finished recording of a page's narration: refused when it
// holds too little speech, else trimmed and levelled, encoded as Ogg Vorbis,
// its words timed from its speech, and kept in place of the narration's
// earlier own recording. Takes a few hundred milliseconds for a long take:
// the caller chooses the thread; nothing here touches the book's objects.
class lmTakeKeeper {
 public:
  enum class Outcome { Kept, TooShort, NotEncoded, NotWritten };

  struct Request {
    std::vector<std::int16_t> heard;
    int sampleRate = 0;
    std::string text;  // the narration read aloud, for its words
    std::int32_t language = 0;
    std::string name;  // the recording it stands in for
  };
  struct Result {
    Outcome outcome = Outcome::NotWritten;
    lmVoiceTake::Figures figures;
    std::size_t bytes = 0;
    std::string error;  // why it was not kept, for the log
  };

  static Result keep(Request request, lmOwnVoiceStore& store);
};
