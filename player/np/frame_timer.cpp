// Thread timers, found again from their identifiers when they fire.
#include "frame_timer.h"

#include "instance.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace zn::np {

namespace {

std::map<UINT_PTR, Instance*>& Timers()
{
    static std::map<UINT_PTR, Instance*> timers;
    return timers;
}

void CALLBACK TimerFired(HWND, UINT, UINT_PTR id, DWORD)
{
    try {
        auto found = Timers().find(id);
        if (found == Timers().end())
            return;
        InstanceScope instance(found->second);
        if (instance)
            instance->AdvanceFrame();
    } catch (...) {
        // A frame that cannot be played is skipped; the next tick tries again.
    }
}

} // namespace

void FrameTimer::Start(Instance& instance, double framesPerSecond)
{
    Stop();
    double rate =
        std::isfinite(framesPerSecond) ? std::clamp(framesPerSecond, 1.0 / 256, 120.0) : 12.0;
    auto interval = static_cast<UINT>(std::lround(1000.0 / rate));
    UINT_PTR id = SetTimer(nullptr, 0, std::max<UINT>(interval, USER_TIMER_MINIMUM), TimerFired);
    if (!id)
        return;
    Timers()[id] = &instance;
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

} // namespace zn::np
