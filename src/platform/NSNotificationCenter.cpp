#include "NSNotificationCenter.h"

#include <algorithm>

NSNotification::NSNotification(std::string name, NSObject* object, NSDictionary userInfo)
    : name_(std::move(name)), object_(object), userInfo_(std::move(userInfo)) {}

NSNotificationCenter& NSNotificationCenter::defaultCenter() {
  static NSNotificationCenter center;
  return center;
}

void NSNotificationCenter::addObserver(NSObject* observer, Selector<NSNotification*> sel,
                                       const std::string& name, NSObject* sender) {
  if (!observer || !sel) return;
  observers_.push_back({observer, sel, name, sender});
}

void NSNotificationCenter::removeObserver(NSObject* observer) {
  for (auto& o : observers_)
    if (o.observer == observer) o.removed = true;
  compact();
}

void NSNotificationCenter::removeObserver(NSObject* observer, const std::string& name,
                                          NSObject* sender) {
  for (auto& o : observers_)
    if (o.observer == observer && (name.empty() || o.name == name) &&
        (!sender || o.sender == sender))
      o.removed = true;
  compact();
}

void NSNotificationCenter::compact() {
  // Removal during a delivery only marks; the list is compacted once delivery ends.
  if (posting_ > 0) return;
  std::erase_if(observers_, [](const Observer& o) { return o.removed; });
}

void NSNotificationCenter::postNotificationName(const std::string& name, NSObject* sender,
                                                const NSDictionary& userInfo) {
  auto note = makeObject<NSNotification>(name, sender, userInfo);
  if (tap_) tap_(*note);
  ++posting_;
  // Observers added during delivery do not receive this notification.
  const std::size_t count = observers_.size();
  for (std::size_t i = 0; i < count; ++i) {
    Observer o = observers_[i];
    if (o.removed) continue;
    if (!o.name.empty() && o.name != name) continue;
    if (o.sender && o.sender != sender) continue;
    o.sel(o.observer, note.get());
  }
  --posting_;
  compact();
}
