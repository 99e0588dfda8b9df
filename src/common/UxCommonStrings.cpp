#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>

#include "UxCommon.h"

namespace {
// Byte length of the character starting at s[i]: a whole valid UTF-8
// sequence, or 1 for a byte that does not start one.
std::size_t characterLength(std::string_view s, std::size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t n = b < 0x80                 ? 1
                  : b >= 0xC2 && b <= 0xDF ? 2
                  : b >= 0xE0 && b <= 0xEF ? 3
                  : b >= 0xF0 && b <= 0xF4 ? 4
                                           : 0;
  if (n <= 1 || i + n > s.size()) return 1;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  const auto b1 = static_cast<unsigned char>(s[i + 1]);
  // Overlong forms, surrogates and code points past U+10FFFF are not characters.
  if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F) || (b == 0xF0 && b1 < 0x90) ||
      (b == 0xF4 && b1 > 0x8F))
    return 1;
  return n;
}

std::vector<std::string_view> characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = characterLength(s, i);
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

std::string join(const std::vector<std::string_view>& chars, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t k = from; k < to; ++k) out += chars[k];
  return out;
}

// A character's position in UTF-16 order: characters past U+FFFF (surrogate
// pairs, D800-DFFF) sort between U+D7FF and U+E000.
std::uint32_t utf16Rank(std::string_view c) {
  const auto b = static_cast<unsigned char>(c[0]);
  std::uint32_t cp = b;
  if (c.size() == 2) cp = (b & 0x1Fu) << 6 | (c[1] & 0x3Fu);
  if (c.size() == 3) cp = (b & 0x0Fu) << 12 | (c[1] & 0x3Fu) << 6 | (c[2] & 0x3Fu);
  if (c.size() == 4)
    cp = (b & 0x07u) << 18 | (c[1] & 0x3Fu) << 12 | (c[2] & 0x3Fu) << 6 | (c[3] & 0x3Fu);
  if (c.size() == 1 && b >= 0x80) cp = 0xDC00 + b;  // a stray byte: a lone surrogate's place
  return cp >= 0xE000 && cp <= 0xFFFF ? cp + 0x110000 : cp;
}

bool utf16Less(const std::string& a, const std::string& b) {
  const auto ca = characters(a), cb = characters(b);
  for (std::size_t k = 0; k < ca.size() && k < cb.size(); ++k) {
    std::uint32_t ra = utf16Rank(ca[k]), rb = utf16Rank(cb[k]);
    if (ra != rb) return ra < rb;
  }
  return ca.size() < cb.size();
}

std::string withoutChar(const std::string& s, char c) {
  std::string out = s;
  out.erase(std::remove(out.begin(), out.end(), c), out.end());
  return out;
}
}  // namespace

void UxCommon::vStringCompareOfA(std::vector<std::string>& array) {
  // The order of neighbour-swapping passes, which is stable, in n log n.
  if (array.size() >= 2) std::stable_sort(array.begin(), array.end(), utf16Less);
}

int UxCommon::intValueOfS(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::int64_t value = 0;
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > std::int64_t(INT_MAX) + 1) break;  // out of range already
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

std::string UxCommon::sOfBool(bool value) {
  return value ? "true" : "false";
}
std::string UxCommon::sOfI(int value) {
  return std::to_string(value);
}
std::string UxCommon::sClearSpaceOfS(const std::string& s) {
  return withoutChar(s, ' ');
}
std::string UxCommon::sClearNOfS(const std::string& s) {
  return withoutChar(s, '\n');
}
std::string UxCommon::sAddEnterOfS(const std::string& s) {
  return s + "\r\n";
}
std::string UxCommon::sAddQuotationMarkOfS(const std::string& s) {
  return "'" + s + "'";
}

std::string UxCommon::sClearFrontSpaceOfS(const std::string& s) {
  std::size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : s.substr(first);
}

std::string UxCommon::sFillBlankOfS(const std::string& s, int length) {
  const std::size_t count = characters(s).size();
  if (length <= 0 || count >= static_cast<std::size_t>(length)) return s;
  return s + std::string(static_cast<std::size_t>(length) - count, ' ');
}

std::string UxCommon::sReplace(const std::string& from, const std::string& to,
                               const std::string& s) {
  if (from.empty()) return s;
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size())
    out.append(s, pos, hit - pos).append(to);
  return out.append(s, pos, std::string::npos);
}

std::string UxCommon::sReverseOfS(const std::string& s) {
  auto chars = characters(s);
  std::reverse(chars.begin(), chars.end());
  return join(chars, 0, chars.size());
}

std::string UxCommon::sStartIndex(int start, int end, const std::string& s) {
  const auto chars = characters(s);
  const auto count = static_cast<long>(chars.size());
  CCAssert(start >= -1 && end >= -1, "a negative index other than -1");
  if (start == -1 && end == -1) return "nil";
  if (start == -1) {
    CCAssert(end <= count, "end index past the string");
    return join(chars, 0, std::size_t(end));
  }
  CCAssert(start <= count, "start index past the string");
  if (end == -1) return join(chars, std::size_t(start), chars.size());
  CCAssert(end < count && end + 1 >= start, "end index past the string or before the start");
  return join(chars, std::size_t(start), std::size_t(end) + 1);
}

std::string UxCommon::sAddSeparate(const std::string& separator, int step, const std::string& s) {
  CCAssert(step >= 1, "a separator step below 1");
  const auto chars = characters(s);
  std::string out;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    out += chars[i];
    if (i != 0 && (i + 1) % std::size_t(step) == 0 && i + 1 != chars.size()) out += separator;
  }
  return out;
}

std::string UxCommon::sSplitByThousandOfS(const std::string& s) {
  // The sign, '-' or '+', is set aside so that it never heads a group of its own.
  const bool signed_ = !s.empty() && (s[0] == '-' || s[0] == '+');
  const auto chars = characters(std::string_view(s).substr(signed_ ? 1 : 0));
  std::string out;
  const std::size_t n = chars.size();
  for (std::size_t k = 0; k < n; ++k) {
    out += chars[k];
    const std::size_t after = n - 1 - k;  // characters still to come
    if (after > 0 && after % 3 == 0) out += ',';
  }
  return signed_ ? s[0] + out : out;
}

std::string UxCommon::sBetweenW1(const std::string& w1, const std::string& w2,
                                 const std::string& s) {
  if (w1.empty() || w2.empty()) return "nil";
  const std::size_t start = s.find(w1);
  if (start == std::string::npos) return "nil";
  // The second word is looked for from the first word on (one before it would
  // give a negative length); where both begin at the same place, as with the
  // same word twice, the last occurrence closes the span.
  std::size_t end = s.find(w2, start);
  if (end == std::string::npos) return "nil";
  if (end == start) end = s.rfind(w2);
  return s.substr(start, end - start) + w2;
}

std::vector<std::string> UxCommon::saSplitMultiSpaceOfS(const std::string& s) {
  std::vector<std::string> pieces;
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return pieces;
  const std::size_t last = s.find_last_not_of(' ');
  const std::string body = s.substr(first, last - first + 1);
  std::size_t pos = 0;
  while (pos < body.size()) {
    std::size_t run = body.find("   ", pos);
    if (run == std::string::npos) run = body.size();
    if (run > pos) pieces.push_back(body.substr(pos, run - pos));
    pos = body.find_first_not_of(' ', run);
    if (pos == std::string::npos) break;
  }
  return pieces;
}
