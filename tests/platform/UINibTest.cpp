#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "TestSupport.h"
#include "UIButton.h"
#include "UIImageView.h"
#include "UIViewController.h"
#include "UIWebView.h"

namespace {
// Has an image outlet "picture", a web view outlet "page" and the action "go".
class Owner : public UIViewController, public UIWebViewDelegate {
 public:
  Ptr<UIImageView> picture;
  Ptr<UIWebView> page;
  int went = 0, finished = 0;
  bool setOutlet(const std::string& name, UIView* view) override {
    if (name == "picture" && (!view || dynamic_cast<UIImageView*>(view))) {
      picture = static_cast<UIImageView*>(view);
      return true;
    }
    if (name == "page" && (!view || dynamic_cast<UIWebView*>(view))) {
      page = static_cast<UIWebView*>(view);
      return true;
    }
    return false;
  }
  Selector<> actionNamed(const std::string& name) override {
    return name == "go" ? SELECTOR(Owner::go) : Selector<>();
  }
  void go() { ++went; }
  void webViewDidFinishLoad(UIWebView*) override { ++finished; }
};

class Nib : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = NSBundle::mainBundle().searchPaths();
    NSBundle::mainBundle().setSearchPaths({dir_.path()});
    std::ofstream(dir_.file("p.html")) << "<p>page</p>";
  }
  void TearDown() override {
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    NSBundle::mainBundle().setSearchPaths(saved_);
  }
  Ptr<Owner> ownerOf(const std::string& layout) {
    std::ofstream(dir_.file("Layout.json")) << layout;
    auto owner = makeObject<Owner>();
    owner->initWithNibName("Layout", NSBundle::mainBundle());
    return owner;
  }
  ScopedVirtualClock clock_;
  TempDir dir_;
  std::vector<std::string> saved_;
};

const char* kGood = R"({"view": {"class": "UIView", "frame": [0, 0, 200, 100],
  "backgroundColor": "#ff800080", "subviews": [
    {"class": "UIImageView", "frame": [1, 2, 3, 4], "outlet": "picture", "tag": 7,
     "image": "none.png"},
    {"class": "UIButton", "frame": [10, 10, 50, 20], "action": "go", "hidden": true},
    {"class": "UIWebView", "frame": [0, 50, 200, 50], "outlet": "page", "delegate": "owner",
     "request": "p.html", "alpha": 0.5}]}})";
}  // namespace

// A sound layout builds its views in order and connects outlets, actions and
// the web view's delegate; the page loads once everything is connected.
TEST_F(Nib, BuildsAndConnects) {
  auto owner = ownerOf(kGood);
  EXPECT_FALSE(owner->isViewLoaded());
  UIView* root = owner->view();
  ASSERT_NE(root, nullptr) << owner->loadError();
  EXPECT_EQ(root->frame(), CGRectMake(0, 0, 200, 100));
  EXPECT_FLOAT_EQ(root->backgroundColor().g, 128.0f / 255);
  EXPECT_FLOAT_EQ(root->backgroundColor().a, 128.0f / 255);
  ASSERT_EQ(root->subviews().size(), 3u);
  EXPECT_EQ(owner->picture.get(), root->subviews()[0].get());
  EXPECT_EQ(owner->picture->tag(), 7);
  EXPECT_EQ(owner->picture->image(), nullptr) << "a missing picture leaves the view empty";
  auto* button = dynamic_cast<UIButton*>(root->subviews()[1].get());
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isHidden());
  button->sendActions();
  EXPECT_EQ(owner->went, 1);
  EXPECT_EQ(owner->page.get(), root->subviews()[2].get());
  EXPECT_EQ(owner->page->delegate(), static_cast<UIWebViewDelegate*>(owner.get()));
  NSRunLoop::mainRunLoop().runDue();
  EXPECT_EQ(owner->finished, 1);
  EXPECT_EQ(owner->view(), root);
}

// A controller that goes away first leaves its views unable to call it.
TEST_F(Nib, ControllerGoneViewsDisconnected) {
  auto owner = ownerOf(kGood);
  Ptr<UIView> root = owner->view();
  Ptr<UIWebView> page = owner->page;
  auto* button = static_cast<UIButton*>(root->subviews()[1].get());
  owner = nullptr;
  EXPECT_EQ(page->delegate(), nullptr);
  button->sendActions();  // would call a freed controller
  NSRunLoop::mainRunLoop().runDue();
}

// Every kind of mistake makes the layout unusable, says where, and leaves
// nothing connected.
TEST_F(Nib, MalformedLayoutsAreRefused) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{\"view\": {", "not valid JSON"},
      {"[1, 2]", "top-level \"view\" is missing"},
      {R"({"view": {"class": "UISlider", "frame": [0, 0, 1, 1]}})", "unknown class UISlider"},
      {R"({"view": {"class": "UIView", "frame": [0, 0, 1, 1], "colour": "#fff"}})",
       "unknown key \"colour\""},
      {R"({"view": {"class": "UIView", "frame": [0, 0, 1]}})", "frame must be"},
      {R"({"view": {"class": "UIView"}})", "frame is required"},
      {R"({"view": {"class": "UIView", "frame": [0, 0, 1, 1], "tag": 1.5}})", "tag must be"},
      {R"({"view": {"class": "UIView", "frame": [0, 0, 1, 1], "backgroundColor": "red"}})",
       "backgroundColor must be"},
      {R"({"view": {"class": "UIView", "frame": [0, 0, 1, 1], "subviews": [
         {"class": "UIImageView", "frame": [0, 0, 1, 1], "outlet": "picture"},
         {"class": "UIButton", "frame": [0, 0, 1, 1], "outlet": "page"}]}})",
       "view.subviews[1]: the owner has no outlet page for a UIButton"},
      {R"({"view": {"class": "UIView", "frame": [0, 0, 1, 1], "outlet": "nose"}})",
       "no outlet nose"},
      {R"({"view": {"class": "UIButton", "frame": [0, 0, 1, 1], "action": "fly"}})",
       "no action fly"},
      {R"({"view": {"class": "UIImageView", "frame": [0, 0, 1, 1], "action": "go"}})",
       "only a button has an action"},
      {R"({"view": {"class": "UIWebView", "frame": [0, 0, 1, 1], "delegate": "me"}})",
       "delegate must be \"owner\""},
  };
  for (const auto& [layout, reason] : cases) {
    auto owner = ownerOf(layout);
    EXPECT_EQ(owner->view(), nullptr) << layout;
    EXPECT_NE(owner->loadError().find(reason), std::string::npos)
        << owner->loadError() << " / expected: " << reason;
    EXPECT_EQ(owner->picture, nullptr) << "an outlet stayed connected: " << layout;
    EXPECT_EQ(owner->page, nullptr);
  }
  auto missing = makeObject<Owner>();
  missing->initWithNibName("Nowhere", NSBundle::mainBundle());
  EXPECT_EQ(missing->view(), nullptr);
  EXPECT_EQ(missing->loadError(), "layout Nowhere.json not found");
}
