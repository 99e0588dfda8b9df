#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "AVAudioPlayer.h"
#include "AudioBackend.h"
#include "Log.h"
#include "MemoryMeter.h"
#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"
#include "TestSupport.h"

namespace {

std::string fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "audio" / name).string();
}

struct Ending {
  AVAudioPlayer* player;
  bool successfully;
  double at;
  std::thread::id thread;
};

class RecordingDelegate : public AVAudioPlayerDelegate {
 public:
  void audioPlayerDidFinishPlaying(AVAudioPlayer* player, bool successfully) override {
    endings.push_back(
        {player, successfully, Clock::current().seconds(), std::this_thread::get_id()});
  }
  std::vector<Ending> endings;
};

class VirtualAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AVAudioPlayer::setUseVirtualBackend(true);
    objectsBefore_ = NSObject::liveObjectCount();
  }
  void TearDown() override {
    AudioBackend::shared().shutdown();
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), objectsBefore_);
  }
  // Frame by frame, as the program's main loop does.
  void run(double seconds) {
    for (int i = 0, n = int(seconds * 60 + 0.5); i < n; ++i) {
      clock_->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      NSAutoreleasePool::current().drain();
    }
  }
  Ptr<AVAudioPlayer> player(const std::string& name, int loops = 0) {
    auto p = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture(name));
    if (p) {
      p->setNumberOfLoops(loops);
      p->setDelegate(&delegate_);
    }
    return p;
  }

  ScopedVirtualClock clock_;
  RecordingDelegate delegate_;
  std::int64_t objectsBefore_ = 0;
};

}  // namespace

TEST_F(VirtualAudioTest, SoundEndsOnceAtItsDecodedDurationOnTheMainThread) {
  auto p = player("tone_1s.mp3");
  ASSERT_TRUE(p);
  ASSERT_TRUE(p->play());
  EXPECT_TRUE(p->isPlaying());
  // Decoded without the encoder's padding: within a frame of the real second.
  EXPECT_NEAR(p->duration(), 1.0, 0.03);
  run(0.95);
  EXPECT_TRUE(delegate_.endings.empty());
  run(0.1);
  ASSERT_EQ(delegate_.endings.size(), 1u);
  EXPECT_EQ(delegate_.endings[0].player, p.get());
  EXPECT_TRUE(delegate_.endings[0].successfully);
  EXPECT_NEAR(delegate_.endings[0].at, p->duration(), 1.0 / 60 + 1e-9);
  EXPECT_EQ(delegate_.endings[0].thread, std::this_thread::get_id());
  EXPECT_FALSE(p->isPlaying());
  run(5);
  EXPECT_EQ(delegate_.endings.size(), 1u);
}

TEST_F(VirtualAudioTest, LoopCountMultipliesTheLengthAndMinusOneNeverEnds) {
  auto twice = player("tone_quarter.mp3", 2);
  auto forever = player("tone_quarter.mp3", -1);
  ASSERT_TRUE(twice && forever);
  twice->play();
  forever->play();
  const double round = twice->duration();
  run(3 * round - 0.05);
  EXPECT_TRUE(delegate_.endings.empty());
  run(0.1);
  ASSERT_EQ(delegate_.endings.size(), 1u);
  EXPECT_EQ(delegate_.endings[0].player, twice.get());
  run(60);
  EXPECT_EQ(delegate_.endings.size(), 1u);
  EXPECT_TRUE(forever->isPlaying());
  forever->stop();
  EXPECT_FALSE(forever->isPlaying());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
}

TEST_F(VirtualAudioTest, StoppingOrReleasingReportsNothing) {
  auto stopped = player("tone_1s.mp3");
  auto released = player("tone_1s.mp3");
  stopped->play();
  released->play();
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 2u);
  run(0.5);
  stopped->stop();
  released = nullptr;
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
  run(3);
  EXPECT_TRUE(delegate_.endings.empty());
  // A stopped player plays again from the start.
  ASSERT_TRUE(stopped->play());
  run(1.05);
  EXPECT_EQ(delegate_.endings.size(), 1u);
}

