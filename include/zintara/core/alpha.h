// Alpha recovery from two renderings of the same frame, one over opaque black and one over
// opaque white.
//
// The player draws without an alpha channel. Content of colour c and coverage a reads a*c over
// black and a*c + (1-a)*255 over white, so the difference in any channel is (1-a)*255, and the
// black rendering already holds the premultiplied colour. Coverage is the same for every channel
// of a pixel, so the red channel alone is compared.
//
// Plain C++: no Windows header; both drivers call it on the dirty rectangle only.
#pragma once

#include "zintara/core/pixels.h"

#include <cstdint>

namespace zn {

// One pixel: OverBlack and OverWhite are the same pixel drawn over black and over white. The
// result is premultiplied BGRA: coverage 0 gives 0, any other coverage keeps the colour drawn
// over black, each channel limited to the coverage so that rendering noise cannot produce an
// invalid premultiplied pixel.
constexpr std::uint32_t RecoverAlphaPixel(std::uint32_t OverBlack, std::uint32_t OverWhite) noexcept
{
    const std::uint32_t red_over_black = (OverBlack >> 16) & 0xFFu;
    const std::uint32_t red_over_white = (OverWhite >> 16) & 0xFFu;
    const std::uint32_t alpha = 255u - ((red_over_white - red_over_black) & 0xFFu);
    if (alpha == 0)
        return 0;
    const auto channel = [&](int shift) {
        const std::uint32_t value = (OverBlack >> shift) & 0xFFu;
        return (value < alpha ? value : alpha) << shift;
    };
    return alpha << 24 | channel(16) | channel(8) | channel(0);
}

// Recovers alpha for Rect (clipped to the buffers) of two Width x Height buffers: the result
// replaces the pixels of OverBlack; OverWhite is only read.
void RecoverAlpha(std::uint32_t* OverBlack, const std::uint32_t* OverWhite, int Width, int Height,
                  TznPixelRect Rect) noexcept;

} // namespace zn
