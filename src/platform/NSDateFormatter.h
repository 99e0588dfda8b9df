#pragma once
#include <optional>
#include <string>
#include <vector>

#include "NSDate.h"
#include "NSObject.h"

// Formats and parses dates with a pattern in local time (the TZ time zone)
// and English month and weekday names.
//
// Pattern letters: y (y: any digits, yy: two-digit year, yyyy: four), M (M, MM
// numeric; MMM "Jan"; MMMM "January"), d, H (0-23), h (1-12), m, s, S (fraction
// of a second), a ("AM"/"PM"), E (EEE "Mon", EEEE "Monday"). Text in single
// quotes is literal, '' is one apostrophe; any other character, including
// letters not listed, stands for itself.
//
// Parsing is strict: every field must be in range, literals must match and the
// whole text must be used, otherwise the result is absent. Fields missing from
// the pattern default to 1970-01-01 00:00:00.
class NSDateFormatter : public NSObject {
 public:
  NSDateFormatter() = default;
  explicit NSDateFormatter(std::string format);

  const std::string& dateFormat() const { return format_; }
  void setDateFormat(const std::string& format);

  // Empty for a moment that cannot be represented (not finite, out of range).
  std::string stringFromDate(NSDate date) const;
  std::optional<NSDate> dateFromString(const std::string& text) const;

  struct Token {
    char field = 0;  // 0 for literal text
    int count = 0;
    std::string literal;
  };

 private:
  std::string format_;
  std::vector<Token> tokens_;
};
