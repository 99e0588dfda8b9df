#pragma once
#include <string>

#include "NSObject.h"
#include "UIView.h"

class NSBundle;
class UIViewController;

// A view layout kept as a resource: "<name>.json" in the bundle's folders, a
// tree of views, each an object with
//   "class"            UIView, UIImageView, UIButton or UIWebView (required)
//   "frame"            [x, y, width, height] in the superview (required)
//   "tag", "alpha", "hidden", "backgroundColor" ("#rrggbb" or "#rrggbbaa")
//   "image"            the picture of an image view or a button
//   "outlet"           the owner's property that receives the view
//   "action"           the owner's operation a button calls when tapped
//   "delegate"         "owner": the owner is the web view's delegate
//   "request"          the page a web view loads
//   "subviews"         [views drawn over this one, back to front]
// under the top-level key "view". Any other key, a wrong type or an outlet or
// action the owner does not have makes the layout unusable.
class UINib : public NSObject {
 public:
  // Null, with the reason, when the resource is missing or unreadable.
  static Ptr<UINib> nibWithNibName(const std::string& name, const NSBundle& bundle,
                                   std::string& error);
  // Builds the views and connects them to `owner`. Null, with the reason,
  // when the layout is malformed; nothing is connected then.
  Ptr<UIView> instantiateWithOwner(UIViewController* owner, std::string& error) const;
  const std::string& name() const { return name_; }

 private:
  UINib() = default;
  std::string name_, text_;
  const NSBundle* bundle_ = nullptr;  // the process's bundle
};
