// Writes video files: the header, an "onMetaData" script tag and audio and video tags. With
// ScreenVideoEncoder it makes every video the engine's tests and samples play.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "znswf/flv.h"

namespace zn::swf {

class FlvWriter {
public:
    FlvWriter(bool hasAudio, bool hasVideo);

    FlvWriter& Metadata(const FlvMetadata& metadata);
    FlvWriter& Video(uint32_t timestamp, VideoFrameType type, uint8_t codec,
                     std::span<const uint8_t> packet);
    FlvWriter& Audio(uint32_t timestamp, std::span<const uint8_t> body);
    // Any tag, for files with tags the reader skips.
    FlvWriter& Tag(uint8_t type, uint32_t timestamp, std::span<const uint8_t> body);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace zn::swf
