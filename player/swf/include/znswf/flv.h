// Video files (FLV): the header, the tags (audio, video, script data) and the metadata that an
// "onMetaData" script tag carries, read all at once or in pieces as a download delivers them.
// Only the current tag is buffered; a tag whose size lies is waited for, and dropped at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace zn::swf {

// Hard limits on what one video may make the reader hold.
inline constexpr size_t MaximumVideoBytes = 64u << 20; // video packets kept
inline constexpr size_t MaximumVideoFrames = 1u << 20;

inline constexpr uint8_t ScreenVideoCodec = 3;

enum class VideoFrameType : uint8_t {
    Key = 1,
    Inter = 2,
    DisposableInter = 3,
    GeneratedKey = 4,
    Command = 5, // not a picture: the reader drops these
};

struct VideoFrame {
    uint32_t timestamp = 0; // milliseconds; never less than the frame before (see FlvReader)
    VideoFrameType type = VideoFrameType::Key;
    uint8_t codec = 0;
    std::vector<uint8_t> packet; // the codec's data after the frame type and codec byte
    bool IsKey() const
    {
        return type == VideoFrameType::Key || type == VideoFrameType::GeneratedKey;
    }
};

// A metadata value. Nested objects, arrays, dates, null and undefined are left out.
using MetadataValue = std::variant<double, bool, std::string>;

struct FlvMetadata {
    std::vector<std::pair<std::string, MetadataValue>> entries; // in file order
    std::optional<double> Number(std::string_view name) const;
    // Conveniences for the entries every encoder writes; absent, or not a number, is empty.
    std::optional<double> Duration() const { return Number("duration"); } // seconds
    std::optional<double> Width() const { return Number("width"); }
    std::optional<double> Height() const { return Number("height"); }
    std::optional<double> FrameRate() const { return Number("framerate"); }
};

struct FlvHeader {
    uint8_t version = 1;
    bool hasAudio = false, hasVideo = false;
};

// What has been read so far.
struct FlvStream {
    FlvHeader header;
    std::optional<FlvMetadata> metadata; // from the first readable onMetaData tag
    std::vector<VideoFrame> videoFrames;
    size_t audioTags = 0;                 // counted, not kept: the engine plays no sound
    uint32_t lastTimestamp = 0;           // the highest of any tag so far
    std::vector<uint8_t> skippedTagTypes; // unknown or encrypted tags, each type once
    bool truncated = false;               // a limit above was reached; later tags were dropped
};

class FlvReader {
public:
    enum class State { WaitingForHeader, Reading, Complete, Failed };

    void Append(std::span<const uint8_t> bytes);
    // No more bytes will come: a tag cut short is dropped and the stream is complete.
    void Finish();

    State GetState() const { return state_; }
    const FlvStream& Stream() const { return stream_; }
    size_t BytesReceived() const { return received_; }

private:
    void ParseHeader();
    void ParseTags();
    void ParseTag(uint8_t type, uint32_t timestamp, const uint8_t* body, size_t size);
    void ReadVideo(uint32_t timestamp, const uint8_t* body, size_t size);
    void ReadScript(const uint8_t* body, size_t size);

    State state_ = State::WaitingForHeader;
    FlvStream stream_;
    std::vector<uint8_t> pending_; // bytes of the header or tag not yet complete
    uint64_t skip_ = 0;            // bytes still to drop: header padding, back pointers
    size_t received_ = 0;
    size_t kept_ = 0; // packet bytes held in stream_.videoFrames
};

// Reads a whole file; empty when the bytes do not start like a video file.
std::optional<FlvStream> ReadFlv(std::span<const uint8_t> bytes);

} // namespace zn::swf
