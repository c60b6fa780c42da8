// A picture as the bytes of a palette .bmp file, as a resource compiler takes it.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

namespace zn::palettegen {

// The picture's distinct colours in the order they first occur, rows from the top.
std::vector<TRgb> ColorsOf(const TCanvas& Picture);

// A bottom-up BMP of 4 or 8 bits per pixel whose colour table is Palette (at most 16 or 256
// colours). Raises std::runtime_error for a pixel whose colour is not in Palette.
std::vector<std::uint8_t> EncodeBitmap(const TCanvas& Picture, const std::vector<TRgb>& Palette,
                                       int BitsPerPixel);

} // namespace zn::palettegen
