// The movies the independent player's check loads, written with the engine's writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zn::test {

// 320 x 240 at 12 frames per second, one frame: a video object named "video" filling the
// stage plays "sample.flv" through a network stream. Each onStatus code goes out as
// ExternalInterface.call("streamStatus", code), the metadata as
// ExternalInterface.call("metaData", duration, width, height, framerate); the callbacks
// "stopflv" and "playflv" pause and resume the stream and "streamTime" answers its time;
// "movieReady" is called last.
std::vector<uint8_t> VideoCheckMovie();

// The host's part, for a player that cannot set variables from outside: 550 x 400 at 12
// frames per second, it loads "flvplayback.swf" into level 1, waits until the playback movie
// has wired its default skin, then sets flv.skin to `skin`, flv.volume to 80 and
// flv.contentPath to "sample.flv", in that order, and calls ExternalInterface.call("hostReady").
std::vector<uint8_t> PlaybackHostMovie(const std::string& skin);

} // namespace zn::test
