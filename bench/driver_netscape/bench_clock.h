// The clock of the repaint benchmark: the performance counter, which the reference plug-in also
// uses for the time it reports, so that the two can be subtracted.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zn::bench {

inline std::int64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline double TicksToMicroseconds(double Count)
{
    static const double per_microsecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return double(frequency.QuadPart) / 1e6;
    }();
    return Count / per_microsecond;
}

class TStopwatch {
public:
    double Microseconds() const { return TicksToMicroseconds(double(Ticks() - start_)); }

private:
    std::int64_t start_ = Ticks();
};

inline double Median(std::vector<double> Values)
{
    if (Values.empty())
        return 0;
    std::nth_element(Values.begin(), Values.begin() + Values.size() / 2, Values.end());
    return Values[Values.size() / 2];
}

} // namespace zn::bench
