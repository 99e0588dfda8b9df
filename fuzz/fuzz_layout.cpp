// Page lists of layout lines on arbitrary text: the first line is the page
// number, every further line a layer. Accepted layers are well formed.
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
  if (std::isnan(KstSpriteFactory::readFloat(page[0]))) std::abort();
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
