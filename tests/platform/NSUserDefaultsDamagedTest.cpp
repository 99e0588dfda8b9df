// Preferences files with numbers no integer holds (found by fuzzing): reading
// them is defined and saturates.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "NSUserDefaults.h"

namespace {
std::string damaged(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "damaged" / name).string();
}
}  // namespace

TEST(UserDefaultsDamaged, LongDigitStringSaturatesAsAnInteger) {
  NSUserDefaults defaults(damaged("defaults_long_number.json"));
  EXPECT_EQ(defaults.stringForKey("Lag").value_or(""), "22222222222222222001");
  EXPECT_EQ(defaults.integerForKey("Lag"), LONG_MAX);
}

TEST(UserDefaultsDamaged, NumbersBeyondLongReadAsItsEnds) {
  NSUserDefaults defaults(damaged("defaults_out_of_range.json"));
  EXPECT_EQ(defaults.integerForKey("Lan"), LONG_MAX);
  EXPECT_EQ(defaults.integerForKey("low"), LONG_MIN);
  // 2^63 - 1 is not a double: the file's number reads as 2^63.
  EXPECT_EQ(defaults.integerForKey("edge"), LONG_MAX);
  EXPECT_EQ(defaults.integerForKey("nan"), 0);
  EXPECT_EQ(defaults.integerForKey("inf"), LONG_MIN);
  EXPECT_EQ(defaults.integerForKey("whole"), -12345678901L);

  EXPECT_EQ(defaults.stringForKey("whole").value_or(""), "-12345678901");
  EXPECT_EQ(defaults.stringForKey("edge").value_or(""), "9223372036854775808.000000")
      << "beyond long long it prints as a fraction rather than wrapping";
  EXPECT_EQ(defaults.stringForKey("Lan").value_or("").substr(0, 4), "1000");
}