TEST_F(VirtualAudioTest, CurrentTimeIsTheSoundsOwnPosition) {
  auto once = player("tone_1s.mp3");
  auto looping = player("tone_quarter.mp3", -1);
  ASSERT_TRUE(once && looping);
  EXPECT_EQ(once->currentTime(), 0.0);
  once->play();
  run(0.5);
  EXPECT_NEAR(once->currentTime(), 0.5, 1e-9);
  // A clock set forward moves the end and the position alike: still half way.
  clock_->advance(30);
  AudioBackend::shared().clockDidJump(30);
  NSRunLoop::mainRunLoop().clockDidJump(30);
  EXPECT_NEAR(once->currentTime(), 0.5, 1e-9);
  run(0.3);
  EXPECT_NEAR(once->currentTime(), 0.8, 1e-9);
  EXPECT_TRUE(delegate_.endings.empty());
  run(0.3);
  ASSERT_EQ(delegate_.endings.size(), 1u);
  EXPECT_EQ(once->currentTime(), 0.0);  // ended

  looping->play();
  const double round = looping->duration();
  run(2 * round + 0.1);
  EXPECT_NEAR(looping->currentTime(), 0.1, 1.0 / 60);  // into its third round
  looping->stop();
  EXPECT_EQ(looping->currentTime(), 0.0);
}

// A lost device: what plays goes unheard but ends when it would have; what
// starts meanwhile is unheard and ends on time; when the device is back the
// music is heard again, the sound cut off ends unheard, a new one is heard.
TEST_F(VirtualAudioTest, ALostDeviceKeepsTheEndsAndTheReturnBringsTheLoopsBack) {
  AudioBackend& backend = AudioBackend::shared();
  auto narration = player("tone_1s.mp3");
  auto music = player("tone_quarter.mp3", -1);
  ASSERT_TRUE(narration && music && narration->play() && music->play());
  const double startedAt = Clock::current().seconds();
  EXPECT_TRUE(narration->isHeard() && music->isHeard());
  run(0.4);
  ASSERT_TRUE(backend.deviceLost());
  EXPECT_FALSE(backend.deviceLost());  // once lost, lost
  EXPECT_TRUE(backend.isDeviceLost());
  EXPECT_FALSE(narration->isHeard() || music->isHeard());
  EXPECT_TRUE(narration->isPlaying());
  auto line = player("tone_quarter.mp3");
  ASSERT_TRUE(line->play());
  EXPECT_FALSE(line->isHeard());
  run(line->duration() + 1.0 / 60);
  ASSERT_EQ(delegate_.endings.size(), 1u);
  EXPECT_EQ(delegate_.endings[0].player, line.get());

  ASSERT_TRUE(backend.deviceReturned());
  EXPECT_FALSE(backend.deviceReturned());
  EXPECT_TRUE(music->isHeard());
  EXPECT_FALSE(narration->isHeard());
  EXPECT_NEAR(music->currentTime(), 0.0, 1e-9);  // from its start again
  ASSERT_TRUE(line->play());
  EXPECT_TRUE(line->isHeard());
  run(1);
  ASSERT_EQ(delegate_.endings.size(), 3u);
  EXPECT_EQ(delegate_.endings[1].player, line.get());
  EXPECT_EQ(delegate_.endings[2].player, narration.get());
  EXPECT_NEAR(delegate_.endings[2].at - startedAt, narration->duration(), 1.0 / 60 + 1e-9);
  EXPECT_TRUE(music->isPlaying());
}

TEST_F(VirtualAudioTest, BadFilesMakeNoPlayer) {
  TempDir dir;
  std::ifstream in(fixture("tone_1s.mp3"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(dir.file("cut.mp3"), std::ios::binary) << bytes.substr(0, bytes.size() / 2 + 7);
  std::ofstream(dir.file("words.mp3")) << "not a sound at all";

  EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(dir.file("missing.mp3")));
  EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(dir.file("cut.mp3")));
  EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(dir.file("words.mp3")));
  EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(""));

  // An uninitialised player refuses to play instead of crashing.
  auto blank = makeObject<AVAudioPlayer>();
  EXPECT_FALSE(blank->play());
  EXPECT_FALSE(blank->isPlaying());
}

TEST_F(VirtualAudioTest, DecodingGivesTheSamplesWithoutEncoderPadding) {
  AudioPcm pcm;
  ASSERT_TRUE(AudioBackend::shared().decodeFile(fixture("tone_1s.mp3"), pcm));
  EXPECT_GT(pcm.sampleRate, 0);
  EXPECT_NEAR(pcm.duration(), 1.0, 0.03);
  // The tone is there, not silence.
  int peak = 0;
  for (std::int16_t s : pcm.samples) peak = std::max(peak, std::abs(int(s)));
  EXPECT_GT(peak, 8000);
}

