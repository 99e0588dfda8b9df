#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AudioBackend.h"
#include "EventLog.h"
#include "KstSound.h"
#include "KstStage.h"
#include "Log.h"
#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSNotificationCenter.h"
#include "NSRunLoop.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(__FILE__).parent_path().parent_path() / "platform" / "audio";

struct Posted {
  bool isAside;
  bool isPart;
  double at;
  std::thread::id thread;
};

class AsideObserver : public NSObject {
 public:
  void asideDidFinish(NSNotification* note) {
    ASSERT_TRUE(note->userInfo().contains("isAside"));
    posted.push_back({note->userInfo().boolValue("isAside"), note->userInfo().boolValue("isPart"),
                      Clock::current().seconds(), std::this_thread::get_id()});
  }
  std::vector<Posted> posted;
};

// KstSound over the virtual back end, with a resource folder of its own that
// holds a one-second and a quarter-second recording under the book's names.
class KstSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AudioBackend::setUseVirtualBackend(true);
    savedPaths_ = NSBundle::mainBundle().searchPaths();
    NSBundle::mainBundle().setSearchPaths({resources_.path()});
    for (const char* name : {"QRB_p3_ru", "QRB_p3", "dialogue_page2_m1_ru", "background"})
      fs::copy_file(kFixtures / "tone_1s.mp3", resources_.file(std::string(name) + ".mp3"));
    for (const char* name : {"QRB_p4_ru", "b_snore"})
      fs::copy_file(kFixtures / "tone_quarter.mp3", resources_.file(std::string(name) + ".mp3"));
    NSNotificationCenter::defaultCenter().addObserver(
        observer_, SELECTOR(AsideObserver::asideDidFinish), "asidedidfinishnotification", nullptr);
  }
  void TearDown() override {
    NSNotificationCenter::defaultCenter().removeObserver(observer_);
    sound()->releasePlayers();
    AudioBackend::shared().shutdown();
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    NSBundle::mainBundle().setSearchPaths(savedPaths_);
  }
  KstSound* sound() { return KstSound::shared(); }
  void run(double seconds) {
    for (int i = 0, n = int(seconds * 60 + 0.5); i < n; ++i) {
      clock_->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      NSAutoreleasePool::current().drain();
    }
  }
  const std::vector<Posted>& posted() const { return observer_->posted; }

  ScopedVirtualClock clock_;
  TempDir resources_;
  std::vector<std::string> savedPaths_;
  Ptr<AsideObserver> observer_ = makeObject<AsideObserver>();
};

}  // namespace

TEST_F(KstSoundTest, NilLeavesTheNarrationPlayingAndItsEndIsAnAside) {
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  Ptr<AVAudioPlayer> narration = sound()->player();
  ASSERT_TRUE(narration);
  run(0.5);
  sound()->playSoundWithName("nil", "mp3");
  EXPECT_EQ(sound()->player(), narration.get());
  EXPECT_TRUE(narration->isPlaying());
  EXPECT_EQ(sound()->playingSoundName(), "QRB_p3_ru");
  EXPECT_TRUE(posted().empty());
  run(1.0);
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_TRUE(posted()[0].isAside);
  EXPECT_NEAR(posted()[0].at, narration->duration(), 1.0 / 60 + 1e-9);
  EXPECT_EQ(posted()[0].thread, std::this_thread::get_id());
  // The finished player stays in place until the next main sound.
  EXPECT_EQ(sound()->player(), narration.get());
  EXPECT_EQ(sound()->playingSoundName(), "");
}

TEST_F(KstSoundTest, SecondNarrationStopsTheFirstAndOnlyItReportsItsEnd) {
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  Ptr<AVAudioPlayer> first = sound()->player();
  run(0.2);
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  EXPECT_FALSE(first->isPlaying());
  EXPECT_NE(sound()->player(), first.get());
  run(3);
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_TRUE(posted()[0].isAside);
  // The quarter-second recording, started at 0.2 s: not the first one's full second.
  EXPECT_LT(posted()[0].at, 0.6);
}

TEST_F(KstSoundTest, DialogueEndIsNotAnAside) {
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  run(1.1);
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_FALSE(posted()[0].isAside);
  EXPECT_EQ(sound()->player()->numberOfLoops(), 0);
  EXPECT_FLOAT_EQ(sound()->player()->volume(), 1.0f);
}

