// The buttons' side of mouse input: which button the pointer is over or pressing, the state
// each button shows, and the actions to run on each transition (roll over and out, press,
// release inside or outside, drag over and out).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "shape_renderer.h"
#include "timeline.h"
#include "znswf/movie.h"

namespace zn::swf {

class ButtonTracker {
public:
    // Runs one action block; the block may do anything, even replace the movie.
    using RunActions = std::function<void(const ActionBlock&)>;

    void Reset();
    const std::map<uint16_t, uint8_t>& States() const { return states_; }
    // The pointer is now at this stage point (twips).
    void PointerMoved(const Movie& movie, const Timeline& timeline, double x, double y,
                      ShapeRenderer& renderer, const RunActions& run);
    void PointerButton(const Movie& movie, const Timeline& timeline, bool down,
                       const RunActions& run);
    // The stage area whose buttons changed state since the last call.
    TwipsArea TakeChanges();
    bool HasChanges() const { return !changes_.empty; }

private:
    void SetState(const Movie& movie, const Timeline& timeline, uint16_t depth, uint8_t state);
    void Run(const Movie& movie, const Timeline& timeline, uint16_t depth, uint16_t condition,
             const RunActions& run);

    std::map<uint16_t, uint8_t> states_; // by depth; buttons not listed are up
    std::optional<uint16_t> hovered_, pressed_;
    TwipsArea changes_;
};

} // namespace zn::swf
