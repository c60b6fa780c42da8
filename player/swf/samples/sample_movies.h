// The movies the tests and the demo play, made with the engine's own writer.
#pragma once

#include <cstdint>
#include <vector>

#include "znswf/geometry.h"

namespace zn::swf::samples {

// The sample movie, 320 by 240 pixels at 12 frames per second, eight frames:
// - an opaque green square (40,40)-(200,200) at depth 1 and, over it, a red circle of
//   radius 40 with alpha 128 at depth 2, centred at (60,120) in frame 1 and moving 25 pixels
//   right each frame; a yellow triangle outlined in black at depth 3 from frame 5 ("middle");
// - labels "start" (frame 1), "middle" (frame 4), "end" (frame 8);
// - frame 1 script: registers the callbacks echo(text) -> "echo:" + text, add(a, b) -> a + b
//   and seek(label) -> gotoAndStop(label), true; sets flv.volume = 50; calls
//   ExternalInterface.call("movieReady", "sample", 1) and keeps the answer in readyAnswer;
// - frame 4: fscommand("reached", "middle"); frame 8: fscommand("reached", "end").
std::vector<uint8_t> SampleMovie(bool compressed = false);

// A button movie, 200 by 100 pixels, one frame: a button at (50,25)-(150,75) drawn grey when
// up, light blue when the pointer is over it, dark blue when pressed; it raises
// fscommand("button", "over") on roll-over, ("button", "pressed") on press and
// ExternalInterface.call("clicked", 1) on release.
std::vector<uint8_t> ButtonMovie();

inline constexpr Rgba ButtonUpColor{128, 128, 128, 255}, ButtonOverColor{120, 180, 255, 255},
    ButtonDownColor{0, 0, 160, 255};

inline constexpr int SampleWidth = 320, SampleHeight = 240, SampleFrames = 8;
inline constexpr Rgba SampleBackground{0x20, 0x30, 0x60, 255};
inline constexpr Rgba SampleSquareColor{0, 180, 0, 255};
inline constexpr Rgba SampleCircleColor{255, 0, 0, 128};
inline constexpr int SampleCircleRadius = 40, SampleCircleY = 120;
inline int SampleCircleX(int frame)
{
    return 60 + 25 * frame;
} // 0-based frame

} // namespace zn::swf::samples