// A recording over the length limit, and a file too large to be one, make no
// player: one warning each, however often asked for, and the mixer never
// decodes them (six minutes would take 61 MiB).
TEST_F(VirtualAudioTest, RecordingsOverTheLimitsAreRefusedBeforeDecoding) {
  TempDir dir;
  // Six minutes of the smallest mp3 frames (MPEG-1 layer III, 32 kbit/s,
  // 44.1 kHz, mono, silent): 1.4 MB.
  std::string frame(104, '\0');
  frame[0] = '\xFF', frame[1] = '\xFB', frame[2] = '\x10', frame[3] = '\xC0';
  const std::string longSound = dir.file("long.mp3"), hugeSound = dir.file("huge.mp3");
  {
    std::ofstream out(longSound, std::ios::binary);
    for (int i = 0; i < 360 * 44100 / 1152 + 1; ++i) out << frame;
    std::ofstream(hugeSound, std::ios::binary) << frame;
  }
  // A sparse 64 MiB: reading it would show.
  std::filesystem::resize_file(hugeSound, std::uintmax_t(64) << 20);
  const LogLevel saved = logLevel();
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  {
    MemoryMeter meter;
    for (int visit = 0; visit < 3; ++visit) {
      EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(longSound));
      EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(hugeSound));
    }
    AudioPcm pcm;
    EXPECT_FALSE(AudioBackend::shared().decodeFile(longSound, pcm));
    EXPECT_FALSE(AudioBackend::shared().decodeFile(hugeSound, pcm));
    // A quarter of what the decode would take: the first calls' own
    // bookkeeping (the sanitizer's above all) has come near 8 MiB.
    EXPECT_LT(meter.residentGrowth(), std::size_t(16) << 20);
    if (MemoryMeter::allocationsSeen()) {
      EXPECT_LT(meter.largestAllocation(), std::size_t(2) << 20);
    }
  }
  const std::string said = testing::internal::GetCapturedStderr();
  setLogLevel(saved);
  EXPECT_EQ(said, "lumo-book: warning: sound " + longSound +
                      " will not play: lasts 6 min 0 s (60.6 MiB decoded), over the limit of 5 min "
                      "0 s\nlumo-book: warning: sound " +
                      hugeSound + " will not play: file of 64.0 MiB, over the limit of 50.5 MiB\n");
}

// Runs the main run loop until `done` or `seconds` of real time.
static bool pumpUntil(const std::function<bool()>& done, double seconds = 5) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < give_up) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return done();
}

TEST_F(VirtualAudioTest, APrefetchedSoundIsDecodedOffTheMainThreadAndPlaysItsLength) {
  AudioBackend& backend = AudioBackend::shared();
  const std::string tone = fixture("tone_1s.mp3");
  backend.prefetch(tone);
  backend.prefetch(tone);
  // The result comes back through the main run loop, never before it runs.
  EXPECT_FALSE(backend.isDecoded(tone));
  ASSERT_TRUE(pumpUntil([&] { return backend.isDecoded(tone); }));
  auto p = player("tone_1s.mp3");
  ASSERT_TRUE(p && p->play());
  EXPECT_NEAR(p->duration(), 1.0, 0.03);
  run(1.1);
  ASSERT_EQ(delegate_.endings.size(), 1u);
  EXPECT_TRUE(delegate_.endings[0].successfully);
}

