#include "lmOwnVoiceWords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "AudioBackend.h"
#include "KstStage.h"
#include "KstStory.h"
#include "NSBundle.h"
#include "lmVoiceTake.h"
#include "lmWordTimings.h"

namespace {
// A tone of `seconds` at `db` below full scale.
void speak(std::vector<std::int16_t>& out, int rate, double seconds, double db) {
  const double amplitude = 32767 * std::pow(10.0, db / 20) * std::sqrt(2.0);
  for (int i = 0, n = int(seconds * rate); i < n; ++i)
    out.push_back(std::int16_t(amplitude * std::sin(2 * M_PI * 220 * i / rate)));
}
void pause(std::vector<std::int16_t>& out, int rate, double seconds) {
  out.insert(out.end(), std::size_t(seconds * rate), 0);
}

std::vector<std::int16_t> mono(const AudioPcm& pcm) {
  std::vector<std::int16_t> out;
  for (std::size_t i = 0; i + std::size_t(pcm.channels) <= pcm.samples.size();
       i += std::size_t(pcm.channels)) {
    int sum = 0;
    for (int c = 0; c < pcm.channels; ++c) sum += pcm.samples[i + std::size_t(c)];
    out.push_back(std::int16_t(sum / pcm.channels));
  }
  return out;
}

std::string englishCoverTitle() {
  for (const KstStoryTitle& title : kstStoryTitles())
    if (title.identifier.rfind("s1layer", 0) == 0 && title.language == 2001) return title.text;
  return {};
}
}  // namespace

TEST(lmOwnVoiceWords, CountsVowelGroupsAsSyllables) {
  EXPECT_EQ(lmOwnVoiceWords::syllables("Рыжик"), 2);
  EXPECT_EQ(lmOwnVoiceWords::syllables("лисёнок"), 3);
  EXPECT_EQ(lmOwnVoiceWords::syllables("прочирикала"), 5);
  EXPECT_EQ(lmOwnVoiceWords::syllables("в"), 1);  // a word without a vowel is still said
  EXPECT_EQ(lmOwnVoiceWords::syllables("little"), 2);
  EXPECT_EQ(lmOwnVoiceWords::syllables("titmouse"), 2);
  EXPECT_EQ(lmOwnVoiceWords::syllables("Early"), 2);
}

// Three phrases said with pauses between them: each phrase's first word
// starts where its speech starts, the others follow by their length
// (syllables, and letters at half a syllable).
TEST(lmOwnVoiceWords, PhrasesFollowThePausesAndWordsTheirSyllables) {
  const int rate = 16000;
  std::vector<std::int16_t> heard;
  pause(heard, rate, 0.2);
  speak(heard, rate, 1.2, -20);  // "Рано утром лисёнок,": 4 + 4.5 + 6.5
  pause(heard, rate, 0.4);
  speak(heard, rate, 0.6, -20);  // "Рыжик вышел.": 4.5 + 4.5
  pause(heard, rate, 0.5);
  speak(heard, rate, 0.3, -20);  // "Ой!"
  pause(heard, rate, 0.3);
  const lmSpeechActivity activity(heard, rate);
  const std::string text = "Рано утром лисёнок, Рыжик вышел. Ой!";
  const std::vector<double> starts = lmOwnVoiceWords::starts(activity, text);
  ASSERT_EQ(starts.size(), 6u);
  const double expected[] = {0.2, 0.2 + 1.2 * 4 / 15, 0.2 + 1.2 * 8.5 / 15, 1.8, 2.1, 2.9};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(starts[i], expected[i], 0.02) << i;
  EXPECT_EQ(lmOwnVoiceWords::wordsFile(starts, text).substr(0, 32), "0.200\tРано\n0.520\tутром\n");
  // What the file says is what the lit words read back.
  auto timings = lmWordTimings::parse(lmOwnVoiceWords::wordsFile(starts, text));
  ASSERT_TRUE(timings);
  EXPECT_EQ(timings->count(), 6u);
  EXPECT_EQ(timings->wordOf(5), "Ой");
  EXPECT_TRUE(lmOwnVoiceWords::starts(lmSpeechActivity({}, rate), text).empty());
}