// The reader's pace stretches narration and dialogue, never the music or
// the page's loop; a part of a narration ends as a part.
TEST_F(KstSoundTest, ThePaceStretchesVoicesOnlyAndAPartEndsAsAPart) {
  sound()->setVoiceTempo(0.8);
  sound()->playBgSoundWithName("background", "mp3");
  sound()->playSpecialSoundWithName("b_snore", "mp3");
  EXPECT_FALSE(sound()->backgroundPlayer()->enableRate());
  EXPECT_FALSE(sound()->specialPlayer()->enableRate());
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  const double length = sound()->player()->duration();
  run(length + 0.1);
  EXPECT_TRUE(posted().empty());
  run(length / 0.8 - length);
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_FALSE(posted()[0].isAside || posted()[0].isPart);

  sound()->setVoiceTempo(1.2);
  const double start = Clock::current().seconds();
  sound()->playPartOfFile("QRB_p3_ru", NSBundle::mainBundle().pathForResource("QRB_p3_ru", "mp3"),
                          0.3, 0.9, 0.05);
  EXPECT_TRUE(sound()->playsPart());
  EXPECT_EQ(sound()->playingSoundName(), "QRB_p3_ru");
  run(0.6 / 1.2 + 1.0 / 30);
  ASSERT_EQ(posted().size(), 2u);
  EXPECT_TRUE(posted()[1].isAside && posted()[1].isPart);
  EXPECT_NEAR(posted()[1].at - start, 0.6 / 1.2, 1.0 / 30);
  EXPECT_FALSE(sound()->playsPart());
  // A whole recording after a part is whole again.
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  run(1);
  ASSERT_EQ(posted().size(), 3u);
  EXPECT_FALSE(posted()[2].isPart);
  sound()->setVoiceTempo(1);
}

TEST_F(KstSoundTest, CancelledNarrationPostsNothing) {
  sound()->playSoundWithName("QRB_p3", "mp3");
  run(0.3);
  sound()->cancelSound();
  EXPECT_EQ(sound()->playingSoundName(), "");
  run(3);
  EXPECT_TRUE(posted().empty());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
}

// A line cut short never reports its end, so the cut itself is told; a cut
// narration, a finished line or a line that follows nothing tells nothing.
TEST_F(KstSoundTest, OnlyADialogueCutShortIsTold) {
  int cuts = 0;
  sound()->setDialogueCutListener([&cuts] { ++cuts; });
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  EXPECT_EQ(cuts, 0);
  run(0.3);
  sound()->cancelSound();
  EXPECT_EQ(cuts, 1);
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  run(0.3);
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  EXPECT_EQ(cuts, 2);
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  run(1.1);
  sound()->cancelSound();
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  EXPECT_EQ(cuts, 2);
  sound()->setDialogueCutListener(nullptr);
}

TEST_F(KstSoundTest, MusicAndEffectLoopQuietlyOnTheirOwnChannels) {
  sound()->playBgSoundWithName("background", "mp3");
  Ptr<AVAudioPlayer> firstMusic = sound()->backgroundPlayer();
  sound()->playBgSoundWithName("background", "mp3");
  sound()->playSpecialSoundWithName("b_snore", "mp3");
  EXPECT_FALSE(firstMusic->isPlaying());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 2u);  // one music, one snore
  EXPECT_EQ(sound()->backgroundPlayer()->numberOfLoops(), -1);
  EXPECT_FLOAT_EQ(sound()->backgroundPlayer()->volume(), 0.2f);
  EXPECT_EQ(sound()->specialPlayer()->numberOfLoops(), -1);
  EXPECT_FLOAT_EQ(sound()->specialPlayer()->volume(), 0.3f);

  // A narration on the main channel leaves both alone.
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  sound()->cancelSound();
  run(120);
  EXPECT_TRUE(posted().empty());
  EXPECT_EQ(sound()->playingBgSoundName(), "background");
  EXPECT_EQ(sound()->playingSpecialSoundName(), "b_snore");

  sound()->cancelSpecialSound();
  EXPECT_EQ(sound()->playingSpecialSoundName(), "");
  EXPECT_EQ(sound()->playingBgSoundName(), "background");
}

