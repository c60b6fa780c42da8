// The display list and the frame it shows.
#include "timeline.h"

#include <algorithm>
#include <cmath>

#include "characters.h"

namespace zn::swf {

void TwipsArea::Include(const TwipsRect& rect)
{
    if (rect.Empty())
        return;
    Include(TwipsArea{rect.xMin, rect.yMin, rect.xMax, rect.yMax, false});
}

void TwipsArea::Include(const TwipsArea& area)
{
    if (area.empty)
        return;
    if (empty) {
        *this = area;
        return;
    }
    xMin = std::min(xMin, area.xMin);
    yMin = std::min(yMin, area.yMin);
    xMax = std::max(xMax, area.xMax);
    yMax = std::max(yMax, area.yMax);
}

TwipsRect PlacedTwips(const Movie& movie, const Instance& instance)
{
    ViewTransform twips{1.0, 0, 0};
    PixelRect r =
        CharacterBounds(movie, instance.character, Affine::Compose(instance.matrix, twips));
    return {r.left, r.right, r.top, r.bottom};
}

void Timeline::Reset()
{
    list_.clear();
    current_.reset();
    changes_ = {};
}

void Timeline::PlaceDynamic(uint16_t depth, Instance instance)
{
    instance.dynamic = true;
    list_[depth] = std::move(instance);
}

Instance* Timeline::Find(uint16_t depth)
{
    auto it = list_.find(depth);
    return it == list_.end() ? nullptr : &it->second;
}

size_t Timeline::Goto(const Movie& movie, const std::vector<Frame>& frames, size_t target)
{
    if (target >= frames.size())
        return 0;
    std::map<uint16_t, Instance> before = list_;
    size_t from = 0;
    if (current_ && target >= *current_) {
        from = *current_ + 1;
    } else {
        std::erase_if(list_, [](const auto& entry) { return !entry.second.dynamic; });
    }
    size_t work = before.size();
    for (size_t frame = from; frame <= target; ++frame) {
        Apply(frames[frame]);
        work += frames[frame].commands.size() + 1;
    }
    current_ = target;

    // Everything that differs repaints where it was and where it is now.
    auto old_it = before.begin();
    auto new_it = list_.begin();
    while (old_it != before.end() || new_it != list_.end()) {
        if (new_it == list_.end() || (old_it != before.end() && old_it->first < new_it->first)) {
            changes_.Include(PlacedTwips(movie, old_it->second));
            ++old_it;
        } else if (old_it == before.end() || new_it->first < old_it->first) {
            changes_.Include(PlacedTwips(movie, new_it->second));
            ++new_it;
        } else {
            if (!(old_it->second == new_it->second)) {
                changes_.Include(PlacedTwips(movie, old_it->second));
                changes_.Include(PlacedTwips(movie, new_it->second));
            }
            ++old_it;
            ++new_it;
        }
    }
    return work + list_.size();
}

TwipsArea Timeline::TakeChanges()
{
    TwipsArea changes = changes_;
    changes_ = {};
    return changes;
}

void Timeline::Apply(const Frame& frame)
{
    for (const DisplayCommand& command : frame.commands) {
        if (const auto* remove = std::get_if<RemoveCommand>(&command)) {
            list_.erase(remove->depth);
            continue;
        }
        const PlaceCommand& place = std::get<PlaceCommand>(command);
        auto existing = list_.find(place.depth);
        Instance instance;
        if (place.move) {
            if (existing == list_.end())
                continue; // nothing there to move
            instance = existing->second;
        } else if (!place.character) {
            continue;
        }
        if (place.character)
            instance.character = *place.character;
        bool keep = place.move && instance.scripted;
        if (place.matrix && !keep)
            instance.matrix = *place.matrix;
        if (place.colorTransform && !keep)
            instance.colorTransform = *place.colorTransform;
        if (place.ratio)
            instance.ratio = *place.ratio;
        if (place.name)
            instance.name = *place.name;
        list_[place.depth] = instance;
    }
}

} // namespace zn::swf
