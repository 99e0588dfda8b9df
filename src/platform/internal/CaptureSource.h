#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "AudioCapture.h"

// Where heard samples come from: the sound card's microphone or a file
// standing in for it. Samples are 16-bit mono at AudioCapture::kSampleRate.
struct AudioCapture::Source {
  virtual ~Source() = default;
  // False with a reason for the reader.
  virtual bool open(std::string& error) = 0;
  // Appends what was heard since the last call; false with a reason once the
  // source has failed for good.
  virtual bool take(std::vector<std::int16_t>& samples, std::string& error) = 0;
};
