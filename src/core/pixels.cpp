// Copying and filling runs of 32-bit pixels.
#include "zintara/core/pixels.h"

#include "pixel_runs.h"
#include "zintara/core/pixel_kernels.h"

#include <cstddef>
#include <cstring>

namespace zn {

void MoveLongword(const void* Source, void* Dest, int Count) noexcept
{
    if (Count <= 0 || Source == nullptr || Dest == nullptr)
        return;
    std::memmove(Dest, Source, static_cast<std::size_t>(Count) * sizeof(std::uint32_t));
}

void FillLongword(void* Dest, int Count, std::uint32_t Value) noexcept
{
    if (Dest == nullptr || Count <= 0)
        return;
    ActivePixelKernels().FillRow(static_cast<std::uint32_t*>(Dest), Count, Value);
}

void FillLongwordRect(void* Dest, int Width, int Height, int Left, int Top, int Right, int Bottom,
                      std::uint32_t Value) noexcept
{
    if (Dest == nullptr)
        return;
    const auto fill_row = ActivePixelKernels().FillRow;
    auto* pixels = static_cast<std::uint32_t*>(Dest);
    ForEachRun(ClipToBuffer({Left, Top, Right, Bottom}, Width, Height), Width,
               [&](std::ptrdiff_t first, int count) { fill_row(pixels + first, count, Value); });
}

} // namespace zn
