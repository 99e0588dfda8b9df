#include "lmOwnVoiceStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "OggVorbis.h"
#include "TestSupport.h"
#include "lmTakeKeeper.h"
#include "lmWordTimings.h"

namespace fs = std::filesystem;

namespace {
std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(e.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// Quiet, then "words" (a tone) with short pauses between them, then quiet.
std::vector<std::int16_t> reading(int rate, int words, double wordSeconds, double db) {
  std::vector<std::int16_t> out(std::size_t(rate * 1.0), 0);
  const double amplitude = 32767 * std::pow(10.0, db / 20) * std::sqrt(2.0);
  for (int w = 0; w < words; ++w) {
    for (int i = 0, n = int(wordSeconds * rate); i < n; ++i)
      out.push_back(std::int16_t(amplitude * std::sin(2 * M_PI * 200 * i / rate)));
    out.insert(out.end(), std::size_t(rate * 0.2), 0);
  }
  out.insert(out.end(), std::size_t(rate * 1.5), 0);
  return out;
}

lmTakeKeeper::Request request(std::vector<std::int16_t> heard, int rate) {
  return {std::move(heard), rate, "Рано утром, лисёнок!", 2000, "QRB_p1_ru"};
}
}  // namespace

TEST(lmOwnVoiceStore, RecordingsLiveByLanguageAndNameAndGoWithTheirWords) {
  TempDir dir;
  lmOwnVoiceStore store(dir.file("voices"));
  EXPECT_EQ(store.recordingPath(2000, "QRB_p1_ru"), dir.file("voices/2000/QRB_p1_ru.ogg"));
  EXPECT_EQ(store.wordsPath(2001, "QRB_p2_cn"), dir.file("voices/2001/QRB_p2_cn.words"));
  EXPECT_EQ(store.recordingPath(2000, "../QRB"), "");
  EXPECT_EQ(store.recordingPath(2000, ""), "");
  EXPECT_FALSE(store.has(2000, "QRB_p1_ru"));
  std::string error;
  ASSERT_TRUE(store.keep(2000, "QRB_p1_ru", "sound", "0.1\tРано\n", error)) << error;
  EXPECT_TRUE(store.has(2000, "QRB_p1_ru"));
  EXPECT_FALSE(store.has(2001, "QRB_p1_ru"));  // the other language's reading is its own
  EXPECT_FALSE(store.keep(2000, "a/b", "sound", "", error));
  ASSERT_TRUE(store.remove(2000, "QRB_p1_ru", error)) << error;
  EXPECT_FALSE(store.has(2000, "QRB_p1_ru"));
  EXPECT_EQ(listing(dir.file("voices")), (std::vector<std::string>{"2000"}));
  EXPECT_TRUE(store.remove(2000, "QRB_p1_ru", error));  // nothing to remove is no fault
  // An empty file is no recording.
  std::ofstream(store.recordingPath(2000, "QRB_p3_ru"));
  EXPECT_FALSE(store.has(2000, "QRB_p3_ru"));
  // What a program killed while keeping a recording left behind.
  std::ofstream(store.recordingPath(2000, "QRB_p4_ru") + ".partial") << "half";
  EXPECT_EQ(store.removeLeftovers(), 1u);
  EXPECT_EQ(lmOwnVoiceStore("").removeLeftovers(), 0u);
}

// A reading of three words: trimmed to its speech with its margins, levelled
// to the book's level, encoded, and its words timed from its pauses.
TEST(lmTakeKeeper, AReadingIsTrimmedLevelledEncodedAndTimed) {
  TempDir dir;
  lmOwnVoiceStore store(dir.path());
  const lmTakeKeeper::Result kept =
      lmTakeKeeper::keep(request(reading(44100, 3, 0.4, -35), 44100), store);
  ASSERT_EQ(kept.outcome, lmTakeKeeper::Outcome::Kept) << kept.error;
  const lmVoiceTake::Figures& f = kept.figures;
  EXPECT_NEAR(f.heardSeconds, 1.0 + 3 * 0.6 + 1.5, 0.001);
  EXPECT_NEAR(f.speechSeconds, 3 * 0.4, 0.02);
  EXPECT_NEAR(f.keptFrom, 1.0 - lmVoiceTake::kLeadIn, 0.011);
  EXPECT_NEAR(f.keptSeconds, lmVoiceTake::kLeadIn + 3 * 0.6 - 0.2 + lmVoiceTake::kTail, 0.02);
  EXPECT_NEAR(f.levelBeforeDb, -35, 0.2);
  EXPECT_NEAR(f.levelDb, lmVoiceTake::kNarrationLevelDb, 0.2);
  EXPECT_NEAR(f.gainDb, lmVoiceTake::kNarrationLevelDb + 35, 0.2);
  EXPECT_LT(f.peakDb, lmVoiceTake::kPeakCeilingDb + 0.01);

  OggVorbis::Decoded decoded;
  std::string error;
  ASSERT_TRUE(OggVorbis::decode(store.recordingPath(2000, "QRB_p1_ru"), 100, decoded, error));
  EXPECT_NEAR(decoded.duration(), f.keptSeconds, 0.01);
  EXPECT_EQ(kept.bytes, fs::file_size(store.recordingPath(2000, "QRB_p1_ru")));
  auto words = lmWordTimings::parse(read(store.wordsPath(2000, "QRB_p1_ru")));
  ASSERT_TRUE(words);
  ASSERT_EQ(words->count(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(words->startOf(i), 0.15 + 0.6 * i, 0.02) << i;
}

// A loud take is brought down to the level; a take whose peaks would clip
// is levelled only as far as its peaks allow.
TEST(lmTakeKeeper, LoudTakesComeDownAndPeaksStayUnderFullScale) {
  TempDir dir;
  lmOwnVoiceStore store(dir.path());
  auto loud = lmTakeKeeper::keep(request(reading(22050, 2, 0.5, -6), 22050), store);
  ASSERT_EQ(loud.outcome, lmTakeKeeper::Outcome::Kept);
  EXPECT_NEAR(loud.figures.levelDb, lmVoiceTake::kNarrationLevelDb, 0.2);
  std::vector<std::int16_t> spiky = reading(22050, 2, 0.5, -40);
  spiky[22050 + 100] = 30000;  // one crack in the first word
  auto peaked = lmTakeKeeper::keep(request(spiky, 22050), store);
  ASSERT_EQ(peaked.outcome, lmTakeKeeper::Outcome::Kept);
  EXPECT_NEAR(peaked.figures.peakDb, lmVoiceTake::kPeakCeilingDb, 0.1);
  EXPECT_LT(peaked.figures.levelDb, lmVoiceTake::kNarrationLevelDb - 3);
}

// Under half a second of speech, or silence, or a disk that cannot take the
// files: nothing changes, and an earlier recording stays as it was.
TEST(lmTakeKeeper, TooLittleSpeechAndAFullDiskKeepTheEarlierRecording) {
  TempDir dir;
  lmOwnVoiceStore store(dir.path());
  ASSERT_EQ(lmTakeKeeper::keep(request(reading(44100, 3, 0.4, -25), 44100), store).outcome,
            lmTakeKeeper::Outcome::Kept);
  const std::string earlier = read(store.recordingPath(2000, "QRB_p1_ru"));
  const std::string earlierWords = read(store.wordsPath(2000, "QRB_p1_ru"));

  auto brief = lmTakeKeeper::keep(request(reading(44100, 2, 0.2, -25), 44100), store);
  EXPECT_EQ(brief.outcome, lmTakeKeeper::Outcome::TooShort);
  EXPECT_NEAR(brief.figures.speechSeconds, 0.4, 0.02);
  EXPECT_EQ(
      lmTakeKeeper::keep(request(std::vector<std::int16_t>(44100 * 5, 3), 44100), store).outcome,
      lmTakeKeeper::Outcome::TooShort);

  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 2048;
  setrlimit(RLIMIT_FSIZE, &small);
  auto full = lmTakeKeeper::keep(request(reading(44100, 8, 0.4, -25), 44100), store);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(full.outcome, lmTakeKeeper::Outcome::NotWritten);
  EXPECT_NE(full.error.find("File too large"), std::string::npos) << full.error;
  EXPECT_EQ(read(store.recordingPath(2000, "QRB_p1_ru")), earlier);
  EXPECT_EQ(read(store.wordsPath(2000, "QRB_p1_ru")), earlierWords);
  EXPECT_EQ(listing(dir.path()),
            (std::vector<std::string>{"2000", "2000/QRB_p1_ru.ogg", "2000/QRB_p1_ru.words"}));
}
