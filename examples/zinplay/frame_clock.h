// The run's clock: pumps the thread's messages, which is what lets the player's frame timer fire
// and paint, and tells when the movie shows its next picture.
#pragma once

#include <windows.h>

namespace zn {
class TznFlashDriver;
}

namespace zn::zinplay {

class TFrameClock {
public:
    // A movie that stands still (stopped, or one frame long) steps on after this long, so that a
    // run always ends.
    static constexpr DWORD StillInterval = 500;

    explicit TFrameClock(TznFlashDriver& Driver);

    // Pumps messages until the movie reports its frames, at most Timeout milliseconds; false when
    // it never did (the file is no movie the player can read).
    bool AwaitMovie(DWORD Timeout);
    // Pumps messages until the movie's current frame moves on, or StillInterval passed;
    // answers the current frame, as the player counts (from 0).
    int AwaitNextPicture();
    int CurrentFrame() const { return FLastFrame; }

private:
    void DispatchPending();
    void Wait(DWORD Milliseconds);

    TznFlashDriver& FDriver;
    int FLastFrame = 0;
};

} // namespace zn::zinplay
