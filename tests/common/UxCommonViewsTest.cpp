#include <gtest/gtest.h>

#include <vector>

#include "NSAutoreleasePool.h"
#include "UIAlertView.h"
#include "UINavigationItem.h"
#include "UIView.h"
#include "UxCommon.h"

namespace {
class Recorder : public NSObject, public UIAlertViewDelegate {
 public:
  std::vector<int> clicked;
  std::vector<NSObject*> senders;
  void alertView(UIAlertView*, int index) override { clicked.push_back(index); }
  void pressed(NSObject* sender) { senders.push_back(sender); }
};
}  // namespace

TEST(UxCommonViews, CoverBlocksTouchesUntilRemoved) {
  auto root = makeObject<UIView>(CGRectMake(0, 0, 1024, 768));
  auto button = makeObject<UIView>(CGRectMake(900, 700, 100, 50));
  root->addSubview(button.get());
  Ptr<UIView> cover;
  UxCommon::vAddCoverViewTo(root.get(), cover);
  ASSERT_TRUE(cover);
  EXPECT_EQ(cover->superview(), root.get());
  EXPECT_EQ(cover->backgroundColor().a, 1.0f);
  EXPECT_EQ(cover->backgroundColor().r + cover->backgroundColor().g + cover->backgroundColor().b,
            0.0f);
  // The cover spans the whole view, so a touch far from the corner lands on it.
  EXPECT_EQ(root->hitTest(CGPoint{950, 720}), cover.get());

  // Covering again replaces the cover rather than stacking a second one.
  UIView* first = cover.get();
  UxCommon::vAddCoverViewTo(root.get(), cover);
  EXPECT_NE(cover.get(), first);
  EXPECT_EQ(root->subviews().size(), 2u);

  UxCommon::vRemoveCoverViewFrom(root.get(), cover);
  EXPECT_FALSE(cover);
  EXPECT_EQ(root->hitTest(CGPoint{950, 720}), button.get());
  UxCommon::vRemoveCoverViewFrom(root.get(), cover);  // nothing to remove
  EXPECT_EQ(root->subviews().size(), 1u);
  NSAutoreleasePool::current().drain();
}

TEST(UxCommonViews, AlertShowsWithDefaultTitleAndReportsTheButton) {
  auto recorder = makeObject<Recorder>();
  const auto before = UIAlertView::visibleAlerts().size();
  UxCommon::vAlertWithTitle("", "Saved.", recorder.get(), "Cancel", "Again", 7);
  auto alerts = UIAlertView::visibleAlerts();
  ASSERT_EQ(alerts.size(), before + 1);
  UIAlertView* alert = alerts.back();
  EXPECT_EQ(alert->title(), UxCommon::kDefaultAlertTitle);
  EXPECT_EQ(alert->message(), "Saved.");
  EXPECT_EQ(alert->tag(), 7);
  ASSERT_EQ(alert->numberOfButtons(), 2);
  EXPECT_EQ(alert->buttonTitleAtIndex(alert->cancelButtonIndex()), "Cancel");
  EXPECT_EQ(alert->buttonTitleAtIndex(1), "Again");
  alert->dismissWithClickedButtonIndex(1, true);
  EXPECT_EQ(recorder->clicked, std::vector<int>{1});
  EXPECT_EQ(UIAlertView::visibleAlerts().size(), before);

  UxCommon::vAlertWithTitle("Title", "", nullptr, "OK", "", 0);
  UIAlertView* single = UIAlertView::visibleAlerts().back();
  EXPECT_EQ(single->title(), "Title");
  EXPECT_EQ(single->numberOfButtons(), 1);
  single->dismissWithClickedButtonIndex(0, false);
  NSAutoreleasePool::current().drain();
}

TEST(UxCommonViews, BarButtonGoesToTheChosenSideAndSendsItsAction) {
  auto recorder = makeObject<Recorder>();
  auto nav = makeObject<UINavigationItem>("Scores");
  UxCommon::vBarButtonWithTitle("Edit", recorder.get(), SELECTOR(Recorder::pressed), true,
                                nav.get());
  ASSERT_TRUE(nav->rightBarButtonItem());
  EXPECT_FALSE(nav->leftBarButtonItem());
  EXPECT_EQ(nav->rightBarButtonItem()->title(), "Edit");
  EXPECT_EQ(nav->rightBarButtonItem()->style(), UIBarButtonItemStylePlain);
  UxCommon::vBarButtonWithTitle("Back", recorder.get(), SELECTOR(Recorder::pressed), false,
                                nav.get());
  ASSERT_TRUE(nav->leftBarButtonItem());
  EXPECT_EQ(nav->leftBarButtonItem()->title(), "Back");

  nav->leftBarButtonItem()->sendAction();
  ASSERT_EQ(recorder->senders.size(), 1u);
  EXPECT_EQ(recorder->senders[0], nav->leftBarButtonItem());
}
