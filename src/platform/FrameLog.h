#pragma once
#include <cstdio>
#include <string>

// One CSV row per frame, "frame,time,ms": the frame's number, its clock time in
// seconds and the milliseconds of the frame's work. Rows go through stdio's
// buffer, so leaving the log on costs two clock reads and a formatted write a frame.
class FrameLog {
 public:
  // Wall: milliseconds of the main thread's wall clock, what the reader sees.
  // Cpu: milliseconds of processor time of the whole process (GL's threads and
  // the texture loader included), which a busy machine does not stretch.
  enum class Measure { Wall, Cpu };

  static FrameLog& shared();
  FrameLog() = default;
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  // Starts a new file with the header; false, with a reason, when it cannot be written.
  bool open(const std::string& path, Measure measure, std::string& error);
  bool isOpen() const { return file_ != nullptr; }
  // Around one frame's work; the row carries the frame's number and clock time.
  void beginFrame();
  void endFrame(long frame, double time);
  void record(long frame, double time, double milliseconds);
  // Flushes and closes; false when the rows could not all be written.
  bool close();

  // "wall" or "cpu"; false for anything else.
  static bool measureNamed(const std::string& name, Measure& out);

 private:
  double now() const;
  std::FILE* file_ = nullptr;
  Measure measure_ = Measure::Wall;
  double began_ = 0;
};
