#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Where each word of a narration starts in its recording, as the recording
// generator wrote it beside the recording ("<name>.words": one line a word of
// the text, in order, the start in seconds, a tab and the word). A word of a
// text is a run of non-space characters holding a letter or a digit.
class lmWordTimings {
 public:
  // Bytes [begin, end) of a word's letters in its UTF-8 text: marks around
  // the word ("«Рыжик,") are left out, marks inside it ("иду-иду") kept.
  struct Span {
    std::size_t begin = 0, end = 0;
    bool operator==(const Span&) const = default;
  };
  static std::vector<Span> wordSpans(const std::string& text);

  // None for an empty file, a malformed line or times that go backwards.
  static std::optional<lmWordTimings> parse(const std::string& contents);
  // The timings of a recording of the book; none when it has no file (a
  // damaged one warns once).
  static std::optional<lmWordTimings> forRecording(const std::string& name);
  // The timings in a file of that form anywhere (a reader's own recording's).
  static std::optional<lmWordTimings> fromFile(const std::string& path);

  std::size_t count() const { return starts_.size(); }
  double startOf(std::size_t index) const { return starts_[index]; }
  const std::string& wordOf(std::size_t index) const { return words_[index]; }
  // The word being read `seconds` into the recording: the last one started,
  // -1 before the first.
  int indexAt(double seconds) const;
  // When the next word after those started by `seconds` starts; none after the last.
  std::optional<double> nextStartAfter(double seconds) const;

  // Where words first to last are heard in a recording `length` seconds long:
  // from the first one's start to the start of the word after the last (the
  // recording's end after the last word), with kEdge more either side for a
  // fade in and out, within the recording.
  struct TimeSpan {
    double begin = 0, end = 0;
    double length() const { return end - begin; }
  };
  static constexpr double kEdge = 0.05;
  TimeSpan spanOfWords(std::size_t first, std::size_t last, double length) const;

 private:
  std::vector<double> starts_;
  std::vector<std::string> words_;
};
