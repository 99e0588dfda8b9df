#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A quick look at a compressed sound file before anyone decodes it: is it
// audio at all, and is an mp3 complete? Reads the file but decodes nothing,
// so it is cheap enough for the main thread.
struct AudioFileInfo {
  enum class Kind { Missing, NotAudio, Truncated, Mp3, OtherContainer };
  Kind kind = Kind::Missing;
  int sampleRate = 0;       // mp3 only
  int channels = 0;         // mp3 only
  std::int64_t frames = 0;  // mp3 audio frames, the tag frame excluded
  double duration = 0;      // from the frame headers (mp3 only), before decoding
  std::string problem;      // why the file is refused, for the log

  bool playable() const { return kind == Kind::Mp3 || kind == Kind::OtherContainer; }
};

namespace AudioFile {
AudioFileInfo probe(const std::string& path);
AudioFileInfo probeBytes(const std::vector<std::uint8_t>& bytes);
}  // namespace AudioFile
