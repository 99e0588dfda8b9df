#include "lmSentences.h"

namespace {
// The code point at `at` for the scripts the book is written in (one or two
// bytes); anything longer or broken answers 0, neither lower nor upper case.
char32_t codePointAt(const std::string& text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return lead;
  if ((lead & 0xE0) != 0xC0 || at + 1 >= text.size()) return 0;
  const auto next = static_cast<unsigned char>(text[at + 1]);
  if ((next & 0xC0) != 0x80) return 0;
  return (char32_t(lead & 0x1F) << 6) | (next & 0x3F);
}

// Latin, Latin-1, Greek and Cyrillic small letters.
bool isLowerCase(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7) ||
         (c >= 0x3AC && c <= 0x3CE) || (c >= 0x430 && c <= 0x45F);
}

bool hasFinalMark(const std::string& marks) {
  return marks.find_first_of(".!?") != std::string::npos ||
         marks.find("\u2026") != std::string::npos;
}

// English speech closed after its own final mark, with nothing opened after
// it (“What about the star?” Ryzhik reminded him.).
bool speechCloses(const std::string& marks) {
  const std::size_t closing = marks.rfind("\u201d");
  return closing != std::string::npos && hasFinalMark(marks.substr(0, closing)) &&
         marks.find_first_not_of(" \t\n", closing + 3) == std::string::npos;
}

// The marks after word i: to the next word, or to the end of the text.
std::string marksAfter(const std::string& text, const std::vector<lmWordTimings::Span>& words,
                       std::size_t i) {
  const std::size_t next = i + 1 < words.size() ? words[i + 1].begin : text.size();
  return text.substr(words[i].end, next - words[i].end);
}

// English speech goes on with whoever said it when a short clause of at most
// kSaidWords words ends there ("Ryzhik reminded him."); a longer one is a
// sentence of its own. Russian speech is followed by a dash for that («…?» — напомнил).
constexpr std::size_t kSaidWords = 3;
bool saidFollows(const std::string& text, const std::vector<lmWordTimings::Span>& words,
                 std::size_t i) {
  for (std::size_t k = i + 1; k < words.size() && k <= i + kSaidWords; ++k)
    if (hasFinalMark(marksAfter(text, words, k))) return true;
  return false;
}

// An ASCII space or the first byte of a no-break space.
bool isSpaceAt(const std::string& text, std::size_t at) {
  const char c = text[at];
  if (c == ' ' || (c >= '\t' && c <= '\r')) return true;
  return text.compare(at, 2, "\u00a0") == 0;
}

// The opening marks of a word ("«Рыжик" from its "Р") and the closing ones
// ("лес!»" to its "»"): up to the space around its run of characters.
std::size_t runBegin(const std::string& text, std::size_t wordBegin, std::size_t floor) {
  std::size_t at = wordBegin;
  auto spaceBefore = [&](std::size_t i) {
    return isSpaceAt(text, i - 1) || (i >= floor + 2 && text.compare(i - 2, 2, "\u00a0") == 0);
  };
  while (at > floor && !spaceBefore(at)) --at;
  return at;
}

std::size_t runEnd(const std::string& text, std::size_t wordEnd, std::size_t ceiling) {
  std::size_t at = wordEnd;
  while (at < ceiling && !isSpaceAt(text, at)) ++at;
  return at;
}
}  // namespace

std::vector<lmSentences::Sentence> lmSentences::split(const std::string& text) {
  return split(text, lmWordTimings::wordSpans(text));
}

std::vector<lmSentences::Sentence> lmSentences::split(
    const std::string& text, const std::vector<lmWordTimings::Span>& words) {
  std::vector<Sentence> sentences;
  std::size_t first = 0, floor = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const bool last = i + 1 == words.size();
    const std::size_t ceiling = last ? text.size() : words[i + 1].begin;
    if (!last) {
      const std::string between = marksAfter(text, words, i);
      if (!hasFinalMark(between) || isLowerCase(codePointAt(text, words[i + 1].begin)) ||
          (speechCloses(between) && saidFollows(text, words, i)))
        continue;
    }
    const std::size_t end = runEnd(text, words[i].end, ceiling);
    sentences.push_back({first, i, runBegin(text, words[first].begin, floor), end});
    first = i + 1;
    floor = end;
  }
  return sentences;
}
