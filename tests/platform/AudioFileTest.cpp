#include <gtest/gtest.h>

#include <algorithm>
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

TEST(AudioFileTest, OtherContainersAreLeftToTheDecoder) {
  TempDir dir;
  std::ofstream(dir.file("x.wav"), std::ios::binary) << "RIFF----WAVEfmt ";
  AudioFileInfo info = AudioFile::probe(dir.file("x.wav"));
  EXPECT_EQ(info.kind, AudioFileInfo::Kind::OtherContainer);
  EXPECT_TRUE(info.playable());
}
