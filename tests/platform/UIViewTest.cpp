#include <gtest/gtest.h>

#include <cmath>

#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"
#include "TestSupport.h"
#include "UIButton.h"
#include "UIWindow.h"

namespace {
class Stopper : public NSObject {
 public:
  void stopped() { ++count; }
  int count = 0;
};

class TouchCounter : public UIView {
 public:
  using UIView::UIView;
  void touchesBegan(const UITouchSet&, UIEvent*) override { ++began; }
  int began = 0;
};

void send(UIWindow* window, CGPoint at, UITouchPhase phase, Ptr<UITouch>& touch) {
  if (phase == UITouchPhaseBegan)
    touch = makeObject<UITouch>(window->hitTest(at), at, 0.0);
  else
    touch->moveTo(at, phase, 0.0);
  window->sendTouch(touch.get(), phase);
}
}  // namespace

// Inside an animation block the alpha is the new value at once but shows
// gradually; the did-stop selector runs once the duration has passed.
TEST(View, AlphaAnimationAndDidStop) {
  ScopedVirtualClock clock;
  auto view = makeObject<UIView>(CGRectMake(0, 0, 10, 10));
  auto stopper = makeObject<Stopper>();
  UIView::beginAnimations("fade", nullptr);
  UIView::setAnimationDelegate(stopper.get());
  UIView::setAnimationDidStopSelector(SELECTOR(Stopper::stopped));
  UIView::setAnimationDuration(0.4);
  view->setAlpha(0.2f);
  UIView::commitAnimations();
  EXPECT_FLOAT_EQ(view->alpha(), 0.2f);
  EXPECT_FLOAT_EQ(view->presentationAlpha(0.0), 1.0f);
  EXPECT_NEAR(view->presentationAlpha(0.1), 0.8f, 1e-5);
  clock->advance(0.3);
  NSRunLoop::mainRunLoop().runDue();
  EXPECT_EQ(stopper->count, 0);
  clock->advance(0.1);
  NSRunLoop::mainRunLoop().runDue();
  EXPECT_EQ(stopper->count, 1);
  EXPECT_FLOAT_EQ(view->presentationAlpha(0.4), 0.2f);
  view->setAlpha(0.9f);  // outside a block: shown at once
  EXPECT_FLOAT_EQ(view->presentationAlpha(0.4), 0.9f);
  NSRunLoop::mainRunLoop().runDue();
  EXPECT_EQ(stopper->count, 1);
}

// A touch goes to the deepest view under it, through turned views, and stays
// there: the views beneath and the superview do not see it.
TEST(View, TouchesStayWithTheViewHit) {
  auto window = makeObject<UIWindow>(CGRectMake(0, 0, 768, 1024));
  auto book = makeObject<TouchCounter>(window->bounds());
  window->addSubview(book.get());
  auto cover = makeObject<UIView>(window->bounds());
  book->addSubview(cover.get());
  auto card = makeObject<TouchCounter>(CGRectMake(30, 270, 707, 483));
  card->setRotation(float(M_PI / 2));
  book->addSubview(card.get());

  // Turned a quarter, the card spans x 142 to 625 and y 158 to 865.
  EXPECT_EQ(window->hitTest({384, 170}), card.get());
  EXPECT_EQ(window->hitTest({384, 140}), cover.get());
  EXPECT_EQ(window->hitTest({700, 300}), cover.get()) << "inside the card's unturned frame only";
  const CGPoint local = card->convertFromWindow(card->convertToWindow({12, 34}));
  EXPECT_NEAR(local.x, 12, 1e-3);
  EXPECT_NEAR(local.y, 34, 1e-3);

  Ptr<UITouch> touch;
  send(window.get(), {20, 20}, UITouchPhaseBegan, touch);
  send(window.get(), {20, 20}, UITouchPhaseEnded, touch);
  EXPECT_EQ(book->began, 0) << "the cover swallows the touch";
  send(window.get(), {384, 512}, UITouchPhaseBegan, touch);
  EXPECT_EQ(card->began, 1);
  cover->setHidden(true);
  card->setUserInteractionEnabled(false);
  send(window.get(), {384, 512}, UITouchPhaseBegan, touch);
  EXPECT_EQ(book->began, 1);
}

// A removed view still gets the rest of a touch that began on it.
TEST(View, TouchKeepsItsView) {
  auto window = makeObject<UIWindow>(CGRectMake(0, 0, 100, 100));
  Ptr<UITouch> touch;
  {
    auto button = makeObject<UIButton>(CGRectMake(0, 0, 50, 50));
    window->addSubview(button.get());
    send(window.get(), {10, 10}, UITouchPhaseBegan, touch);
    EXPECT_TRUE(button->isHighlighted());
    button->removeFromSuperview();
  }
  NSAutoreleasePool::current().drain();
  send(window.get(), {10, 10}, UITouchPhaseEnded, touch);
  EXPECT_FALSE(static_cast<UIButton*>(touch->view())->isHighlighted());
}

// A button sends its actions when a touch lifts inside it, not outside.
TEST(View, ButtonActsOnALiftInside) {
  auto window = makeObject<UIWindow>(CGRectMake(0, 0, 200, 200));
  auto button = makeObject<UIButton>(CGRectMake(50, 50, 100, 40));
  window->addSubview(button.get());
  auto stopper = makeObject<Stopper>();
  button->addTarget(stopper.get(), SELECTOR(Stopper::stopped), UIControlEventTouchUpInside);
  Ptr<UITouch> touch;
  send(window.get(), {60, 60}, UITouchPhaseBegan, touch);
  send(window.get(), {180, 180}, UITouchPhaseMoved, touch);
  EXPECT_FALSE(button->isHighlighted());
  send(window.get(), {180, 180}, UITouchPhaseEnded, touch);
  EXPECT_EQ(stopper->count, 0);
  send(window.get(), {60, 60}, UITouchPhaseBegan, touch);
  send(window.get(), {140, 85}, UITouchPhaseEnded, touch);
  EXPECT_EQ(stopper->count, 1);
  button->removeTarget(stopper.get());
  button->sendActions();
  EXPECT_EQ(stopper->count, 1);
}
