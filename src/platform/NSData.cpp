#include "NSData.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
bool writeAll(int fd, const std::string& data) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) return false;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool writeFileAt(const std::string& path, const std::string& data, bool sync) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = writeAll(fd, data) && (!sync || ::fsync(fd) == 0);
  return (::close(fd) == 0) && ok;
}
}  // namespace

std::optional<std::string> NSData::dataWithContentsOfFile(const std::string& path,
                                                          std::size_t maxBytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> result;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<unsigned long long>(st.st_size) <= maxBytes) {
    std::string data;
    char buf[65536];
    ssize_t n = 0;
    // Read to the end rather than trusting the size: the file may change meanwhile.
    while ((n = ::read(fd, buf, sizeof buf)) > 0 && data.size() <= maxBytes)
      data.append(buf, static_cast<std::size_t>(n));
    if (n == 0 && data.size() <= maxBytes) result = std::move(data);
  }
  ::close(fd);
  return result;
}

bool NSData::writeToFile(const std::string& bytes, const std::string& path, bool atomically) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent, ec);
  if (!atomically) return writeFileAt(path, bytes, false);
  std::string temp = path + ".tmp";
  if (writeFileAt(temp, bytes, true) && std::rename(temp.c_str(), path.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}
