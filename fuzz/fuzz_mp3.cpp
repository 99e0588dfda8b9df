// The recording check on arbitrary bytes, from memory and from a file: an
// accepted mp3 has frames, a known rate and a duration that adds up; an
// accepted WAV has a length; neither lasts longer than the limit.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "AudioFile.h"

namespace {
int gFile = -1;
std::string gPath;

bool knownRate(int rate) {
  for (int r : {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000})
    if (rate == r) return true;
  return false;
}

void check(const AudioFileInfo& info, std::size_t size) {
  // Whatever is accepted lasts a known time within the limit.
  if (info.playable() && !(info.duration > 0 && info.duration <= kAudioFileMaxSeconds))
    std::abort();
  if (info.kind == AudioFileInfo::Kind::Wav) return;
  if (info.kind != AudioFileInfo::Kind::Mp3) {
    if (info.problem.empty()) std::abort();
    return;
  }
  if (info.frames <= 0 || !knownRate(info.sampleRate)) std::abort();
  if (info.channels != 1 && info.channels != 2) std::abort();
  // Every frame holds at least 24 bytes and at most 1152 samples.
  if (std::size_t(info.frames) > size / 24 + 1) std::abort();
  if (!(info.duration > 0) || info.duration > double(info.frames) * 1152 / info.sampleRate + 1e-9)
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gFile = memfd_create("fuzz_mp3", 0);
  if (gFile < 0) std::abort();
  gPath = "/proc/self/fd/" + std::to_string(gFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  const AudioFileInfo info = AudioFile::probeBytes(bytes);
  check(info, size);

  if (ftruncate(gFile, 0) != 0 || pwrite(gFile, data, size, 0) != ssize_t(size)) std::abort();
  const AudioFileInfo fromFile = AudioFile::probe(gPath);
  if (fromFile.kind != info.kind || fromFile.frames != info.frames) std::abort();
  return 0;
}
