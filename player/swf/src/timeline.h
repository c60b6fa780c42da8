// The display list and the frame it shows: going to a frame applies the placement commands
// of the frames on the way (from the first frame when going back), and collects the area,
// in stage twips, of everything that changed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "znswf/movie.h"

namespace zn::swf {

struct Instance {
    uint16_t character = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    uint16_t ratio = 0;
    std::string name;
    bool visible = true;
    bool dynamic = false;  // made by a script: stays when the timeline goes back
    bool scripted = false; // a script set its placement, which the timeline's moves then keep
    // The scales a script set, read back as set rather than through the fixed-point matrix.
    std::optional<double> xscale, yscale;
    friend bool operator==(const Instance&, const Instance&) = default;
};

// An area that grows; kept in 64 bits so that any sum of twips fits.
struct TwipsArea {
    int64_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    bool empty = true;
    void Include(const TwipsRect& rect);
    void Include(const TwipsArea& area);
};

class Timeline {
public:
    void Reset();
    // `target` must be one of `frames` (the movie's or a sprite's, whose characters `movie`
    // defines). Returns the work done: commands applied, entries compared.
    size_t Goto(const Movie& movie, const std::vector<Frame>& frames, size_t target);
    // A script's placement at a depth, replacing what was there.
    void PlaceDynamic(uint16_t depth, Instance instance);
    Instance* Find(uint16_t depth);
    std::optional<size_t> Current() const { return current_; }
    const std::map<uint16_t, Instance>& DisplayList() const { return list_; }
    // What changed since the last call.
    TwipsArea TakeChanges();
    bool HasChanges() const { return !changes_.empty; }

private:
    void Apply(const Frame& frame);

    std::map<uint16_t, Instance> list_;
    std::optional<size_t> current_;
    TwipsArea changes_;
};

// The stage area a placed character covers, in any state.
TwipsRect PlacedTwips(const Movie& movie, const Instance& instance);

} // namespace zn::swf
