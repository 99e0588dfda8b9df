#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "CCDirector.h"
#include "CCSharedServices.h"
#include "EAGLView.h"
#include "MobClick.h"
#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSNotificationCenter.h"
#include "NSRunLoop.h"
#include "PNGWriter.h"
#include "PlatformHost.h"
#include "StateDump.h"
#include "TestSupport.h"
#include "UIAlertView.h"
#include "UIApplication.h"
#include "UIButton.h"
#include "UIDevice.h"
#include "UIWebView.h"
#include "lmStageInfo.h"
#include "lumoAppDelegate.h"
#include "lumoServices.h"
#include "lumoWorld.h"

namespace {
std::string text(const std::string& path) {
  std::ifstream file(path);
  std::stringstream s;
  s << file.rdbuf();
  return s.str();
}

// Counts one notification by name.
class Counter : public NSObject {
 public:
  explicit Counter(const std::string& name) {
    NSNotificationCenter::defaultCenter().addObserver(this, SELECTOR(Counter::heard), name,
                                                      nullptr);
  }
  ~Counter() override { NSNotificationCenter::defaultCenter().removeObserver(this); }
  void heard(NSNotification*) { ++count; }
  int count = 0;
};

// Remembers the touches that reach the GL view.
class TouchRecorder : public EAGLTouchDelegate {
 public:
  int began = 0;
  void touchesBegan(const UITouchSet&, UIEvent*) override { ++began; }
  void touchesMoved(const UITouchSet&, UIEvent*) override {}
  void touchesEnded(const UITouchSet&, UIEvent*) override {}
  void touchesCancelled(const UITouchSet&, UIEvent*) override {}
};

// The launched book, its usage records in a folder of the test's own.
class CreditsScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", state_.path().c_str(), 1);
    delegate_ = makeObject<lumoAppDelegate>();
    delegate_->applicationDidFinishLaunching(&UIApplication::sharedApplication());
    ASSERT_TRUE(delegate_->launched());
    screen_ = delegate_->viewController()->view();
  }
  void TearDown() override {
    UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeLeft);
    delegate_->applicationWillTerminate(&UIApplication::sharedApplication());
    // As the program closes: what the reading left running, then the shared services.
    lumoServices::stopReading();
    delegate_ = nullptr;
    CCSharedServices::purgeAll();
    MobClick::reset();
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    unsetenv("XDG_STATE_HOME");
  }

  void requestCredits(bool english = false) {
    NSNotificationCenter::defaultCenter().postNotificationName("lmShouldShowCredits", nullptr,
                                                               {{"isEnLan", english}});
  }
  // Advances virtual time frame by frame, running what falls due and drawing.
  void run(double seconds) {
    for (double t = 0; t < seconds; t += 1.0 / 60) {
      clock_->advance(1.0 / 60);
      NSRunLoop::mainRunLoop().runDue();
      CCDirector::sharedDirector()->drawScene();
      NSAutoreleasePool::current().drain();
    }
  }
  // A tap at a point of the landscape picture, as the reader's finger gives it.
  void tap(CGPoint picture) {
    PlatformHost::shared().touchDown(7, picture.x, picture.y);
    PlatformHost::shared().touchUp(7, picture.x, picture.y);
  }
  // The picture point at the middle of a view.
  static CGPoint middleOf(UIView* view) {
    const CGSize s = view->frame().size;
    const CGPoint screen = view->convertToWindow({s.width / 2, s.height / 2});
    return {screen.y, 768 - screen.x};  // held landscape left
  }
  UIButton* backButton() {
    UIView* credits = screen_->viewWithTag(1001);
    for (const auto& child : credits ? credits->subviews() : std::vector<Ptr<UIView>>{})
      if (auto* button = dynamic_cast<UIButton*>(child.get())) return button;
    return nullptr;
  }

  ScopedVirtualClock clock_;
  TempDir state_;
  Ptr<lumoAppDelegate> delegate_;
  UIView* screen_ = nullptr;
};
}  // namespace

