#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSError.h"
#include "NSRunLoop.h"
#include "TestSupport.h"
#include "UIWebView.h"

namespace {
// Writes down what the web view tells it.
class Recorder : public UIWebViewDelegate {
 public:
  std::vector<std::string> heard;
  bool allow = true;
  bool webView(UIWebView*, const std::string& request, UIWebViewNavigationType type) override {
    heard.push_back("should:" + std::filesystem::path(request).filename().string() +
                    (type == UIWebViewNavigationTypeLinkClicked ? ":link" : ""));
    return allow;
  }
  void webViewDidStartLoad(UIWebView*) override { heard.push_back("start"); }
  void webViewDidFinishLoad(UIWebView*) override { heard.push_back("finish"); }
  void webView(UIWebView*, NSError* error) override {
    heard.push_back("fail:" + std::to_string(error->code()));
  }
};

const char* kPage = R"(<html><head><title>Page A</title></head>
<body style="margin:0; font-size:16px">
<a href="b.html" style="display:block; height:40px">to b</a>
<a href="http://example.com/" style="display:block; height:40px">out</a>
<a href="../outside.html" style="display:block; height:40px">up</a>
<a href="#end" style="display:block; height:40px">down</a>
<div style="height:2000px"></div>
<p id="end">the end</p>
</body></html>)";

// A web view over a resource folder of two pages; a third page lies beside the folder.
class WebView : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = NSBundle::mainBundle().searchPaths();
    assets_ = top_.file("assets");
    std::filesystem::create_directories(assets_);
    std::ofstream(assets_ + "/a.html") << kPage;
    std::ofstream(assets_ + "/b.html") << "<html><body><p>Page B</p></body></html>";
    std::ofstream(top_.file("outside.html")) << "<html><body>outside</body></html>";
    NSBundle::mainBundle().setSearchPaths({assets_});
    web_ = makeObject<UIWebView>(CGRectMake(0, 0, 300, 400));
    web_->setDelegate(&recorder_);
  }
  void TearDown() override {
    web_ = nullptr;
    NSRunLoop::mainRunLoop().reset();
    NSAutoreleasePool::current().drain();
    NSBundle::mainBundle().setSearchPaths(saved_);
  }
  void load(const std::string& url) {
    web_->loadRequest(url);
    NSRunLoop::mainRunLoop().runDue();
  }
  // A touch at points of the (window-less) view, from down to up.
  void touch(std::vector<CGPoint> path) {
    auto t = makeObject<UITouch>(web_.get(), path.front(), 0.0);
    web_->touchesBegan({t.get()}, nullptr);
    for (std::size_t i = 1; i < path.size(); ++i) {
      t->moveTo(path[i], UITouchPhaseMoved, 0.0);
      web_->touchesMoved({t.get()}, nullptr);
    }
    t->moveTo(path.back(), UITouchPhaseEnded, 0.0);
    web_->touchesEnded({t.get()}, nullptr);
    NSRunLoop::mainRunLoop().runDue();
  }

  ScopedVirtualClock clock_;
  TempDir top_;
  std::string assets_;
  std::vector<std::string> saved_;
  Recorder recorder_;
  Ptr<UIWebView> web_;
};
}  // namespace

// A page loads on the run loop, not inside loadRequest, and is drawn.
TEST_F(WebView, LoadsAndDrawsALocalPage) {
  web_->loadRequest("a.html");
  EXPECT_TRUE(recorder_.heard.empty());
  EXPECT_EQ(web_->contents(), nullptr);
  NSRunLoop::mainRunLoop().runDue();
  EXPECT_EQ(recorder_.heard, (std::vector<std::string>{"start", "finish"}));
  EXPECT_EQ(web_->request(), assets_ + "/a.html");
  EXPECT_EQ(web_->pageTitle(), "Page A");
  EXPECT_GT(web_->contentHeight(), 2000);
  const UIViewBitmap* page = web_->contents();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->width, 300);
  EXPECT_GE(page->height, int(web_->contentHeight()));
  std::size_t ink = 0;  // the links' text, drawn in blue
  for (std::size_t i = 0; i + 3 < std::size_t(page->width) * 160 * 4; i += 4)
    ink += page->rgba[i + 2] > 100 && page->rgba[i] < 80;
  EXPECT_GT(ink, 40u);
}

// Pages that cannot be read fail with the old page kept; nothing outside the
// folders or on the network is ever opened.
TEST_F(WebView, RefusesWhatIsMissingOrOutside) {
  load("a.html");
  recorder_.heard.clear();
  load("missing.html");
  load("../outside.html");
  load("http://example.com/a.html");
  std::ofstream(assets_ + "/empty.html");
  load("empty.html");
  EXPECT_EQ(recorder_.heard, (std::vector<std::string>{"start", "fail:1", "start", "fail:1",
                                                       "start", "fail:1", "start", "fail:2"}));
  EXPECT_EQ(web_->request(), assets_ + "/a.html");
}

// A tap on a local link opens it (when the delegate agrees); links out of the
// folders do nothing; "#name" scrolls to the element.
TEST_F(WebView, FollowsOnlyLocalLinks) {
  load("a.html");
  recorder_.heard.clear();
  touch({{20, 60}});   // http://example.com/
  touch({{20, 100}});  // ../outside.html
  EXPECT_TRUE(recorder_.heard.empty());
  EXPECT_EQ(web_->request(), assets_ + "/a.html");
  touch({{20, 140}});  // #end
  EXPECT_GT(web_->contentOffset(), 1500);
  web_->setContentOffset(0);
  recorder_.allow = false;
  touch({{20, 20}});
  EXPECT_EQ(web_->request(), assets_ + "/a.html");
  recorder_.allow = true;
  touch({{20, 20}});
  EXPECT_EQ(recorder_.heard, (std::vector<std::string>{"should:b.html:link", "should:b.html:link",
                                                       "start", "finish"}));
  EXPECT_EQ(web_->request(), assets_ + "/b.html");
}

// A drag scrolls by the finger's travel, between the top and the page's end;
// a touch that hardly moves is a tap and does not scroll.
TEST_F(WebView, DragScrollsWithinThePage) {
  load("a.html");
  touch({{150, 300}, {150, 250}, {150, 100}});
  EXPECT_FLOAT_EQ(web_->contentOffset(), 200);
  EXPECT_EQ(web_->contentsRect(), CGRectMake(0, 200, 300, 400));
  touch({{150, 100}, {150, 400}});
  EXPECT_FLOAT_EQ(web_->contentOffset(), 0);
  for (int i = 0; i < 10; ++i) touch({{150, 390}, {150, 10}});
  EXPECT_FLOAT_EQ(web_->contentOffset(), web_->contentHeight() - 400);
  const float end = web_->contentOffset();
  touch({{150, 200}, {150, 203}});
  EXPECT_FLOAT_EQ(web_->contentOffset(), end);
}
