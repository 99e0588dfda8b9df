#include "FrameLog.h"

#include <cerrno>
#include <cstring>
#include <ctime>

FrameLog& FrameLog::shared() {
  static FrameLog log;
  return log;
}

FrameLog::~FrameLog() {
  close();
}

bool FrameLog::measureNamed(const std::string& name, Measure& out) {
  if (name == "wall") {
    out = Measure::Wall;
  } else if (name == "cpu") {
    out = Measure::Cpu;
  } else {
    return false;
  }
  return true;
}

bool FrameLog::open(const std::string& path, Measure measure, std::string& error) {
  close();
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) {
    error = "cannot write the frame log " + path + ": " + std::strerror(errno);
    return false;
  }
  measure_ = measure;
  std::fputs("frame,time,ms,drew\n", file_);
  return true;
}

double FrameLog::now() const {
  timespec t{};
  clock_gettime(measure_ == Measure::Cpu ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

void FrameLog::beginFrame() {
  drew_ = false;
  if (file_) began_ = now();
}

void FrameLog::endFrame(long frame, double time) {
  if (file_) record(frame, time, now() - began_, drew_);
}

void FrameLog::record(long frame, double time, double milliseconds, bool drew) {
  if (file_) std::fprintf(file_, "%ld,%.6f,%.3f,%d\n", frame, time, milliseconds, drew ? 1 : 0);
}

bool FrameLog::close() {
  if (!file_) return true;
  bool ok = std::ferror(file_) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}
