#pragma once
#include <memory>
#include <string>

#include "UIView.h"
#include "UIWebViewDelegate.h"

// Shows a local HTML page (litehtml drawing with Cairo and Pango). Pages,
// their images and style sheets come only from the program's resource
// folders: the view never opens the network, and a link to anything outside
// those folders is not followed. A drag scrolls the page; a tap on a link
// inside the folders opens it, a tap on "#name" scrolls to that element.
class UIWebView : public UIView {
 public:
  explicit UIWebView(CGRect frame = CGRectZero);
  ~UIWebView() override;

  // Not retained.
  UIWebViewDelegate* delegate() const { return delegate_; }
  void setDelegate(UIWebViewDelegate* delegate) { delegate_ = delegate; }

  // Loads a page: a name relative to the resource folders, or a path or file:
  // URL inside them. The delegate hears of it on the run loop: the start, then
  // the finish or the failure (a page that cannot be read keeps the old one).
  void loadRequest(const std::string& url);
  void stopLoading();
  bool isLoading() const { return loading_; }
  // The file of the page shown; empty before the first page.
  const std::string& request() const { return shownPath_; }
  // The page's <title>.
  std::string pageTitle() const;

  // Vertical scroll position in pixels, kept between 0 and the page's end.
  float contentOffset() const { return offset_; }
  void setContentOffset(float y);
  float contentHeight() const { return float(pageHeight_); }

  void setFrame(CGRect frame) override;
  void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
  void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
  void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
  void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;

  const UIViewBitmap* contents() override;
  CGRect contentsRect() override;

 private:
  struct Page;
  std::unique_ptr<Page> page_;
  UIWebViewDelegate* delegate_ = nullptr;
  std::string requested_, pendingPath_, shownPath_;
  bool loading_ = false;
  float offset_ = 0;
  int pageHeight_ = 0;
  UIViewBitmap bitmap_;
  bool drawn_ = false;
  CGPoint touchStart_;
  float offsetAtTouch_ = 0;
  bool dragging_ = false;

  void scheduleLoad(const std::string& request, const std::string& path);
  void startLoad();
  void fail(int code, const std::string& description);
  void layoutPage();
  void followLink(const std::string& href);
  void scrollToAnchor(const std::string& name);
};
