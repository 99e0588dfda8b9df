#include <gtest/gtest.h>

#include "NSNotificationCenter.h"
#include "NSUserDefaults.h"
#include "TestSupport.h"

namespace {
class ChangeCounter : public NSObject {
 public:
  void changed(NSNotification*) { ++count; }
  int count = 0;
};
}  // namespace

// Observers hear of a change once, and not of a value set again unchanged.
TEST(UserDefaultsChange, PostedOnlyWhenAValueChanges) {
  TempDir dir;
  NSUserDefaults defaults(dir.file("defaults.json"));
  auto counter = makeObject<ChangeCounter>();
  NSNotificationCenter::defaultCenter().addObserver(counter, SELECTOR(ChangeCounter::changed),
                                                    NSUserDefaultsDidChangeNotification, nullptr);
  defaults.setObject("2000", "Lan");
  EXPECT_EQ(counter->count, 1);
  defaults.setObject("2000", "Lan");
  EXPECT_EQ(counter->count, 1);
  defaults.setNumber(2000, "Lan");  // the same words, another type: a change
  EXPECT_EQ(counter->count, 2);
  defaults.setObject("off", "Music");
  defaults.removeObjectForKey("Music");
  defaults.removeObjectForKey("Music");
  EXPECT_EQ(counter->count, 4);
  NSNotificationCenter::defaultCenter().removeObserver(counter);
}

// A file that cannot be written still tells observers: the session's value changed.
TEST(UserDefaultsChange, PostedEvenWhenTheFileCannotBeWritten) {
  NSUserDefaults defaults("/proc/lumo-book-cannot/defaults.json");
  auto counter = makeObject<ChangeCounter>();
  NSNotificationCenter::defaultCenter().addObserver(counter, SELECTOR(ChangeCounter::changed),
                                                    NSUserDefaultsDidChangeNotification, nullptr);
  defaults.setObject("2001", "Lan");
  EXPECT_EQ(counter->count, 1);
  EXPECT_EQ(defaults.stringForKey("Lan").value_or(""), "2001");
  NSNotificationCenter::defaultCenter().removeObserver(counter);
}
