#pragma once
#include <cstdio>
#include <string>

// One CSV row per frame, "frame,time,ms": the frame's number, its clock time in
// seconds and the wall-clock milliseconds the main thread spent on it. Rows go
// through stdio's buffer, so leaving the log on costs a formatted write a frame.
class FrameLog {
 public:
  static FrameLog& shared();
  FrameLog() = default;
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  // Starts a new file with the header; false, with a reason, when it cannot be written.
  bool open(const std::string& path, std::string& error);
  bool isOpen() const { return file_ != nullptr; }
  void record(long frame, double time, double milliseconds);
  // Flushes and closes; false when the rows could not all be written.
  bool close();

 private:
  std::FILE* file_ = nullptr;
};
