// Page lists of layout lines on arbitrary text: the first line is the page
// number, every further line a layer. Accepted layers are well formed.
#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "KstSpriteFactory.h"
#include "Log.h"

namespace {
std::vector<std::string> lines(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      out.emplace_back();
    else
      out.back() += char(data[i]);
  }
  return out;
}

// The number a C library reader makes of the same text, where both read
// decimals: hexadecimal, "inf" and "nan" are the C reader's own.
bool comparable(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
    return false;
  return i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.');
}

void checkNumbers(const std::string& text) {
  const float number = KstSpriteFactory::readFloat(text);
  if (std::isnan(number)) std::abort();
  const std::int32_t integer = KstSpriteFactory::readInt(text);
  if (!comparable(text) || text.find('\0') != std::string::npos) return;
  const double wide = std::strtod(text.c_str(), nullptr);
  const float expected =
      std::fabs(wide) > FLT_MAX ? std::copysign(HUGE_VALF, float(wide)) : static_cast<float>(wide);
  if (number != expected) std::abort();
  const long long whole = std::strtoll(text.c_str(), nullptr, 10);
  if (integer != std::clamp<long long>(whole, INT32_MIN, INT32_MAX)) std::abort();
}

bool defined(CC3Vec3 v) {
  return !std::isnan(v.x) && !std::isnan(v.y) && !std::isnan(v.z);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setLogLevel(LogLevel::Silent);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> page = lines(data, size);
  checkNumbers(page[0]);
  std::int32_t stage = -1;
  const KstSpriteDictionary records = KstSpriteFactory::createWithStageInfo(page, &stage);
  if (stage != KstSpriteFactory::readInt(page[0])) std::abort();
  if (records.size() > page.size() - 1) std::abort();
  for (const auto& [identifier, record] : records) {
    if (!record || identifier.empty() || record->identifier() != identifier) std::abort();
    if (identifier.find('+') != std::string::npos) std::abort();
    if (record->path() != identifier + ".png") std::abort();
    if (std::isnan(record->width()) || std::isnan(record->height()) ||
        std::isnan(record->widthScale()) || std::isnan(record->heightScale()) ||
        !defined(record->location()) || !defined(record->rotation()))
      std::abort();
    if (record->description().empty()) std::abort();
  }
  return 0;
}
