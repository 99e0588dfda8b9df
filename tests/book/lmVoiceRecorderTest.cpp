#include "lmVoiceRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "AudioBackend.h"
#include "AudioCapture.h"
#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"
#include "TestSupport.h"

namespace {
struct Heard : lmVoiceRecorderDelegate {
  int ticks = 0;
  std::vector<std::int16_t> samples;
  int finished = 0;
  std::vector<std::string> failures;
  void recorderDidTick(lmVoiceRecorder*) override { ++ticks; }
  void recorderDidFinish(lmVoiceRecorder*, std::vector<std::int16_t> heard, int) override {
    samples = std::move(heard);
    ++finished;
  }
  void recorderDidFail(lmVoiceRecorder*, const std::string& reason) override {
    failures.push_back(reason);
  }
};

// Mono 16-bit WAV at the capture rate: a level of 1000 for `seconds`.
void writeSteady(const std::string& path, double seconds) {
  const std::uint32_t n = std::uint32_t(seconds * AudioCapture::kSampleRate);
  std::ofstream out(path, std::ios::binary);
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(char((v >> (8 * i)) & 0xFF));
  };
  out << "RIFF";
  put(36 + n * 2, 4);
  out << "WAVEfmt ";
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(AudioCapture::kSampleRate, 4);
  put(AudioCapture::kSampleRate * 2, 4);
  put(2, 2);
  put(16, 2);
  out << "data";
  put(n * 2, 4);
  for (std::uint32_t i = 0; i < n; ++i) put(1000, 2);
}

class lmVoiceRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AudioBackend::setUseVirtualBackend(true);
    objectsBefore_ = NSObject::liveObjectCount();
    writeSteady(dir.file("reading.wav"), 120);
    AudioCapture::shared().setStandInFile(dir.file("reading.wav"));
    recorder = lmVoiceRecorder::recorder();
    recorder->setDelegate(&heard);
  }
  void TearDown() override {
    recorder->cancel();
    recorder = nullptr;
    AudioCapture::shared().setStandInFile("");
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), objectsBefore_);
  }
  void run(double seconds) {
    for (int i = 0, n = int(std::lround(seconds * 60)); i < n; ++i) {
      clock->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
    }
  }
  ScopedVirtualClock clock;
  TempDir dir;
  Heard heard;
  Ptr<lmVoiceRecorder> recorder;
  std::size_t objectsBefore_ = 0;
};
}  // namespace

// 3, 2, 1, then recording: what the countdown heard is not kept, what came
// after is, up to the moment the reader ends it.
TEST_F(lmVoiceRecorderTest, CountsDownThenRecordsUntilFinished) {
  std::string error;
  ASSERT_TRUE(recorder->begin(error)) << error;
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Countdown);
  EXPECT_EQ(recorder->countdownShown(), 3);
  EXPECT_EQ(recorder->seconds(), 0);
  run(1.05);
  EXPECT_EQ(recorder->countdownShown(), 2);
  run(1.0);
  EXPECT_EQ(recorder->countdownShown(), 1);
  run(1.0);
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Recording);
  EXPECT_EQ(recorder->countdownShown(), 0);
  run(2.5);
  EXPECT_NEAR(recorder->seconds(), 2.5, 0.11);
  recorder->finish();
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Idle);
  EXPECT_EQ(heard.finished, 1);
  EXPECT_NEAR(double(heard.samples.size()) / AudioCapture::kSampleRate, 2.55, 0.11);
  EXPECT_GT(heard.ticks, 50);
  EXPECT_FALSE(AudioCapture::shared().isListening());
  const int ticks = heard.ticks;
  run(1.0);
  EXPECT_EQ(heard.ticks, ticks);  // no timer while idle
}

TEST_F(lmVoiceRecorderTest, NinetySecondsIsTheLongestRecording) {
  std::string error;
  ASSERT_TRUE(recorder->begin(error));
  run(3.0 + 95);
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Idle);
  ASSERT_EQ(heard.finished, 1);
  EXPECT_EQ(heard.samples.size(), std::size_t(90 * AudioCapture::kSampleRate));
}

TEST_F(lmVoiceRecorderTest, CancelOrFinishingDuringTheCountdownKeepNothing) {
  std::string error;
  ASSERT_TRUE(recorder->begin(error));
  run(4.0);
  recorder->cancel();
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Idle);
  EXPECT_FALSE(AudioCapture::shared().isListening());
  ASSERT_TRUE(recorder->begin(error));
  run(1.0);
  recorder->finish();
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Idle);
  EXPECT_EQ(heard.finished, 0);
  EXPECT_TRUE(heard.failures.empty());
}

TEST_F(lmVoiceRecorderTest, AMissingOrFailingMicrophoneEndsInAReason) {
  AudioCapture::shared().setStandInFile("");
  std::string error;
  EXPECT_FALSE(recorder->begin(error));
  EXPECT_EQ(error, "no microphone");
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Idle);

  AudioCapture::shared().setStandInFile(dir.file("reading.wav"));
  ASSERT_TRUE(recorder->begin(error));
  run(5.0);
  AudioCapture::shared().unplug();
  run(0.2);
  EXPECT_EQ(recorder->state(), lmVoiceRecorder::State::Idle);
  EXPECT_EQ(heard.failures, (std::vector<std::string>{"the microphone was unplugged"}));
  EXPECT_EQ(heard.finished, 0);
}
