#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "AudioFile.h"
#include "TestSupport.h"

namespace {

std::string fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "audio" / name).string();
}

std::vector<std::uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(AudioFileTest, CompleteMp3IsAcceptedWithItsLengthFromTheHeaders) {
  AudioFileInfo info = AudioFile::probe(fixture("tone_1s.mp3"));
  ASSERT_EQ(info.kind, AudioFileInfo::Kind::Mp3) << info.problem;
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.channels, 1);
  // The encoder adds its delay and pads to whole frames: at most three frames more.
  EXPECT_GE(info.duration, 1.0);
  EXPECT_LT(info.duration, 1.0 + 3 * 1152.0 / 44100);

  AudioFileInfo quarter = AudioFile::probe(fixture("tone_quarter.mp3"));
  ASSERT_EQ(quarter.kind, AudioFileInfo::Kind::Mp3);
  EXPECT_EQ(quarter.sampleRate, 22050);
  EXPECT_GE(quarter.duration, 0.25);
  EXPECT_LT(quarter.duration, 0.25 + 3 * 576.0 / 22050);
}

TEST(AudioFileTest, EveryCutNearTheEndIsCaughtAsTruncated) {
  std::vector<std::uint8_t> bytes = readAll(fixture("tone_1s.mp3"));
  ASSERT_GT(bytes.size(), 600u);
  // Cuts inside a frame and cuts on a frame boundary (caught by the encoder's frame count).
  for (std::size_t keep = bytes.size() - 500; keep < bytes.size(); ++keep) {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(keep));
    AudioFileInfo info = AudioFile::probeBytes(cut);
    ASSERT_EQ(info.kind, AudioFileInfo::Kind::Truncated) << "kept " << keep << " bytes";
    EXPECT_FALSE(info.playable());
  }
}

TEST(AudioFileTest, FilesThatAreNotAudioAreRefused) {
  using Kind = AudioFileInfo::Kind;
  EXPECT_EQ(AudioFile::probe("/nonexistent/sound.mp3").kind, Kind::Missing);
  EXPECT_EQ(AudioFile::probeBytes({}).kind, Kind::NotAudio);
  std::string text = "This is not a sound, only words.";
  EXPECT_EQ(AudioFile::probeBytes({text.begin(), text.end()}).kind, Kind::NotAudio);
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
  EXPECT_EQ(AudioFile::probeBytes(png).kind, Kind::NotAudio);
  // A tag that promises audio and has none.
  std::vector<std::uint8_t> tagOnly = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 4, 1, 2, 3, 4};
  EXPECT_EQ(AudioFile::probeBytes(tagOnly).kind, Kind::NotAudio);
  // Bytes that look like a frame sync once but never form frames.
  std::vector<std::uint8_t> lonelySync(400, 0x55);
  lonelySync[0] = 0xFF;
  lonelySync[1] = 0xFB;
  lonelySync[2] = 0x90;
  lonelySync[3] = 0x64;
  EXPECT_NE(AudioFile::probeBytes(lonelySync).kind, Kind::Mp3);
}

TEST(AudioFileTest, LeadingTagsAndTrailingTagsAreSkipped) {
  std::vector<std::uint8_t> mp3 = readAll(fixture("tone_1s.mp3"));
  AudioFileInfo plain = AudioFile::probeBytes(mp3);

  // A 10-byte ID3 header announcing 20 bytes of tag, the tag, the frames and a
  // 128-byte "TAG" trailer, laid out in one buffer of its final size (GCC 12
  // misreads appends to a short vector at -O3).
  const std::uint8_t id3Header[] = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 20};
  const std::size_t framesAt = sizeof id3Header + 20, trailerAt = framesAt + mp3.size();
  std::vector<std::uint8_t> tagged(trailerAt + 128, 0);
  std::copy(std::begin(id3Header), std::end(id3Header), tagged.begin());
  std::copy(mp3.begin(), mp3.end(), tagged.begin() + std::ptrdiff_t(framesAt));
  tagged[trailerAt] = 'T', tagged[trailerAt + 1] = 'A', tagged[trailerAt + 2] = 'G';

  AudioFileInfo info = AudioFile::probeBytes(tagged);
  ASSERT_EQ(info.kind, AudioFileInfo::Kind::Mp3) << info.problem;
  EXPECT_EQ(info.frames, plain.frames);
}

namespace {
// A WAV of 8-bit samples: the header says `announced` bytes of data, the file
// holds `held`.
std::vector<std::uint8_t> wav(int rate, int channels, std::uint32_t announced, std::size_t held) {
  std::vector<std::uint8_t> b(44 + held, 0x80);
  auto put = [&b](std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  };
  std::memcpy(&b[0], "RIFF", 4);
  put(4, std::uint32_t(b.size() - 8), 4);
  std::memcpy(&b[8], "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);  // integer PCM
  put(22, std::uint32_t(channels), 2);
  put(24, std::uint32_t(rate), 4);
  put(28, std::uint32_t(rate * channels), 4);
  put(32, std::uint32_t(channels), 2);
  put(34, 8, 2);
  std::memcpy(&b[36], "data", 4);
  put(40, announced, 4);
  return b;
}
}  // namespace

// A recording is played only when its length is known before decoding and
// within the limit: a WAV's from the data it holds, whatever its header says.
TEST(AudioFileTest, OnlyRecordingsOfAKnownLengthWithinTheLimitArePlayable) {
  using Kind = AudioFileInfo::Kind;
  AudioFileInfo second = AudioFile::probeBytes(wav(8000, 1, 0xFFFFFFF0u, 8000));
  ASSERT_EQ(second.kind, Kind::Wav) << second.problem;
  EXPECT_DOUBLE_EQ(second.duration, 1.0);
  EXPECT_EQ(second.sampleRate, 8000);

  // Three megabytes of 8 kHz mono: six and a quarter minutes, 63 MiB decoded.
  const std::size_t held = 375 * 8000;
  AudioFileInfo tooLong = AudioFile::probeBytes(wav(8000, 1, std::uint32_t(held), held));
  EXPECT_EQ(tooLong.kind, Kind::TooLong);
  EXPECT_FALSE(tooLong.playable());
  EXPECT_EQ(tooLong.problem, "lasts 6 min 15 s (63.1 MiB decoded), over the limit of 5 min 0 s");

  // Compressed WAV and streams that may decode to any length are refused.
  std::vector<std::uint8_t> adpcm = wav(8000, 1, 800, 800);
  adpcm[20] = 2;
  EXPECT_EQ(AudioFile::probeBytes(adpcm).kind, Kind::Unsupported);
  for (const char* magic : {"OggS", "fLaC"}) {
    std::vector<std::uint8_t> stream(64, 0);
    std::memcpy(stream.data(), magic, 4);
    EXPECT_EQ(AudioFile::probeBytes(stream).kind, Kind::Unsupported) << magic;
  }
}
