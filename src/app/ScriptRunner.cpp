#include "ScriptRunner.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>

#include "AudioCapture.h"
#include "BookKeys.h"
#include "KeyInput.h"
#include "PlatformHost.h"
#include "UIDevice.h"

namespace {
constexpr double kFramesPerSecond = 60.0;
// Longer waits and drags are typos, and their frames would not fit a long.
constexpr double kMaxSeconds = 1e9;
// A held key repeats as a desktop keyboard does: after half a second, 30 times a second.
constexpr long kRepeatDelayFrames = 30;
constexpr long kRepeatEveryFrames = 2;

struct Shape {
  int numbers;
  bool path;
  bool pathFirst = false;  // the word before the numbers, as in "hold Right 2"
};
const std::map<std::string, Shape>& grammar() {
  static const std::map<std::string, Shape> shapes = {
      {"wait", {1, false}},      {"down", {2, false}},        {"move", {2, false}},
      {"up", {2, false}},        {"drag", {5, false}},        {"tap", {2, false}},
      {"accel", {3, false}},     {"orientation", {1, false}}, {"screenshot", {0, true}},
      {"dump", {0, true}},       {"quit", {0, false}},        {"key", {0, true}},
      {"hold", {1, true, true}}, {"wheel", {1, false}},       {"focus", {0, true}},
      {"clock", {1, false}},     {"microphone", {0, true}},   {"sound-device", {0, true}}};
  return shapes;
}

bool parseNumber(const std::string& word, double& out) {
  char* end = nullptr;
  out = std::strtod(word.c_str(), &end);
  return end && *end == '\0' && !word.empty() && std::isfinite(out);
}

// "Shift+V" is V pressed with Shift.
constexpr std::string_view kShift = "Shift+";
bool hasShift(const std::string& name) {
  return name.rfind(kShift, 0) == 0;
}
std::string withoutShift(const std::string& name) {
  return hasShift(name) ? name.substr(kShift.size()) : name;
}

bool validate(const ScriptRunner::Command& c, std::string& reason) {
  if (c.verb == "wait" && c.numbers[0] < 0) reason = "a wait cannot be negative";
  if (c.verb == "drag" && c.numbers[4] <= 0) reason = "a drag needs a positive duration";
  if (c.verb == "focus" && c.path != "in" && c.path != "out") reason = "focus is \"in\" or \"out\"";
  if (c.verb == "microphone" && c.path != "unplug")
    reason = "the microphone can only be \"unplug\"ged";
  if (c.verb == "sound-device" && c.path != "lost" && c.path != "back")
    reason = "the sound device is \"lost\" or \"back\"";
  if (c.verb == "clock" && std::fabs(c.numbers[0]) > kMaxSeconds)
    reason = "the clock cannot jump by more than 1e9 seconds";
  if ((c.verb == "wait" && c.numbers[0] > kMaxSeconds) ||
      (c.verb == "drag" && c.numbers[4] > kMaxSeconds))
    reason = "a " + c.verb + " cannot last longer than 1e9 seconds";
  if ((c.verb == "key" || c.verb == "hold") && !BookKeys::named(withoutShift(c.path))) {
    std::string known;
    for (BookKey key : BookKeys::all())
      known += (known.empty() ? "" : ", ") + BookKeys::nameOf(key);
    reason = "unknown key \"" + c.path + "\" (known: " + known + ")";
  }
  if (c.verb == "hold" && (c.numbers[0] <= 0 || c.numbers[0] > kMaxSeconds))
    reason = "a key is held for a positive time of at most 1e9 seconds";
  if (c.verb == "wheel" && (c.numbers[0] == 0 || c.numbers[0] != std::floor(c.numbers[0]) ||
                            std::fabs(c.numbers[0]) > 100))
    reason = "the wheel turns by a whole number of notches, 1 to 100 either way";
  if (c.verb == "orientation" &&
      (c.numbers[0] < int(UIDeviceOrientationPortrait) ||
       c.numbers[0] > int(UIDeviceOrientationFaceDown) || c.numbers[0] != std::floor(c.numbers[0])))
    reason = "orientation must be 1 to 6";
  return reason.empty();
}
}  // namespace

bool ScriptRunner::load(const std::string& path, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read the script " + path;
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  return parse(text.str(), error);
}

