#include "lmWordTimings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AudioBackend.h"
#include "KstStage.h"
#include "KstStory.h"
#include "NSBundle.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using Span = lmWordTimings::Span;

namespace {
std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  for (const Span& s : lmWordTimings::wordSpans(text))
    out.push_back(text.substr(s.begin, s.end - s.begin));
  return out;
}
}  // namespace

TEST(lmWordTimings, WordsAreRunsWithALetterTheirMarksLeftOut) {
  EXPECT_EQ(words("«Рыжик, ночью — звёздочка!» Ой, иду-иду… Let’s go 3 times."),
            (std::vector<std::string>{"Рыжик", "ночью", "звёздочка", "Ой", "иду-иду", "Let’s", "go",
                                      "3", "times"}));
  // Bytes, not characters: "Ёж" is four bytes.
  EXPECT_EQ(lmWordTimings::wordSpans("  Ёж\u00a0— да.\n"), (std::vector<Span>{{2, 6}, {12, 16}}));
  EXPECT_TRUE(lmWordTimings::wordSpans("").empty());
  EXPECT_TRUE(lmWordTimings::wordSpans(" — … «» ").empty());
  // A broken byte sequence is a character of its own, not the end of the text.
  EXPECT_EQ(words("a \xd0 b\xe2\x80"), (std::vector<std::string>{"a", "b"}));
}

TEST(lmWordTimings, ParsesRisingTimesAndRefusesAnythingElse) {
  auto timings = lmWordTimings::parse("0.150\tНа\n0.339\tкухне\n0.339\tмама\n1.5\tпекла\n");
  ASSERT_TRUE(timings);
  ASSERT_EQ(timings->count(), 4u);
  EXPECT_DOUBLE_EQ(timings->startOf(1), 0.339);
  EXPECT_EQ(timings->wordOf(1), "кухне");

  for (const char* bad : {"", "\n", "0.1 word\n", "0.1\t\n", "x\tword\n", "0.1x\tword\n",
                          "-0.1\tword\n", "nan\tword\n", "0.5\ta\n0.4\tb\n"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(lmWordTimings::parse(bad));
  }
}

TEST(lmWordTimings, TheWordBeingReadIsTheLastOneStarted) {
  auto timings = lmWordTimings::parse("0.5\ta\n1.0\tb\n1.0\tc\n2.0\td\n");
  ASSERT_TRUE(timings);
  EXPECT_EQ(timings->indexAt(0.0), -1);
  EXPECT_EQ(timings->indexAt(0.4999), -1);
  EXPECT_EQ(timings->indexAt(0.5), 0);
  EXPECT_EQ(timings->indexAt(0.99), 0);
  EXPECT_EQ(timings->indexAt(1.0), 2);  // two words at once: the later one
  EXPECT_EQ(timings->indexAt(100), 3);
  EXPECT_EQ(timings->nextStartAfter(0.0), 0.5);
  EXPECT_EQ(timings->nextStartAfter(0.5), 1.0);
  EXPECT_EQ(timings->nextStartAfter(1.0), 2.0);
  EXPECT_FALSE(timings->nextStartAfter(2.0));
}

// A tapped word plays from its start to the next word's, 50 ms wider either
// side; a run of words to the start of the word after it.
TEST(lmWordTimings, AWordIsHeardToTheNextWordsStartWithAnEdgeEitherSide) {
  auto timings = lmWordTimings::parse("0.03\ta\n0.5\tb\n1.25\tc\n2.0\td\n");
  ASSERT_TRUE(timings);
  auto near = [](lmWordTimings::TimeSpan span, double begin, double end) {
    return std::abs(span.begin - begin) < 1e-9 && std::abs(span.end - end) < 1e-9;
  };
  EXPECT_TRUE(near(timings->spanOfWords(1, 1, 3.0), 0.45, 1.30));
  EXPECT_TRUE(near(timings->spanOfWords(1, 2, 3.0), 0.45, 2.05));
  // Within the recording: the first word's edge from 0, the last word to the end.
  EXPECT_TRUE(near(timings->spanOfWords(0, 0, 3.0), 0.0, 0.55));
  EXPECT_TRUE(near(timings->spanOfWords(3, 3, 3.0), 1.95, 3.0));
  EXPECT_TRUE(near(timings->spanOfWords(2, 2, 1.28), 1.2, 1.28));
  // A recording shorter than its timings say plays nothing rather than backwards.
  EXPECT_EQ(timings->spanOfWords(3, 3, 1.0).length(), 0.0);
}

TEST(lmWordTimings, ARecordingWithoutTimingsHasNone) {
  EXPECT_FALSE(lmWordTimings::forRecording("no_such_recording"));
}

namespace {
bool recordingsGenerated() {
  const char* binary = std::getenv("LUMO_BINARY_DIR");
  return binary && fs::exists(fs::path(binary) / "make_audio.json");
}

// Letters and digits only, ASCII and Cyrillic in lower case: Festival may
// write a word in lower case and its contraction with a straight apostrophe.
std::u32string letters(const std::string& word) {
  std::u32string out;
  for (std::size_t at = 0; at < word.size();) {
    const auto lead = static_cast<unsigned char>(word[at]);
    char32_t c = lead;
    std::size_t length = 1;
    if (lead >= 0xC0 && lead < 0xE0 && at + 1 < word.size()) {
      c = char32_t(lead & 0x1F) << 6 | (static_cast<unsigned char>(word[at + 1]) & 0x3F);
      length = 2;
    } else if (lead >= 0xE0) {
      length = lead >= 0xF0 ? 4 : 3;
      c = 0;  // quotes and dashes
    }
    at += length;
    if (c >= 'A' && c <= 'Z') c += 0x20;
    if (c >= 0x410 && c <= 0x42F) c += 0x20;
    if (c == 0x401) c = 0x451;
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (c >= 0x430 && c <= 0x451))
      out.push_back(c);
  }
  return out;
}

std::string englishCoverTitle() {
  for (const KstStoryTitle& title : kstStoryTitles())
    if (title.identifier.rfind("s1layer", 0) == 0 && title.language == 2001) return title.text;
  return {};
}
}  // namespace

