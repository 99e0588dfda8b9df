#include "NSDateFormatter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string_view>

namespace {
using Token = NSDateFormatter::Token;

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};
constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::string_view kFields = "yMdHhmsSaE";
// Beyond this many seconds from 1970 the broken-down year no longer fits comfortably.
constexpr double kMaxSeconds = 1e14;

bool isField(char c) {
  return kFields.find(c) != std::string_view::npos;
}

void appendLiteral(std::vector<Token>& tokens, char c) {
  if (tokens.empty() || tokens.back().field != 0) tokens.push_back(Token{});
  tokens.back().literal += c;
}

std::vector<Token> tokenize(const std::string& format) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < format.size();) {
    char c = format[i];
    if (c == '\'') {
      if (i + 1 < format.size() && format[i + 1] == '\'') {
        appendLiteral(tokens, '\'');
        i += 2;
        continue;
      }
      // Quoted text up to the closing quote (or the end); '' inside is one quote.
      for (++i; i < format.size(); ++i) {
        if (format[i] != '\'') {
          appendLiteral(tokens, format[i]);
        } else if (i + 1 < format.size() && format[i + 1] == '\'') {
          appendLiteral(tokens, '\'');
          ++i;
        } else {
          break;
        }
      }
      ++i;
    } else if (isField(c)) {
      std::size_t j = i;
      while (j < format.size() && format[j] == c) ++j;
      tokens.push_back(Token{c, static_cast<int>(j - i), {}});
      i = j;
    } else {
      appendLiteral(tokens, c);
      ++i;
    }
  }
  return tokens;
}

std::string padded(long long value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, value);
  return buf;
}

