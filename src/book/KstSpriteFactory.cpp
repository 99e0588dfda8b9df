#include "KstSpriteFactory.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "Log.h"

namespace {

// Every piece between separators, empty ones included.
std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find(separator, start);
    if (end == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::size_t skipBlanks(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

std::size_t skipDigits(const std::string& text, std::size_t i) {
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

// Length of the decimal number starting at `begin`, 0 when there is none.
std::size_t decimalLength(const std::string& text, std::size_t begin, bool allowFraction) {
  std::size_t i = begin;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t intStart = i;
  i = skipDigits(text, i);
  bool digits = i > intStart;
  if (allowFraction && i < text.size() && text[i] == '.') {
    const std::size_t fracStart = i + 1;
    const std::size_t fracEnd = skipDigits(text, fracStart);
    if (fracEnd > fracStart || digits) {
      digits = true;
      i = fracEnd;
    }
  }
  if (!digits) return 0;
  if (allowFraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t e = i + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    const std::size_t expEnd = skipDigits(text, e);
    if (expEnd > e) i = expEnd;
  }
  return i - begin;
}

void logMalformed(const std::string& line, const char* reason) {
  CCLOGWARN("KstSpriteFactory: layout line \"%s\" skipped: %s", line.c_str(), reason);
}

// The first `count` numbers of a comma group, or false when it has fewer.
bool readNumbers(const std::string& group, std::size_t count, float* out) {
  const std::vector<std::string> numbers = split(group, ',');
  if (numbers.size() < count) return false;
  for (std::size_t i = 0; i < count; ++i) out[i] = KstSpriteFactory::readFloat(numbers[i]);
  return true;
}

}  // namespace

float KstSpriteFactory::readFloat(const std::string& text) {
  const std::size_t begin = skipBlanks(text);
  const std::size_t length = decimalLength(text, begin, true);
  if (length == 0) return 0;
  // from_chars is locale-independent; it takes no leading '+', so the sign is ours.
  const char* first = text.data() + begin;
  const char* last = first + length;
  const bool negative = *first == '-';
  if (*first == '+' || negative) ++first;
  double value = 0;
  auto [end, error] = std::from_chars(first, last, value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Beyond a double either way ("1e400", "0.000...1"): the C reader says
    // which, infinity or zero. Its "C" locale keeps the decimal point a point.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    value = strtod_l(std::string(first, last).c_str(), nullptr, cLocale);
  }
  // Clamp before narrowing: a double beyond the float range has no float value.
  const float magnitude = value > FLT_MAX ? HUGE_VALF : static_cast<float>(value);
  return negative ? -magnitude : magnitude;
}

std::int32_t KstSpriteFactory::readInt(const std::string& text) {
  const std::size_t begin = skipBlanks(text);
  const std::size_t length = decimalLength(text, begin, false);
  if (length == 0) return 0;
  const char* first = text.data() + begin;
  const bool negative = *first == '-';
  if (*first == '+' || negative) ++first;
  long long value = 0;
  auto [end, error] = std::from_chars(first, text.data() + begin + length, value);
  (void)end;
  // Out-of-range numbers saturate rather than wrap.
  if (error == std::errc::result_out_of_range || value > INT_MAX) {
    return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::string KstSpriteFactory::layoutLineFault(const std::string& line) {
  const std::vector<std::string> parts = split(line, '+');
  if (parts.size() < 3) return "it needs identifier+layer+geometry";
  if (parts[0].empty()) return "the identifier is empty";
  const std::vector<std::string> groups = split(parts[2], '|');
  if (groups.size() < 4) return "the geometry needs size|scale|location|rotation";
  float size[2], scale[2], location[3], rotation[3];
  if (!readNumbers(groups[0], 2, size) || !readNumbers(groups[1], 2, scale) ||
      !readNumbers(groups[2], 3, location) || !readNumbers(groups[3], 3, rotation))
    return "a geometry group has too few numbers";
  return {};
}

Ptr<KstSpriteId> KstSpriteFactory::spriteIdWithLine(const std::string& line) {
  const std::string fault = layoutLineFault(line);
  if (!fault.empty()) {
    logMalformed(line, fault.c_str());
    return nullptr;
  }
  const std::vector<std::string> parts = split(line, '+');
  const std::vector<std::string> groups = split(parts[2], '|');
  float size[2], scale[2], location[3], rotation[3];
  readNumbers(groups[0], 2, size);
  readNumbers(groups[1], 2, scale);
  readNumbers(groups[2], 3, location);
  readNumbers(groups[3], 3, rotation);

  Ptr<KstSpriteId> record = KstSpriteId::spriteId();
  record->setIdentifier(parts[0]);
  record->setLayerId(readInt(parts[1]));
  record->setPath(parts[0] + ".png");
  record->setWidth(size[0]);
  record->setHeight(size[1]);
  record->setWidthScale(scale[0]);
  record->setHeightScale(scale[1]);
  // "-0" reads as negative zero; adding zero folds it into plain zero.
  record->setLocation(CC3Vec3{location[0] + 0.0f, location[1] + 0.0f, location[2] + 0.0f});
  record->setRotation(CC3Vec3{rotation[0] + 0.0f, rotation[1] + 0.0f, rotation[2] + 0.0f});
  return record;
}

KstSpriteDictionary KstSpriteFactory::createWithStageInfo(const std::vector<std::string>& stageInfo,
                                                          std::int32_t* outStageIndex) {
  KstSpriteDictionary records;
  const std::int32_t stageIndex = stageInfo.empty() ? 0 : readInt(stageInfo[0]);
  if (outStageIndex) *outStageIndex = stageIndex;
  if (stageInfo.empty()) {
    CCLOGWARN("KstSpriteFactory: empty page list");
    return records;
  }
  for (std::size_t i = 1; i < stageInfo.size(); ++i) {
    Ptr<KstSpriteId> record = spriteIdWithLine(stageInfo[i]);
    // A later line with the same identifier replaces the earlier record.
    if (record) records[record->identifier()] = std::move(record);
  }
  return records;
}
