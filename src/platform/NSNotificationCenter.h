#pragma once
#include <functional>
#include <string>
#include <vector>

#include "NSDictionary.h"
#include "NSObject.h"

class NSNotification : public NSObject {
 public:
  NSNotification(std::string name, NSObject* object, NSDictionary userInfo);
  const std::string& name() const { return name_; }
  NSObject* object() const { return object_; }
  const NSDictionary& userInfo() const { return userInfo_; }

 private:
  std::string name_;
  NSObject* object_;  // not retained, as the sender outlives its synchronous delivery
  NSDictionary userInfo_;
};

// Observers by name and sender; delivery is synchronous on the posting thread.
// Observers are not retained: they remove themselves before they go.
class NSNotificationCenter {
 public:
  static NSNotificationCenter& defaultCenter();

  // An empty name observes every name; a null sender observes every sender.
  void addObserver(NSObject* observer, Selector<NSNotification*> sel, const std::string& name,
                   NSObject* sender);
  void removeObserver(NSObject* observer);
  void removeObserver(NSObject* observer, const std::string& name, NSObject* sender);
  void postNotificationName(const std::string& name, NSObject* sender,
                            const NSDictionary& userInfo = {});

  // Sees every notification posted (event log, tests).
  using Tap = std::function<void(const NSNotification&)>;
  void setTap(Tap tap) { tap_ = std::move(tap); }
  std::size_t observerCount() const { return observers_.size(); }

 private:
  struct Observer {
    NSObject* observer;
    Selector<NSNotification*> sel;
    std::string name;
    NSObject* sender;
    bool removed = false;
  };
  std::vector<Observer> observers_;
  int posting_ = 0;
  Tap tap_;
  void compact();
};
