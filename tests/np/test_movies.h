// Movies the plug-in's tests play, written with the engine's SWF writer.
#pragma once

#include <cstdint>
#include <vector>

namespace zn::test {

// 100 x 50 pixels, two frames: an opaque red square on the left half, a blue square at half
// alpha on the right half; the background colour is green (drawn only in opaque mode).
std::vector<std::uint8_t> SemiTransparentMovie(bool compressed = false);

// On its first frame: FSCommand ("quit", "true"); a callback "echo" that answers "echo:" and
// its argument; a callback "relay" that answers what hostFunction(its argument) answers; the variable greeting = "hello"; and an ExternalInterface call of
// hostFunction("a", 2) whose answer goes to the variable answer. Then it stops.
std::vector<std::uint8_t> ScriptedMovie();

// On its first frame it fetches "http://example.test/data.xml" and then "local.xml".
std::vector<std::uint8_t> RequestingMovie();

// On its first frame it loads "next.swf" into level 0, in its own place.
std::vector<std::uint8_t> LevelLoadingMovie();

// Three frames at 30 frames per second, a square moving right on each, looping.
std::vector<std::uint8_t> AnimatedMovie();

} // namespace zn::test
