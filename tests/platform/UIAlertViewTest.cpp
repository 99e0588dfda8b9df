#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "NSAutoreleasePool.h"
#include "UIAlertView.h"
#include "UIDevice.h"
#include "UIWindow.h"

namespace {
class Closer : public UIAlertViewDelegate {
 public:
  std::vector<int> clicked;
  Ptr<UIAlertView> held;  // dropped when the alert closes, as a screen would
  void alertView(UIAlertView* alert, int index) override {
    clicked.push_back(index);
    EXPECT_FALSE(alert->isVisible());
    held = nullptr;
  }
};

// A tap at a point of the alert's own picture, wherever it stands on the screen.
void tapAt(UIView* view, CGPoint local) {
  auto touch = makeObject<UITouch>(view, view->convertToWindow(local), 0.0);
  view->touchesEnded(UITouchSet{touch.get()}, nullptr);
}
}  // namespace

TEST(AlertView, ShowsCentredOverTheKeyWindowAndClosesOnAButton) {
  auto window = makeObject<UIWindow>(CGRectMake(0, 0, 1024, 768));
  window->makeKeyAndVisible();
  UIDevice::currentDevice();  // a process singleton the alert asks how it is held
  const auto live = NSObject::liveObjectCount();
  Closer closer;
  {
    auto alert = makeObject<UIAlertView>();
    alert->initWithTitle("Save", "Keep this page?", &closer, "No", {"Yes", ""});
    closer.held = alert;
  }
  UIAlertView* alert = closer.held.get();
  ASSERT_EQ(alert->numberOfButtons(), 2);
  EXPECT_EQ(alert->cancelButtonIndex(), 0);
  EXPECT_EQ(alert->buttonTitleAtIndex(2), "");
  alert->show();
  alert->show();  // a second show changes nothing
  EXPECT_EQ(UIAlertView::visibleAlerts(), std::vector<UIAlertView*>{alert});
  EXPECT_EQ(alert->superview(), window.get());
  EXPECT_EQ(alert->frame().origin.x, (1024 - UIAlertView::kWidth) / 2);
  EXPECT_EQ(alert->frame().origin.y, (768 - UIAlertView::kHeight) / 2);
  EXPECT_EQ(window->hitTest(CGPoint{512, 384}), alert) << "the alert takes the touches under it";

  const CGSize size = alert->frame().size;
  tapAt(alert, CGPoint{10, 10});  // the message, not a button
  EXPECT_TRUE(closer.clicked.empty());
  tapAt(alert, CGPoint{size.width - 10, size.height - 10});
  EXPECT_EQ(closer.clicked, std::vector<int>{1});
  EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
  EXPECT_EQ(window->subviews().size(), 0u);

  alert->dismissWithClickedButtonIndex(0, false);  // closed already: no second report
  EXPECT_EQ(closer.clicked.size(), 1u);
  NSAutoreleasePool::current().drain();
  EXPECT_EQ(NSObject::liveObjectCount(), live) << "the closed alert was not released";
}

TEST(AlertView, ButtonsShareTheBottomRow) {
  auto alert = makeObject<UIAlertView>();
  alert->initWithTitle("t", "m", nullptr, "", {"A", "B", "C"});
  EXPECT_EQ(alert->cancelButtonIndex(), -1);
  const float bottom = UIAlertView::kHeight - 1;
  EXPECT_EQ(alert->buttonIndexAtPoint({1, bottom}), 0);
  EXPECT_EQ(alert->buttonIndexAtPoint({UIAlertView::kWidth / 2, bottom}), 1);
  EXPECT_EQ(alert->buttonIndexAtPoint({UIAlertView::kWidth - 1, bottom}), 2);
  EXPECT_EQ(alert->buttonIndexAtPoint({1, UIAlertView::kHeight - UIAlertView::kButtonHeight - 1}),
            -1);
  EXPECT_EQ(alert->buttonIndexAtPoint({-1, bottom}), -1);
  alert->dismissWithClickedButtonIndex(0, false);  // never shown: nothing happens
}

// The alert stands upright for the way the device is held, and while it is
// shown nothing else in its window can be touched.
TEST(AlertView, UprightAndModal) {
  auto window = makeObject<UIWindow>(CGRectMake(0, 0, 768, 1024));
  window->makeKeyAndVisible();
  auto below = makeObject<UIView>(window->bounds());
  window->addSubview(below.get());
  auto alert = makeObject<UIAlertView>();
  alert->initWithTitle("title", "message", nullptr, "OK", {});
  alert->show();
  EXPECT_FLOAT_EQ(alert->rotation(), float(M_PI / 2)) << "held landscape left";
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeRight);
  EXPECT_FLOAT_EQ(alert->rotation(), float(-M_PI / 2));
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
  // The alert is 284 wide on the reader's landscape picture: 284 tall on the screen.
  EXPECT_EQ(window->hitTest({384, 512 - 130}), alert.get());
  EXPECT_EQ(window->hitTest({384, 512 - 150}), nullptr) << "beside the alert: no view at all";
  EXPECT_EQ(window->hitTest({20, 20}), nullptr);
  const UIViewBitmap* picture = alert->contents();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, int(UIAlertView::kWidth));
  std::size_t lit = 0;
  for (std::size_t i = 3; i < picture->rgba.size(); i += 4) lit += picture->rgba[i] > 128;
  EXPECT_GT(lit, 200u) << "title, message and button are drawn";
  alert->dismissWithClickedButtonIndex(0, false);
  EXPECT_EQ(window->hitTest({20, 20}), below.get());
  NSAutoreleasePool::current().drain();
}
