#include <gtest/gtest.h>

#include <fstream>

#include "DesktopWindow.h"
#include "NSRunLoop.h"
#include "PNGWriter.h"
#include "TestSupport.h"

namespace {
// The shared window with no real window behind it, on virtual time; left as found.
class DesktopWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    window().setFullscreen(false);
    NSRunLoop::mainRunLoop().reset();
  }
  DesktopWindow& window() { return DesktopWindow::shared(); }
  void run(double seconds) {
    for (int i = 0, n = int(seconds * 60 + 0.5); i < n; ++i) {
      clock->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
    }
  }
  std::size_t pendingChecks() {
    std::size_t n = 0;
    for (const auto& call : NSRunLoop::mainRunLoop().pendingCalls())
      n += call.target == "DesktopWindow";
    return n;
  }
  ScopedVirtualClock clock;
};
}  // namespace

TEST_F(DesktopWindowTest, PointerHidesAfterTwoStillSecondsInFullScreenOnly) {
  run(5);
  EXPECT_FALSE(window().isCursorHidden()) << "a window never hides the pointer";
  window().setFullscreen(true);
  run(1.95);
  EXPECT_FALSE(window().isCursorHidden());
  run(0.1);
  EXPECT_TRUE(window().isCursorHidden());
  EXPECT_EQ(pendingChecks(), 0u);
}

TEST_F(DesktopWindowTest, MovingPostponesTheHidingAndShowsThePointerAgain) {
  window().setFullscreen(true);
  // A pointer moving every frame for a second and a half: one pending check, never hidden.
  for (int i = 0; i < 90; ++i) {
    window().pointerMoved();
    run(1.0 / 60);
  }
  EXPECT_EQ(pendingChecks(), 1u);
  EXPECT_FALSE(window().isCursorHidden());
  run(1.9);
  EXPECT_FALSE(window().isCursorHidden());
  run(0.2);
  EXPECT_TRUE(window().isCursorHidden());
  window().pointerMoved();
  EXPECT_FALSE(window().isCursorHidden());
  run(2.05);
  EXPECT_TRUE(window().isCursorHidden());
}

TEST_F(DesktopWindowTest, LeavingFullScreenShowsThePointerForGood) {
  window().setFullscreen(true);
  run(1);
  window().setFullscreen(false);
  run(5);
  EXPECT_FALSE(window().isCursorHidden());
  window().setFullscreen(true);
  run(2.05);
  EXPECT_TRUE(window().isCursorHidden());
  window().setFullscreen(false);
  EXPECT_FALSE(window().isCursorHidden());
}

TEST_F(DesktopWindowTest, IconComesFromAPictureAndABadOneIsRefused) {
  TempDir dir;
  std::vector<unsigned char> rgba(48 * 48 * 4, 200);
  std::string error;
  ASSERT_TRUE(writePNG(dir.file("icon.png"), rgba.data(), 48, 48, error)) << error;
  std::ofstream(dir.file("broken.png")) << "not a picture";
  EXPECT_TRUE(window().setIconFromFile(dir.file("icon.png")));
  EXPECT_EQ(window().iconSize(), 48);
  EXPECT_FALSE(window().setIconFromFile(dir.file("broken.png")));
  EXPECT_FALSE(window().setIconFromFile(dir.file("missing.png")));
  EXPECT_EQ(window().iconSize(), 48) << "a bad picture leaves the icon as it was";
  window().setTitle("Lumo Book — Рыжик и звёздочка");
  EXPECT_EQ(window().title(), "Lumo Book — Рыжик и звёздочка");
}