// The credits request puts the dimming view and the card, in that order, on
// the node controller's view; a second request adds nothing.
TEST_F(CreditsScreen, ShowsOnceOverADimmedBook) {
  requestCredits(true);
  requestCredits(false);
  ASSERT_EQ(screen_->subviews().size(), 2u);
  UIView* dimming = screen_->subviews()[0].get();
  UIView* card = screen_->subviews()[1].get();
  EXPECT_EQ(dimming->tag(), 1000);
  EXPECT_EQ(dimming->frame(), CGRectMake(0, 0, 768, 1024));
  EXPECT_FLOAT_EQ(dimming->alpha(), 0.5f);
  EXPECT_EQ(dimming->backgroundColor().a, 1.0f);
  EXPECT_EQ(dimming->backgroundColor().r + dimming->backgroundColor().g, 0.0f);
  EXPECT_EQ(card->tag(), 1001);
  EXPECT_EQ(card->frame(), CGRectMake(30, 270, 707, 483));
  EXPECT_FLOAT_EQ(card->rotation(), 1.57f);
  ASSERT_NE(delegate_->creditsView(), nullptr);
  EXPECT_EQ(delegate_->creditsView()->view(), card);
  EXPECT_TRUE(delegate_->creditsView()->isEnLan()) << "the first request is the one shown";
  EXPECT_EQ(delegate_->creditsView()->cvDelegate(), delegate_.get());
}

// 4.71 radians only while the device is held landscape right; flat, portrait
// or landscape left turn the card by 1.57.
TEST_F(CreditsScreen, FollowsTheDeviceOrientation) {
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeRight);
  requestCredits();
  UIView* card = screen_->viewWithTag(1001);
  ASSERT_NE(card, nullptr);
  EXPECT_FLOAT_EQ(card->rotation(), 4.71f);
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationFaceUp);
  EXPECT_FLOAT_EQ(card->rotation(), 1.57f);
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeRight);
  EXPECT_FLOAT_EQ(card->rotation(), 4.71f);
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationPortrait);
  EXPECT_FLOAT_EQ(card->rotation(), 1.57f);
}

// The back button, tapped where the reader sees it, closes the screen after
// the closing animation: both views gone, one "creditsdidfinishnotification"
// even for a double tap, the controller released.
TEST_F(CreditsScreen, BackButtonClosesOnce) {
  Counter finished("creditsdidfinishnotification");
  requestCredits();
  run(0.1);
  UIButton* back = backButton();
  ASSERT_NE(back, nullptr);
  const CGPoint at = middleOf(back);
  tap(at);
  tap(at);
  run(0.1);
  EXPECT_NE(screen_->viewWithTag(1001), nullptr) << "removed before the animation ended";
  EXPECT_EQ(finished.count, 0);
  run(0.2);
  EXPECT_EQ(screen_->viewWithTag(1000), nullptr);
  EXPECT_EQ(screen_->viewWithTag(1001), nullptr);
  EXPECT_EQ(finished.count, 1);
  EXPECT_EQ(delegate_->creditsView(), nullptr);
  requestCredits();
  EXPECT_NE(screen_->viewWithTag(1001), nullptr) << "the credits open again after closing";
}

// While the credits are up, touches on the dimmed book stop at the dimming
// view; after closing they reach the book again.
TEST_F(CreditsScreen, DimmingSwallowsTouches) {
  auto* gl = static_cast<EAGLView*>(screen_);
  EAGLTouchDelegate* book = gl->touchDelegate();
  TouchRecorder recorder;
  gl->setTouchDelegate(&recorder);
  requestCredits();
  tap({40, 40});  // outside the card
  EXPECT_EQ(recorder.began, 0);
  EXPECT_EQ(screen_->hitTest({5, 5}), screen_->viewWithTag(1000));
  delegate_->didClickQuitButton();
  run(0.3);
  tap({40, 40});
  EXPECT_EQ(recorder.began, 1);
  gl->setTouchDelegate(book);
}

