// Paint time in performance-counter ticks, for the whole process.
#include "paint_time.h"

#include <windows.h>

namespace zn::np {

namespace {

std::uint64_t& PaintTicks()
{
    static std::uint64_t ticks = 0;
    return ticks;
}

std::int64_t Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

} // namespace

PaintTimer::PaintTimer() : start_(Now()) {}

PaintTimer::~PaintTimer()
{
    PaintTicks() += static_cast<std::uint64_t>(Now() - start_);
}

std::uint64_t TakePaintTicks()
{
    std::uint64_t ticks = PaintTicks();
    PaintTicks() = 0;
    return ticks;
}

} // namespace zn::np