// Every narration the book plays, in both languages, against its decoded
// recording and the text the panel shows.
TEST(lmWordTimingsRecordings, EveryNarrationTimesEveryWordOfItsText) {
  if (!recordingsGenerated()) GTEST_SKIP() << "this build does not generate recordings";
  AudioBackend::setUseVirtualBackend(true);
  Ptr<KstStage> stage = KstStage::stage();
  ASSERT_TRUE(stage);
  int checked = 0;
  for (int page = 1; page <= stage->totalStageCount(); ++page) {
    const KstStage::StringList& aside = stage->asideForStage(page);
    for (int language : {2000, 2001}) {
      const std::string& name = stage->narrationSoundForStage(page, language);
      if (name == kKstNil) continue;
      SCOPED_TRACE(name);
      const std::string text = language == 2000   ? aside.at(1)
                               : aside.size() > 2 ? aside[2]
                                                  : englishCoverTitle();
      auto timings = lmWordTimings::forRecording(name);
      ASSERT_TRUE(timings);
      AudioPcm pcm;
      ASSERT_TRUE(AudioBackend::shared().decodeFile(
          NSBundle::mainBundle().pathForResource(name, "mp3"), pcm));
      const std::vector<std::string> expected = words(text);
      ASSERT_EQ(timings->count(), expected.size());
      for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(letters(timings->wordOf(i)), letters(expected[i])) << i << " " << expected[i];
      EXPECT_GT(timings->startOf(0), 0.1);  // after the lead-in silence
      EXPECT_LT(timings->startOf(timings->count() - 1), pcm.duration() - 0.2);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 33);
  AudioBackend::shared().shutdown();
}
