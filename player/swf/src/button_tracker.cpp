// The buttons' side of mouse input.
#include "button_tracker.h"

#include "characters.h"

namespace zn::swf {

void ButtonTracker::Reset()
{
    states_.clear();
    hovered_.reset();
    pressed_.reset();
    changes_ = {};
}

TwipsArea ButtonTracker::TakeChanges()
{
    TwipsArea changes = changes_;
    changes_ = {};
    return changes;
}

void ButtonTracker::SetState(const Movie& movie, const Timeline& timeline, uint16_t depth,
                             uint8_t state)
{
    auto instance = timeline.DisplayList().find(depth);
    if (instance == timeline.DisplayList().end())
        return;
    uint8_t& current = states_.try_emplace(depth, ButtonRecord::Up).first->second;
    if (current == state)
        return;
    current = state;
    changes_.Include(PlacedTwips(movie, instance->second));
}

void ButtonTracker::Run(const Movie& movie, const Timeline& timeline, uint16_t depth,
                        uint16_t condition, const RunActions& run)
{
    auto instance = timeline.DisplayList().find(depth);
    if (instance == timeline.DisplayList().end())
        return;
    auto button = movie.buttons.find(instance->second.character);
    if (button == movie.buttons.end())
        return;
    std::shared_ptr<const Button> keep =
        button->second; // the display list may change under the actions
    for (const ButtonAction& action : keep->actions)
        if (action.conditions & condition)
            run(action.actions);
}

void ButtonTracker::PointerMoved(const Movie& movie, const Timeline& timeline, double x, double y,
                                 ShapeRenderer& renderer, const RunActions& run)
{
    std::optional<uint16_t> target;
    const auto& list = timeline.DisplayList();
    for (auto it = list.rbegin(); it != list.rend() && !target; ++it)
        if (ButtonHit(movie, it->second.character, it->second.matrix, x, y, renderer))
            target = it->first;
    if (target == hovered_)
        return;
    if (hovered_) {
        SetState(movie, timeline, *hovered_, ButtonRecord::Up);
        Run(movie, timeline, *hovered_,
            pressed_ == hovered_ ? ButtonAction::DragOut : ButtonAction::RollOut, run);
    }
    hovered_ = target;
    if (!target)
        return;
    if (pressed_ == target) {
        SetState(movie, timeline, *target, ButtonRecord::Down);
        Run(movie, timeline, *target, ButtonAction::DragOver, run);
    } else if (!pressed_) {
        SetState(movie, timeline, *target, ButtonRecord::Over);
        Run(movie, timeline, *target, ButtonAction::RollOver, run);
    }
}

void ButtonTracker::PointerButton(const Movie& movie, const Timeline& timeline, bool down,
                                  const RunActions& run)
{
    if (down) {
        if (!hovered_)
            return;
        pressed_ = hovered_;
        SetState(movie, timeline, *pressed_, ButtonRecord::Down);
        Run(movie, timeline, *pressed_, ButtonAction::Press, run);
        return;
    }
    if (!pressed_)
        return;
    uint16_t released = *pressed_;
    pressed_.reset();
    bool inside = hovered_ == released;
    SetState(movie, timeline, released, inside ? ButtonRecord::Over : ButtonRecord::Up);
    Run(movie, timeline, released, inside ? ButtonAction::Release : ButtonAction::ReleaseOutside,
        run);
}

} // namespace zn::swf