// A cough between two phrases belongs to no word; more words than pauses
// share a stretch.
TEST(lmOwnVoiceWords, ACoughIsLeftOutAndAPhraseMaySpanAShortPause) {
  const int rate = 16000;
  std::vector<std::int16_t> heard;
  speak(heard, rate, 0.8, -20);  // "one two three four"
  pause(heard, rate, 0.3);
  speak(heard, rate, 0.05, -30);  // a cough
  pause(heard, rate, 0.3);
  speak(heard, rate, 0.4, -20);  // "five six": 3 + 2.5
  const std::vector<double> starts =
      lmOwnVoiceWords::starts(lmSpeechActivity(heard, rate), "one two three four. five six");
  ASSERT_EQ(starts.size(), 6u);
  EXPECT_NEAR(starts[0], 0.0, 0.02);
  EXPECT_NEAR(starts[4], 1.45, 0.02);
  EXPECT_NEAR(starts[5], 1.45 + 0.4 * 3 / 5.5, 0.02);
  EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
}

// The book's own narrations, each taken as if it had been recorded by a
// reader (trimmed and levelled as a take is), timed from their speech and
// compared with the times the speech synthesiser reported: how far the start
// of each word lies from the true one, and for how much of the recording the
// lit word is the word being spoken.
TEST(lmOwnVoiceWordsRecordings, LitWordStaysWithTheBooksOwnVoice) {
  if (NSBundle::mainBundle().pathForResource("QRB_p1_ru", "words").empty())
    GTEST_SKIP() << "this build has no recordings";
  AudioBackend::setUseVirtualBackend(true);
  Ptr<KstStage> stage = KstStage::stage();
  ASSERT_TRUE(stage);
  struct Tally {
    double error = 0, worst = 0, right = 0, time = 0, level = 0;
    int words = 0, recordings = 0;
  } tally[2];
  for (int page = 1; page <= stage->totalStageCount(); ++page) {
    const KstStage::StringList& aside = stage->asideForStage(page);
    for (int language : {2000, 2001}) {
      const std::string& name = stage->narrationSoundForStage(page, language);
      if (name == kKstNil) continue;
      SCOPED_TRACE(name);
      const std::string text = language == 2000   ? aside.at(1)
                               : aside.size() > 2 ? aside[2]
                                                  : englishCoverTitle();
      auto truth = lmWordTimings::forRecording(name);
      ASSERT_TRUE(truth);
      AudioPcm pcm;
      ASSERT_TRUE(AudioBackend::shared().decodeFile(
          NSBundle::mainBundle().pathForResource(name, "mp3"), pcm));
      const lmSpeechActivity original(mono(pcm), pcm.sampleRate);
      const lmVoiceTake take(mono(pcm), pcm.sampleRate);
      ASSERT_TRUE(take.hasEnoughSpeech());
      const std::vector<double> starts =
          lmOwnVoiceWords::starts(lmSpeechActivity(take.samples(), take.sampleRate()), text);
      ASSERT_EQ(starts.size(), truth->count());
      Tally& t = tally[language - 2000];
      const double shift = take.figures().keptFrom;
      for (std::size_t i = 0; i < starts.size(); ++i) {
        const double miss = std::abs(starts[i] + shift - truth->startOf(i));
        t.error += miss;
        t.worst = std::max(t.worst, miss);
        ++t.words;
      }
      auto timed = lmWordTimings::parse(lmOwnVoiceWords::wordsFile(starts, text));
      ASSERT_TRUE(timed);
      for (double at = truth->startOf(0); at < pcm.duration(); at += 0.01) {
        t.right += timed->indexAt(at - shift) == truth->indexAt(at) ? 0.01 : 0;
        t.time += 0.01;
      }
      t.level += original.activeLevelDb();
      ++t.recordings;
    }
  }
  // The own voices are levelled to the book's narrations' level.
  const double bookLevel =
      (tally[0].level + tally[1].level) / (tally[0].recordings + tally[1].recordings);
  std::printf("the book's narrations speak at %.2f dB\n", bookLevel);
  EXPECT_NEAR(lmVoiceTake::kNarrationLevelDb, bookLevel, 1.0);
  const double leastRight[] = {0.75, 0.62}, mostOff[] = {0.12, 0.16};
  for (int language : {0, 1}) {
    const Tally& t = tally[language];
    ASSERT_GT(t.words, 0);
    EXPECT_GT(t.right / t.time, leastRight[language]);
    EXPECT_LT(t.error / t.words, mostOff[language]);
    EXPECT_LT(t.worst, 0.6);
    std::printf(
        "%s: %d recordings, %d words: word starts off by %.3f s on average (worst %.2f s); "
        "the lit word is the spoken one %.1f%% of the time; speech level %.1f dB\n",
        language ? "English" : "Russian", t.recordings, t.words, t.error / t.words, t.worst,
        100 * t.right / t.time, t.level / t.recordings);
  }
  AudioBackend::shared().shutdown();
}
