// Headless scripts on arbitrary text: the parser either names the line it
// refuses or accepts commands of the right shape, which then run frame by
// frame (no window, so touches go nowhere) without undefined behaviour.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Log.h"
#include "ScriptRunner.h"

namespace {
// Long waits are cut short: the commands before them have run by then.
constexpr int kMaxFrames = 600;
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
  for (int frame = 0; frame < kMaxFrames && !runner.finished(); ++frame) runner.onFrame();
  return 0;
}
