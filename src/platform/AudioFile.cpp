#include "AudioFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

struct FrameHeader {
  int version = 0;  // 1, 2, or 25 for MPEG 2.5
  int layer = 0;    // 1 to 3
  int bitrate = 0;  // kbit/s
  int sampleRate = 0;
  int channels = 0;
  int length = 0;  // bytes, header included
  int samples = 0;
};

const int kBitrates[2][3][15] = {
    // MPEG 1: layer I, II, III
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    // MPEG 2 and 2.5: layer I, II, III
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
const int kSampleRates[3] = {44100, 48000, 32000};

// Free-format frames (bitrate index 0) are refused: nothing we ship uses them
// and they cannot be walked without decoding.
bool parseHeader(const std::uint8_t* p, FrameHeader& h) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int versionBits = (p[1] >> 3) & 3;
  int layerBits = (p[1] >> 1) & 3;
  int bitrateIndex = p[2] >> 4;
  int rateIndex = (p[2] >> 2) & 3;
  if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
      rateIndex == 3)
    return false;
  h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
  h.layer = 4 - layerBits;
  h.bitrate = kBitrates[h.version == 1 ? 0 : 1][h.layer - 1][bitrateIndex];
  h.sampleRate = kSampleRates[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
  h.channels = (p[3] >> 6) == 3 ? 1 : 2;
  int padding = (p[2] >> 1) & 1;
  if (h.layer == 1) {
    h.length = (12000 * h.bitrate / h.sampleRate + padding) * 4;
    h.samples = 384;
  } else if (h.layer == 2 || h.version == 1) {
    h.length = 144000 * h.bitrate / h.sampleRate + padding;
    h.samples = 1152;
  } else {
    h.length = 72000 * h.bitrate / h.sampleRate + padding;
    h.samples = 576;
  }
  return h.length > 4;
}

std::uint32_t bigEndian32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

std::size_t skipId3v2(const std::vector<std::uint8_t>& b) {
  std::size_t offset = 0;
  // Some encoders write more than one tag in a row.
  while (b.size() >= offset + 10 && std::memcmp(&b[offset], "ID3", 3) == 0) {
    std::size_t size = (std::size_t(b[offset + 6] & 0x7F) << 21) |
                       (std::size_t(b[offset + 7] & 0x7F) << 14) |
                       (std::size_t(b[offset + 8] & 0x7F) << 7) | std::size_t(b[offset + 9] & 0x7F);
    bool footer = b[offset + 5] & 0x10;
    offset += 10 + size + (footer ? 10 : 0);
  }
  return offset;
}

// The encoder's summary frame ("Xing" for VBR, "Info" for CBR) sits where the
// first frame's side information ends; it carries the real frame count.
bool readSummaryFrame(const std::uint8_t* frame, const FrameHeader& h, std::int64_t& frames) {
  int sideInfo = h.version == 1 ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
  const std::uint8_t* tag = frame + 4 + sideInfo;
  if (h.layer != 3 || 4 + sideInfo + 12 > h.length) return false;
  if (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0) return false;
  std::uint32_t flags = bigEndian32(tag + 4);
  frames = (flags & 1) ? std::int64_t(bigEndian32(tag + 8)) : -1;
  return true;
}

bool isTrailingTag(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::size_t left = b.size() - at;
  if (left >= 3 && std::memcmp(&b[at], "TAG", 3) == 0) return true;
  if (left >= 8 && std::memcmp(&b[at], "APETAGEX", 8) == 0) return true;
  return false;
}

// The next offset where two frames in a row (or one ending the file) start.
std::size_t resync(const std::vector<std::uint8_t>& b, std::size_t from) {
  for (std::size_t at = from; at + 4 <= b.size(); ++at) {
    FrameHeader h, next;
    if (!parseHeader(&b[at], h)) continue;
    std::size_t end = at + std::size_t(h.length);
    if (end == b.size() || (end + 4 <= b.size() && parseHeader(&b[end], next))) return at;
  }
  return b.size();
}

AudioFileInfo refuse(AudioFileInfo::Kind kind, std::string problem) {
  AudioFileInfo info;
  info.kind = kind;
  info.problem = std::move(problem);
  return info;
}

