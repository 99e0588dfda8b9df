#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

// Appends lines to a file on a thread of its own, so that the main thread
// never waits for the disk. Past `maxBytes` the file is renamed to its
// ".1" neighbour (replacing the older one) and a new file begun: at most about
// twice `maxBytes` is kept. A failed write is warned about once; later lines
// are dropped.
class UsageLog {
 public:
  UsageLog(std::string path, long maxBytes);
  ~UsageLog();  // writes what is queued, then stops
  UsageLog(const UsageLog&) = delete;
  UsageLog& operator=(const UsageLog&) = delete;

  void append(std::string line);
  // Returns when every line appended so far has been written (or dropped).
  void flush();
  const std::string& path() const { return path_; }
  // "usage.jsonl" rotates to "usage.1.jsonl".
  static std::string rotatedPath(const std::string& path);

 private:
  std::string path_;
  long maxBytes_;
  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<std::string> queue_;
  bool writing_ = false, stopping_ = false;
  std::atomic<bool> failed_{false};
  std::thread worker_;

  void run();
  void write(const std::string& line);
};
