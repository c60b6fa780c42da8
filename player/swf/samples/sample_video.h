// The sample video the tests and the demo play, made with the engine's own encoder.
#pragma once

#include <cstdint>
#include <vector>

#include "znswf/geometry.h"
#include "znswf/image.h"

namespace zn::swf::samples {

// 320 by 240 pixels, 12 frames per second, 120 frames (10 seconds), screen video with a key
// frame every 24 frames and an onMetaData tag (duration, width, height, framerate,
// videocodecid). Each picture shows:
// - eight vertical bands of SampleVideoBands, 40 pixels wide, over the upper 160 rows;
// - a white 40 x 40 square whose left edge is at 8 * frame (wrapping) in rows 60 to 99;
// - the frame number as seven cells of 40 x 40 along the bottom (rows 180 to 219), the
//   lowest bit leftmost from x = 20: white for a set bit, black for a clear one, on grey.
// Fewer frames make a shorter video of the same kind (the fuzzers' seeds).
std::vector<uint8_t> SampleVideo(int frames = 120);
// The picture of a (0-based) frame, as the video carries it.
Image SampleVideoPicture(int frame);
// Reads the frame counter from a picture of the sample scaled by (scaleX, scaleY) and placed
// with its top left corner at (left, top); -1 when a cell is neither white nor black.
int SampleVideoFrameNumber(const Image& picture, double left = 0, double top = 0, double scaleX = 1,
                           double scaleY = 1);

inline constexpr int SampleVideoWidth = 320, SampleVideoHeight = 240, SampleVideoFrames = 120;
inline constexpr int SampleVideoRate = 12, SampleVideoKeyInterval = 24;
inline constexpr Rgba SampleVideoBands[8] = {
    {230, 30, 30, 255},  {240, 140, 20, 255}, {240, 220, 30, 255}, {40, 180, 60, 255},
    {30, 190, 200, 255}, {40, 70, 220, 255},  {170, 50, 200, 255}, {120, 80, 40, 255}};
// Milliseconds of a frame's timestamp.
inline uint32_t SampleVideoTimestamp(int frame)
{
    return static_cast<uint32_t>(frame * 1000 / SampleVideoRate);
}

} // namespace zn::swf::samples
