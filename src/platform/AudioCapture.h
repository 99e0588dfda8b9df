#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The default microphone, heard as 16-bit mono samples at `kSampleRate`. A
// WAV file can stand in for it (headless runs, tests): the file's audio is
// heard as if spoken into the microphone, at the pace of the engine clock, and
// after its end the room is quiet. Without a stand-in, a run with virtual
// audio has no microphone at all. Main thread only: samples wait in the
// device's queue until `take` collects them, so no thread of ours is involved.
class AudioCapture {
 public:
  static constexpr int kSampleRate = 44100;

  static AudioCapture& shared();

  // The file heard instead of the microphone; empty for the microphone itself.
  void setStandInFile(const std::string& path);
  const std::string& standInFile() const { return standInFile_; }

  // Starts listening, from silence. False with a reason the reader can be
  // told when there is no microphone or it cannot be opened.
  bool start(std::string& error);
  // Moves what was heard since the last call (or since `start`) to the end of
  // `samples`. False with a reason once the microphone has failed (unplugged,
  // gone quiet for good); listening has then stopped.
  bool take(std::vector<std::int16_t>& samples, std::string& error);
  void stop();
  bool isListening() const;

  // The microphone is pulled out: the next `take` fails. For scripts and tests,
  // as the window system reports a device gone.
  void unplug();

  struct Source;

 private:
  AudioCapture();
  ~AudioCapture();
  std::string standInFile_;
  std::unique_ptr<Source> source_;
};
