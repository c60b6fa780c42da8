// The time the plug-in spends answering paint events, which a benchmark takes to tell the
// browser's share of a repaint from the plug-in's drawing.
#pragma once

#include <cstdint>

namespace zn::np {

// Adds the time from its construction to its destruction to the process's paint time.
class PaintTimer {
public:
    PaintTimer();
    ~PaintTimer();
    PaintTimer(const PaintTimer&) = delete;
    PaintTimer& operator=(const PaintTimer&) = delete;

private:
    std::int64_t start_;
};

// The paint time gathered since the last call, in performance-counter ticks; starts again at 0.
std::uint64_t TakePaintTicks();

} // namespace zn::np
