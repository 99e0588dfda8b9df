#include "CreditsView.h"

#include "NSBundle.h"

Ptr<CreditsView> CreditsView::viewControllerWithNibName(const std::string& nibName) {
  if (nibName.empty()) return nullptr;
  auto controller = makeObject<CreditsView>();
  controller->initWithNibName(nibName, NSBundle::mainBundle());
  return controller;
}

CreditsView::~CreditsView() {
  // The alert goes with the screen (it would otherwise keep itself alive).
  if (!alert_) return;
  alert_->setDelegate(nullptr);
  alert_->dismissWithClickedButtonIndex(alert_->cancelButtonIndex(), false);
}

void CreditsView::loadView() {
  UIViewController::loadView();
  if (!isViewLoaded()) return;
  // Without its three views or a way back the screen could not be used or left.
  if (!webView_ || !titleImageView_ || !contentImageView_)
    failLoad("layout " + nibName() +
             ": the outlets webView, titleImageView and contentImageView must all be connected");
  else if (!backConnected_)
    failLoad("layout " + nibName() + ": no button has the action backToPrevious");
}

void CreditsView::viewDidLoad() {
  UIViewController::viewDidLoad();
  view()->setFrame(CGRectMake(0, 0, 463, 721));
}

bool CreditsView::shouldAutorotateToInterfaceOrientation(UIDeviceOrientation interfaceOrientation) {
  return UIDeviceOrientationIsLandscape(interfaceOrientation);
}

bool CreditsView::setOutlet(const std::string& name, UIView* view) {
  auto connect = [view](auto& outlet) {
    using Target = std::remove_reference_t<decltype(*outlet)>;
    auto* typed = dynamic_cast<Target*>(view);
    if (view && !typed) return false;
    outlet = typed;
    return true;
  };
  if (name == "webView") return connect(webView_);
  if (name == "titleImageView") return connect(titleImageView_);
  if (name == "contentImageView") return connect(contentImageView_);
  return UIViewController::setOutlet(name, view);
}

Selector<> CreditsView::actionNamed(const std::string& name) {
  if (name != "backToPrevious") return UIViewController::actionNamed(name);
  backConnected_ = true;
  return SELECTOR(CreditsView::backToPrevious);
}

void CreditsView::backToPrevious() {
  if (cvDelegate_) cvDelegate_->didClickQuitButton();
}

void CreditsView::webViewDidStartLoad(UIWebView*) {}

void CreditsView::webViewDidFinishLoad(UIWebView*) {
  hideHUD();
}

void CreditsView::webView(UIWebView*, NSError*) {
  hideHUD();
  if (alert_ && alert_->isVisible()) return;  // one alert at a time
  alert_ = makeObject<UIAlertView>();
  alert_->initWithTitle("title", "message", this, "OK", {});
  alert_->show();
}

void CreditsView::hudWasHidden() {}

void CreditsView::alertView(UIAlertView* alertView, int) {
  if (alertView == alert_.get()) alert_ = nullptr;
}

void CreditsView::hideHUD() {
  if (HUD_) HUD_->setHidden(true);
}
