#include "UIView.h"

#include <algorithm>
#include <cmath>

#include "Clock.h"
#include "NSRunLoop.h"
#include "UIWindow.h"

namespace {
std::uint64_t gNextViewID = 1;
}  // namespace

// The open animation block: its settings and the alpha changes made in it.
struct UIViewAnimationBlock {
  bool open = false;
  Ptr<NSObject> delegate;
  Selector<> didStop;
  double duration = 0.2;                                    // the platform's default
  std::vector<std::pair<Ptr<UIView>, float>> alphaChanges;  // view, alpha shown before

  void recordAlpha(UIView* view, float shownBefore) {
    for (auto& change : alphaChanges)
      if (change.first.get() == view) return;
    alphaChanges.emplace_back(view, shownBefore);
  }
  void startAlphaAnimations(double now) {
    for (auto& [view, from] : alphaChanges) view->alphaAnimation_ = {from, now, duration};
    if (!alphaChanges.empty()) DrawRevision::keepChangingUntil(now + duration);
  }
};

namespace {
UIViewAnimationBlock gAnimation;
}  // namespace

UIView::UIView(CGRect frame) : frame_(frame), viewID_(gNextViewID++) {}

UIView::~UIView() {
  for (auto& child : subviews_) child->superview_ = nullptr;
}

void UIView::setFrame(CGRect frame) {
  frame_ = frame;
  DrawRevision::bump();
}

void UIView::setAlpha(float alpha) {
  const float shown = presentationAlpha(Clock::current().seconds());
  alpha_ = std::clamp(alpha, 0.0f, 1.0f);
  alphaAnimation_ = {};
  if (gAnimation.open) gAnimation.recordAlpha(this, shown);
  DrawRevision::bump();
}

float UIView::presentationAlpha(double now) const {
  const AlphaAnimation& a = alphaAnimation_;
  if (a.duration <= 0 || now >= a.start + a.duration) return alpha_;
  const double t = std::max(0.0, (now - a.start) / a.duration);
  return float(a.from + (alpha_ - a.from) * t);
}

CGRect UIView::contentsRect() {
  const UIViewBitmap* bitmap = contents();
  return bitmap ? CGRectMake(0, 0, float(bitmap->width), float(bitmap->height)) : CGRectZero;
}

void UIView::addSubview(UIView* view) {
  if (!view || view == this) return;
  Ptr<UIView> keep(view);
  view->removeFromSuperview();
  view->superview_ = this;
  subviews_.push_back(keep);
  DrawRevision::bump();
}

void UIView::removeFromSuperview() {
  if (!superview_) return;
  auto& siblings = superview_->subviews_;
  superview_ = nullptr;
  DrawRevision::bump();
  // The superview's reference may be the last: keep the view to the frame's end.
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [this](const Ptr<UIView>& v) { return v.get() == this; });
  if (it == siblings.end()) return;
  retain()->autorelease();
  siblings.erase(it);
}

UIView* UIView::viewWithTag(int tag) {
  if (tag_ == tag) return this;
  for (auto& child : subviews_)
    if (UIView* found = child->viewWithTag(tag)) return found;
  return nullptr;
}

UIWindow* UIView::window() const {
  const UIView* top = this;
  while (top->superview_) top = top->superview_;
  return dynamic_cast<UIWindow*>(const_cast<UIView*>(top));
}

namespace {
// From the superview's coordinates into a view's own, undoing its rotation about its centre.
CGPoint intoView(const UIView& v, CGPoint p) {
  CGRect f = v.frame();
  float cx = f.origin.x + f.size.width / 2, cy = f.origin.y + f.size.height / 2;
  float dx = p.x - cx, dy = p.y - cy;
  float c = std::cos(-v.rotation()), s = std::sin(-v.rotation());
  return {c * dx - s * dy + f.size.width / 2, s * dx + c * dy + f.size.height / 2};
}
CGPoint outOfView(const UIView& v, CGPoint p) {
  CGRect f = v.frame();
  float dx = p.x - f.size.width / 2, dy = p.y - f.size.height / 2;
  float c = std::cos(v.rotation()), s = std::sin(v.rotation());
  return {c * dx - s * dy + f.origin.x + f.size.width / 2,
          s * dx + c * dy + f.origin.y + f.size.height / 2};
}
}  // namespace

CGPoint UIView::convertFromWindow(CGPoint windowPoint) const {
  std::vector<const UIView*> chain;
  for (const UIView* v = this; v; v = v->superview_) chain.push_back(v);
  CGPoint p = windowPoint;
  // The window itself sits at the screen origin; descend from its children.
  for (auto it = chain.rbegin() + 1; it < chain.rend(); ++it) p = intoView(**it, p);
  return p;
}

CGPoint UIView::convertToWindow(CGPoint point) const {
  CGPoint p = point;
  for (const UIView* v = this; v && v->superview_; v = v->superview_) p = outOfView(*v, p);
  return p;
}

UIView* UIView::hitTest(CGPoint point) {
  if (hidden_ || !interaction_ || alpha_ < 0.01f) return nullptr;
  if (point.x < 0 || point.y < 0 || point.x >= frame_.size.width || point.y >= frame_.size.height)
    return nullptr;
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it)
    if (UIView* hit = (*it)->hitTest(intoView(**it, point))) return hit;
  return this;
}

// Touches are not passed up to the superview: the GL view under a covering
// view (the dimming behind the credits, a card, an alert) must not see them.
void UIView::touchesBegan(const UITouchSet&, UIEvent*) {}
void UIView::touchesMoved(const UITouchSet&, UIEvent*) {}
void UIView::touchesEnded(const UITouchSet&, UIEvent*) {}
void UIView::touchesCancelled(const UITouchSet&, UIEvent*) {}

void UIView::beginAnimations(const std::string&, void*) {
  gAnimation = UIViewAnimationBlock{};
  gAnimation.open = true;
}
void UIView::setAnimationDelegate(NSObject* delegate) {
  gAnimation.delegate = delegate;
}
void UIView::setAnimationDidStopSelector(Selector<> sel) {
  gAnimation.didStop = sel;
}
void UIView::setAnimationDuration(double seconds) {
  gAnimation.duration = seconds;
}

void UIView::commitAnimations() {
  if (!gAnimation.open) return;
  gAnimation.startAlphaAnimations(Clock::current().seconds());
  if (gAnimation.delegate && gAnimation.didStop)
    NSRunLoop::mainRunLoop().performAfterDelay(gAnimation.delegate.get(), gAnimation.didStop,
                                               gAnimation.duration);
  gAnimation = UIViewAnimationBlock{};
}
