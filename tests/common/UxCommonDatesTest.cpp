#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "UxCommon.h"

namespace {
// Runs the test in the given time zone, restoring the process's afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (old_)
      setenv("TZ", old_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> old_;
};

constexpr double kTuesdayAfternoonUtc = 1324388730.25;  // 2011-12-20 13:45:30.25 UTC
}  // namespace

TEST(UxCommonDates, NowReadsTheEngineClockInLocalTime) {
  ScopedVirtualClock clock;
  clock->set(kTuesdayAfternoonUtc);
  {
    ScopedTimeZone utc("UTC");
    EXPECT_EQ(UxCommon::sGetNowDateAndTime(), "2011-12-20 13:45:30");
    EXPECT_EQ(UxCommon::sGetNowDate(), "2011-12-20");
    EXPECT_EQ(UxCommon::sGetNowTime(), "13:45:30");
  }
  ScopedTimeZone moscow("Europe/Moscow");  // UTC+4 in 2011
  EXPECT_EQ(UxCommon::sGetNowDateAndTime(), "2011-12-20 17:45:30");
  clock->set(kTuesdayAfternoonUtc + 6 * 3600 + 30);
  EXPECT_EQ(UxCommon::sGetNowDate(), "2011-12-20");
  EXPECT_EQ(UxCommon::sGetNowTime(), "23:46:00");
}

TEST(UxCommonDates, FormatAndParseWithAPattern) {
  ScopedTimeZone utc("UTC");
  const NSDate date{kTuesdayAfternoonUtc};
  EXPECT_EQ(UxCommon::sOfD(date, "dd/MM/yyyy HH:mm"), "20/12/2011 13:45");
  EXPECT_EQ(UxCommon::sOfD(std::nullopt, "yyyy"), "");
  auto parsed = UxCommon::dOfS("20/12/2011 13:45", "dd/MM/yyyy HH:mm");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->timeIntervalSince1970, 1324388700);
  for (const char* bad : {"", "garbage", "31/02/2011 10:00", "20/12/2011 24:00",
                          "20/12/2011 13:45 extra", "20-12-2011 13:45", "20/13/2011 13:45"})
    EXPECT_FALSE(UxCommon::dOfS(bad, "dd/MM/yyyy HH:mm")) << bad;
}

TEST(UxCommonDates, RemoveTimeGivesLocalMidnightOfTheSameDay) {
  ScopedTimeZone moscow("Europe/Moscow");
  auto day = UxCommon::dRemoveTimeOfD(NSDate{kTuesdayAfternoonUtc});
  ASSERT_TRUE(day);
  EXPECT_EQ(day->timeIntervalSince1970, 1324324800);  // 2011-12-20 00:00 in Moscow
  EXPECT_EQ(UxCommon::sOfD(day, "yyyy-MM-dd HH:mm:ss"), "2011-12-20 00:00:00");
  EXPECT_EQ(UxCommon::dRemoveTimeOfD(day), day);
  EXPECT_FALSE(UxCommon::dRemoveTimeOfD(std::nullopt));
}

TEST(UxCommonDates, MonthNamesAndNumbers) {
  EXPECT_EQ(UxCommon::sNumberToMonthOfS("01"), "Jan");
  EXPECT_EQ(UxCommon::sNumberToMonthOfS("12"), "Dec");
  EXPECT_EQ(UxCommon::sNumberToMonthOfS("13"), "13");
  EXPECT_EQ(UxCommon::sNumberToMonthOfS("1"), "1");
  EXPECT_EQ(UxCommon::sMonthToNumberOfS("Sep"), "09");
  EXPECT_EQ(UxCommon::sMonthToNumberOfS("Oct"), "10");
  EXPECT_EQ(UxCommon::sMonthToNumberOfS("September"), "September");
}

TEST(UxCommonDates, DateTextBetweenNumbersAndMonthNames) {
  EXPECT_EQ(UxCommon::sAllNumberToWordMiddleOfS("2011-12-20", "-"), "20-Dec-2011");
  EXPECT_EQ(UxCommon::sAllNumberToWordMiddleOfS("2011/03/05", "/"), "05-Mar-2011");
  EXPECT_EQ(UxCommon::sWordMiddleToAllNumberOfS("20-Dec-2011", "-"), "2011-12-20");
  EXPECT_EQ(UxCommon::sWordMiddleToAllNumberOfS("20 Dec 2011", " "), "2011-12-20");
  // Text that is not three parts comes back as it was.
  EXPECT_EQ(UxCommon::sAllNumberToWordMiddleOfS("2011-12", "-"), "2011-12");
  EXPECT_EQ(UxCommon::sAllNumberToWordMiddleOfS("2011-12-20-1", "-"), "2011-12-20-1");
  EXPECT_EQ(UxCommon::sWordMiddleToAllNumberOfS("20-Dec-2011", ""), "20-Dec-2011");
}