bool startsWith(const std::vector<std::uint8_t>& b, std::size_t at, const char* magic) {
  std::size_t n = std::strlen(magic);
  return b.size() >= at + n && std::memcmp(&b[at], magic, n) == 0;
}

AudioFileInfo scanMp3(const std::vector<std::uint8_t>& b, std::size_t start) {
  FrameHeader first;
  if (b.size() < start + 4 || !parseHeader(&b[start], first))
    return refuse(AudioFileInfo::Kind::NotAudio, "not an mp3 or other audio file");
  AudioFileInfo info;
  info.sampleRate = first.sampleRate;
  info.channels = first.channels;
  std::int64_t announced = -1;
  std::int64_t samples = 0;
  std::size_t at = start;
  bool firstFrame = true;
  while (at + 4 <= b.size()) {
    FrameHeader h;
    if (!parseHeader(&b[at], h)) {
      if (isTrailingTag(b, at)) break;
      // Decoders resynchronise after a damaged stretch; so do we.
      std::size_t next = resync(b, at + 1);
      if (next == b.size()) break;
      at = next;
      continue;
    }
    if (at + std::size_t(h.length) > b.size())
      return refuse(AudioFileInfo::Kind::Truncated, "mp3 ends inside a frame");
    if (firstFrame && readSummaryFrame(&b[at], h, announced)) {
      // the summary frame is silence the decoder skips
    } else {
      ++info.frames;
      samples += h.samples;
    }
    firstFrame = false;
    at += std::size_t(h.length);
  }
  if (info.frames == 0) return refuse(AudioFileInfo::Kind::NotAudio, "mp3 without audio frames");
  if (announced > 0 && info.frames < announced)
    return refuse(
        AudioFileInfo::Kind::Truncated,
        "mp3 has " + std::to_string(info.frames) + " of " + std::to_string(announced) + " frames");
  info.kind = AudioFileInfo::Kind::Mp3;
  info.duration = double(samples) / info.sampleRate;
  return info;
}

std::uint32_t littleEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
unsigned littleEndian16(const std::uint8_t* p) {
  return unsigned(p[0]) | unsigned(p[1]) << 8;
}

// Encodings whose sample count follows from the data's length: integer and
// float PCM, A-law and mu-law. Compressed WAV (ADPCM) is refused.
bool hasPlainSamples(unsigned format) {
  return format == 1 || format == 3 || format == 6 || format == 7;
}

// RIFF chunks: the format, then the samples; the data's length (cut to what
// the file holds) and the format give the duration.
AudioFileInfo scanWav(const std::vector<std::uint8_t>& b) {
  if (!startsWith(b, 8, "WAVE")) return refuse(AudioFileInfo::Kind::NotAudio, "RIFF but not WAVE");
  unsigned format = 0, bitsPerSample = 0;
  AudioFileInfo info;
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::size_t length = littleEndian32(&b[at + 4]), body = at + 8;
    if (startsWith(b, at, "fmt ") && length >= 16 && body + 16 <= b.size()) {
      format = littleEndian16(&b[body]);
      info.channels = int(littleEndian16(&b[body + 2]));
      info.sampleRate = int(std::min<std::uint32_t>(littleEndian32(&b[body + 4]), 1u << 30));
      bitsPerSample = littleEndian16(&b[body + 14]);
    } else if (startsWith(b, at, "data")) {
      if (!hasPlainSamples(format))
        return refuse(AudioFileInfo::Kind::Unsupported,
                      "WAV without a plain sample format before its data");
      const std::size_t frameBytes = std::size_t(info.channels) * ((bitsPerSample + 7) / 8);
      if (frameBytes == 0 || info.sampleRate <= 0)
        return refuse(AudioFileInfo::Kind::NotAudio, "WAV format without samples");
      const std::size_t bytes = std::min(length, b.size() - body);
      info.kind = AudioFileInfo::Kind::Wav;
      info.duration = double(bytes / frameBytes) / info.sampleRate;
      if (info.duration <= 0) return refuse(AudioFileInfo::Kind::NotAudio, "WAV without samples");
      return info;
    }
    at = body + length + (length & 1);
  }
  return refuse(AudioFileInfo::Kind::NotAudio, "WAV without data");
}

std::int64_t littleEndian64(const std::uint8_t* p) {
  return std::int64_t(std::uint64_t(littleEndian32(p)) | std::uint64_t(littleEndian32(p + 4))
                                                             << 32);
}

