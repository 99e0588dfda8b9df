#include "lmOwnVoiceWords.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "lmWordTimings.h"

namespace {
// A group of words may run over this many stretches (pauses inside a phrase).
constexpr std::size_t kMostStretchesAGroup = 4;
// What the sharing-out pays: for each pause a group runs over, for each
// stretch left without words (a cough, a breath) and for its length, and what
// it gains by parting words where the text has a mark.
constexpr double kRunOverCost = 0.35;
constexpr double kSkipCost = 1.0, kSkipCostPerSecond = 4.0;
constexpr double kMarkGain = 0.25;
// A word takes time by its syllables and by its letters too: "лисёнок" and
// "stepped" last longer than their vowels say. Half a syllable a letter came
// closest on the book's own recordings.
constexpr double kLetterWeight = 0.5;

bool isVowel(char32_t c) {
  static const std::u32string vowels = U"aeiouyAEIOUYаеёиоуыэюяАЕЁИОУЫЭЮЯ";
  return vowels.find(c) != std::u32string::npos;
}

std::u32string toCodePoints(const std::string& s) {
  std::u32string out;
  for (std::size_t at = 0; at < s.size();) {
    const auto lead = static_cast<unsigned char>(s[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t value = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t i = 1; i < length && at + i < s.size(); ++i)
      value = (value << 6) | (static_cast<unsigned char>(s[at + i]) & 0x3F);
    out.push_back(value);
    at += length;
  }
  return out;
}

// Whether the text marks a pause right after a word: a comma, a stop, a dash.
bool markFollows(const std::string& text, std::size_t end) {
  for (std::size_t at = end; at < text.size(); ++at) {
    const char c = text[at];
    if (c == ' ' || c == '\n' || c == '\t') return false;
    if (c == ',' || c == '.' || c == ';' || c == ':' || c == '!' || c == '?') return true;
    if (text.compare(at, 3, "\u2014") == 0 || text.compare(at, 3, "\u2026") == 0) return true;
  }
  return false;
}

struct Word {
  double weight;
  bool markAfter;
};

struct Plan {
  double cost = std::numeric_limits<double>::infinity();
  std::size_t fromStretch = 0, fromWord = 0;  // the state this one was reached from
};

class Sharing {
 public:
  Sharing(const std::vector<lmSpeechActivity::Stretch>& stretches, const std::vector<Word>& words)
      : stretches_(stretches), words_(words) {
    for (const auto& s : stretches) speech_ += s.length();
    for (const auto& w : words) weight_ += w.weight;
  }

  std::vector<double> starts() {
    const std::size_t k = stretches_.size(), n = words_.size();
    plans_.assign((k + 1) * (n + 1), Plan{});
    at(0, 0).cost = 0;
    for (std::size_t s = 0; s < k; ++s)
      for (std::size_t w = 0; w <= n; ++w)
        if (std::isfinite(at(s, w).cost)) extend(s, w);
    return spread();
  }

 private:
  Plan& at(std::size_t stretch, std::size_t word) {
    return plans_[stretch * (words_.size() + 1) + word];
  }

  void offer(std::size_t s, std::size_t w, std::size_t s2, std::size_t w2, double cost) {
    Plan& next = at(s2, w2);
    if (cost < next.cost) next = {cost, s, w};
  }

  void extend(std::size_t s, std::size_t w) {
    const double base = at(s, w).cost;
    const double length = stretches_[s].length();
    offer(s, w, s + 1, w, base + kSkipCost + kSkipCostPerSecond * length);
    double spoken = 0;
    for (std::size_t s2 = s + 1; s2 <= std::min(stretches_.size(), s + kMostStretchesAGroup);
         ++s2) {
      spoken += stretches_[s2 - 1].length();
      double weight = 0;
      for (std::size_t w2 = w + 1; w2 <= words_.size(); ++w2) {
        weight += words_[w2 - 1].weight;
        const double expected = speech_ * weight / weight_;
        const double miss = (spoken - expected) / (expected + 0.15);
        double cost = base + miss * miss + kRunOverCost * double(s2 - s - 1);
        if (w2 < words_.size() && words_[w2 - 1].markAfter) cost -= kMarkGain;
        offer(s, w, s2, w2, cost);
      }
    }
  }

  // Follows the best plan back and spreads each group's words over its speech.
  std::vector<double> spread() {
    std::vector<double> starts(words_.size(), 0);
    std::size_t s = stretches_.size(), w = words_.size();
    if (!std::isfinite(at(s, w).cost)) return {};
    while (s > 0) {
      const Plan plan = at(s, w);
      if (plan.fromWord < w) placeGroup(plan.fromStretch, s, plan.fromWord, w, starts);
      s = plan.fromStretch;
      w = plan.fromWord;
    }
    return starts;
  }

  void placeGroup(std::size_t s, std::size_t s2, std::size_t w, std::size_t w2,
                  std::vector<double>& starts) const {
    double spoken = 0, weight = 0;
    for (std::size_t i = s; i < s2; ++i) spoken += stretches_[i].length();
    for (std::size_t i = w; i < w2; ++i) weight += words_[i].weight;
    double before = 0;
    for (std::size_t i = w; i < w2; ++i) {
      starts[i] = timeAt(s, s2, spoken * before / weight);
      before += words_[i].weight;
    }
  }

  // A moment `into` seconds of speech into stretches [s, s2), pauses skipped.
  double timeAt(std::size_t s, std::size_t s2, double into) const {
    for (std::size_t i = s; i < s2; ++i) {
      const double length = stretches_[i].length();
      if (into < length - 1e-9 || i + 1 == s2) return stretches_[i].begin + std::min(into, length);
      into -= length;
    }
    return stretches_[s].begin;
  }

  const std::vector<lmSpeechActivity::Stretch>& stretches_;
  const std::vector<Word>& words_;
  double speech_ = 0, weight_ = 0;
  std::vector<Plan> plans_;
};
}  // namespace

int lmOwnVoiceWords::syllables(const std::string& word) {
  const std::u32string letters = toCodePoints(word);
  int groups = 0;
  bool inVowel = false;
  for (char32_t c : letters) {
    const bool vowel = isVowel(c);
    if (vowel && !inVowel) ++groups;
    inVowel = vowel;
  }
  // English's silent final e ("little" keeps its "le").
  const std::size_t n = letters.size();
  if (groups > 1 && n > 2 && (letters[n - 1] | 0x20) == U'e' && !isVowel(letters[n - 2]) &&
      (letters[n - 2] | 0x20) != U'l')
    --groups;
  return std::max(groups, 1);
}

std::vector<double> lmOwnVoiceWords::starts(const lmSpeechActivity& activity,
                                            const std::string& text) {
  std::vector<Word> words;
  for (const lmWordTimings::Span& span : lmWordTimings::wordSpans(text)) {
    const std::string word = text.substr(span.begin, span.end - span.begin);
    words.push_back({syllables(word) + kLetterWeight * double(toCodePoints(word).size()),
                     markFollows(text, span.end)});
  }
  const std::vector<lmSpeechActivity::Stretch> stretches = activity.stretches(kShortestPause);
  if (words.empty() || stretches.empty()) return {};
  return Sharing(stretches, words).starts();
}

std::string lmOwnVoiceWords::wordsFile(const std::vector<double>& starts, const std::string& text) {
  const std::vector<lmWordTimings::Span> spans = lmWordTimings::wordSpans(text);
  std::string file;
  for (std::size_t i = 0; i < spans.size() && i < starts.size(); ++i) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f\t", starts[i]);
    file += time + text.substr(spans[i].begin, spans[i].end - spans[i].begin) + "\n";
  }
  return file;
}
