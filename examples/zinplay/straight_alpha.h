// From the driver's premultiplied BGRA to the straight alpha an image file stores.
//
// Plain C++: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zn::zinplay {

// One pixel 0xAARRGGBB: each colour channel divided by the coverage, rounded to the nearest
// value and limited to 255 (a channel above its alpha is not a valid premultiplied pixel, and
// must still give a colour). Coverage 0 gives 0. Multiplying the result by the coverage again,
// rounded, gives back every valid premultiplied pixel exactly.
constexpr std::uint32_t StraightAlphaPixel(std::uint32_t Premultiplied) noexcept
{
    const std::uint32_t alpha = Premultiplied >> 24;
    if (alpha == 0)
        return 0;
    if (alpha == 255)
        return Premultiplied;
    const auto channel = [&](int shift) {
        const std::uint32_t value = (Premultiplied >> shift) & 0xFFu;
        const std::uint32_t straight = (value * 255u + alpha / 2) / alpha;
        return (straight < 255u ? straight : 255u) << shift;
    };
    return alpha << 24 | channel(16) | channel(8) | channel(0);
}

// Count pixels from Source into Dest; the two may be the same array.
void ToStraightAlpha(const std::uint32_t* Source, std::uint32_t* Dest, std::size_t Count) noexcept;

} // namespace zn::zinplay
