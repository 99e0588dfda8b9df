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
  double at;
  std::thread::id thread;
};

class AsideObserver : public NSObject {
 public:
  void asideDidFinish(NSNotification* note) {
    ASSERT_TRUE(note->userInfo().contains("isAside"));
    posted.push_back({note->userInfo().boolValue("isAside"), Clock::current().seconds(),
                      std::this_thread::get_id()});
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

TEST_F(KstSoundTest, CancelledNarrationPostsNothing) {
  sound()->playSoundWithName("QRB_p3", "mp3");
  run(0.3);
  sound()->cancelSound();
  EXPECT_EQ(sound()->playingSoundName(), "");
  run(3);
  EXPECT_TRUE(posted().empty());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
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
  // Repeated every frame, as a careless caller might: still no crash, no report.
  for (int i = 0; i < 30; ++i) {
    sound()->playSoundWithName("QRB_p99_ru", "mp3");
    run(1.0 / 60);
  }
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
