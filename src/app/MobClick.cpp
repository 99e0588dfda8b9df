#include "MobClick.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "CrashReporter.h"
#include "HomeFolders.h"
#include "Log.h"
#include "MobClickDelegate.h"
#include "UsageLog.h"

namespace fs = std::filesystem;

namespace {
struct State {
  MobClickDelegate* delegate = nullptr;
  int policy = 0;
  std::string folder;
  std::unique_ptr<UsageLog> log;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

// $XDG_STATE_HOME/lumo-book, or ~/.local/state/lumo-book; empty without either.
std::string MobClick::stateFolder() {
  const char* xdg = std::getenv("XDG_STATE_HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/lumo-book";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/state/lumo-book";
  return {};
}

namespace {
// The folder made ready for writing, or empty after one warning.
std::string prepareFolder() {
  const std::string folder = MobClick::stateFolder();
  if (folder.empty()) {
    logWarningOnce("usage-folder", "usage log and crash reports not kept: no home folder");
    return {};
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || access(folder.c_str(), W_OK) != 0) {
    if (!HomeFolders::unwritable())  // else said once for the whole home
      logWarningOnce("usage-folder",
                     "usage log and crash reports not kept: cannot write to " + folder);
    return {};
  }
  return folder;
}

std::string utcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

void record(nlohmann::json entry) {
  State& s = state();
  if (!s.log) return;
  entry["time"] = utcNow();
  s.log->append(entry.dump());
}
}  // namespace

void MobClick::setDelegate(MobClickDelegate* delegate, int reportPolicy) {
  State& s = state();
  s.delegate = delegate;
  s.policy = reportPolicy;
  s.log.reset();
  s.folder.clear();
  if (reportPolicy == 0) return;
  s.folder = prepareFolder();
  if (!s.folder.empty())
    s.log = std::make_unique<UsageLog>(s.folder + "/usage.jsonl", kMaxLogBytes);
}

void MobClick::setCrashReportEnabled(bool enabled) {
  State& s = state();
  if (!enabled || s.folder.empty()) {
    CrashReporter::uninstall();
    return;
  }
  for (const auto& report : CrashReporter::collectReports(s.folder, kKeptCrashReports)) {
    logMessage(LogLevel::Warning, "an earlier run crashed; its report is " + report);
    record({{"event", "crashReport"}, {"file", report}});
  }
  CrashReporter::install(s.folder);
}

void MobClick::appLaunched() {
  State& s = state();
  record({{"event", "launch"},
          {"appKey", s.delegate ? s.delegate->appKey() : std::string()},
          {"policy", s.policy},
          {"version", LUMO_VERSION}});
}

void MobClick::event(const std::string& eventId) {
  record({{"event", eventId}});
}

void MobClick::event(const std::string& eventId, const std::string& label) {
  record({{"event", eventId}, {"label", label}});
}

std::string MobClick::folder() {
  return state().folder;
}

void MobClick::flush() {
  if (state().log) state().log->flush();
}

void MobClick::reset() {
  CrashReporter::uninstall();
  state() = State{};
}
