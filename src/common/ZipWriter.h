#pragma once
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

// Writes a zip archive entry by entry, straight to a file: each entry stored
// as it is or deflated, then the central directory on finish(). Enough for
// packages such as EPUB, whose first entry must be stored; no zip64, so the
// archive and every entry stay under 4 GiB.
class ZipWriter {
 public:
  enum class Method : std::uint16_t { Stored = 0, Deflated = 8 };

  // Every entry carries `modified` (local time, as zip keeps it) as its date.
  ZipWriter(const std::string& path, std::time_t modified);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // False with the reason in error() once anything has failed; later calls then do nothing.
  bool add(const std::string& name, const std::vector<std::uint8_t>& bytes, Method method);
  bool add(const std::string& name, const std::string& text, Method method);
  // Writes the central directory and closes the file.
  bool finish();
  const std::string& error() const { return error_; }

 private:
  struct Entry {
    std::string name;
    Method method;
    std::uint32_t crc, packedSize, size, offset;
  };
  bool fail(const std::string& reason);
  bool write(const std::vector<std::uint8_t>& bytes);
  void writeLocalHeader(const Entry& entry);
  void writeCentralHeader(const Entry& entry);

  std::string path_;
  std::FILE* file_ = nullptr;
  std::uint16_t dosTime_ = 0, dosDate_ = 0;
  std::uint32_t offset_ = 0;
  std::vector<Entry> entries_;
  std::string error_;
};