bool ScriptRunner::parse(const std::string& text, std::string& error) {
  commands_.clear();
  std::stringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::stringstream words(line);
    Command c;
    c.line = number;
    if (!(words >> c.verb)) continue;
    auto shape = grammar().find(c.verb);
    if (shape == grammar().end()) {
      error = "line " + std::to_string(number) + ": unknown command \"" + c.verb + "\"";
      return false;
    }
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    const std::size_t expected = std::size_t(shape->second.numbers) + (shape->second.path ? 1 : 0);
    if (args.size() != expected) {
      error = "line " + std::to_string(number) + ": \"" + c.verb + "\" takes " +
              std::to_string(expected) + " argument(s)";
      return false;
    }
    const std::size_t first = shape->second.pathFirst ? 1 : 0;
    for (int i = 0; i < shape->second.numbers; ++i) {
      const std::string& word = args[first + std::size_t(i)];
      double v = 0;
      if (!parseNumber(word, v)) {
        error = "line " + std::to_string(number) + ": \"" + word + "\" is not a number";
        return false;
      }
      c.numbers.push_back(v);
    }
    if (shape->second.path) c.path = shape->second.pathFirst ? args.front() : args.back();
    std::string reason;
    if (!validate(c, reason)) {
      error = "line " + std::to_string(number) + ": " + reason;
      return false;
    }
    commands_.push_back(std::move(c));
  }
  return true;
}

bool ScriptRunner::stepDrag() {
  PlatformHost& host = PlatformHost::shared();
  Drag& d = *drag_;
  ++d.done;
  double t = double(d.done) / double(d.frames);
  double x = d.x1 + (d.x2 - d.x1) * t, y = d.y1 + (d.y2 - d.y1) * t;
  if (d.done < d.frames) {
    host.touchMove(0, float(x), float(y));
    return false;
  }
  host.touchMove(0, float(d.x2), float(d.y2));
  host.touchUp(0, float(d.x2), float(d.y2));
  drag_.reset();
  return true;
}

bool ScriptRunner::stepHold() {
  Hold& h = *hold_;
  ++h.done;
  const long sinceDelay = h.done - kRepeatDelayFrames;
  if (sinceDelay >= 0 && sinceDelay % kRepeatEveryFrames == 0)
    KeyInput::shared().press({h.key, true});
  if (h.done < h.frames) return false;
  hold_.reset();
  return true;
}

bool ScriptRunner::run(const Command& c) {
  PlatformHost& host = PlatformHost::shared();
  const auto& n = c.numbers;
  if (c.verb == "wait") {
    framesToWait_ = std::lround(n[0] * kFramesPerSecond);
    return framesToWait_ == 0;
  }
  if (c.verb == "down") host.touchDown(0, float(n[0]), float(n[1]));
  if (c.verb == "move") host.touchMove(0, float(n[0]), float(n[1]));
  if (c.verb == "up") host.touchUp(0, float(n[0]), float(n[1]));
  if (c.verb == "tap") {
    host.touchDown(0, float(n[0]), float(n[1]));
    tapFramesLeft_ = kTapFrames;
    tapX_ = n[0];
    tapY_ = n[1];
    return false;
  }
  if (c.verb == "drag") {
    host.touchDown(0, float(n[0]), float(n[1]));
    drag_ = Drag{n[0], n[1], n[2], n[3], std::max(1L, std::lround(n[4] * kFramesPerSecond)), 0};
    return false;
  }
  if (c.verb == "key") KeyInput::shared().press({withoutShift(c.path), false, hasShift(c.path)});
  if (c.verb == "hold") {
    KeyInput::shared().press({c.path, false});
    hold_ = Hold{c.path, std::max(1L, std::lround(n[0] * kFramesPerSecond)), 0};
    return false;
  }
  if (c.verb == "wheel") KeyInput::shared().roll(int(n[0]));
  if (c.verb == "accel") host.accelerate(n[0], n[1], n[2]);
  if (c.verb == "focus") host.setFocused(c.path == "in");
  if (c.verb == "clock") host.jumpClock(n[0]);
  if (c.verb == "microphone") AudioCapture::shared().unplug();
  if (c.verb == "sound-device") host.soundDeviceChanged(c.path == "back");
  // The script's number becomes the enumeration here, once; it was checked at load.
  if (c.verb == "orientation")
    UIDevice::currentDevice().setOrientation(UIDeviceOrientation(int(n[0])));
  if (c.verb == "screenshot" && onScreenshot) onScreenshot(c.path);
  if (c.verb == "dump" && onDump) onDump(c.path);
  if (c.verb == "quit") {
    next_ = commands_.size();
    if (onQuit) onQuit();
    return false;
  }
  return true;
}

void ScriptRunner::onFrame() {
  if (tapFramesLeft_ > 0) {
    if (--tapFramesLeft_ > 0) return;
    PlatformHost::shared().touchUp(0, float(tapX_), float(tapY_));
  }
  if (drag_ && !stepDrag()) return;
  if (hold_ && !stepHold()) return;
  if (framesToWait_ > 0 && --framesToWait_ > 0) return;
  while (next_ < commands_.size())
    if (!run(commands_[next_++])) return;
  if (finished() && !finishedReported_) {
    finishedReported_ = true;
    if (onFinished) onFinished();
  }
}
