#pragma once
#include <string>

#include "NSObject.h"
#include "UIDevice.h"
#include "UIView.h"

class NSBundle;
class UIWebViewDelegate;

// Owns a view tree built from a layout resource (see UINib) when the view is
// first asked for. Subclasses name their outlets and actions, which the
// layout connects by name.
class UIViewController : public NSObject {
 public:
  UIViewController();
  ~UIViewController() override;

  // Remembers the layout resource; the view is built on first use.
  bool initWithNibName(const std::string& nibName, const NSBundle& bundle);
  const std::string& nibName() const { return nibName_; }

  // Builds the view on first use (`loadView`, then `viewDidLoad`). Null when
  // the layout cannot be used; `loadError` says why, in one line.
  UIView* view();
  bool isViewLoaded() const { return view_ != nullptr; }
  const std::string& loadError() const { return loadError_; }

  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewDidUnload() {}
  virtual void didReceiveMemoryWarning() {}
  virtual bool shouldAutorotateToInterfaceOrientation(UIDeviceOrientation interfaceOrientation);

  // Connections the layout asks for. False when there is no such outlet or
  // the view is of the wrong class; an action not known answers an empty selector.
  virtual bool setOutlet(const std::string& name, UIView* view);
  virtual Selector<> actionNamed(const std::string& name);

 protected:
  // Gives up a loaded view that is unusable (an outlet left unconnected).
  void failLoad(const std::string& reason);

 private:
  std::string nibName_;
  const NSBundle* bundle_ = nullptr;
  Ptr<UIView> view_;
  std::string loadError_;
  bool triedLoading_ = false;
  UIWebViewDelegate* asWebViewDelegate_ = nullptr;  // this, when a subclass is one

  void disconnect(UIView* view);
};
