#include "CCTextureAlphaCells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
using Cell = CCTextureAlphaCells::Cell;
constexpr unsigned kCell = CCTextureAlphaCells::kCellSize;

// A transparent RGBA texture whose texels can be given an alpha.
struct Texels {
  Texels(unsigned wide, unsigned high) : wide(wide), high(high), rgba(wide * high * 4, 0) {}
  void alpha(unsigned x, unsigned y, std::uint8_t a) { rgba[(y * wide + x) * 4 + 3] = a; }
  void fill(unsigned x0, unsigned y0, unsigned x1, unsigned y1, std::uint8_t a) {
    for (unsigned y = y0; y < y1; ++y)
      for (unsigned x = x0; x < x1; ++x) alpha(x, y, a);
  }
  unsigned wide, high;
  std::vector<std::uint8_t> rgba;
};
}  // namespace

TEST(CCTextureAlphaCells, CellsCountTheTexelsAFilteredSampleReads) {
  // Content 40 x 40 in a 64 x 64 texture: 3 x 3 cells, the last ones partial.
  Texels t(64, 64);
  t.fill(0, 0, 16, 16, 255);  // cell (0, 0) opaque, but its right and lower rims read
                              // the transparent neighbours
  CCTextureAlphaCells cells(t.rgba.data(), 64, 64, 40, 40);
  ASSERT_EQ(cells.columns(), 3u);
  ASSERT_EQ(cells.rows(), 3u);
  EXPECT_EQ(cells.at(0, 0), Cell::Mixed);
  // One texel past the edge of a cell shows in it.
  EXPECT_EQ(cells.at(1, 0), Cell::Mixed);
  EXPECT_EQ(cells.at(0, 1), Cell::Mixed);
  EXPECT_EQ(cells.at(1, 1), Cell::Mixed);  // diagonally, (15, 15) is within one texel
  EXPECT_EQ(cells.at(2, 0), Cell::Empty);
  EXPECT_EQ(cells.at(2, 2), Cell::Empty);

  // A cell is opaque only when its rim is opaque too.
  t.fill(0, 0, 40, 40, 0);
  t.fill(kCell - 1, kCell - 1, 2 * kCell + 1, 2 * kCell + 1, 255);
  CCTextureAlphaCells middle(t.rgba.data(), 64, 64, 40, 40);
  EXPECT_EQ(middle.at(1, 1), Cell::Opaque);
  EXPECT_EQ(middle.at(0, 0), Cell::Mixed);
  EXPECT_EQ(middle.at(2, 2), Cell::Mixed);
}

TEST(CCTextureAlphaCells, SamplesWrapAroundTheTexture) {
  // A full-width picture: the left column's samples read the right column.
  Texels t(32, 32);
  t.alpha(31, 5, 10);
  CCTextureAlphaCells cells(t.rgba.data(), 32, 32, 32, 32);
  EXPECT_EQ(cells.at(0, 0), Cell::Mixed);
  EXPECT_EQ(cells.at(1, 0), Cell::Mixed);
  EXPECT_EQ(cells.at(0, 1), Cell::Empty);
  EXPECT_EQ(cells.at(1, 1), Cell::Empty);
  // And the top row reads the bottom one.
  t.alpha(31, 5, 0);
  t.alpha(20, 31, 1);
  CCTextureAlphaCells rows(t.rgba.data(), 32, 32, 32, 32);
  EXPECT_EQ(rows.at(1, 0), Cell::Mixed);
  EXPECT_EQ(rows.at(0, 0), Cell::Empty);
  EXPECT_NEAR(rows.shownShare(), 0.5, 1e-9);
}
