#include "MotionSensor.h"

#include <gtest/gtest.h>

#include <vector>

#include "UIAccelerometer.h"

namespace {

class Recorder : public UIAccelerometerDelegate {
 public:
  void accelerometer(UIAccelerometer*, const UIAcceleration& a) override { samples.push_back(a); }
  std::vector<UIAcceleration> samples;
};

class MotionSensorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    accelerometer.setDelegate(&recorder);
    accelerometer.setUpdateInterval(1.0 / 60);
  }
  void TearDown() override {
    accelerometer.setDelegate(nullptr);
    accelerometer.setUpdateInterval(0.1);
  }
  // Readings of a device lying still, screen up, every `period` seconds for `seconds`.
  void feed(double period, double seconds, double from = 0) {
    const float flat[3] = {0, 0, 9.80665f};
    for (double t = from; t < from + seconds - 1e-9; t += period) sensor.sample(flat, t);
  }

  UIAccelerometer& accelerometer = UIAccelerometer::sharedAccelerometer();
  Recorder recorder;
  MotionSensor sensor;
};

TEST_F(MotionSensorTest, ReadingsBecomeGravityInGPointingDown) {
  const float tilted[3] = {4.903325f, -9.80665f, 0};
  sensor.sample(tilted, 3.0);
  ASSERT_EQ(recorder.samples.size(), 1u);
  EXPECT_NEAR(recorder.samples[0].x, -0.5, 1e-6);
  EXPECT_NEAR(recorder.samples[0].y, 1.0, 1e-6);
  EXPECT_DOUBLE_EQ(recorder.samples[0].z, 0);
  EXPECT_DOUBLE_EQ(recorder.samples[0].timestamp, 3.0);
}

TEST_F(MotionSensorTest, AFastSensorIsDeliveredAtTheUpdateInterval) {
  feed(0.005, 1.0);  // 200 readings a second
  EXPECT_GE(recorder.samples.size(), 59u);
  EXPECT_LE(recorder.samples.size(), 61u);
  for (std::size_t i = 1; i < recorder.samples.size(); ++i)
    EXPECT_GE(recorder.samples[i].timestamp - recorder.samples[i - 1].timestamp, 0.0149);

  accelerometer.setUpdateInterval(0.1);
  recorder.samples.clear();
  feed(0.005, 1.0, 2.0);
  EXPECT_GE(recorder.samples.size(), 9u);
  EXPECT_LE(recorder.samples.size(), 11u);
}

TEST_F(MotionSensorTest, ASensorAtOrBelowTheIntervalLosesNothing) {
  // Sixty a second with a little jitter either way.
  for (int i = 0; i < 120; ++i) {
    const float flat[3] = {0, 0, 9.80665f};
    sensor.sample(flat, i / 60.0 + (i % 2 ? 0.0008 : -0.0008));
  }
  EXPECT_EQ(recorder.samples.size(), 120u);
  recorder.samples.clear();
  feed(0.05, 1.0, 5.0);  // twenty a second
  EXPECT_EQ(recorder.samples.size(), 20u);
}

}  // namespace