// Ogg pages: "OggS", version 0, flags, the granule position, the stream's
// serial number, the page's number and checksum, then the segment table.
constexpr std::size_t kOggPageHeader = 27;

// Vorbis in Ogg: the first page's packet names the rate and the channels; the
// last page's granule position is the number of samples. That length is only
// what the file claims, which is why these files are decoded by our own
// bounded decoder (OggVorbis), never whole by the mixer.
AudioFileInfo scanOggVorbis(const std::vector<std::uint8_t>& b) {
  if (b.size() < kOggPageHeader + 1 || b[4] != 0)
    return refuse(AudioFileInfo::Kind::NotAudio, "damaged Ogg page");
  const std::size_t body = kOggPageHeader + b[26];
  if (body + 16 > b.size() || b[body] != 1 || !startsWith(b, body + 1, "vorbis"))
    return refuse(AudioFileInfo::Kind::Unsupported, "Ogg without Vorbis is not played");
  AudioFileInfo info;
  info.channels = b[body + 11];
  info.sampleRate = int(std::min<std::uint32_t>(littleEndian32(&b[body + 12]), 1u << 30));
  if (info.channels == 0 || info.sampleRate <= 0)
    return refuse(AudioFileInfo::Kind::NotAudio, "Vorbis without samples");
  for (std::size_t at = b.size() - kOggPageHeader; at > 0; --at) {
    if (!startsWith(b, at, "OggS") || b[at + 4] != 0) continue;
    const std::int64_t granule = littleEndian64(&b[at + 6]);
    if (granule < 0) continue;  // a page on which no packet ends
    info.kind = AudioFileInfo::Kind::OggVorbis;
    info.duration = double(granule) / info.sampleRate;
    return info;
  }
  return refuse(AudioFileInfo::Kind::Truncated, "Ogg Vorbis without its audio pages");
}

std::string mebibytes(std::size_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", double(bytes) / double(1 << 20));
  return text;
}

std::string minutesAndSeconds(double seconds) {
  const long whole = long(seconds);
  return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

AudioFileInfo fileTooLarge(std::size_t bytes) {
  return refuse(
      AudioFileInfo::Kind::TooLong,
      "file of " + mebibytes(bytes) + ", over the limit of " + mebibytes(kAudioFileMaxFileBytes));
}

// What the mixer will hold decoded, at its rate in 16-bit stereo.
AudioFileInfo withinLimits(AudioFileInfo info) {
  if (info.playable() && info.duration > kAudioFileMaxSeconds)
    return refuse(AudioFileInfo::Kind::TooLong,
                  "lasts " + minutesAndSeconds(info.duration) + " (" +
                      mebibytes(std::size_t(info.duration * 44100) * 4) +
                      " decoded), over the limit of " + minutesAndSeconds(kAudioFileMaxSeconds));
  return info;
}

}  // namespace

AudioFileInfo AudioFile::probeBytes(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return refuse(AudioFileInfo::Kind::NotAudio, "empty file");
  if (bytes.size() > kAudioFileMaxFileBytes) return fileTooLarge(bytes.size());
  if (startsWith(bytes, 0, "RIFF")) return withinLimits(scanWav(bytes));
  if (startsWith(bytes, 0, "OggS")) return withinLimits(scanOggVorbis(bytes));
  if (startsWith(bytes, 0, "fLaC"))
    return refuse(AudioFileInfo::Kind::Unsupported,
                  "FLAC recordings are not played: their length is not known before decoding");
  std::size_t start = skipId3v2(bytes);
  if (start >= bytes.size()) return refuse(AudioFileInfo::Kind::NotAudio, "tag without audio");
  return withinLimits(scanMp3(bytes, start));
}

AudioFileInfo AudioFile::probe(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return refuse(AudioFileInfo::Kind::Missing, "cannot open " + path);
  const std::streamoff size = in.tellg();
  // Too large to be a recording: refused unread.
  if (size > std::streamoff(kAudioFileMaxFileBytes)) return fileTooLarge(std::size_t(size));
  std::vector<std::uint8_t> bytes(size > 0 ? std::size_t(size) : 0);
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
    return refuse(AudioFileInfo::Kind::Missing, "cannot read " + path);
  return probeBytes(bytes);
}
