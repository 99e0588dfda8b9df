#include "OggVorbis.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int kBlock = 4096;  // samples handed to the encoder at a time

// The encoder's state, set up for one mono stream and torn down in reverse.
class Encoder {
 public:
  Encoder() {
    vorbis_info_init(&info_);
    vorbis_comment_init(&comment_);
  }
  ~Encoder() {
    if (streaming_) ogg_stream_clear(&stream_);
    if (blocks_) vorbis_block_clear(&block_);
    if (dsp_) vorbis_dsp_clear(&dsp_state_);
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  bool begin(int rate, float quality, std::string& bytes, std::string& error) {
    if (vorbis_encode_init_vbr(&info_, 1, rate, quality) != 0) {
      error = "the Vorbis encoder refuses " + std::to_string(rate) + " Hz";
      return false;
    }
    vorbis_comment_add_tag(&comment_, "ENCODER", "lumo-book");
    dsp_ = vorbis_analysis_init(&dsp_state_, &info_) == 0;
    blocks_ = dsp_ && vorbis_block_init(&dsp_state_, &block_) == 0;
    streaming_ = blocks_ && ogg_stream_init(&stream_, 0x4c756d6f) == 0;
    if (!streaming_) {
      error = "the Vorbis encoder cannot start";
      return false;
    }
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&dsp_state_, &comment_, &header, &comments, &codebooks);
    ogg_stream_packetin(&stream_, &header);
    ogg_stream_packetin(&stream_, &comments);
    ogg_stream_packetin(&stream_, &codebooks);
    // The audio starts on a page of its own, as decoders expect.
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) append(page, bytes);
    return true;
  }

  // An empty block ends the stream.
  void write(const std::int16_t* samples, int count, std::string& bytes) {
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp_state_, count);
      for (int i = 0; i < count; ++i) buffer[0][i] = float(samples[i]) / 32768.0f;
    }
    vorbis_analysis_wrote(&dsp_state_, count);
    while (vorbis_analysis_blockout(&dsp_state_, &block_) == 1) {
      vorbis_analysis(&block_, nullptr);
      vorbis_bitrate_addblock(&block_);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp_state_, &packet) == 1) {
        ogg_stream_packetin(&stream_, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream_, &page) != 0) append(page, bytes);
      }
    }
    ogg_page page;
    if (count == 0)
      while (ogg_stream_flush(&stream_, &page) != 0) append(page, bytes);
  }

 private:
  static void append(const ogg_page& page, std::string& bytes) {
    bytes.append(reinterpret_cast<const char*>(page.header), std::size_t(page.header_len));
    bytes.append(reinterpret_cast<const char*>(page.body), std::size_t(page.body_len));
  }

  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_state_;
  vorbis_block block_;
  ogg_stream_state stream_;
  bool dsp_ = false, blocks_ = false, streaming_ = false;
};

struct OpenFile {
  OggVorbis_File file;
  bool open = false;
  ~OpenFile() {
    if (open) ov_clear(&file);
  }
};
}  // namespace

bool OggVorbis::encode(const std::vector<std::int16_t>& samples, int sampleRate, float quality,
                       std::string& bytes, std::string& error) {
  bytes.clear();
  Encoder encoder;
  if (!encoder.begin(sampleRate, quality, bytes, error)) return false;
  for (std::size_t at = 0; at < samples.size(); at += kBlock)
    encoder.write(samples.data() + at, int(std::min<std::size_t>(kBlock, samples.size() - at)),
                  bytes);
  encoder.write(nullptr, 0, bytes);
  return true;
}

bool OggVorbis::decode(const std::string& path, double maxSeconds, Decoded& out,
                       std::string& error) {
  out = {};
  OpenFile in;
  if (ov_fopen(path.c_str(), &in.file) != 0) {
    error = "not an Ogg Vorbis file";
    return false;
  }
  in.open = true;
  const vorbis_info* info = ov_info(&in.file, -1);
  if (!info || info->channels < 1 || info->rate < 1) {
    error = "Ogg Vorbis without a usable stream";
    return false;
  }
  out.sampleRate = int(info->rate);
  const std::size_t limit = std::size_t(maxSeconds * double(info->rate));
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    const long got = ov_read_float(&in.file, &pcm, kBlock, &section);
    if (got == 0) break;
    if (got == OV_HOLE) continue;  // a gap in the data: decoding carries on after it
    if (got < 0) {
      error = "damaged Ogg Vorbis data";
      return false;
    }
    const vorbis_info* part = ov_info(&in.file, section);
    const int channels = part ? part->channels : 0;
    if (channels < 1) {
      error = "Ogg Vorbis without a usable stream";
      return false;
    }
    for (long i = 0; i < got; ++i) {
      float sum = 0;
      for (int c = 0; c < channels; ++c) sum += pcm[c][i];
      const float mono = std::clamp(sum / float(channels), -1.0f, 1.0f);
      out.samples.push_back(std::int16_t(std::lround(mono * 32767.0f)));
    }
    if (out.samples.size() > limit) {
      error = "longer than " + std::to_string(int(maxSeconds)) + " s";
      out.samples.clear();
      return false;
    }
  }
  return true;
}
