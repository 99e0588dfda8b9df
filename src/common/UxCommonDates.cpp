#include <array>

#include "NSDateFormatter.h"
#include "UxCommon.h"

namespace {
constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kDateAndTime = "yyyy-MM-dd HH:mm:ss";

std::string nowAs(const char* format) {
  return NSDateFormatter(format).stringFromDate(NSDate::date());
}

std::vector<std::string> componentsSeparatedBy(const std::string& s, const std::string& sep) {
  if (sep.empty()) return {s};
  std::vector<std::string> parts;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = s.find(sep, pos)) != std::string::npos; pos = hit + sep.size())
    parts.push_back(s.substr(pos, hit - pos));
  parts.push_back(s.substr(pos));
  return parts;
}
}  // namespace

std::string UxCommon::sGetNowDateAndTime() {
  return nowAs(kDateAndTime);
}
std::string UxCommon::sGetNowDate() {
  return nowAs("yyyy-MM-dd");
}
std::string UxCommon::sGetNowTime() {
  return nowAs("HH:mm:ss");
}

std::string UxCommon::sOfD(const std::optional<NSDate>& date, const std::string& format) {
  return date ? NSDateFormatter(format).stringFromDate(*date) : std::string();
}

std::optional<NSDate> UxCommon::dOfS(const std::string& s, const std::string& format) {
  return NSDateFormatter(format).dateFromString(s);
}

std::optional<NSDate> UxCommon::dRemoveTimeOfD(const std::optional<NSDate>& date) {
  if (!date) return std::nullopt;
  // The day is formatted on its own rather than cut from the first ten
  // characters, which would split a year of more than four digits.
  std::string day = sOfD(date, "yyyy-MM-dd");
  if (day.empty()) return std::nullopt;
  return dOfS(day + " 00:00:00", kDateAndTime);
}

std::string UxCommon::sNumberToMonthOfS(const std::string& s) {
  for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
    const std::string number = (m < 9 ? "0" : "") + std::to_string(m + 1);
    if (s == number) return kMonthNames[m];
  }
  return s;
}

std::string UxCommon::sMonthToNumberOfS(const std::string& s) {
  for (std::size_t m = 0; m < kMonthNames.size(); ++m)
    if (s == kMonthNames[m]) return (m < 9 ? "0" : "") + std::to_string(m + 1);
  return s;
}

std::string UxCommon::sAllNumberToWordMiddleOfS(const std::string& s, const std::string& split) {
  const auto p = componentsSeparatedBy(s, split);
  if (p.size() != 3) return s;
  return p[2] + "-" + sNumberToMonthOfS(p[1]) + "-" + p[0];
}

std::string UxCommon::sWordMiddleToAllNumberOfS(const std::string& s, const std::string& split) {
  const auto p = componentsSeparatedBy(s, split);
  if (p.size() != 3) return s;
  return p[2] + "-" + sMonthToNumberOfS(p[1]) + "-" + p[0];
}
