// The timer that drives a movie at its frame rate: a thread timer (no window) on the thread
// that started it, so frames advance only while that thread pumps messages, as browsers' and
// containers' user-interface threads do.
#pragma once

#include <cstdint>
#include <functional>

namespace zn::player {

class FrameTimer {
public:
    FrameTimer() = default;
    ~FrameTimer() { Stop(); }
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // Replaces a running timer; tick runs once per frame until Stop. Rates outside 1/256 to
    // 120 frames per second are held to them.
    void Start(std::function<void()> tick, double framesPerSecond);
    void Stop();
    bool Running() const { return id_ != 0; }

private:
    std::uintptr_t id_ = 0;
};

} // namespace zn::player
