#include "EventLog.h"

#include <atomic>
#include <cstdio>

#include "Clock.h"

namespace {
std::atomic<bool> gEnabled{false};
}

void EventLog::setEnabled(bool enabled) {
  gEnabled = enabled;
}
bool EventLog::enabled() {
  return gEnabled;
}

void EventLog::log(const std::string& category, const std::string& text) {
  if (!gEnabled) return;
  std::printf("%.3f %s %s\n", Clock::current().seconds(), category.c_str(), text.c_str());
  std::fflush(stdout);
}