TEST_F(KstSoundTest, MissingOrBrokenRecordingsPlayNothingAndThePreviousSoundIsGone) {
  std::ofstream(resources_.file("QRB_p5_ru.mp3")) << "no sound here";
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  Ptr<AVAudioPlayer> narration = sound()->player();
  sound()->playSoundWithName("QRB_p99_ru", "mp3");
  EXPECT_FALSE(narration->isPlaying());
  EXPECT_EQ(sound()->player(), nullptr);
  sound()->playSoundWithName("QRB_p5_ru", "mp3");
  EXPECT_EQ(sound()->player(), nullptr);
  sound()->playSpecialSoundWithName("b_snore", "wav");
  EXPECT_EQ(sound()->specialPlayer(), nullptr);
  // Asked for every frame: one warning in the log, no crash, no report.
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  for (int i = 0; i < 30; ++i) {
    sound()->playSoundWithName("dialogue_page99_x1_ru", "mp3");
    run(1.0 / 60);
  }
  const std::string log = testing::internal::GetCapturedStderr();
  setLogLevel(LogLevel::Error);
  std::size_t warnings = 0;
  for (std::size_t at = log.find("dialogue_page99_x1_ru"); at != std::string::npos;
       at = log.find("dialogue_page99_x1_ru", at + 1))
    ++warnings;
  EXPECT_EQ(warnings, 1u) << log;
  run(3);
  EXPECT_TRUE(posted().empty());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
}

TEST_F(KstSoundTest, EventLogShowsStartStopAndEndWithTheChannel) {
  EventLog::setEnabled(true);
  testing::internal::CaptureStdout();
  sound()->playBgSoundWithName("background", "mp3");
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  run(0.5);
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  run(1.5);
  sound()->cancelSound();  // already ended: nothing to stop
  std::string out = testing::internal::GetCapturedStdout();
  EventLog::setEnabled(false);
  EXPECT_NE(out.find("0.000 sound start background background\n"), std::string::npos) << out;
  EXPECT_NE(out.find("0.000 sound start main QRB_p3_ru\n"), std::string::npos) << out;
  EXPECT_NE(out.find("0.500 sound stop main QRB_p3_ru\n"), std::string::npos) << out;
  EXPECT_NE(out.find("0.500 sound start main dialogue_page2_m1_ru\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" sound end main dialogue_page2_m1_ru\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("end main QRB_p3_ru"), std::string::npos) << out;
  EXPECT_EQ(out.find("stop main dialogue"), std::string::npos) << out;
}

// The sound card back end (SDL's dummy device): the end comes from the mixer's
// thread and must still reach observers on the main thread.
TEST_F(KstSoundTest, RealBackEndPostsOnTheMainThread) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AudioBackend::setUseVirtualBackend(false);
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  while (posted().empty() && elapsed() < 5) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_TRUE(posted()[0].isAside);
  EXPECT_EQ(posted()[0].thread, std::this_thread::get_id());
  sound()->releasePlayers();
  AudioBackend::setUseVirtualBackend(true);
}

// Puts both switches back on whatever a test leaves them at.
struct SwitchesBackOn {
  ~SwitchesBackOn() {
    KstSound::shared()->setMusicOn(true);
    KstSound::shared()->setVoicesOn(true);
  }
};

TEST_F(KstSoundTest, SilencedNarrationRunsToItsEndAndReportsIt) {
  SwitchesBackOn restore;
  sound()->setVoicesOn(false);
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  Ptr<AVAudioPlayer> narration = sound()->player();
  ASSERT_TRUE(narration);
  EXPECT_FLOAT_EQ(narration->volume(), 0.0f);
  EXPECT_EQ(sound()->playingSoundName(), "QRB_p3_ru");
  run(1.1);
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_TRUE(posted()[0].isAside);
  EXPECT_NEAR(posted()[0].at, narration->duration(), 1.0 / 60 + 1e-9);
  // Dialogue is silenced the same way and reports its end the same way.
  sound()->playSoundWithName("dialogue_page2_m1_ru", "mp3");
  EXPECT_FLOAT_EQ(sound()->player()->volume(), 0.0f);
  run(1.1);
  ASSERT_EQ(posted().size(), 2u);
  EXPECT_FALSE(posted()[1].isAside);
}

