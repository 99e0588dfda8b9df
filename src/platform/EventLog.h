#pragma once
#include <string>

// The `--log-events` trace: one line per notification, sound start/stop/end
// and page settle, stamped with the engine clock's time. Off unless enabled.
namespace EventLog {
void setEnabled(bool enabled);
bool enabled();
// Prints "<time> <category> <text>" to stdout when enabled.
void log(const std::string& category, const std::string& text);
}  // namespace EventLog