TEST_F(VirtualAudioTest, APrefetchOfABadFileSaysNothingAndThePlayerSaysWhyOnce) {
  TempDir dir;
  std::ofstream(dir.file("words.mp3")) << "not a sound at all";
  const LogLevel saved = logLevel();
  setLogLevel(LogLevel::Warning);
  testing::internal::CaptureStderr();
  AudioBackend::shared().prefetch(dir.file("words.mp3"));
  AudioBackend::shared().prefetch(dir.file("missing.mp3"));
  pumpUntil([] { return false; }, 0.3);  // the worker has long finished
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(AudioBackend::shared().isDecoded(dir.file("words.mp3")));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(dir.file("words.mp3")));
  EXPECT_FALSE(AVAudioPlayer::audioPlayerWithContentsOfURL(dir.file("words.mp3")));
  const std::string said = testing::internal::GetCapturedStderr();
  setLogLevel(saved);
  EXPECT_NE(said.find("words.mp3"), std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

// A slower or faster player lasts longer or shorter and tells its position in
// the file's own time; a part of the file plays only that part.
TEST_F(VirtualAudioTest, ARateStretchesTheSoundAndAPartPlaysItsStretchOnly) {
  auto plain = player("tone_1s.mp3");
  ASSERT_TRUE(plain);
  plain->setRate(0.8f);  // not enabled: no effect
  plain->play();
  const double length = plain->duration();
  ASSERT_GT(length, 0.9);

  auto slow = player("tone_1s.mp3");
  slow->setEnableRate(true);
  slow->setRate(0.8f);
  slow->play();
  run(0.5);
  EXPECT_NEAR(slow->currentTime(), 0.4, 0.01);
  EXPECT_NEAR(slow->duration(), length, 0.02);  // the file's own length
  run(length - 0.5 + 0.05);
  ASSERT_EQ(delegate_.endings.size(), 1u);
  EXPECT_EQ(delegate_.endings[0].player, plain.get());
  run(length / 0.8 - length);
  ASSERT_EQ(delegate_.endings.size(), 2u);
  EXPECT_EQ(delegate_.endings[1].player, slow.get());
  EXPECT_NEAR(delegate_.endings[1].at - delegate_.endings[0].at, length / 0.8 - length, 0.05);

  auto part = player("tone_1s.mp3");
  part->setEnableRate(true);
  part->setRate(1.25f);
  part->setPart(0.2, 0.7, 0.05);
  const double startedAt = Clock::current().seconds();
  part->play();
  run(0.2);
  EXPECT_NEAR(part->currentTime(), 0.2 + 0.2 * 1.25, 0.01);
  run(0.25);
  ASSERT_EQ(delegate_.endings.size(), 3u);
  EXPECT_NEAR(delegate_.endings[2].at - startedAt, 0.5 / 1.25, 1.0 / 60 + 0.01);
}

// The sound card back end on SDL's dummy device: mixing runs in real time
// on the mixer's own thread.
TEST(RealAudioTest, EndArrivesOnTheMainThreadAfterRealPlayback) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AVAudioPlayer::setUseVirtualBackend(false);
  RecordingDelegate delegate;
  auto p = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_quarter.mp3"));
  auto stopped = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_quarter.mp3"));
  ASSERT_TRUE(p && stopped);
  p->setDelegate(&delegate);
  stopped->setDelegate(&delegate);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(p->play());
  ASSERT_TRUE(stopped->play());
  EXPECT_TRUE(p->isPlaying());
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  bool stopDone = false;
  while (delegate.endings.empty() && elapsed() < 5) {
    NSRunLoop::mainRunLoop().runDue();
    if (!stopDone && elapsed() > 0.1) {
      stopped->stop();
      stopDone = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(delegate.endings.size(), 1u);
  EXPECT_EQ(delegate.endings[0].player, p.get());
  EXPECT_TRUE(delegate.endings[0].successfully);
  EXPECT_EQ(delegate.endings[0].thread, std::this_thread::get_id());
  EXPECT_GE(elapsed(), 0.2);  // it really played, not just decoded
  // Nothing more arrives for the stopped one.
  while (elapsed() < 1.0) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(delegate.endings.size(), 1u);
  p = nullptr;
  stopped = nullptr;
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
  AVAudioPlayer::setUseVirtualBackend(true);
}

// A part of a stretched sound is samples made here, not by the mixer's
// decoder: it plays to its end and lets them go.
TEST(RealAudioTest, APartOfAStretchedSoundPlaysToItsEnd) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AVAudioPlayer::setUseVirtualBackend(false);
  RecordingDelegate delegate;
  auto p = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_1s.mp3"));
  ASSERT_TRUE(p);
  p->setDelegate(&delegate);
  p->setEnableRate(true);
  p->setRate(1.2f);
  p->setPart(0.1, 0.4, 0.05);
  ASSERT_TRUE(p->play());
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  while (delegate.endings.empty() && elapsed() < 10) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(delegate.endings.size(), 1u);
  EXPECT_TRUE(AudioBackend::shared().isDecoded(fixture("tone_1s.mp3"), 1.2));
  EXPECT_FALSE(AudioBackend::shared().isDecoded(fixture("tone_1s.mp3")));
  EXPECT_NEAR(p->duration(), 1.0, 0.05);
  p = nullptr;
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
  AVAudioPlayer::setUseVirtualBackend(true);
}

TEST(RealAudioTest, WithoutAnAudioDeviceNothingPlaysAndNothingEnds) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  AVAudioPlayer::setUseVirtualBackend(false);
  RecordingDelegate delegate;
  auto p = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_quarter.mp3"));
  ASSERT_TRUE(p);  // the file itself is fine
  p->setDelegate(&delegate);
  EXPECT_FALSE(p->play());
  EXPECT_FALSE(p->isPlaying());
  EXPECT_FALSE(p->play());  // asking again neither crashes nor starts anything
  for (int i = 0; i < 40; ++i) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(delegate.endings.empty());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
  p = nullptr;
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AudioBackend::shared().shutdown();
  AVAudioPlayer::setUseVirtualBackend(true);
}

