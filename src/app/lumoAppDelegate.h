#pragma once
#include "UIApplication.h"
#include "UIWindow.h"

#include <string>

#include "CCNodeController.h"
#include "CreditsView.h"
#include "CreditsViewDelegate.h"
#include "MobClickDelegate.h"
#include "lumoWorld.h"

class EAGLView;
class NSNotification;

// Starts the book, relays the platform's lifecycle to the director, shows the
// credits screen when the book asks for it and starts the usage records.
class lumoAppDelegate : public UIApplicationDelegate,
                        public CreditsViewDelegate,
                        public MobClickDelegate {
 public:
  ~lumoAppDelegate() override;

  void applicationDidFinishLaunching(UIApplication* application) override;
  void applicationWillResignActive(UIApplication* application) override;
  void applicationDidBecomeActive(UIApplication* application) override;
  void applicationDidEnterBackground(UIApplication* application) override;
  void applicationWillEnterForeground(UIApplication* application) override;
  void applicationDidReceiveMemoryWarning(UIApplication* application) override;
  void applicationSignificantTimeChange(UIApplication* application) override;
  void applicationWillTerminate(UIApplication* application) override;

  // View tags on the node controller's view while the credits are shown.
  static constexpr int kDimmingViewTag = 1000, kCreditsViewTag = 1001;

  void shouldShowCredits(NSNotification* notification);
  void orientationChanged(NSNotification* notification);
  void didClickQuitButton() override;
  void removeViewsFromViewController();
  void initAnalytics();
  std::string appKey() override;
  // The credits screen while it is shown.
  CreditsView* creditsView() const { return creditsView_.get(); }

  UIWindow* window() const { return window_.get(); }
  void setWindow(UIWindow* window) { window_ = window; }
  EAGLView* glView() const { return glView_; }
  CCNodeController* viewController() const { return viewController_.get(); }
  lumoWorld* cc3World() const { return cc3World_.get(); }
  // False when the graphics view could not be created (no GL).
  bool launched() const { return launched_; }
  // An engine demonstration to show on the book's layer (empty: none).
  void setDemo(const std::string& name) { demo_ = name; }
  // The page the book opens on; 0 (or 1): the cover.
  void setOpeningPage(int page) { openingPage_ = page; }
  // Samples per pixel the view is asked for; 0: no multisampling.
  void setSamples(int samples) { samples_ = samples; }

 private:
  void releaseWorld();
  void postCreditsDidFinish();

  Ptr<UIWindow> window_;
  Ptr<CCNodeController> viewController_;
  Ptr<lumoWorld> cc3World_;
  Ptr<CreditsView> creditsView_;
  bool closingCredits_ = false;
  EAGLView* glView_ = nullptr;  // not retained: the window keeps it
  bool launched_ = false;
  std::string demo_;
  int openingPage_ = 0;
  int samples_ = 0;
};
