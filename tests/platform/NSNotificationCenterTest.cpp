#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NSNotificationCenter.h"

namespace {
class Observer : public NSObject {
 public:
  void heard(NSNotification* note) {
    names.push_back(note->name());
    lastInfo = note->userInfo();
    if (onHeard) onHeard();
  }
  std::vector<std::string> names;
  NSDictionary lastInfo;
  std::function<void()> onHeard;
};
}  // namespace

TEST(NotificationCenter, ByNameAndSender) {
  auto& center = NSNotificationCenter::defaultCenter();
  auto byName = makeObject<Observer>(), bySender = makeObject<Observer>();
  auto sender = makeObject<NSObject>(), stranger = makeObject<NSObject>();
  center.addObserver(byName.get(), SELECTOR(Observer::heard), "asidedidfinishnotification",
                     nullptr);
  center.addObserver(bySender.get(), SELECTOR(Observer::heard), "", sender.get());
  center.postNotificationName("asidedidfinishnotification", stranger.get(), {{"isAside", true}});
  center.postNotificationName("other", sender.get());
  EXPECT_EQ(byName->names, (std::vector<std::string>{"asidedidfinishnotification"}));
  EXPECT_TRUE(byName->lastInfo.boolValue("isAside"));
  EXPECT_EQ(bySender->names, (std::vector<std::string>{"other"}));
  center.removeObserver(byName.get());
  center.removeObserver(bySender.get());
  EXPECT_EQ(center.observerCount(), 0u);
}

TEST(NotificationCenter, ObserverRemovedDuringDeliveryIsNotCalled) {
  auto& center = NSNotificationCenter::defaultCenter();
  auto first = makeObject<Observer>(), second = makeObject<Observer>();
  center.addObserver(first.get(), SELECTOR(Observer::heard), "n", nullptr);
  center.addObserver(second.get(), SELECTOR(Observer::heard), "n", nullptr);
  first->onHeard = [&] { center.removeObserver(second.get()); };
  center.postNotificationName("n", nullptr);
  EXPECT_EQ(first->names.size(), 1u);
  EXPECT_TRUE(second->names.empty());
  center.removeObserver(first.get());
  EXPECT_EQ(center.observerCount(), 0u);
}
