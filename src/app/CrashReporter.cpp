#include "CrashReporter.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "ProgramNames.h"

namespace fs = std::filesystem;

namespace {
constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr int kSignalCount = int(sizeof kSignals / sizeof kSignals[0]);
constexpr std::size_t kFolderMax = 3072;
constexpr int kMaxFrames = 64;

// Everything the handler touches, prepared before any signal can come.
char gFolder[kFolderMax];
struct sigaction gPrevious[kSignalCount];
bool gInstalled = false;
alignas(16) char gAltStack[64 * 1024];  // the handler runs here after a stack overflow
void* gFrames[kMaxFrames];
char gNoticePrefix[160];  // "<command>: warning: no crash report"

const char* signalName(int sig) {
  switch (sig) {
    case SIGSEGV:
      return "SIGSEGV";
    case SIGBUS:
      return "SIGBUS";
    case SIGILL:
      return "SIGILL";
    case SIGFPE:
      return "SIGFPE";
    case SIGABRT:
      return "SIGABRT";
    default:
      return "signal";
  }
}

// Appends text to a fixed buffer; never writes past its end.
struct Line {
  char text[kFolderMax + 128];
  std::size_t length = 0;

  void add(const char* s) {
    while (*s && length + 1 < sizeof text) text[length++] = *s++;
    text[length] = '\0';
  }
  void add(long long value) {
    char digits[24];
    int n = 0;
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - (unsigned long long)value : (unsigned long long)value;
    do {
      digits[n++] = char('0' + v % 10);
      v /= 10;
    } while (v);
    if (negative) add("-");
    char one[2] = {0, 0};
    while (n) {
      one[0] = digits[--n];
      add(one);
    }
  }
};

bool writeAll(int fd, const Line& line) {
  std::size_t done = 0;
  while (done < line.length) {
    const ssize_t n = write(fd, line.text + done, line.length - done);
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

// The report's path, with `suffix`.
Line reportPath(const timespec& now, const char* suffix) {
  Line path;
  path.add(gFolder);
  path.add("/crash-");
  path.add((long long)now.tv_sec);
  path.add("-");
  path.add((long long)getpid());
  path.add(suffix);
  return path;
}

// The whole report, or false. The backtrace's own writes report nothing; a
// disk that filled up during them refuses the closing line as well.
bool writeReport(int fd, int sig, const timespec& now) {
  Line head;
  head.add("lumo-book crash report\nsignal: ");
  head.add((long long)sig);
  head.add(" ");
  head.add(signalName(sig));
  head.add("\ntime: ");
  head.add((long long)now.tv_sec);
  head.add(" seconds since 1970-01-01 UTC\npid: ");
  head.add((long long)getpid());
  head.add("\nbacktrace:\n");
  if (!writeAll(fd, head)) return false;
  backtrace_symbols_fd(gFrames, backtrace(gFrames, kMaxFrames), fd);
  Line end;
  end.add("end of report\n");
  return writeAll(fd, end) && fsync(fd) == 0;
}

void sayNotWritten(int error) {
  Line notice;
  notice.add(gNoticePrefix);
  notice.add(error == ENOSPC || error == EDQUOT || error == EFBIG ? ": the disk is full\n"
                                                                  : ": it could not be written\n");
  writeAll(STDERR_FILENO, notice);
}

// Written under a partial name and renamed only when whole, so that a full
// disk leaves nothing half written for the next run to find.
void onFatalSignal(int sig, siginfo_t*, void*) {
  const int savedErrno = errno;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const Line partial = reportPath(now, ".part");
  const int fd = open(partial.text, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  bool whole = fd >= 0 && writeReport(fd, sig, now);
  const int error = errno;
  if (fd >= 0) close(fd);
  if (whole) whole = rename(partial.text, reportPath(now, ".new").text) == 0;
  if (!whole) {
    if (fd >= 0) unlink(partial.text);
    sayNotWritten(error);
  }
  errno = savedErrno;
  // The handler was reset on entry (SA_RESETHAND): the signal now does what it
  // would have done, once this handler returns.
  raise(sig);
}
}  // namespace

bool CrashReporter::install(const std::string& folder) {
  if (folder.size() + 1 > kFolderMax) return false;
  std::memcpy(gFolder, folder.c_str(), folder.size() + 1);
  const std::string prefix = ProgramNames::current().command + ": warning: no crash report";
  std::snprintf(gNoticePrefix, sizeof gNoticePrefix, "%s", prefix.c_str());
  if (gInstalled) return true;
  // The first backtrace loads the unwinder (which allocates): not in the handler.
  backtrace(gFrames, 1);
  stack_t stack{};
  stack.ss_sp = gAltStack;
  stack.ss_size = sizeof gAltStack;
  sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_sigaction = onFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &action, &gPrevious[i]);
  gInstalled = true;
  return true;
}

void CrashReporter::uninstall() {
  if (!gInstalled) return;
  for (int i = 0; i < kSignalCount; ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
  gInstalled = false;
}

bool CrashReporter::isInstalled() {
  return gInstalled;
}

std::vector<std::string> CrashReporter::collectReports(const std::string& folder, int keep) {
  std::vector<std::string> found;
  std::vector<fs::path> kept;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const fs::path path = entry.path();
    if (path.filename().string().rfind("crash-", 0) != 0) continue;
    if (path.extension() == ".part") {  // cut short by a kill while it was written
      fs::remove(path, ec);
    } else if (path.extension() == ".new") {
      fs::path report = path;
      report.replace_extension(".txt");
      fs::rename(path, report, ec);
      if (!ec) found.push_back(report.string());
    } else if (path.extension() == ".txt") {
      kept.push_back(path);
    }
  }
  for (const auto& report : found) kept.emplace_back(report);
  // Names carry the time: in name order, the oldest come first.
  std::sort(found.begin(), found.end());
  std::sort(kept.begin(), kept.end());
  for (std::size_t i = 0; i + std::size_t(std::max(keep, 0)) < kept.size(); ++i)
    fs::remove(kept[i], ec);
  std::erase_if(found, [](const std::string& report) {
    std::error_code missing;
    return !fs::exists(report, missing);
  });
  return found;
}
