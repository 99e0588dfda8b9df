#include "FrameLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "TestSupport.h"

namespace {
std::string contents(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}
}  // namespace

TEST(FrameLog, RowsFollowTheHeaderAndReopeningStartsAFreshFile) {
  TempDir dir;
  FrameLog log;
  std::string error;
  ASSERT_TRUE(log.open(dir.file("a.csv"), FrameLog::Measure::Wall, error)) << error;
  log.record(1, 1.0 / 60, 16.5, true);
  log.record(2, 2.0 / 60, 0.25, false);
  ASSERT_TRUE(log.open(dir.file("b.csv"), FrameLog::Measure::Wall, error)) << error;
  log.record(7, 0.5, 3, true);
  EXPECT_TRUE(log.close());
  EXPECT_FALSE(log.isOpen());
  log.record(8, 1, 1, true);  // closed: nothing, and no crash
  EXPECT_EQ(contents(dir.file("a.csv")),
            "frame,time,ms,drew\n1,0.016667,16.500,1\n2,0.033333,0.250,0\n");
  EXPECT_EQ(contents(dir.file("b.csv")), "frame,time,ms,drew\n7,0.500000,3.000,1\n");
}

TEST(FrameLog, ProcessorTimeCountsWorkButNotSleep) {
  TempDir dir;
  FrameLog log;
  std::string error;
  ASSERT_TRUE(log.open(dir.file("cpu.csv"), FrameLog::Measure::Cpu, error)) << error;
  log.beginFrame();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  log.endFrame(1, 0.1);
  ASSERT_TRUE(log.close());
  double ms = std::stod(
      contents(dir.file("cpu.csv")).substr(std::string("frame,time,ms,drew\n1,0.100000,").size()));
  EXPECT_GE(ms, 0);
  EXPECT_LT(ms, 100);  // a sleeping process uses next to no processor time
}

TEST(FrameLog, UnwritableFilesAreReportedNotCrashedOn) {
  FrameLog log;
  std::string error;
  EXPECT_FALSE(log.open("/no/such/folder/frames.csv", FrameLog::Measure::Wall, error));
  EXPECT_NE(error.find("/no/such/folder/frames.csv"), std::string::npos) << error;
  EXPECT_FALSE(log.isOpen());
  // A full disk shows when the log is closed: the rows did not all arrive.
  ASSERT_TRUE(log.open("/dev/full", FrameLog::Measure::Wall, error)) << error;
  for (long frame = 1; frame <= 20000; ++frame) log.record(frame, double(frame) / 60, 16, true);
  EXPECT_FALSE(log.close());

  FrameLog::Measure measure = FrameLog::Measure::Wall;
  EXPECT_TRUE(FrameLog::measureNamed("cpu", measure));
  EXPECT_EQ(measure, FrameLog::Measure::Cpu);
  EXPECT_FALSE(FrameLog::measureNamed("CPU", measure));
  EXPECT_EQ(measure, FrameLog::Measure::Cpu);
}
