#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Recordings of our own making as Ogg Vorbis files: encoded with libvorbisenc,
// read back with libvorbisfile. Mono 16-bit samples.
namespace OggVorbis {
// Quality on the encoder's scale from -0.1 to 1; 0.4 keeps speech clear at
// about 60 kbit/s for mono at 44.1 kHz.
constexpr float kSpeechQuality = 0.4f;

// The whole file's bytes, or false with the encoder's reason.
bool encode(const std::vector<std::int16_t>& samples, int sampleRate, float quality,
            std::string& bytes, std::string& error);

// Decodes at most `maxSeconds` of a file (folded to mono); a longer file is
// refused, whatever its headers say, after decoding no more than that.
struct Decoded {
  int sampleRate = 0;
  std::vector<std::int16_t> samples;
  double duration() const { return sampleRate ? double(samples.size()) / sampleRate : 0.0; }
};
bool decode(const std::string& path, double maxSeconds, Decoded& out, std::string& error);
}  // namespace OggVorbis
