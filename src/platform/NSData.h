#pragma once
#include <cstddef>
#include <optional>
#include <string>

// Whole-file reads and writes of bytes (held in a std::string).
class NSData {
 public:
  // Absent when the file is missing, unreadable or larger than `maxBytes`.
  static std::optional<std::string> dataWithContentsOfFile(const std::string& path,
                                                           std::size_t maxBytes);
  // Atomically: a temporary file beside the target, flushed to disk, then
  // renamed over it, so that a crash leaves the old file or the new one.
  // Creates missing parent folders. False when anything fails.
  static bool writeToFile(const std::string& bytes, const std::string& path, bool atomically);
};
