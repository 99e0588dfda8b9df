// Layout numbers beyond a double's range written without the exponent that
// tells which way: a tiny number used to read as infinity.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KstSpriteFactory.h"

namespace {
std::vector<std::string> pageList(const std::string& name) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / "damaged" / name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}
}  // namespace

TEST(LayoutNumbersBeyondDouble, TinyLocationWithoutExponentReadsAsZero) {
  const std::vector<std::string> page = pageList("layout_tiny_number.txt");
  ASSERT_EQ(page.size(), 2u);
  std::int32_t stage = 0;
  const KstSpriteDictionary records = KstSpriteFactory::createWithStageInfo(page, &stage);
  EXPECT_EQ(stage, 3);
  ASSERT_EQ(records.count("s3layer1"), 1u);
  const CC3Vec3 at = records.at("s3layer1")->location();
  EXPECT_EQ(at.x, 0.0f);
  EXPECT_FALSE(std::signbit(at.x));
  EXPECT_EQ(at.y, -20.0f);
}

TEST(LayoutNumbersBeyondDouble, DirectionComesFromTheValueNotTheText) {
  const std::string zeros(320, '0');
  EXPECT_EQ(KstSpriteFactory::readFloat("0." + zeros + "1e5"), 0.0f);
  EXPECT_EQ(KstSpriteFactory::readFloat("-0." + zeros + "1"), -0.0f);
  // A negative exponent on a huge mantissa is still huge.
  EXPECT_EQ(KstSpriteFactory::readFloat("1" + zeros + "e-5"), HUGE_VALF);
  EXPECT_EQ(KstSpriteFactory::readFloat("-1" + zeros + ".5"), -HUGE_VALF);
  // Within a double's range the digits decide as usual.
  EXPECT_FLOAT_EQ(KstSpriteFactory::readFloat("1" + zeros + "e-300"), 1e20f);
}
