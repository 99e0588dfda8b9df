#pragma once
#include <string>

class MobClickDelegate;

// Usage analytics and crash reports for a children's book with no network:
// everything stays on this machine, in one folder ($XDG_STATE_HOME/lumo-book,
// or ~/.local/state/lumo-book):
//   usage.jsonl     one JSON object a line per launch and per event; past
//                   kMaxLogBytes it becomes usage.1.jsonl (the older one goes)
//   crash-*.txt     the signal, time and backtrace of a run that crashed,
//                   the newest kKeptCrashReports kept
// Nothing is sent anywhere. Lines are written on a thread of their own. An
// unusable folder costs one warning; the book runs without records.
class MobClick {
 public:
  static constexpr long kMaxLogBytes = 64 * 1024;
  static constexpr int kKeptCrashReports = 5;

  // Report policy 0 records nothing; any other value (the book uses 1)
  // records each launch and event as it happens. Prepares the folder.
  static void setDelegate(MobClickDelegate* delegate, int reportPolicy);
  // On: a fatal signal writes a crash report before the program dies, and a
  // report left by an earlier run is logged (one line naming it).
  static void setCrashReportEnabled(bool enabled);
  static void appLaunched();
  static void event(const std::string& eventId);
  static void event(const std::string& eventId, const std::string& label);

  // The folder in use; empty when records are off.
  static std::string folder();
  // Where records are kept when on: $XDG_STATE_HOME/lumo-book or
  // ~/.local/state/lumo-book; empty without either.
  static std::string stateFolder();
  // Returns when every record so far is written.
  static void flush();
  // Back to the state before setDelegate (tests).
  static void reset();
};