// The card, the dimming and the page are in the presented frame, and the
// dump describes the views in picture pixels.
TEST_F(CreditsScreen, CompositedOverTheBookAndDumped) {
  run(0.2);
  int w = 0, h = 0;
  auto* gl = static_cast<EAGLView*>(screen_);
  const auto before = gl->context()->snapshotPresentedFrame(w, h);
  requestCredits();
  run(0.2);
  const auto after = gl->context()->snapshotPresentedFrame(w, h);
  ASSERT_EQ(w, 1024);
  ASSERT_EQ(h, 768);
  if (const char* out = std::getenv("LUMO_CREDITS_SCREENSHOT")) {
    std::string error;
    writePNG(out, after.data(), w, h, error);
  }
  auto at = [&](const std::vector<unsigned char>& px, int x, int y) {
    const std::size_t i = (std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4;
    return std::array<int, 3>{px[i], px[i + 1], px[i + 2]};
  };
  // Outside the card the page shows at half brightness.
  for (auto [x, y] : {std::pair{60, 700}, {980, 60}, {500, 740}}) {
    const auto b = at(before, x, y), a = at(after, x, y);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a[c], b[c] / 2, 2) << x << "," << y;
  }
  // The card's border (brown) and the web page's paper (near white) inside it.
  const auto border = at(after, 160, 384);
  EXPECT_NEAR(border[0], 0x6b, 3);
  EXPECT_NEAR(border[2], 0x30, 3);
  const auto paper = at(after, 860, 620);
  EXPECT_GT(paper[0] + paper[1] + paper[2], 700);

  const nlohmann::json views = dumpViews();
  EXPECT_EQ(views["frame"], nlohmann::json({0, 0, 1024, 768}));
  const auto& gl0 = views["children"][0];
  EXPECT_EQ(gl0["class"], "EAGLView");
  ASSERT_EQ(gl0["children"].size(), 2u);
  EXPECT_EQ(gl0["children"][0]["tag"], 1000);
  EXPECT_EQ(gl0["children"][0]["alpha"], 0.5);
  const auto& card = gl0["children"][1];
  EXPECT_EQ(card["tag"], 1001);
  EXPECT_EQ(card["hidden"], false);
  // Centred within half a pixel; 1.57 is not quite a right angle, so the box
  // is a little larger than the card.
  const auto f = card["frame"];
  EXPECT_NEAR(f[0].get<double>() + f[2].get<double>() / 2, 512, 0.6);
  EXPECT_NEAR(f[1].get<double>() + f[3].get<double>() / 2, 384, 0.6);
  EXPECT_NEAR(f[2].get<double>(), 707, 0.5);
  EXPECT_NEAR(f[3].get<double>(), 483, 0.7);
}

// The back button shows the reading language's picture, as the dump tells,
// when the ending menu asks for the credits; a change while the screen is up
// switches it.
TEST_F(CreditsScreen, BackButtonInTheReadingLanguage) {
  auto shownPicture = [&] {
    const nlohmann::json views = dumpViews();
    for (const auto& v : views["children"][0]["children"][1]["children"])
      if (v["class"] == "UIButton") return v["image"];
    return nlohmann::json();
  };
  lumoWorld* world = delegate_->cc3World();
  world->addMenuEnding();
  CC3Node* credits = world->getNodeNamed("menu-end")->getNodeNamed("menu-end2");
  auto askInTheReading = [&](std::int32_t language) {
    world->stageInfo()->setCurLangTag(language);
    world->nodeSelected(credits, 0, {100, 100});
    world->nodeSelected(credits, 2, {100, 100});
    run(0.1);
  };
  askInTheReading(lmStageInfo::kLangEnglish);
  EXPECT_EQ(shownPicture(), "credits_back_cn.png");
  ASSERT_NE(backButton(), nullptr);
  EXPECT_EQ(backButton(), delegate_->creditsView()->backButton());
  delegate_->creditsView()->setIsEnLan(true);
  EXPECT_EQ(shownPicture(), "credits_back.png");
  delegate_->didClickQuitButton();
  run(0.3);
  ASSERT_EQ(screen_->viewWithTag(1001), nullptr);
  askInTheReading(lmStageInfo::kLangRussian);
  EXPECT_EQ(shownPicture(), "credits_back.png");
}

