#include "OggVorbis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "AudioBackend.h"
#include "AudioFile.h"
#include "TestSupport.h"

namespace {
std::vector<std::int16_t> tone(double seconds, int rate, double amplitude) {
  std::vector<std::int16_t> out;
  for (int i = 0, n = int(seconds * rate); i < n; ++i)
    out.push_back(std::int16_t(amplitude * 32767 * std::sin(2 * M_PI * 440 * i / rate)));
  return out;
}

double rms(const std::vector<std::int16_t>& s) {
  double sum = 0;
  for (auto v : s) sum += double(v) * v;
  return s.empty() ? 0 : std::sqrt(sum / double(s.size())) / 32768;
}

void save(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
}  // namespace

// What is written is read back as long and as loud, at its own rate.
TEST(OggVorbis, EncodedSpeechDecodesToTheSameLengthAndLevel) {
  TempDir dir;
  const std::vector<std::int16_t> samples = tone(2.0, 44100, 0.3);
  std::string bytes, error;
  ASSERT_TRUE(OggVorbis::encode(samples, 44100, OggVorbis::kSpeechQuality, bytes, error)) << error;
  EXPECT_EQ(bytes.compare(0, 4, "OggS"), 0);
  EXPECT_LT(bytes.size(), 40000u);  // about 60 kbit/s at most, not raw samples
  save(dir.file("tone.ogg"), bytes);
  OggVorbis::Decoded decoded;
  ASSERT_TRUE(OggVorbis::decode(dir.file("tone.ogg"), 10, decoded, error)) << error;
  EXPECT_EQ(decoded.sampleRate, 44100);
  EXPECT_NEAR(decoded.duration(), 2.0, 0.001);
  EXPECT_NEAR(20 * std::log10(rms(decoded.samples) / rms(samples)), 0, 0.5);
  // An empty recording is still a valid file, of nothing.
  ASSERT_TRUE(OggVorbis::encode({}, 22050, OggVorbis::kSpeechQuality, bytes, error));
  save(dir.file("empty.ogg"), bytes);
  ASSERT_TRUE(OggVorbis::decode(dir.file("empty.ogg"), 10, decoded, error)) << error;
  EXPECT_TRUE(decoded.samples.empty());
}

// Decoding stops at the limit, whatever the file claims, and bad files are
// reasons, not crashes.
TEST(OggVorbis, DecodingIsBoundedAndRefusesWhatIsNotVorbis) {
  TempDir dir;
  std::string bytes, error;
  ASSERT_TRUE(OggVorbis::encode(tone(3.0, 16000, 0.3), 16000, 0.1f, bytes, error));
  save(dir.file("long.ogg"), bytes);
  OggVorbis::Decoded decoded;
  EXPECT_FALSE(OggVorbis::decode(dir.file("long.ogg"), 1.0, decoded, error));
  EXPECT_EQ(error, "longer than 1 s");
  EXPECT_TRUE(decoded.samples.empty());

  save(dir.file("half.ogg"), bytes.substr(0, bytes.size() / 2));
  if (OggVorbis::decode(dir.file("half.ogg"), 10, decoded, error)) {
    EXPECT_LT(decoded.duration(), 2.0);  // what was there, and no more
  }
  save(dir.file("noise.ogg"), std::string(5000, '\x55'));
  EXPECT_FALSE(OggVorbis::decode(dir.file("noise.ogg"), 10, decoded, error));
  EXPECT_FALSE(OggVorbis::decode(dir.file("missing.ogg"), 10, decoded, error));
}

// Own recordings play through the book's audio player: the quick look tells
// their length from the last page, and the player decodes them within the
// limit; a file that claims more than the limit is refused unread.
TEST(OggVorbis, OwnRecordingsAreProbedAndDecodedByThePlayer) {
  TempDir dir;
  std::string bytes, error;
  ASSERT_TRUE(OggVorbis::encode(tone(2.0, 22050, 0.3), 22050, 0.3f, bytes, error));
  save(dir.file("own.ogg"), bytes);
  AudioFileInfo info = AudioFile::probe(dir.file("own.ogg"));
  ASSERT_EQ(info.kind, AudioFileInfo::Kind::OggVorbis) << info.problem;
  EXPECT_TRUE(info.playable());
  EXPECT_EQ(info.sampleRate, 22050);
  EXPECT_EQ(info.channels, 1);
  EXPECT_NEAR(info.duration, 2.0, 0.001);

  AudioBackend::setUseVirtualBackend(true);
  AudioPcm pcm;
  ASSERT_TRUE(AudioBackend::shared().decodeFile(dir.file("own.ogg"), pcm));
  EXPECT_NEAR(pcm.duration(), 2.0, 0.01);
  AudioBackend::shared().shutdown();

  // Ten minutes claimed on the last page.
  const std::size_t last = bytes.rfind("OggS");
  const std::int64_t claimed = std::int64_t(600) * 22050;
  for (int i = 0; i < 8; ++i) bytes[last + 6 + std::size_t(i)] = char((claimed >> (8 * i)) & 0xFF);
  save(dir.file("claims.ogg"), bytes);
  EXPECT_EQ(AudioFile::probe(dir.file("claims.ogg")).kind, AudioFileInfo::Kind::TooLong);
  // Ogg that is not Vorbis stays unplayed.
  std::string opus = bytes;
  opus.replace(opus.find("vorbis"), 6, "OpusHe");
  save(dir.file("opus.ogg"), opus);
  EXPECT_EQ(AudioFile::probe(dir.file("opus.ogg")).kind, AudioFileInfo::Kind::Unsupported);
}
