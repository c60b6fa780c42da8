// The block grid screen video shares between its decoder and encoder.
#pragma once

#include <algorithm>

namespace zn::swf {

// Blocks are numbered in rows from the bottom of the picture, left to right; the last
// column and the top row may be narrower than a whole block.
struct BlockGrid {
    int width, height, blockWidth, blockHeight;
    int Columns() const { return (width + blockWidth - 1) / blockWidth; }
    int Rows() const { return (height + blockHeight - 1) / blockHeight; }
    int Left(int column) const { return column * blockWidth; }
    int Width(int column) const { return std::min(blockWidth, width - Left(column)); }
    int Height(int row) const { return std::min(blockHeight, height - row * blockHeight); }
    // The picture row (top-down) of a block's line, lines counted from the block's bottom.
    int PictureRow(int row, int line) const { return height - 1 - row * blockHeight - line; }
};

} // namespace zn::swf