// Held either way round, the reader sees the card upright and centred: the
// back button stays at the card's lower left, the page at its right.
TEST_F(CreditsScreen, UprightInBothLandscapes) {
  auto backFrame = [&] {
    const nlohmann::json views = dumpViews();
    for (const auto& v : views["children"][0]["children"][1]["children"])
      if (v["class"] == "UIButton") return v["frame"];
    return nlohmann::json();
  };
  requestCredits();
  const nlohmann::json left = backFrame();
  UIDevice::currentDevice().setOrientation(UIDeviceOrientationLandscapeRight);
  run(0.1);
  const nlohmann::json right = backFrame();
  ASSERT_TRUE(left.is_array() && right.is_array());
  EXPECT_LT(left[0].get<double>(), 512 - 100);
  EXPECT_GT(left[1].get<double>(), 384 + 100);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(left[i].get<double>(), right[i].get<double>(), 1.5) << i;
  int w = 0, h = 0;
  const auto frame = static_cast<EAGLView*>(screen_)->context()->snapshotPresentedFrame(w, h);
  const std::size_t i = (std::size_t(540) * std::size_t(w) + 860) * 4;  // the page's paper
  EXPECT_GT(frame[i] + frame[i + 1] + frame[i + 2], 700);
}

// Without a usable layout the screen does not open; dragging is given back by
// "creditsdidfinishnotification" on the next turn of the run loop, after the
// ending menu has locked it.
TEST_F(CreditsScreen, UnusableLayoutGivesTheBookBack) {
  NSBundle& bundle = NSBundle::mainBundle();
  const auto saved = bundle.searchPaths();
  TempDir bad;
  std::ofstream(bad.file("CreditsView.json")) << R"({"view": {"class": "UIView"}})";
  for (const std::vector<std::string>& paths :
       {std::vector<std::string>{bad.path()}, std::vector<std::string>{bad.path() + "/none"}}) {
    bundle.setSearchPaths(paths);
    Counter finished("creditsdidfinishnotification");
    requestCredits();
    // As the ending menu does, after asking.
    delegate_->cc3World()->stageInfo()->setLockDrag(true);
    EXPECT_TRUE(screen_->subviews().empty());
    EXPECT_EQ(finished.count, 0) << "not while the request is still being made";
    run(0.05);
    EXPECT_EQ(finished.count, 1);
    EXPECT_FALSE(delegate_->cc3World()->stageInfo()->lockDrag());
    EXPECT_EQ(delegate_->creditsView(), nullptr);
  }
  bundle.setSearchPaths(saved);
}

// A page that cannot be read shows the alert with its one "OK" button over
// the card, and nothing else changes.
TEST_F(CreditsScreen, UnreadablePageShowsTheAlert) {
  NSBundle& bundle = NSBundle::mainBundle();
  const auto saved = bundle.searchPaths();
  TempDir folder;
  const std::string layout = text(bundle.pathForResource("CreditsView", "json"));
  std::ofstream(folder.file("CreditsView.json"))
      << std::regex_replace(layout, std::regex("credits/credits.html"), "credits/gone.html");
  std::vector<std::string> paths = saved;
  paths.insert(paths.begin(), folder.path());
  bundle.setSearchPaths(paths);
  requestCredits();
  run(0.1);
  const auto alerts = UIAlertView::visibleAlerts();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0]->title(), "title");
  EXPECT_EQ(alerts[0]->message(), "message");
  EXPECT_EQ(alerts[0]->numberOfButtons(), 1);
  EXPECT_EQ(alerts[0]->buttonTitleAtIndex(0), "OK");
  EXPECT_EQ(alerts[0]->delegate(), delegate_->creditsView());
  const CGPoint ok =
      alerts[0]->convertToWindow({UIAlertView::kWidth / 2, UIAlertView::kHeight - 10});
  tap({ok.y, 768 - ok.x});
  EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
  EXPECT_NE(screen_->viewWithTag(1001), nullptr);
  EXPECT_NE(screen_->viewWithTag(1000), nullptr);
  // Shown again and left open, the alert goes with the screen.
  delegate_->creditsView()->webView()->loadRequest("credits/gone.html");
  run(0.05);
  ASSERT_EQ(UIAlertView::visibleAlerts().size(), 1u);
  delegate_->removeViewsFromViewController();
  EXPECT_TRUE(UIAlertView::visibleAlerts().empty());
  bundle.setSearchPaths(saved);
}
