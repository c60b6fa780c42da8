// NetStream objects and their videos.
#include "stream_table.h"

namespace zn::swf {

void StreamTable::Add(avm1::Object& object)
{
    object.handle = next_++;
    streams_[object.handle].object = &object;
}

StreamTable::Slot* StreamTable::Find(const avm1::Object& object)
{
    auto it = streams_.find(object.handle);
    return it != streams_.end() && it->second.object == &object ? &it->second : nullptr;
}

const StreamTable::Slot* StreamTable::Find(const avm1::Object& object) const
{
    return const_cast<StreamTable*>(this)->Find(object);
}

bool StreamTable::Play(avm1::Object& object)
{
    Slot* slot = Find(object);
    if (slot)
        slot->stream.Play();
    return slot != nullptr;
}

void StreamTable::Deliver(avm1::Object& object, std::span<const uint8_t> bytes, bool found)
{
    Slot* slot = Find(object);
    if (!slot)
        return;
    if (!found) {
        slot->stream.NotFound();
        return;
    }
    slot->stream.SetBytesTotal(bytes.size());
    slot->stream.Append(bytes);
    slot->stream.EndOfData();
}

void StreamTable::Pause(avm1::Object& object, std::optional<bool> pause)
{
    Slot* slot = Find(object);
    if (!slot)
        return;
    if (pause.value_or(!slot->stream.IsPaused()))
        slot->stream.Pause();
    else
        slot->stream.Resume();
}

void StreamTable::Seek(avm1::Object& object, double seconds)
{
    if (Slot* slot = Find(object))
        slot->stream.Seek(seconds);
}

void StreamTable::Close(avm1::Object& object)
{
    if (Slot* slot = Find(object))
        slot->stream.Close();
}

std::optional<double> StreamTable::Property(const avm1::Object& object, std::string_view name) const
{
    const Slot* slot = Find(object);
    if (!slot)
        return std::nullopt;
    if (name == "time")
        return slot->stream.Time();
    if (name == "bytesLoaded")
        return static_cast<double>(slot->stream.BytesLoaded());
    if (name == "bytesTotal")
        return static_cast<double>(slot->stream.BytesTotal());
    return std::nullopt;
}

const Image* StreamTable::Picture(const avm1::Object& object) const
{
    const Slot* slot = Find(object);
    return slot ? slot->stream.Picture() : nullptr;
}

bool StreamTable::Advance(unsigned milliseconds)
{
    bool changed = false;
    for (auto& [handle, slot] : streams_)
        changed |= slot.stream.Advance(milliseconds);
    return changed;
}

std::vector<std::pair<avm1::Object*, VideoStreamEvent>> StreamTable::TakeEvents()
{
    std::vector<std::pair<avm1::Object*, VideoStreamEvent>> events;
    for (auto& [handle, slot] : streams_)
        for (VideoStreamEvent& event : slot.stream.TakeEvents())
            events.emplace_back(slot.object, std::move(event));
    return events;
}

} // namespace zn::swf
