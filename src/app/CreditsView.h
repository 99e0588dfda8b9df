#pragma once
#include "CreditsViewDelegate.h"
#include "UIAlertView.h"
#include "UIButton.h"
#include "UIImageView.h"
#include "UIViewController.h"
#include "UIWebView.h"

// The credits page opened from the book's ending menu: a title picture, a
// content picture, a web page saying who made the book and a back button,
// laid out by the resource "CreditsView" (assets/CreditsView.json). The back
// button (outlet "backButton") shows the picture of the reading language.
class CreditsView : public UIViewController, public UIWebViewDelegate, public UIAlertViewDelegate {
 public:
  // Null when the name is empty; a missing or bad layout shows when the view
  // is first asked for (`view` answers null and `loadError` says why).
  static Ptr<CreditsView> viewControllerWithNibName(const std::string& nibName);
  ~CreditsView() override;

  UIWebView* webView() const { return webView_.get(); }
  UIImageView* titleImageView() const { return titleImageView_.get(); }
  UIImageView* contentImageView() const { return contentImageView_.get(); }
  UIButton* backButton() const { return backButton_.get(); }
  CreditsViewDelegate* cvDelegate() const { return cvDelegate_; }
  void setCvDelegate(CreditsViewDelegate* delegate) { cvDelegate_ = delegate; }
  // A progress overlay shown by someone else while the page loads; the screen makes none.
  UIView* HUD() const { return HUD_.get(); }
  void setHUD(UIView* hud) { HUD_ = hud; }
  // YES in the Russian reading (tag 2000), NO in the English one: the request
  // names the languages as the ending menu does. A loaded screen switches the
  // back button's picture at once.
  bool isEnLan() const { return isEnLan_; }
  void setIsEnLan(bool isEnLan);

  void loadView() override;
  void viewDidLoad() override;
  bool shouldAutorotateToInterfaceOrientation(UIDeviceOrientation interfaceOrientation) override;
  bool setOutlet(const std::string& name, UIView* view) override;
  Selector<> actionNamed(const std::string& name) override;

  // The back button's action.
  void backToPrevious();

  void webViewDidStartLoad(UIWebView* webView) override;
  void webViewDidFinishLoad(UIWebView* webView) override;
  void webView(UIWebView* webView, NSError* error) override;
  using UIWebViewDelegate::webView;
  void hudWasHidden();
  void alertView(UIAlertView* alertView, int clickedButtonAtIndex) override;

 private:
  Ptr<UIWebView> webView_;
  Ptr<UIImageView> titleImageView_;
  Ptr<UIImageView> contentImageView_;
  Ptr<UIButton> backButton_;
  CreditsViewDelegate* cvDelegate_ = nullptr;  // not retained
  Ptr<UIView> HUD_;
  bool isEnLan_ = false;
  Ptr<UIAlertView> alert_;  // the failed-load alert, while shown
  bool backConnected_ = false;

  void hideHUD();
  void showBackPicture();
};
