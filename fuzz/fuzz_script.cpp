// Headless scripts on arbitrary text: the parser either names the line it
// refuses or accepts commands of the right shape, which then run frame by
// frame (no window, so touches go nowhere) without undefined behaviour and
// take at least the time their waits, drags and taps ask for.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Log.h"
#include "ScriptRunner.h"

namespace {
// Long waits are cut short: the commands before them have run by then.
constexpr int kMaxFrames = 600;

// Frames the script needs before it can finish: one per tap, the rest from
// the waits and drags at 60 frames a second; nothing after a quit.
double framesAsked(const std::vector<ScriptRunner::Command>& commands) {
  double frames = 0;
  for (const auto& command : commands) {
    if (command.verb == "quit") break;
    if (command.verb == "tap") frames += 1;
    if (command.verb == "wait") frames += std::round(command.numbers[0] * 60);
    if (command.verb == "drag") frames += std::max(1.0, std::round(command.numbers[4] * 60));
  }
  return frames;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ScriptRunner runner;
  std::string error;
  if (!runner.parse(text, error)) {
    if (error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  if (!error.empty()) std::abort();
  int previousLine = 0;
  for (const auto& command : runner.commands()) {
    if (command.line <= previousLine) std::abort();
    previousLine = command.line;
    for (double n : command.numbers)
      if (!std::isfinite(n)) std::abort();
  }
  int frames = 0;
  for (; frames < kMaxFrames && !runner.finished(); ++frames) runner.onFrame();
  if (frames < std::min(framesAsked(runner.commands()), double(kMaxFrames))) std::abort();
  return 0;
}
