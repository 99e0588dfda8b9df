#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "NSDateFormatter.h"
#include "TestSupport.h"

namespace {
class DateFormatter : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("TZ")) oldZone_ = old;
    setZone("UTC");
  }
  void TearDown() override {
    if (oldZone_)
      setenv("TZ", oldZone_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  static void setZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  static std::string format(const char* pattern, double seconds) {
    return NSDateFormatter(pattern).stringFromDate(NSDate{seconds});
  }
  static std::optional<double> parse(const char* pattern, const char* text) {
    auto date = NSDateFormatter(pattern).dateFromString(text);
    return date ? std::optional<double>(date->timeIntervalSince1970) : std::nullopt;
  }

 private:
  std::optional<std::string> oldZone_;
};

constexpr double kAfternoon = 1324388730.25;  // Tuesday 2011-12-20 13:45:30.25 UTC
}  // namespace

TEST_F(DateFormatter, FormatsEveryField) {
  EXPECT_EQ(format("EEEE, d MMMM yyyy h:mm a", kAfternoon), "Tuesday, 20 December 2011 1:45 PM");
  EXPECT_EQ(format("EEE MMM yy", kAfternoon), "Tue Dec 11");
  EXPECT_EQ(format("HH:mm:ss.SSS", kAfternoon), "13:45:30.250");
  EXPECT_EQ(format("y-M-d H:m:s", 0), "1970-1-1 0:0:0");
  EXPECT_EQ(format("hh a", 1800), "12 AM");  // half past midnight
  // Quoted text is literal, '' is an apostrophe, other characters stand for themselves.
  EXPECT_EQ(format("'Day' dd 'o''clock' '' [T]", kAfternoon), "Day 20 o'clock ' [T]");
  EXPECT_EQ(format("yyyy", -1), "1969");
  EXPECT_EQ(format("yyyy", std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(format("yyyy", 1e300), "");
  EXPECT_EQ(NSDateFormatter("").stringFromDate(NSDate{kAfternoon}), "");
}

TEST_F(DateFormatter, FormatsInTheLocalTimeZone) {
  setZone("Europe/Moscow");
  EXPECT_EQ(format("yyyy-MM-dd HH:mm", kAfternoon), "2011-12-20 17:45");
  EXPECT_EQ(parse("yyyy-MM-dd HH:mm", "2011-12-20 17:45"), 1324388700);
  setZone("America/New_York");
  EXPECT_EQ(format("yyyy-MM-dd HH:mm", kAfternoon), "2011-12-20 08:45");
}

TEST_F(DateFormatter, ParsesWhatItFormats) {
  const char* pattern = "yyyy-MM-dd HH:mm:ss";
  for (double t : {0.0, 951782400.0 /* 2000-02-29 */, 1324388730.0, -86400.0 * 365, 4102444799.0}) {
    std::string text = format(pattern, t);
    EXPECT_EQ(parse(pattern, text.c_str()), t) << text;
  }
  EXPECT_EQ(parse("d MMMM yyyy h:mm a", "20 December 2011 1:45 PM"), 1324388700);
  EXPECT_EQ(parse("d MMM yyyy", "20 dec 2011"), 1324339200);              // names in any case
  EXPECT_EQ(parse("EEEE d MMM yyyy", "Friday 20 Dec 2011"), 1324339200);  // weekday not checked
  EXPECT_EQ(parse("h:mm a", "12:30 AM"), 1800);
  EXPECT_EQ(parse("h:mm a", "12:30 PM"), 45000);
  EXPECT_EQ(parse("HH:mm", "01:00"), 3600);  // missing fields: 1970-01-01
  EXPECT_EQ(parse("yyyyMMdd", "20111220"), 1324339200);
  EXPECT_EQ(parse("ss.SSS", "05.250"), 5.25);
}

TEST_F(DateFormatter, TwoDigitYearsFallNearNow) {
  ScopedVirtualClock clock;
  clock->set(kAfternoon);  // in 2011: 80 years back, 20 ahead
  EXPECT_EQ(format("yyyy", *parse("yy", "99")), "1999");
  EXPECT_EQ(format("yyyy", *parse("yy", "30")), "2030");
  EXPECT_EQ(format("yyyy", *parse("yy", "31")), "1931");
  EXPECT_FALSE(parse("yy", "5"));
}

TEST_F(DateFormatter, RejectsWhatIsNotADate) {
  const char* pattern = "yyyy-MM-dd HH:mm:ss";
  for (const char* bad : {"", "2011-12-20", "2011-12-20 13:45:30 ", "2011-12-20T13:45:30",
                          "2011-00-10 00:00:00", "2011-13-10 00:00:00", "2011-02-29 00:00:00",
                          "2011-04-31 00:00:00", "2011-12-20 24:00:00", "2011-12-20 23:60:00",
                          "2011-12-20 23:59:60", "-2011-12-20 00:00:00", "abcd-ef-gh ij:kl:mn"})
    EXPECT_FALSE(parse(pattern, bad)) << bad;
  EXPECT_TRUE(parse(pattern, "2012-02-29 00:00:00"));
  EXPECT_FALSE(parse("MMM", "Dex"));
  EXPECT_FALSE(parse("h a", "13 PM"));
  EXPECT_FALSE(parse("h a", "1 XM"));
  EXPECT_FALSE(parse("'at' HH", "on 10"));
  EXPECT_FALSE(parse("y", "99999999999"));
}
