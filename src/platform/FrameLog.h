#pragma once
#include <cstdio>
#include <string>

// One CSV row per frame, "frame,time,ms,drew": the frame's number, its clock
// time in seconds, the milliseconds of the frame's work, and 1 when the frame
// did GL work (0: nothing had changed, the last picture stayed). Rows go through stdio's
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
  // Told by whoever draws, during the frame.
  void noteDrawn() { drew_ = true; }
  void endFrame(long frame, double time);
  void record(long frame, double time, double milliseconds, bool drew);
  // Flushes and closes; false when the rows could not all be written.
  bool close();

  // "wall" or "cpu"; false for anything else.
  static bool measureNamed(const std::string& name, Measure& out);

 private:
  double now() const;
  std::FILE* file_ = nullptr;
  Measure measure_ = Measure::Wall;
  double began_ = 0;
  bool drew_ = false;
};
