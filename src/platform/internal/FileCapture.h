#pragma once
#include "CaptureSource.h"

// A WAV file heard as a microphone would hear its sound: converted to the
// capture format once, then handed out at the pace of the engine clock from
// `open` on; after its end, silence. A clock set forward (or a long pause
// between takes) delivers at most `kLongestTake` at once.
class FileCapture : public AudioCapture::Source {
 public:
  // A stand-in longer than this is refused rather than held in memory.
  static constexpr double kLongestFileSeconds = 10 * 60;
  static constexpr double kLongestTake = 2.0;

  explicit FileCapture(std::string path) : path_(std::move(path)) {}
  bool open(std::string& error) override;
  bool take(std::vector<std::int16_t>& samples, std::string& error) override;

 private:
  bool load(std::string& error);
  std::string path_;
  std::vector<std::int16_t> sound_;
  std::size_t delivered_ = 0;  // samples handed out, silence included
  double startedAt_ = 0;       // engine clock: when the file began to be heard
};
