#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Scripted input for headless and repeatable runs: one command a line,
// `#` comments. The whole script is parsed before anything runs.
class ScriptRunner {
 public:
  struct Command {
    std::string verb;
    std::vector<double> numbers;
    std::string path;
    int line = 0;
  };

  // False with "line N: reason" in `error` when the script cannot be used.
  bool load(const std::string& path, std::string& error);
  bool parse(const std::string& text, std::string& error);
  const std::vector<Command>& commands() const { return commands_; }

  // Called at the start of every frame: runs commands until one needs time to pass.
  void onFrame();
  bool finished() const {
    return next_ >= commands_.size() && framesToWait_ == 0 && !drag_ && !hold_;
  }

  // What the script does to the world around it.
  std::function<void(const std::string&)> onScreenshot;
  std::function<void(const std::string&)> onDump;
  std::function<void()> onQuit;
  std::function<void()> onFinished;

 private:
  struct Drag {
    double x1, y1, x2, y2;
    long frames, done;
  };
  std::vector<Command> commands_;
  std::size_t next_ = 0;
  long framesToWait_ = 0;
  // A tap lifts two frames after it went down: the world picks the node under
  // a touch in the frame after it and delivers the pick in the next one, and
  // an up queued between those two would share the down's empty pick.
  static constexpr int kTapFrames = 2;
  int tapFramesLeft_ = 0;
  double tapX_ = 0, tapY_ = 0;
  std::optional<Drag> drag_;
  struct Hold {
    std::string key;  // a name the book answers to, checked at load
    long frames, done;
  };
  std::optional<Hold> hold_;
  bool finishedReported_ = false;

  bool stepDrag();
  bool stepHold();
  // Runs one command; false when the frame must end.
  bool run(const Command& command);
};
