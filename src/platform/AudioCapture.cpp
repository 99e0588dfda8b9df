#include "AudioCapture.h"

#include "AudioBackend.h"
#include "FileCapture.h"
#include "Log.h"
#include "MicrophoneCapture.h"

namespace {
// What an unplugged source hands out: nothing, and its reason.
class UnpluggedCapture : public AudioCapture::Source {
 public:
  bool open(std::string& error) override {
    error = "no microphone";
    return false;
  }
  bool take(std::vector<std::int16_t>&, std::string& error) override {
    error = "the microphone was unplugged";
    return false;
  }
};
}  // namespace

AudioCapture& AudioCapture::shared() {
  static AudioCapture capture;
  return capture;
}

AudioCapture::AudioCapture() = default;
AudioCapture::~AudioCapture() = default;

void AudioCapture::setStandInFile(const std::string& path) {
  stop();
  standInFile_ = path;
}

bool AudioCapture::start(std::string& error) {
  stop();
  if (!standInFile_.empty())
    source_ = std::make_unique<FileCapture>(standInFile_);
  else if (!AudioBackend::usesVirtualBackend())
    source_ = std::make_unique<MicrophoneCapture>();
  else
    source_ = std::make_unique<UnpluggedCapture>();  // virtual audio has no microphone
  if (source_->open(error)) return true;
  source_.reset();
  logWarningOnce("capture:" + error, "cannot record: " + error);
  return false;
}

bool AudioCapture::take(std::vector<std::int16_t>& samples, std::string& error) {
  if (!source_) {
    error = "not listening";
    return false;
  }
  if (source_->take(samples, error)) return true;
  logMessage(LogLevel::Warning, "recording stopped: " + error);
  source_.reset();
  return false;
}

void AudioCapture::stop() {
  source_.reset();
}

bool AudioCapture::isListening() const {
  return source_ != nullptr;
}

void AudioCapture::unplug() {
  if (source_) source_ = std::make_unique<UnpluggedCapture>();
}
