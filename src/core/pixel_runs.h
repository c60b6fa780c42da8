// The rows of a clipped rectangle as runs of consecutive pixels.
#pragma once

#include "zintara/core/pixels.h"

#include <cstddef>

namespace zn {

// Calls Run(first, count) with the index of each run's first pixel in a buffer of rows Width
// pixels wide. A rectangle of whole rows is one run: a repaint of the whole buffer makes one
// call into the row kernel instead of one a row.
template <class RunWork>
void ForEachRun(const TznPixelRect& Clipped, int Width, RunWork Run)
{
    const int columns = Clipped.Right - Clipped.Left;
    if (columns <= 0 || Clipped.Bottom <= Clipped.Top)
        return;
    const std::ptrdiff_t top = static_cast<std::ptrdiff_t>(Clipped.Top) * Width;
    if (columns == Width)
        return Run(top, columns * (Clipped.Bottom - Clipped.Top));
    for (int y = Clipped.Top; y < Clipped.Bottom; ++y)
        Run(static_cast<std::ptrdiff_t>(y) * Width + Clipped.Left, columns);
}

} // namespace zn
