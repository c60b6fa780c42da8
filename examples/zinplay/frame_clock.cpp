// TFrameClock: the message pump of a run.
#include "frame_clock.h"

#include "zintara/core/flash_driver.h"

namespace zn::zinplay {

TFrameClock::TFrameClock(TznFlashDriver& Driver) : FDriver(Driver) {}

void TFrameClock::DispatchPending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TFrameClock::Wait(DWORD Milliseconds)
{
    MsgWaitForMultipleObjectsEx(0, nullptr, Milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool TFrameClock::AwaitMovie(DWORD Timeout)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DispatchPending();
        if (FDriver.GetTotalFrames() > 0) {
            FLastFrame = FDriver.GetCurrentFrame();
            return true;
        }
        const DWORD waited = GetTickCount() - start;
        if (waited >= Timeout)
            return false;
        Wait(Timeout - waited);
    }
}

// The frame is asked for once per batch of messages rather than per message: frames move on at
// most once per timer message, and each question is a call into the player.
int TFrameClock::AwaitNextPicture()
{
    const DWORD start = GetTickCount();
    for (;;) {
        DispatchPending();
        const int frame = FDriver.GetCurrentFrame();
        const DWORD waited = GetTickCount() - start;
        if (frame != FLastFrame || waited >= StillInterval) {
            FLastFrame = frame;
            return frame;
        }
        Wait(StillInterval - waited);
    }
}

} // namespace zn::zinplay
