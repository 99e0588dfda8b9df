#pragma once
// Shared pieces of the timed-action tests: a fixture that steps the shared
// scheduler frame by frame and checks for leaks, a node with colour and
// opacity, and an interval action that records what it is asked to do.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "CCScheduler.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

inline constexpr ccSeconds kFrame = 1.0f / 60;

class ActionTest : public ::testing::Test {
 protected:
  void SetUp() override { liveBefore_ = NSObject::liveObjectCount(); }
  void TearDown() override {
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }
  static void frame(ccSeconds dt = kFrame) {
    CCScheduler::sharedScheduler()->tick(dt);
    NSAutoreleasePool::current().drain();
  }
  static void frames(int count, ccSeconds dt = kFrame) {
    for (int i = 0; i < count; ++i) frame(dt);
  }
  // A node that counts as running, so that its actions are stepped.
  template <class T>
  static Ptr<T> running(Ptr<T> node) {
    node->onEnter();
    return node;
  }

  std::int64_t liveBefore_ = 0;
};

// A node with colour and opacity, for fades and tints.
class ColorNode : public CCNode, public CCRGBAProtocol {
 public:
  ccColor3B color() const override { return color_; }
  void setColor(ccColor3B color) override { color_ = color; }
  GLubyte opacity() const override { return opacity_; }
  void setOpacity(GLubyte opacity) override { opacity_ = opacity; }

 private:
  ccColor3B color_{255, 255, 255};
  GLubyte opacity_ = 255;
};

// Logs "name:start", "name:<t>" for each update and "name:stop".
class Recorder : public CCActionInterval {
 public:
  static Ptr<Recorder> make(ccSeconds duration, std::vector<std::string>* log, std::string name) {
    auto recorder = makeObject<Recorder>();
    recorder->initWithDuration(duration);
    recorder->log_ = log;
    recorder->name_ = std::move(name);
    return recorder;
  }
  Recorder* copyWithZone(NSZone*) const override {
    auto* copy = new Recorder();
    copy->initWithDuration(duration_);
    copy->log_ = log_;
    copy->name_ = name_;
    return copy;
  }
  void startWithTarget(NSObject* target) override {
    CCActionInterval::startWithTarget(target);
    note("start");
  }
  void update(ccSeconds t) override {
    updates.push_back(t);
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(t));
    note(text);
  }
  void stop() override {
    note("stop");
    CCActionInterval::stop();
  }
  Ptr<CCFiniteTimeAction> reverse() const override { return make(duration_, log_, name_ + "'"); }

  std::vector<float> updates;

 private:
  void note(const std::string& what) {
    if (log_) log_->push_back(name_ + ":" + what);
  }
  std::vector<std::string>* log_ = nullptr;
  std::string name_;
};

using Log = std::vector<std::string>;

// The receiver of call-back actions; each call appends its name to a log.
class CallTarget : public NSObject {
 public:
  explicit CallTarget(Log* log = nullptr, std::string name = "call")
      : log_(log), name_(std::move(name)) {}
  void fire() {
    ++calls;
    if (log_) log_->push_back(name_);
  }
  void fireWithObject(NSObject* object) {
    ++calls;
    lastObject = object;
  }
  void fireWithNode(CCNode* node) {
    ++calls;
    lastNode = node;
  }
  void fireWithNodeAndData(CCNode* node, void* data) {
    ++calls;
    lastNode = node;
    lastData = data;
  }

  int calls = 0;
  NSObject* lastObject = nullptr;
  CCNode* lastNode = nullptr;
  void* lastData = nullptr;

 private:
  Log* log_;
  std::string name_;
};
