// Screen video, the lossless block codec of video files: the picture is cut into blocks
// (rows from the bottom up), each block's pixels zlib-compressed as 24-bit BGR lines from the
// bottom up. Key frames carry every block; inter frames only the blocks that changed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "znswf/image.h"

namespace zn::swf {

class ScreenVideoDecoder {
public:
    enum class Result {
        Decoded,
        NeedsKeyFrame, // an inter frame with no picture before it (or of another size)
        Malformed,     // the picture is left as it was
    };

    // `packet` is the video tag's data after the frame type and codec byte.
    Result Decode(std::span<const uint8_t> packet, bool keyFrame);
    // Opaque pixels; empty until a key frame was decoded.
    const Image& Picture() const { return picture_; }
    void Reset() { picture_ = Image(); }

private:
    Image picture_;
};

class ScreenVideoEncoder {
public:
    // Block sides are multiples of 16 from 16 to 128 (rounded to that).
    explicit ScreenVideoEncoder(int blockWidth = 32, int blockHeight = 32);

    // The packet for one picture (at most 4095 pixels a side). An inter frame carries only
    // the blocks that differ from the picture encoded before; the first picture and one of a
    // new size are always key frames, whatever `keyFrame` says.
    std::vector<uint8_t> Encode(const Image& picture, bool keyFrame);
    bool LastWasKey() const { return lastWasKey_; }

private:
    int blockWidth_, blockHeight_;
    Image previous_;
    bool lastWasKey_ = false;
};

} // namespace zn::swf
