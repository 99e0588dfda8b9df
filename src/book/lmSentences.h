#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "lmWordTimings.h"

// The sentences of a narration's text, as runs of its words (the words of
// lmWordTimings::wordSpans, so a sentence's words are lines of the
// recording's `.words` file). A sentence ends after a word followed by a full
// stop, a question or exclamation mark or an ellipsis, closing quotes and
// dashes around them or not, when the next word does not go on in lower case:
// «Прямо в лес!» — прочирикала она. is one sentence, as is
// hop, skip… and there he was!
class lmSentences {
 public:
  struct Sentence {
    std::size_t firstWord = 0, lastWord = 0;
    // Bytes of the text: the first word's opening marks to the last one's closing marks.
    std::size_t begin = 0, end = 0;
    bool operator==(const Sentence&) const = default;
  };

  static std::vector<Sentence> split(const std::string& text);
  static std::vector<Sentence> split(const std::string& text,
                                     const std::vector<lmWordTimings::Span>& words);
};