TEST(RealAudioTest, APlayerForASoundStillBeingPrefetchedStartsWhenThatDecodeEnds) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AVAudioPlayer::setUseVirtualBackend(false);
  AudioBackend::shared().purgeCache();
  RecordingDelegate delegate;
  AudioBackend::shared().prefetch(fixture("tone_quarter.mp3"));
  auto p = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_quarter.mp3"));
  ASSERT_TRUE(p);
  p->setDelegate(&delegate);
  ASSERT_TRUE(p->play());
  EXPECT_TRUE(pumpUntil([&] { return !delegate.endings.empty(); }));
  ASSERT_EQ(delegate.endings.size(), 1u);
  EXPECT_TRUE(delegate.endings[0].successfully);
  p = nullptr;
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
  AVAudioPlayer::setUseVirtualBackend(true);
}

TEST(RealAudioTest, PlayerWaitingForItsDecodeIsReleasedByAShutdown) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AVAudioPlayer::setUseVirtualBackend(false);
  AudioBackend::shared().purgeCache();
  auto p = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_1s.mp3"));
  ASSERT_TRUE(p);
  ASSERT_TRUE(p->play());  // decoding on the worker; the result is not yet collected
  AudioBackend::shared().shutdown();
  EXPECT_FALSE(p->isPlaying());
  for (int i = 0; i < 20; ++i) {
    NSRunLoop::mainRunLoop().runDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(p->isPlaying());
  EXPECT_EQ(AudioBackend::shared().voiceCount(), 0u);
  p = nullptr;
  NSRunLoop::mainRunLoop().reset();
  AVAudioPlayer::setUseVirtualBackend(true);
}

// The sound card (SDL's dummy device) lost and back: the mixer's ends are
// replaced by timers without a second report, a decode under way when the
// mixer reopens is not lost, and what plays afterwards reaches its end.
TEST(RealAudioTest, ADeviceLostAndBackMidSoundReportsEachEndOnce) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  AVAudioPlayer::setUseVirtualBackend(false);
  AudioBackend& backend = AudioBackend::shared();
  backend.purgeCache();
  RecordingDelegate delegate;
  auto narration = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_1s.mp3"));
  auto music = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_quarter.mp3"));
  ASSERT_TRUE(narration && music);
  narration->setDelegate(&delegate);
  music->setDelegate(&delegate);
  music->setNumberOfLoops(-1);
  ASSERT_TRUE(narration->play() && music->play());
  ASSERT_TRUE(pumpUntil([&] { return narration->isHeard() && music->isHeard(); }));
  const auto start = std::chrono::steady_clock::now();
  pumpUntil([] { return false; }, 0.2);
  ASSERT_TRUE(backend.deviceLost());
  EXPECT_FALSE(narration->isHeard() || music->isHeard());
  ASSERT_TRUE(pumpUntil([&] { return !delegate.endings.empty(); }));
  const double endedAfter =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(endedAfter, 0.6);  // the rest of the second, not at once
  EXPECT_EQ(delegate.endings[0].player, narration.get());

  // Back while a player waits for its decode on the worker.
  backend.purgeCache();
  auto line = AVAudioPlayer::audioPlayerWithContentsOfURL(fixture("tone_quarter.mp3"));
  ASSERT_TRUE(line);
  line->setDelegate(&delegate);
  ASSERT_TRUE(line->play());
  ASSERT_TRUE(backend.deviceReturned());
  EXPECT_TRUE(music->isHeard());
  ASSERT_TRUE(pumpUntil([&] { return delegate.endings.size() >= 2; }));
  EXPECT_EQ(delegate.endings[1].player, line.get());
  pumpUntil([] { return false; }, 0.3);
  EXPECT_EQ(delegate.endings.size(), 2u);
  EXPECT_TRUE(music->isPlaying());
  narration = music = line = nullptr;
  backend.shutdown();
  NSRunLoop::mainRunLoop().reset();
  AVAudioPlayer::setUseVirtualBackend(true);
}
