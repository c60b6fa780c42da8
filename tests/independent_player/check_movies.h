// The movies the independent player's check loads, written with the engine's writer.
#pragma once

#include <cstdint>
#include <vector>

namespace zn::test {

// 320 x 240 at 12 frames per second, one frame: a video object named "video" filling the
// stage plays "sample.flv" through a network stream. Each onStatus code goes out as
// ExternalInterface.call("streamStatus", code), the metadata as
// ExternalInterface.call("metaData", duration, width, height, framerate); the callbacks
// "stopflv" and "playflv" pause and resume the stream and "streamTime" answers its time;
// "movieReady" is called last.
std::vector<uint8_t> VideoCheckMovie();

} // namespace zn::test
