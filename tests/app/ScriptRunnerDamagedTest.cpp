// Scripts asking for more time than a frame count holds (found by fuzzing).
#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptRunner.h"

namespace {
std::string damaged(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "damaged" / name).string();
}
}  // namespace

TEST(ScriptLimits, DragOfAgesIsRefusedRatherThanEndingAtOnce) {
  ScriptRunner script;
  std::string error;
  EXPECT_FALSE(script.load(damaged("script_long_drag.txt"), error));
  EXPECT_EQ(error, "line 1: a drag cannot last longer than 1e9 seconds");

  EXPECT_FALSE(script.parse("tap 1 1\nwait 1.0000001e9\n", error));
  EXPECT_EQ(error, "line 2: a wait cannot last longer than 1e9 seconds");
}

TEST(ScriptLimits, LongestDragStillRunsFrameByFrame) {
  ScriptRunner script;
  std::string error;
  ASSERT_TRUE(script.parse("drag 0 0 10 10 1e9\nwait 1e9\n", error)) << error;
  bool finished = false;
  script.onFinished = [&finished] { finished = true; };
  for (int frame = 0; frame < 120; ++frame) script.onFrame();
  EXPECT_FALSE(script.finished());
  EXPECT_FALSE(finished);
}