TEST_F(KstSoundTest, VoicesSwitchedMidSoundKeepTheSamePlayerAndItsEnd) {
  SwitchesBackOn restore;
  sound()->playSoundWithName("QRB_p3_ru", "mp3");
  Ptr<AVAudioPlayer> narration = sound()->player();
  run(0.3);
  sound()->setVoicesOn(false);
  EXPECT_EQ(sound()->player(), narration.get());
  EXPECT_TRUE(narration->isPlaying());
  EXPECT_FLOAT_EQ(narration->volume(), 0.0f);
  run(0.2);
  sound()->setVoicesOn(true);
  EXPECT_FLOAT_EQ(narration->volume(), 1.0f);
  run(0.6);
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_NEAR(posted()[0].at, narration->duration(), 1.0 / 60 + 1e-9);
}

TEST_F(KstSoundTest, MusicOffSilencesMusicAndEffectButNeitherStopsNorTheVoices) {
  SwitchesBackOn restore;
  sound()->playBgSoundWithName("background", "mp3");
  sound()->playSpecialSoundWithName("b_snore", "mp3");
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  sound()->setMusicOn(false);
  EXPECT_FLOAT_EQ(sound()->backgroundPlayer()->volume(), 0.0f);
  EXPECT_FLOAT_EQ(sound()->specialPlayer()->volume(), 0.0f);
  EXPECT_FLOAT_EQ(sound()->player()->volume(), 1.0f);
  EXPECT_EQ(sound()->playingBgSoundName(), "background");
  EXPECT_EQ(sound()->playingSpecialSoundName(), "b_snore");
  // Started while off: silent from the first sample.
  sound()->playSpecialSoundWithName("b_snore", "mp3");
  EXPECT_FLOAT_EQ(sound()->specialPlayer()->volume(), 0.0f);
  sound()->setMusicOn(true);
  EXPECT_FLOAT_EQ(sound()->backgroundPlayer()->volume(), 0.2f);
  EXPECT_FLOAT_EQ(sound()->specialPlayer()->volume(), 0.3f);
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 3u);
}

TEST_F(KstSoundTest, RealBackEndSilencedNarrationStillEnds) {
  SwitchesBackOn restore;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AudioBackend::setUseVirtualBackend(false);
  sound()->setVoicesOn(false);
  sound()->playSoundWithName("QRB_p4_ru", "mp3");
  const auto start = std::chrono::steady_clock::now();
  while (posted().empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(posted().size(), 1u);
  EXPECT_TRUE(posted()[0].isAside);
  sound()->releasePlayers();
  AudioBackend::setUseVirtualBackend(true);
}

namespace {

// Characters, not bytes: the Russian texts are two bytes a letter.
std::size_t letters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// Recordings exist only where the build generated them.
bool recordingsGenerated() {
  const char* binary = std::getenv("LUMO_BINARY_DIR");
  return binary && fs::exists(fs::path(binary) / "make_audio.json");
}

double meanStep(const std::vector<int>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from + 1; i < to; ++i) sum += std::abs(s[i] - s[i - 1]);
  return sum / double(to - from - 1);
}

}  // namespace

TEST(KstSoundRecordings, EveryRecordingTheBookCanAskForExistsAndDecodes) {
  if (!recordingsGenerated()) GTEST_SKIP() << "this build does not generate recordings";
  AudioBackend::setUseVirtualBackend(true);
  Ptr<KstStage> stage = KstStage::stage();
  ASSERT_TRUE(stage);
  struct Wanted {
    std::string name;
    std::string text;  // empty where the words are not in the table
  };
  std::vector<Wanted> wanted = {{"background", ""}, {"b_snore", ""}};
  for (int page = 1; page <= stage->totalStageCount(); ++page) {
    const KstStage::StringList& aside = stage->asideForStage(page);
    auto add = [&](const std::string& name, int element) {
      if (name != kKstNil)
        wanted.push_back({name, aside.size() > 2 ? aside[std::size_t(element)] : ""});
    };
    add(stage->soundsRu()[page - 1], 1);
    add(stage->soundsCn()[page - 1], 2);
    add(stage->soundsEn()[page - 1], 2);
  }
  for (const auto& [layer, names] : stage->dialogs())
    for (const std::string& name : stage->dialogNamesForLayer(layer))
      wanted.push_back({name + "_ru", ""});
  EXPECT_EQ(wanted.size(), 2u + 16 + 17 + 17 + 95);

  for (const Wanted& w : wanted) {
    SCOPED_TRACE(w.name);
    const std::string path = NSBundle::mainBundle().pathForResource(w.name, "mp3");
    ASSERT_FALSE(path.empty());
    AudioPcm pcm;
    ASSERT_TRUE(AudioBackend::shared().decodeFile(path, pcm));
    EXPECT_GT(pcm.duration(), 0.4);
    if (!w.text.empty()) {
      // Spoken at a bedtime pace: neither skipped nor spelled out letter by letter.
      const double perSecond = double(letters(w.text)) / pcm.duration();
      EXPECT_GT(perSecond, 7.0) << pcm.duration() << " s";
      EXPECT_LT(perSecond, 20.0) << pcm.duration() << " s";
    }
  }
  AudioBackend::shared().shutdown();
}

