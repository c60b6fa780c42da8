// Reads a video file as its bytes arrive: the header, then one tag at a time, keeping only
// the bytes of the tag not yet complete.
#include "znswf/flv.h"

#include <algorithm>

#include "byte_reader.h"
#include "script_data.h"

namespace zn::swf {
namespace {

constexpr size_t HeaderBytes = 9;
constexpr size_t TagHeaderBytes = 11;
constexpr size_t BackPointerBytes = 4; // the size of the tag before, after each tag
constexpr uint8_t AudioTag = 8, VideoTag = 9, ScriptTag = 18;

} // namespace

std::optional<double> FlvMetadata::Number(std::string_view name) const
{
    for (const auto& [key, value] : entries)
        if (key == name)
            if (const double* number = std::get_if<double>(&value))
                return *number;
    return std::nullopt;
}

void FlvReader::Append(std::span<const uint8_t> bytes)
{
    if (state_ == State::Complete || state_ == State::Failed)
        return;
    received_ += bytes.size();
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    if (state_ == State::WaitingForHeader) {
        if (pending_.size() < HeaderBytes)
            return;
        ParseHeader();
    }
    if (state_ == State::Reading)
        ParseTags();
}

void FlvReader::Finish()
{
    if (state_ == State::WaitingForHeader)
        state_ = State::Failed;
    if (state_ == State::Reading)
        state_ = State::Complete;
    pending_.clear();
    pending_.shrink_to_fit();
}

void FlvReader::ParseHeader()
{
    ByteReader in(pending_.data(), pending_.size());
    if (in.Text(3) != "FLV") {
        state_ = State::Failed;
        return;
    }
    stream_.header.version = in.U8();
    uint8_t flags = in.U8();
    stream_.header.hasAudio = (flags & 0x04) != 0;
    stream_.header.hasVideo = (flags & 0x01) != 0;
    uint32_t offset = in.BigU32();
    // The tags start at the declared offset; an offset inside the header itself is a lie
    // that the tags' own framing overrules.
    skip_ = std::max<uint64_t>(offset, HeaderBytes) - HeaderBytes + BackPointerBytes;
    pending_.erase(pending_.begin(), pending_.begin() + HeaderBytes);
    state_ = State::Reading;
}

void FlvReader::ParseTags()
{
    size_t parsed = 0;
    while (state_ == State::Reading) {
        size_t available = pending_.size() - parsed;
        if (skip_ > 0) {
            size_t dropped = static_cast<size_t>(std::min<uint64_t>(skip_, available));
            parsed += dropped;
            skip_ -= dropped;
            if (skip_ > 0)
                break;
            continue;
        }
        ByteReader in(pending_.data() + parsed, available);
        uint8_t type_and_filter = in.U8();
        uint32_t size = in.BigU24();
        uint32_t timestamp = in.BigU24();
        timestamp |= static_cast<uint32_t>(in.U8()) << 24;
        in.BigU24(); // stream id, always 0
        if (in.Failed() || in.Remaining() < size)
            break; // the tag is not all here yet
        parsed += TagHeaderBytes + size;
        skip_ = BackPointerBytes;
        // Encrypted tags (the filter bit) cannot be read.
        uint8_t type = (type_and_filter & 0x20) ? type_and_filter : type_and_filter & 0x1F;
        ParseTag(type, timestamp, in.Current(), size);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(parsed));
}

void FlvReader::ParseTag(uint8_t type, uint32_t timestamp, const uint8_t* body, size_t size)
{
    stream_.lastTimestamp = std::max(stream_.lastTimestamp, timestamp);
    switch (type) {
    case AudioTag: ++stream_.audioTags; return;
    case VideoTag: ReadVideo(timestamp, body, size); return;
    case ScriptTag: ReadScript(body, size); return;
    default:
        if (std::find(stream_.skippedTagTypes.begin(), stream_.skippedTagTypes.end(), type) ==
            stream_.skippedTagTypes.end())
            stream_.skippedTagTypes.push_back(type);
        return;
    }
}

void FlvReader::ReadVideo(uint32_t timestamp, const uint8_t* body, size_t size)
{
    if (size == 0)
        return;
    auto type = static_cast<VideoFrameType>(body[0] >> 4);
    if (type < VideoFrameType::Key || type >= VideoFrameType::Command)
        return;
    if (kept_ + size > MaximumVideoBytes || stream_.videoFrames.size() >= MaximumVideoFrames) {
        stream_.truncated = true;
        state_ = State::Complete;
        return;
    }
    VideoFrame frame;
    // Playback finds frames by time, so the list stays ordered even when a file's
    // timestamps step back.
    frame.timestamp = stream_.videoFrames.empty()
                          ? timestamp
                          : std::max(timestamp, stream_.videoFrames.back().timestamp);
    frame.type = type;
    frame.codec = body[0] & 0x0F;
    frame.packet.assign(body + 1, body + size);
    kept_ += size;
    stream_.videoFrames.push_back(std::move(frame));
}

void FlvReader::ReadScript(const uint8_t* body, size_t size)
{
    if (stream_.metadata)
        return;
    ByteReader in(body, size);
    stream_.metadata = ReadMetadataCall(in);
}

std::optional<FlvStream> ReadFlv(std::span<const uint8_t> bytes)
{
    FlvReader reader;
    reader.Append(bytes);
    reader.Finish();
    if (reader.GetState() == FlvReader::State::Failed)
        return std::nullopt;
    return reader.Stream();
}

} // namespace zn::swf
