#include "CCTextureAlphaCells.h"

#include <algorithm>

CCTextureAlphaCells::CCTextureAlphaCells(const std::uint8_t* rgba, unsigned textureWide,
                                         unsigned textureHigh, unsigned contentWide,
                                         unsigned contentHigh)
    : textureWide_(textureWide),
      textureHigh_(textureHigh),
      contentWide_(std::min(contentWide, textureWide)),
      contentHigh_(std::min(contentHigh, textureHigh)),
      columns_((contentWide_ + kCellSize - 1) / kCellSize),
      rows_((contentHigh_ + kCellSize - 1) / kCellSize) {
  cells_.reserve(std::size_t(columns_) * rows_);
  for (unsigned row = 0; row < rows_; ++row)
    for (unsigned column = 0; column < columns_; ++column)
      cells_.push_back(classify(rgba, column, row));
}

CCTextureAlphaCells::Cell CCTextureAlphaCells::classify(const std::uint8_t* rgba, unsigned column,
                                                        unsigned row) const {
  const long x0 = long(column * kCellSize), y0 = long(row * kCellSize);
  const long x1 = std::min<long>(x0 + kCellSize, contentWide_);
  const long y1 = std::min<long>(y0 + kCellSize, contentHigh_);
  bool anyShown = false, allOpaque = true;
  // One texel round the cell: linear filtering reads it; repeat wrapping
  // reads the far side of the texture.
  for (long y = y0 - 1; y <= y1; ++y) {
    const long wrappedY = (y + long(textureHigh_)) % long(textureHigh_);
    const std::uint8_t* line = rgba + std::size_t(wrappedY) * textureWide_ * 4;
    for (long x = x0 - 1; x <= x1; ++x) {
      const long wrappedX = (x + long(textureWide_)) % long(textureWide_);
      const std::uint8_t alpha = line[std::size_t(wrappedX) * 4 + 3];
      anyShown |= alpha != 0;
      allOpaque &= alpha == 255;
    }
  }
  if (!anyShown) return Cell::Empty;
  return allOpaque ? Cell::Opaque : Cell::Mixed;
}

double CCTextureAlphaCells::shownShare() const {
  if (cells_.empty()) return 1;
  double shown = 0;
  for (unsigned row = 0; row < rows_; ++row) {
    const unsigned high = std::min(kCellSize, contentHigh_ - row * kCellSize);
    for (unsigned column = 0; column < columns_; ++column) {
      const unsigned wide = std::min(kCellSize, contentWide_ - column * kCellSize);
      if (at(column, row) != Cell::Empty) shown += double(wide) * high;
    }
  }
  return shown / (double(contentWide_) * contentHigh_);
}
