#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What one recording may cost. The book's recordings last under a minute (its
// music loop 36 s); five minutes holds a whole song from a book folder. The
// mixer decodes every sound whole, at 44.1 kHz in 16-bit stereo: 50 MiB for
// five minutes, and no recording file needs to be larger than that.
constexpr double kAudioFileMaxSeconds = 5 * 60;
constexpr std::size_t kAudioFileMaxDecodedBytes =
    std::size_t(kAudioFileMaxSeconds) * 44100 * 2 * sizeof(std::int16_t);
constexpr std::size_t kAudioFileMaxFileBytes = kAudioFileMaxDecodedBytes;

// A quick look at a sound file before anyone decodes it: is it audio at all,
// is an mp3 complete, and how long will it last decoded? Reads the file but
// decodes nothing, so it is cheap enough for the main thread. Only files
// whose length can be told beforehand are played: mp3 (its frames walked)
// and WAV (its header); FLAC can promise one length and decode to any other,
// so it is refused. Ogg Vorbis (a reader's own recordings) is played too:
// its decoder is ours and stops at the limit whatever the file claims.
struct AudioFileInfo {
  enum class Kind { Missing, NotAudio, Truncated, TooLong, Unsupported, Mp3, Wav, OggVorbis };
  Kind kind = Kind::Missing;
  int sampleRate = 0;
  int channels = 0;
  std::int64_t frames = 0;  // mp3 audio frames, the tag frame excluded
  double duration = 0;      // from the headers, before decoding
  std::string problem;      // why the file is refused, for the log

  bool playable() const {
    return kind == Kind::Mp3 || kind == Kind::Wav || kind == Kind::OggVorbis;
  }
};

namespace AudioFile {
AudioFileInfo probe(const std::string& path);
AudioFileInfo probeBytes(const std::vector<std::uint8_t>& bytes);
}  // namespace AudioFile
