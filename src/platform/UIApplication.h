#pragma once
#include "NSObject.h"
#include "UIDevice.h"

class UIApplication;

// The application's lifecycle handlers, called on the main thread.
class UIApplicationDelegate : public NSObject {
 public:
  virtual void applicationDidFinishLaunching(UIApplication*) {}
  virtual void applicationWillResignActive(UIApplication*) {}
  virtual void applicationDidBecomeActive(UIApplication*) {}
  virtual void applicationDidEnterBackground(UIApplication*) {}
  virtual void applicationWillEnterForeground(UIApplication*) {}
  virtual void applicationDidReceiveMemoryWarning(UIApplication*) {}
  virtual void applicationSignificantTimeChange(UIApplication*) {}
  virtual void applicationWillTerminate(UIApplication*) {}
};

class UIApplication : public NSObject {
 public:
  static UIApplication& sharedApplication();
  UIApplicationDelegate* delegate() const { return delegate_.get(); }
  void setDelegate(UIApplicationDelegate* delegate) { delegate_ = delegate; }
  UIDeviceOrientation statusBarOrientation() const { return statusBarOrientation_; }
  void setStatusBarOrientation(UIDeviceOrientation orientation, bool animated);
  bool isIdleTimerDisabled() const { return idleTimerDisabled_; }
  void setIdleTimerDisabled(bool disabled) { idleTimerDisabled_ = disabled; }

 private:
  UIApplication() = default;
  Ptr<UIApplicationDelegate> delegate_;
  UIDeviceOrientation statusBarOrientation_ = UIDeviceOrientationPortrait;
  bool idleTimerDisabled_ = false;
};
