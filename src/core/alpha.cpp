// The alpha pass over a dirty rectangle.
#include "zintara/core/alpha.h"

#include "pixel_runs.h"
#include "zintara/core/pixel_kernels.h"

namespace zn {

void RecoverAlpha(std::uint32_t* OverBlack, const std::uint32_t* OverWhite, int Width, int Height,
                  TznPixelRect Rect) noexcept
{
    if (OverBlack == nullptr || OverWhite == nullptr)
        return;
    const auto recover_row = ActivePixelKernels().RecoverAlphaRow;
    ForEachRun(ClipToBuffer(Rect, Width, Height), Width, [&](std::ptrdiff_t first, int count) {
        recover_row(OverBlack + first, OverWhite + first, count);
    });
}

} // namespace zn
