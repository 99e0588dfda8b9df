#include "AtomicFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
std::string reason(const std::string& path) {
  return path + ": " + std::strerror(errno);
}

bool writeFlushed(const std::string& path, const std::string& bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = reason(path);
    return false;
  }
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) {
      p += n;
      left -= std::size_t(n);
    }
  }
  ok = ok && ::fsync(fd) == 0;
  if (!ok) error = reason(path);
  if (::close(fd) != 0 && ok) {
    error = reason(path);
    ok = false;
  }
  return ok;
}

// So that the renames themselves survive a power cut.
void flushFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void removeAll(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) ::unlink(path.c_str());
}
}  // namespace

bool AtomicFiles::write(const std::vector<File>& files, std::string& error) {
  std::vector<std::string> partial;
  for (const auto& [path, bytes] : files) {
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::create_directories(folder, ec) && ec) {
      error = folder.string() + ": " + ec.message();
      removeAll(partial);
      return false;
    }
    partial.push_back(path + kPartialSuffix);
    if (!writeFlushed(partial.back(), bytes, error)) {
      removeAll(partial);
      return false;
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (std::rename(partial[i].c_str(), files[i].first.c_str()) != 0) {
      error = reason(files[i].first);
      removeAll({partial.begin() + std::ptrdiff_t(i), partial.end()});
      return false;
    }
    flushFolder(fs::path(files[i].first).parent_path());
  }
  return true;
}

std::size_t AtomicFiles::removePartialFiles(const std::string& folder) {
  std::error_code ec;
  std::size_t removed = 0;
  const std::string suffix = kPartialSuffix;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const bool partial = name.size() > suffix.size() &&
                         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    std::error_code removeError;
    if (partial && it->is_regular_file(removeError) && fs::remove(it->path(), removeError))
      ++removed;
  }
  return removed;
}
