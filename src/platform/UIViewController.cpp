#include "UIViewController.h"

#include "NSBundle.h"
#include "UIButton.h"
#include "UINib.h"
#include "UIScreen.h"
#include "UIWebView.h"

UIViewController::UIViewController() = default;

UIViewController::~UIViewController() {
  // The views may outlive us (a finger still on a button, a pending page
  // load): they must not call back into a controller that is gone.
  if (view_) disconnect(view_.get());
}

void UIViewController::disconnect(UIView* view) {
  if (auto* button = dynamic_cast<UIButton*>(view)) button->removeTarget(this);
  if (auto* web = dynamic_cast<UIWebView*>(view))
    if (asWebViewDelegate_ && web->delegate() == asWebViewDelegate_) web->setDelegate(nullptr);
  for (const auto& child : view->subviews()) disconnect(child.get());
}

bool UIViewController::initWithNibName(const std::string& nibName, const NSBundle& bundle) {
  nibName_ = nibName;
  bundle_ = &bundle;
  return true;
}

UIView* UIViewController::view() {
  if (!view_ && !triedLoading_) {
    triedLoading_ = true;
    // Known only while the whole object is alive, not in our destructor.
    asWebViewDelegate_ = dynamic_cast<UIWebViewDelegate*>(this);
    loadView();
    if (view_) viewDidLoad();
  }
  return view_.get();
}

void UIViewController::loadView() {
  if (nibName_.empty() || !bundle_) {
    view_ = makeObject<UIView>(UIScreen::mainScreen().bounds());
    return;
  }
  auto nib = UINib::nibWithNibName(nibName_, *bundle_, loadError_);
  if (nib) view_ = nib->instantiateWithOwner(this, loadError_);
}

void UIViewController::failLoad(const std::string& reason) {
  if (view_) disconnect(view_.get());
  view_ = nullptr;
  loadError_ = reason;
}

bool UIViewController::shouldAutorotateToInterfaceOrientation(
    UIDeviceOrientation interfaceOrientation) {
  return interfaceOrientation == UIDeviceOrientationPortrait;
}

bool UIViewController::setOutlet(const std::string&, UIView*) {
  return false;
}

Selector<> UIViewController::actionNamed(const std::string&) {
  return {};
}
