#include "UIAlertView.h"
#include "UINavigationItem.h"
#include "UIView.h"
#include "UxCommon.h"

void UxCommon::vAddCoverViewTo(UIView* view, Ptr<UIView>& refObj) {
  if (!view) return;
  // A cover left behind could never be removed again: it would block touches for good.
  vRemoveCoverViewFrom(view, refObj);
  // The whole of the view, not a fixed phone-sized corner of it.
  refObj = makeObject<UIView>(view->bounds());
  refObj->setBackgroundColor(UIColor{0, 0, 0, 1});
  view->addSubview(refObj.get());
}

void UxCommon::vRemoveCoverViewFrom(UIView*, Ptr<UIView>& refObj) {
  if (!refObj) return;
  refObj->removeFromSuperview();
  refObj = nullptr;
}

void UxCommon::vAlertWithTitle(const std::string& title, const std::string& mes,
                               UIAlertViewDelegate* del, const std::string& cBtnTitle,
                               const std::string& oBtnTitle, int tag) {
  auto alert = makeObject<UIAlertView>();
  alert->initWithTitle(title.empty() ? kDefaultAlertTitle : title, mes, del, cBtnTitle,
                       {oBtnTitle});
  alert->setTag(tag);
  alert->show();
}

void UxCommon::vBarButtonWithTitle(const std::string& title, NSObject* tar, Selector<NSObject*> sel,
                                   bool right, UINavigationItem* nav) {
  if (!nav) return;
  auto item = makeObject<UIBarButtonItem>();
  item->initWithTitle(title, UIBarButtonItemStylePlain, tar, sel);
  if (right)
    nav->setRightBarButtonItem(item.get());
  else
    nav->setLeftBarButtonItem(item.get());
}
