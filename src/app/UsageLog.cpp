#include "UsageLog.h"

#include <cstdio>
#include <filesystem>

#include "Log.h"

namespace fs = std::filesystem;

UsageLog::UsageLog(std::string path, long maxBytes)
    : path_(std::move(path)), maxBytes_(maxBytes), worker_([this] { run(); }) {}

UsageLog::~UsageLog() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  worker_.join();
}

std::string UsageLog::rotatedPath(const std::string& path) {
  fs::path p(path);
  return (p.parent_path() / (p.stem().string() + ".1" + p.extension().string())).string();
}

void UsageLog::append(std::string line) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(line));
  }
  wake_.notify_one();
}

void UsageLog::flush() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !writing_; });
}

void UsageLog::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty() && stopping_) return;
    std::string line = std::move(queue_.front());
    queue_.pop_front();
    writing_ = true;
    lock.unlock();
    write(line);
    lock.lock();
    writing_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
}

void UsageLog::write(const std::string& line) {
  if (failed_) return;
  std::error_code ec;
  const auto size = fs::file_size(path_, ec);
  if (!ec && long(size) + long(line.size()) + 1 > maxBytes_)
    fs::rename(path_, rotatedPath(path_), ec);
  const auto before = fs::file_size(path_, ec);
  const bool existed = !ec;
  std::FILE* file = std::fopen(path_.c_str(), "a");
  bool ok = file && std::fputs(line.c_str(), file) >= 0 && std::fputc('\n', file) != EOF;
  if (file) ok = std::fclose(file) == 0 && ok;
  if (ok) return;
  // Part of a line (a full disk) would spoil every line after it: the file
  // goes back to the lines it held.
  if (existed)
    fs::resize_file(path_, before, ec);
  else
    fs::remove(path_, ec);
  if (!failed_.exchange(true))
    logWarningOnce("usage-log", "usage log not kept: cannot write " + path_);
}
