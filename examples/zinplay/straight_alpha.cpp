// Un-premultiplying a whole image.
#include "straight_alpha.h"

namespace zn::zinplay {

void ToStraightAlpha(const std::uint32_t* Source, std::uint32_t* Dest, std::size_t Count) noexcept
{
    for (std::size_t i = 0; i < Count; ++i)
        Dest[i] = StraightAlphaPixel(Source[i]);
}

} // namespace zn::zinplay
