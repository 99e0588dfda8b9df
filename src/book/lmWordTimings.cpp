#include "lmWordTimings.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "Log.h"
#include "NSBundle.h"

namespace {
struct CodePoint {
  char32_t value;
  std::size_t length;
};

constexpr char32_t kMalformed = 0xFFFD;

// A malformed byte is a character of its own, neither space nor letter.
CodePoint decode(const std::string& s, std::size_t at) {
  const auto lead = static_cast<unsigned char>(s[at]);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || at + length > s.size()) return {kMalformed, 1};
  char32_t value = lead & (0x3F >> (length - 1));
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(s[at + i]);
    if ((next & 0xC0) != 0x80) return {kMalformed, 1};
    value = (value << 6) | (next & 0x3F);
  }
  return {value, length};
}

bool isSpace(char32_t c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) ||
         c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Letters and digits of the scripts the book is written in (Latin, Greek,
// Cyrillic); punctuation, quotes and dashes are not.
bool isWordCharacter(char32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
  return c >= 0xC0 && c < 0x2000 && c != 0xD7 && c != 0xF7;
}

bool parseLine(const std::string& line, double& start, std::string& word) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string::npos || tab == 0 || tab + 1 >= line.size()) return false;
  const char* end = line.data() + tab;
  auto [stop, error] = std::from_chars(line.data(), end, start);
  if (error != std::errc() || stop != end || !(start >= 0)) return false;
  word = line.substr(tab + 1);
  return true;
}
}  // namespace

std::vector<lmWordTimings::Span> lmWordTimings::wordSpans(const std::string& text) {
  std::vector<Span> spans;
  std::optional<Span> letters;  // of the run being read
  auto endRun = [&] {
    if (letters) spans.push_back(*letters);
    letters.reset();
  };
  for (std::size_t at = 0; at < text.size();) {
    const CodePoint c = decode(text, at);
    if (isSpace(c.value)) {
      endRun();
    } else if (isWordCharacter(c.value)) {
      if (!letters) letters = Span{at, at};
      letters->end = at + c.length;
    }
    at += c.length;
  }
  endRun();
  return spans;
}

std::optional<lmWordTimings> lmWordTimings::parse(const std::string& contents) {
  lmWordTimings timings;
  std::istringstream lines(contents);
  std::string line, word;
  while (std::getline(lines, line)) {
    double start = 0;
    if (!parseLine(line, start, word)) return std::nullopt;
    if (!timings.starts_.empty() && start < timings.starts_.back()) return std::nullopt;
    timings.starts_.push_back(start);
    timings.words_.push_back(word);
  }
  if (timings.starts_.empty()) return std::nullopt;
  return timings;
}

std::optional<lmWordTimings> lmWordTimings::forRecording(const std::string& name) {
  const std::string path = NSBundle::mainBundle().pathForResource(name, "words");
  if (path.empty()) return std::nullopt;
  return fromFile(path);
}

std::optional<lmWordTimings> lmWordTimings::fromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  auto timings = file ? parse(contents.str()) : std::nullopt;
  if (!timings) logWarningOnce("words:" + path, "word timings " + path + " are damaged; not used");
  return timings;
}

int lmWordTimings::indexAt(double seconds) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), seconds);
  return int(after - starts_.begin()) - 1;
}

std::optional<double> lmWordTimings::nextStartAfter(double seconds) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), seconds);
  if (after == starts_.end()) return std::nullopt;
  return *after;
}

lmWordTimings::TimeSpan lmWordTimings::spanOfWords(std::size_t first, std::size_t last,
                                                   double length) const {
  const double begin = std::clamp(starts_[first] - kEdge, 0.0, length);
  const double end = last + 1 < count() ? starts_[last + 1] + kEdge : length;
  return {begin, std::clamp(end, begin, length)};
}
