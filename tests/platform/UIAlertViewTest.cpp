#include <gtest/gtest.h>

#include <vector>

#include "NSAutoreleasePool.h"
#include "UIAlertView.h"
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

void tapAt(UIView* view, CGPoint windowPoint) {
  auto touch = makeObject<UITouch>(view, windowPoint, 0.0);
  view->touchesEnded(UITouchSet{touch.get()}, nullptr);
}
}  // namespace

TEST(AlertView, ShowsCentredOverTheKeyWindowAndClosesOnAButton) {
  auto window = makeObject<UIWindow>(CGRectMake(0, 0, 1024, 768));
  window->makeKeyAndVisible();
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

  const CGRect f = alert->frame();
  tapAt(alert, CGPoint{f.origin.x + 10, f.origin.y + 10});  // the message, not a button
  EXPECT_TRUE(closer.clicked.empty());
  tapAt(alert, CGPoint{f.origin.x + f.size.width - 10, f.origin.y + f.size.height - 10});
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
