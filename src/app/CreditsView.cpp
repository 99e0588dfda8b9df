#include "CreditsView.h"

#include "Log.h"
#include "NSBundle.h"

namespace {
// The back button's picture in each reading language.
constexpr const char* kBackPictureRussian = "credits_back.png";
constexpr const char* kBackPictureEnglish = "credits_back_cn.png";
}  // namespace

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
  showBackPicture();
}

void CreditsView::setIsEnLan(bool isEnLan) {
  if (isEnLan == isEnLan_) return;
  isEnLan_ = isEnLan;
  if (isViewLoaded()) showBackPicture();
}

// A missing picture keeps the one shown: a back button must stay visible.
void CreditsView::showBackPicture() {
  if (!backButton_) return;
  const std::string name = isEnLan_ ? kBackPictureRussian : kBackPictureEnglish;
  const std::string path = NSBundle::mainBundle().pathForResource(name, "");
  Ptr<UIImage> picture = path.empty() ? nullptr : UIImage::imageWithContentsOfFile(path);
  if (picture)
    backButton_->setImage(picture.get());
  else if (path.empty())
    logWarningOnce("credits:" + name, "credits: no picture " + name + " for the back button");
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
  if (name == "backButton") return connect(backButton_);
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