TEST(KstSoundRecordings, MusicAndSnoreLoopWithoutAGapOrClick) {
  if (!recordingsGenerated()) GTEST_SKIP() << "this build does not generate recordings";
  AudioBackend::setUseVirtualBackend(true);
  for (const char* name : {"background", "b_snore"}) {
    SCOPED_TRACE(name);
    AudioPcm pcm;
    ASSERT_TRUE(AudioBackend::shared().decodeFile(
        NSBundle::mainBundle().pathForResource(name, "mp3"), pcm));
    std::vector<int> s;  // first channel
    for (std::size_t i = 0; i < pcm.samples.size(); i += std::size_t(pcm.channels))
      s.push_back(pcm.samples[i]);
    ASSERT_GT(s.size(), 2000u);
    // The step across the loop point is no larger than the steps around it.
    const std::size_t n = s.size(), w = 200;
    const double local = std::max(meanStep(s, 0, w), meanStep(s, n - w, n));
    EXPECT_LE(std::abs(s.front() - s.back()), 4 * local + 40)
        << "first " << s.front() << " last " << s.back() << " local step " << local;
  }
  AudioPcm music;
  ASSERT_TRUE(AudioBackend::shared().decodeFile(
      NSBundle::mainBundle().pathForResource("background", "mp3"), music));
  EXPECT_GE(music.duration(), 30.0);
  EXPECT_LE(music.duration(), 60.0);
  // The music never pauses at the loop point: no silent stretch at either end.
  std::size_t lead = 0, tail = 0;
  const std::size_t frames = music.samples.size() / std::size_t(music.channels);
  auto quiet = [&](std::size_t frame) {
    return std::abs(music.samples[frame * std::size_t(music.channels)]) < 30;
  };
  while (lead < frames && quiet(lead)) ++lead;
  while (tail < frames && quiet(frames - 1 - tail)) ++tail;
  EXPECT_LT(double(lead + tail) / music.sampleRate, 0.05);
  AudioBackend::shared().shutdown();
}

TEST(KstSoundRecordings, NarrationEndsAtItsRecordedLengthInVirtualTime) {
  if (!recordingsGenerated()) GTEST_SKIP() << "this build does not generate recordings";
  AudioBackend::setUseVirtualBackend(true);
  ScopedVirtualClock clock;
  const std::string path = NSBundle::mainBundle().pathForResource("QRB_p11_ru", "mp3");
  AudioPcm pcm;
  ASSERT_TRUE(AudioBackend::shared().decodeFile(path, pcm));
  auto observer = makeObject<AsideObserver>();
  NSNotificationCenter::defaultCenter().addObserver(
      observer, SELECTOR(AsideObserver::asideDidFinish), "asidedidfinishnotification", nullptr);
  KstSound::shared()->playSoundWithName("QRB_p11_ru", "mp3");
  for (int frame = 0; frame < 60 * 60 && observer->posted.empty(); ++frame) {
    clock->advance(1.0 / 60);
    NSRunLoop::mainRunLoop().runDue();
  }
  NSNotificationCenter::defaultCenter().removeObserver(observer);
  ASSERT_EQ(observer->posted.size(), 1u);
  EXPECT_TRUE(observer->posted[0].isAside);
  EXPECT_NEAR(observer->posted[0].at, pcm.duration(), 1.0 / 60 + 1e-9);
  KstSound::shared()->releasePlayers();
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
  NSAutoreleasePool::current().drain();
}
