#pragma once
#include "CaptureSource.h"

// The default capture device through SDL's audio capture, in queue mode: the
// device's thread fills SDL's queue and `take` empties it on the main thread.
// A device that disappears, or sends nothing for `kSilentDeviceSeconds`, has failed.
class MicrophoneCapture : public AudioCapture::Source {
 public:
  static constexpr double kSilentDeviceSeconds = 2.0;

  MicrophoneCapture() = default;
  ~MicrophoneCapture() override;
  MicrophoneCapture(const MicrophoneCapture&) = delete;
  MicrophoneCapture& operator=(const MicrophoneCapture&) = delete;

  bool open(std::string& error) override;
  bool take(std::vector<std::int16_t>& samples, std::string& error) override;

 private:
  void close();
  std::uint32_t device_ = 0;
  bool holdsSubsystem_ = false;
  double lastHeard_ = 0;  // engine clock
};
