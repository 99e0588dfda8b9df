#include "FrameLog.h"

#include <cerrno>
#include <cstring>

FrameLog& FrameLog::shared() {
  static FrameLog log;
  return log;
}

FrameLog::~FrameLog() {
  close();
}

bool FrameLog::open(const std::string& path, std::string& error) {
  close();
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) {
    error = "cannot write the frame log " + path + ": " + std::strerror(errno);
    return false;
  }
  std::fputs("frame,time,ms\n", file_);
  return true;
}

void FrameLog::record(long frame, double time, double milliseconds) {
  if (file_) std::fprintf(file_, "%ld,%.6f,%.3f\n", frame, time, milliseconds);
}

bool FrameLog::close() {
  if (!file_) return true;
  bool ok = std::ferror(file_) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}
