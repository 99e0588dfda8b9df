#include "UIWebView.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "CairoBitmap.h"
#include "CairoHtmlContainer.h"
#include "DrawRevision.h"
#include "Log.h"
#include "NSBundle.h"
#include "NSData.h"
#include "NSError.h"

namespace {
constexpr std::size_t kMaxPageBytes = 1 << 20;
constexpr int kMaxPageHeight = 8192;  // taller pages are cut off here
constexpr float kDragSlop = 8;        // a touch moving less than this is a tap
constexpr const char* kErrorDomain = "UIWebViewErrorDomain";

litehtml::context& htmlContext() {
  static litehtml::context* context = [] {
    auto* c = new litehtml::context();  // lives for the process
    c->load_master_stylesheet(CairoHtmlContainer::masterStyleSheet());
    return c;
  }();
  return *context;
}

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string() + "/";
}
}  // namespace

// The document and its container; the document refers to the container, so it goes first.
struct UIWebView::Page {
  CairoHtmlContainer container;
  litehtml::document::ptr document;
  ~Page() { document.reset(); }
};

UIWebView::UIWebView(CGRect frame) : UIView(frame) {
  setBackgroundColor(UIColor{1, 1, 1, 1});
}

UIWebView::~UIWebView() = default;

std::string UIWebView::pageTitle() const {
  return page_ ? page_->container.caption() : std::string();
}

void UIWebView::loadRequest(const std::string& url) {
  scheduleLoad(url, NSBundle::mainBundle().localPathForURL(url, ""));
}

void UIWebView::scheduleLoad(const std::string& request, const std::string& path) {
  stopLoading();
  requested_ = request;
  pendingPath_ = path;
  performSelector(SELECTOR(UIWebView::startLoad), 0);
}

void UIWebView::stopLoading() {
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(UIWebView::startLoad));
  loading_ = false;
}

void UIWebView::startLoad() {
  // The delegate may let the view go in its callbacks.
  Ptr<UIWebView> keep(this);
  loading_ = true;
  if (delegate_) delegate_->webViewDidStartLoad(this);
  if (!loading_) return;
  if (pendingPath_.empty()) {
    fail(1, "the page is not among the program's resources: " + requested_);
    return;
  }
  const auto text = NSData::dataWithContentsOfFile(pendingPath_, kMaxPageBytes);
  if (!text || text->empty()) {
    fail(2, "the page cannot be read: " + pendingPath_);
    return;
  }
  auto page = std::make_unique<Page>();
  page->container.setBaseFolder(folderOf(pendingPath_));
  page->container.setViewport(int(frame().size.width), int(frame().size.height));
  page->document =
      litehtml::document::createFromUTF8(text->c_str(), &page->container, &htmlContext());
  if (!page->document || !page->document->root()) {
    fail(3, "the page cannot be understood: " + pendingPath_);
    return;
  }
  page_ = std::move(page);
  shownPath_ = pendingPath_;
  offset_ = 0;
  DrawRevision::bump();
  layoutPage();
  loading_ = false;
  const auto hash = requested_.find('#');
  if (hash != std::string::npos) scrollToAnchor(requested_.substr(hash + 1));
  if (delegate_) delegate_->webViewDidFinishLoad(this);
}

void UIWebView::fail(int code, const std::string& description) {
  loading_ = false;
  logMessage(LogLevel::Warning, description);
  auto error = NSError::errorWithDomain(kErrorDomain, code, description);
  if (delegate_) delegate_->webView(this, error.get());
}

void UIWebView::layoutPage() {
  drawn_ = false;
  setNeedsDisplay();
  if (!page_) return;
  const int width = std::max(1, int(frame().size.width));
  page_->container.setViewport(width, int(frame().size.height));
  page_->document->render(width);
  pageHeight_ = page_->document->height();
  if (pageHeight_ > kMaxPageHeight)
    logWarningOnce("web-height:" + shownPath_, "web page taller than " +
                                                   std::to_string(kMaxPageHeight) +
                                                   " pixels is cut off: " + shownPath_);
  setContentOffset(offset_);
}

void UIWebView::setFrame(CGRect frame) {
  const bool resized = !(frame.size == this->frame().size);
  UIView::setFrame(frame);
  if (resized) layoutPage();
}

void UIWebView::setContentOffset(float y) {
  const float end =
      std::max(0.0f, float(std::min(pageHeight_, kMaxPageHeight)) - frame().size.height);
  offset_ = std::clamp(y, 0.0f, end);
  DrawRevision::bump();
}

const UIViewBitmap* UIWebView::contents() {
  if (!page_) return nullptr;
  if (drawn_) return &bitmap_;
  drawn_ = true;
  const int w = std::max(1, int(frame().size.width));
  const int h = std::max({1, std::min(pageHeight_, kMaxPageHeight), int(frame().size.height)});
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  litehtml::position clip(0, 0, w, h);
  page_->document->draw(reinterpret_cast<litehtml::uint_ptr>(cr), 0, 0, &clip);
  cairo_destroy(cr);
  CairoBitmap::copySurface(surface, bitmap_);
  cairo_surface_destroy(surface);
  return &bitmap_;
}

CGRect UIWebView::contentsRect() {
  return CGRectMake(0, offset_, frame().size.width, frame().size.height);
}

void UIWebView::touchesBegan(const UITouchSet& touches, UIEvent*) {
  if (touches.empty()) return;
  touchStart_ = touches.front()->locationInView(this);
  offsetAtTouch_ = offset_;
  dragging_ = false;
}

void UIWebView::touchesMoved(const UITouchSet& touches, UIEvent*) {
  if (touches.empty()) return;
  const CGPoint p = touches.front()->locationInView(this);
  const float dx = p.x - touchStart_.x, dy = p.y - touchStart_.y;
  if (!dragging_ && std::hypot(dx, dy) < kDragSlop) return;
  dragging_ = true;
  setContentOffset(offsetAtTouch_ - dy);
}

void UIWebView::touchesEnded(const UITouchSet& touches, UIEvent* event) {
  touchesMoved(touches, event);
  if (dragging_ || touches.empty() || !page_ || loading_) return;
  const CGPoint p = touches.front()->locationInView(this);
  const int x = int(p.x), y = int(p.y);
  litehtml::position::vector redraw;
  page_->document->on_lbutton_down(x, y + int(offset_), x, y, redraw);
  page_->document->on_lbutton_up(x, y + int(offset_), x, y, redraw);
  const std::string href = page_->container.takeClickedLink();
  if (!href.empty()) followLink(href);
}

void UIWebView::touchesCancelled(const UITouchSet&, UIEvent*) {
  dragging_ = false;
}

void UIWebView::followLink(const std::string& href) {
  if (href.front() == '#') {
    scrollToAnchor(href.substr(1));
    return;
  }
  const std::string path = NSBundle::mainBundle().localPathForURL(href, folderOf(shownPath_));
  if (path.empty()) {
    logMessage(LogLevel::Info, "link not followed (outside the book): " + href);
    return;
  }
  if (delegate_ && !delegate_->webView(this, path, UIWebViewNavigationTypeLinkClicked)) return;
  scheduleLoad(href, path);
}

void UIWebView::scrollToAnchor(const std::string& name) {
  const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum((unsigned char)c) || c == '-' || c == '_';
  });
  if (!page_ || name.empty() || !plain) return;
  if (auto target = page_->document->root()->select_one("#" + name))
    setContentOffset(float(target->get_placement().y));
}
