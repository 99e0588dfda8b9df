#include "AudioCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <thread>

#include "AudioBackend.h"
#include "TestSupport.h"

namespace {
void put16(std::ofstream& out, unsigned value) {
  out.put(char(value & 0xFF)).put(char(value >> 8));
}
void put32(std::ofstream& out, unsigned value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// A 16-bit stereo WAV at 22050 Hz: a 300 Hz tone of `seconds` at `amplitude`.
void writeTone(const std::string& path, double seconds, double amplitude) {
  const unsigned rate = 22050, frames = unsigned(seconds * rate);
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  put32(out, 36 + frames * 4);
  out << "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);
  put16(out, 2);
  put32(out, rate);
  put32(out, rate * 4);
  put16(out, 4);
  put16(out, 16);
  out << "data";
  put32(out, frames * 4);
  for (unsigned i = 0; i < frames; ++i) {
    const auto s = unsigned(std::int16_t(amplitude * 32767 * std::sin(2 * M_PI * 300 * i / rate)));
    put16(out, s & 0xFFFF);
    put16(out, s & 0xFFFF);
  }
}

double rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return to > from ? std::sqrt(sum / double(to - from)) / 32768 : 0;
}

class AudioCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override { AudioBackend::setUseVirtualBackend(true); }
  void TearDown() override {
    AudioCapture::shared().stop();
    AudioCapture::shared().setStandInFile("");
  }
  AudioCapture& capture = AudioCapture::shared();
  TempDir dir;
};
}  // namespace

// The file is heard as it would be spoken: as much of it as the clock has
// moved on, converted to the capture's rate, and after its end, quiet.
TEST_F(AudioCaptureTest, AStandInFileIsHeardAtThePaceOfTheClock) {
  ScopedVirtualClock clock;
  writeTone(dir.file("tone.wav"), 1.0, 0.5);
  capture.setStandInFile(dir.file("tone.wav"));
  std::string error;
  ASSERT_TRUE(capture.start(error)) << error;
  std::vector<std::int16_t> heard;
  ASSERT_TRUE(capture.take(heard, error));
  EXPECT_TRUE(heard.empty());
  clock->advance(0.25);
  ASSERT_TRUE(capture.take(heard, error));
  EXPECT_EQ(heard.size(), std::size_t(0.25 * AudioCapture::kSampleRate));
  EXPECT_NEAR(rms(heard, 1000, heard.size()), 0.5 / std::sqrt(2.0), 0.02);
  clock->advance(1.25);
  ASSERT_TRUE(capture.take(heard, error));
  EXPECT_EQ(heard.size(), std::size_t(1.5 * AudioCapture::kSampleRate));
  EXPECT_NEAR(rms(heard, 22050, 44000), 0.5 / std::sqrt(2.0), 0.02);
  EXPECT_EQ(rms(heard, 44200, heard.size()), 0.0);
  // A clock set a day forward is not a day of sound.
  clock->advance(86400);
  const std::size_t before = heard.size();
  ASSERT_TRUE(capture.take(heard, error));
  EXPECT_LE(heard.size() - before, std::size_t(2.0 * AudioCapture::kSampleRate));
  // Listening again starts from the file's beginning.
  ASSERT_TRUE(capture.start(error));
  clock->advance(0.5);
  heard.clear();
  ASSERT_TRUE(capture.take(heard, error));
  EXPECT_NEAR(rms(heard, 0, heard.size()), 0.5 / std::sqrt(2.0), 0.02);
}

TEST_F(AudioCaptureTest, NoMicrophoneAndAnUnplugOneAreReasonsNotCrashes) {
  ScopedVirtualClock clock;
  std::string error;
  EXPECT_FALSE(capture.start(error));  // virtual audio: no microphone
  EXPECT_EQ(error, "no microphone");
  EXPECT_FALSE(capture.isListening());
  std::vector<std::int16_t> heard;
  EXPECT_FALSE(capture.take(heard, error));

  capture.setStandInFile(dir.file("missing.wav"));
  EXPECT_FALSE(capture.start(error));
  EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
  std::ofstream(dir.file("garbage.wav")) << "RIFF not really";
  capture.setStandInFile(dir.file("garbage.wav"));
  EXPECT_FALSE(capture.start(error));

  writeTone(dir.file("tone.wav"), 1.0, 0.5);
  capture.setStandInFile(dir.file("tone.wav"));
  ASSERT_TRUE(capture.start(error));
  clock->advance(0.1);
  ASSERT_TRUE(capture.take(heard, error));
  capture.unplug();
  clock->advance(0.1);
  EXPECT_FALSE(capture.take(heard, error));
  EXPECT_EQ(error, "the microphone was unplugged");
  EXPECT_FALSE(capture.isListening());
}

// SDL's own capture through its dummy driver, which hears silence in real
// time: the queue is emptied on the main thread, and closing it is clean.
TEST_F(AudioCaptureTest, TheSoundCardsMicrophoneIsHeardThroughSdl) {
  AudioBackend::setUseVirtualBackend(false);
  std::string error;
  if (!capture.start(error)) {
    AudioBackend::setUseVirtualBackend(true);
    GTEST_SKIP() << "no capture device here: " << error;
  }
  std::vector<std::int16_t> heard;
  for (int i = 0; i < 30 && heard.size() < 4410; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(capture.take(heard, error)) << error;
  }
  EXPECT_GE(heard.size(), 4410u);
  capture.stop();
  EXPECT_FALSE(capture.isListening());
  AudioBackend::setUseVirtualBackend(true);
}
