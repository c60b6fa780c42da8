// Writes video files tag by tag, each followed by the size of the tag before it.
#include "znswf/flv_writer.h"

#include "byte_writer.h"
#include "script_data.h"

namespace zn::swf {
namespace {

constexpr uint8_t AudioTag = 8, VideoTag = 9, ScriptTag = 18;
constexpr uint32_t HeaderBytes = 9, TagHeaderBytes = 11;

} // namespace

FlvWriter::FlvWriter(bool hasAudio, bool hasVideo)
{
    ByteWriter out;
    out.Text("FLV");
    out.U8(1);
    out.U8(static_cast<uint8_t>((hasAudio ? 0x04 : 0) | (hasVideo ? 0x01 : 0)));
    out.BigU32(HeaderBytes);
    out.BigU32(0); // no tag before the first
    bytes_ = out.Take();
}

FlvWriter& FlvWriter::Metadata(const FlvMetadata& metadata)
{
    ByteWriter body;
    WriteMetadataCall(body, metadata);
    return Tag(ScriptTag, 0, body.Take());
}

FlvWriter& FlvWriter::Video(uint32_t timestamp, VideoFrameType type, uint8_t codec,
                            std::span<const uint8_t> packet)
{
    std::vector<uint8_t> body;
    body.reserve(packet.size() + 1);
    body.push_back(static_cast<uint8_t>(static_cast<uint8_t>(type) << 4 | (codec & 0x0F)));
    body.insert(body.end(), packet.begin(), packet.end());
    return Tag(VideoTag, timestamp, body);
}

FlvWriter& FlvWriter::Audio(uint32_t timestamp, std::span<const uint8_t> body)
{
    return Tag(AudioTag, timestamp, body);
}

FlvWriter& FlvWriter::Tag(uint8_t type, uint32_t timestamp, std::span<const uint8_t> body)
{
    ByteWriter out;
    out.U8(type);
    out.BigU24(static_cast<uint32_t>(body.size()));
    out.BigU24(timestamp & 0xFFFFFF);
    out.U8(static_cast<uint8_t>(timestamp >> 24));
    out.BigU24(0);
    out.Bytes(body.data(), body.size());
    out.BigU32(static_cast<uint32_t>(TagHeaderBytes + body.size()));
    std::vector<uint8_t> tag = out.Take();
    bytes_.insert(bytes_.end(), tag.begin(), tag.end());
    return *this;
}

} // namespace zn::swf
