// The NetStream objects of a movie's scripts and the video each plays, by the handle the
// object carries: what the scripts' calls reach and what the clock advances.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "avm1_value.h"
#include "znswf/video_stream.h"

namespace zn::swf {

class StreamTable {
public:
    void Add(avm1::Object& object);
    void Clear() { streams_.clear(); }

    // False for an object that is no stream of this table.
    bool Play(avm1::Object& object);
    // The host's answer to the stream's request: the whole file, or that there is none.
    void Deliver(avm1::Object& object, std::span<const uint8_t> bytes, bool found);
    void Pause(avm1::Object& object, std::optional<bool> pause); // none toggles
    void Seek(avm1::Object& object, double seconds);
    void Close(avm1::Object& object);

    // time, bytesLoaded, bytesTotal.
    std::optional<double> Property(const avm1::Object& object, std::string_view name) const;
    const Image* Picture(const avm1::Object& object) const;

    // True when a picture changed.
    bool Advance(unsigned milliseconds);
    std::vector<std::pair<avm1::Object*, VideoStreamEvent>> TakeEvents();

private:
    struct Slot {
        avm1::Object* object = nullptr;
        VideoStream stream;
    };
    Slot* Find(const avm1::Object& object);
    const Slot* Find(const avm1::Object& object) const;

    std::map<uint32_t, Slot> streams_;
    uint32_t next_ = 1;
};

} // namespace zn::swf