std::string formatField(const Token& t, const std::tm& tm, int millis) {
  const long long year = tm.tm_year + 1900LL;
  switch (t.field) {
    case 'y':
      return t.count == 2 ? padded(((year % 100) + 100) % 100, 2) : padded(year, t.count);
    case 'M':
      if (t.count >= 4) return kMonths[tm.tm_mon];
      if (t.count == 3) return std::string(kMonths[tm.tm_mon], 3);
      return padded(tm.tm_mon + 1, t.count);
    case 'd':
      return padded(tm.tm_mday, t.count);
    case 'H':
      return padded(tm.tm_hour, t.count);
    case 'h':
      return padded(tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12, t.count);
    case 'm':
      return padded(tm.tm_min, t.count);
    case 's':
      return padded(tm.tm_sec, t.count);
    case 'S': {
      std::string digits = padded(millis, 3);
      digits.resize(static_cast<std::size_t>(t.count), '0');
      return digits;
    }
    case 'a':
      return tm.tm_hour < 12 ? "AM" : "PM";
    case 'E':
      return t.count >= 4 ? std::string(kWeekdays[tm.tm_wday])
                          : std::string(kWeekdays[tm.tm_wday], 3);
  }
  return {};
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

struct Fields {
  long long year = 1970;
  bool twoDigitYear = false;
  int month = 1, day = 1, hour = 0, minute = 0, second = 0;
  bool twelveHour = false;
  int pm = -1;  // -1: no AM/PM marker
  double fraction = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  bool atEnd() const { return pos_ == text_.size(); }

  bool literal(const std::string& s) {
    if (text_.substr(pos_, s.size()) != s) return false;
    pos_ += s.size();
    return true;
  }
  // Between 1 and maxDigits digits, greedily.
  bool number(int maxDigits, long long& value, int* digitsRead = nullptr) {
    int n = 0;
    value = 0;
    while (n < maxDigits && pos_ < text_.size() &&
           std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
      value = value * 10 + (text_[pos_] - '0');
      ++pos_;
      ++n;
    }
    if (digitsRead) *digitsRead = n;
    return n > 0;
  }
  // Index of the first name (full, then its three-letter form) that the text starts with.
  template <std::size_t N>
  int name(const std::array<const char*, N>& names) {
    for (bool full : {true, false})
      for (std::size_t i = 0; i < N; ++i) {
        std::string_view candidate = full ? names[i] : std::string_view(names[i], 3);
        if (equalsIgnoringCase(text_.substr(pos_, candidate.size()), candidate)) {
          pos_ += candidate.size();
          return static_cast<int>(i);
        }
      }
    return -1;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool readField(Reader& in, const Token& t, Fields& f) {
  long long v = 0;
  const int width = t.count < 2 ? 2 : t.count;
  switch (t.field) {
    case 'y':
      if (t.count == 2) {
        int digits = 0;
        f.twoDigitYear = true;
        return in.number(2, f.year, &digits) && digits == 2;
      }
      return in.number(t.count == 1 ? 9 : std::max(t.count, 4), f.year);
    case 'M':
      if (t.count >= 3) {
        f.month = in.name(kMonths) + 1;
        return f.month > 0;
      }
      if (!in.number(width, v)) return false;
      f.month = static_cast<int>(v);
      return true;
    case 'd':
      if (!in.number(width, v)) return false;
      f.day = static_cast<int>(v);
      return true;
    case 'H':
      if (!in.number(width, v) || v > 23) return false;
      f.hour = static_cast<int>(v);
      return true;
    case 'h':
      if (!in.number(width, v) || v < 1 || v > 12) return false;
      f.hour = static_cast<int>(v);
      f.twelveHour = true;
      return true;
    case 'm':
      if (!in.number(width, v) || v > 59) return false;
      f.minute = static_cast<int>(v);
      return true;
    case 's':
      if (!in.number(width, v) || v > 59) return false;
      f.second = static_cast<int>(v);
      return true;
    case 'S': {
      int digits = 0;
      if (!in.number(t.count, v, &digits)) return false;
      f.fraction = static_cast<double>(v) / std::pow(10.0, digits);
      return true;
    }
    case 'a':
      if (in.literal("AM") || in.literal("am"))
        f.pm = 0;
      else if (in.literal("PM") || in.literal("pm"))
        f.pm = 1;
      else
        return false;
      return true;
    case 'E':
      return in.name(kWeekdays) >= 0;  // read, but the date decides the weekday
  }
  return false;
}

bool isLeap(long long y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int daysInMonth(long long y, int m) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Two-digit years fall in the window of 80 years before to 20 years after now.
long long expandTwoDigitYear(long long yy) {
  std::time_t now = static_cast<std::time_t>(NSDate::date().timeIntervalSince1970);
  std::tm tm{};
  long long current = localtime_r(&now, &tm) ? tm.tm_year + 1900LL : 2000;
  long long year = current - current % 100 + yy;
  if (year >= current + 20) year -= 100;
  if (year < current - 80) year += 100;
  return year;
}

std::optional<NSDate> toDate(Fields f) {
  if (f.twoDigitYear) f.year = expandTwoDigitYear(f.year);
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > daysInMonth(f.year, f.month))
    return std::nullopt;
  if (f.year < -100000 || f.year > 1000000) return std::nullopt;
  if (f.twelveHour || f.pm >= 0) f.hour = f.hour % 12 + (f.pm == 1 ? 12 : 0);
  std::tm tm{};
  tm.tm_year = static_cast<int>(f.year - 1900);
  tm.tm_mon = f.month - 1;
  tm.tm_mday = f.day;
  tm.tm_hour = f.hour;
  tm.tm_min = f.minute;
  tm.tm_sec = f.second;
  tm.tm_isdst = -1;
  std::tm probe = tm;
  std::time_t t = std::mktime(&probe);
  if (t == static_cast<std::time_t>(-1)) {
    // -1 is also one second before 1970 UTC: tell it from an error by reading it back.
    std::tm back{};
    if (!localtime_r(&t, &back) || back.tm_year != tm.tm_year || back.tm_mday != tm.tm_mday)
      return std::nullopt;
  }
  return NSDate{static_cast<double>(t) + f.fraction};
}
}  // namespace

NSDateFormatter::NSDateFormatter(std::string format) {
  setDateFormat(format);
}

void NSDateFormatter::setDateFormat(const std::string& format) {
  format_ = format;
  tokens_ = tokenize(format);
}

std::string NSDateFormatter::stringFromDate(NSDate date) const {
  const double s = date.timeIntervalSince1970;
  if (!std::isfinite(s) || std::fabs(s) > kMaxSeconds) return {};
  const double whole = std::floor(s);
  std::time_t t = static_cast<std::time_t>(whole);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return {};
  int millis = static_cast<int>((s - whole) * 1000.0);
  if (millis > 999) millis = 999;
  std::string out;
  for (const Token& token : tokens_)
    out += token.field ? formatField(token, tm, millis) : token.literal;
  return out;
}

std::optional<NSDate> NSDateFormatter::dateFromString(const std::string& text) const {
  Reader in(text);
  Fields fields;
  for (const Token& token : tokens_) {
    bool ok = token.field ? readField(in, token, fields) : in.literal(token.literal);
    if (!ok) return std::nullopt;
  }
  if (!in.atEnd()) return std::nullopt;
  return toDate(fields);
}
