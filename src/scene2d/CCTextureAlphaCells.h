#pragma once
#include <cstdint>
#include <vector>

// Where a picture can be seen: its content cut into square cells, each either
// empty (nothing of it shows), opaque (it hides what lies behind) or mixed.
// A cell counts the texels a bilinear sample inside it may read (one texel
// round it, wrapping at the texture's sides), so that drawing only the cells
// that are not empty leaves the picture exactly as drawn whole.
class CCTextureAlphaCells {
 public:
  enum class Cell : std::uint8_t { Empty, Mixed, Opaque };
  static constexpr unsigned kCellSize = 16;

  CCTextureAlphaCells() = default;
  // `rgba`: the texture's texels, `textureWide` x `textureHigh`, the content
  // `contentWide` x `contentHigh` in the top-left corner.
  CCTextureAlphaCells(const std::uint8_t* rgba, unsigned textureWide, unsigned textureHigh,
                      unsigned contentWide, unsigned contentHigh);

  unsigned columns() const { return columns_; }
  unsigned rows() const { return rows_; }
  Cell at(unsigned column, unsigned row) const { return cells_[row * columns_ + column]; }
  // The share of the content's area in cells that are not empty.
  double shownShare() const;
  bool empty() const { return cells_.empty(); }

 private:
  Cell classify(const std::uint8_t* rgba, unsigned column, unsigned row) const;

  unsigned textureWide_ = 0, textureHigh_ = 0, contentWide_ = 0, contentHigh_ = 0;
  unsigned columns_ = 0, rows_ = 0;
  std::vector<Cell> cells_;
};
