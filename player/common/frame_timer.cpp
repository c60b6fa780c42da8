// Thread timers, found again from their identifiers when they fire.
#include "common/frame_timer.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace zn::player {

namespace {

std::map<UINT_PTR, std::function<void()>>& Timers()
{
    static std::map<UINT_PTR, std::function<void()>> timers;
    return timers;
}

void CALLBACK TimerFired(HWND, UINT, UINT_PTR id, DWORD)
{
    try {
        auto found = Timers().find(id);
        if (found == Timers().end())
            return;
        // The tick may stop its own timer: it runs from a copy.
        std::function<void()> tick = found->second;
        tick();
    } catch (...) {
        // A frame that cannot be played is skipped; the next tick tries again.
    }
}

} // namespace

void FrameTimer::Start(std::function<void()> tick, double framesPerSecond)
{
    Stop();
    double rate =
        std::isfinite(framesPerSecond) ? std::clamp(framesPerSecond, 1.0 / 256, 120.0) : 12.0;
    auto interval = static_cast<UINT>(std::lround(1000.0 / rate));
    UINT_PTR id = SetTimer(nullptr, 0, std::max<UINT>(interval, USER_TIMER_MINIMUM), TimerFired);
    if (!id)
        return;
    Timers()[id] = std::move(tick);
    id_ = id;
}

void FrameTimer::Stop()
{
    if (!id_)
        return;
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
}

} // namespace zn::player
