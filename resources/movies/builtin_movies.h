// The movies the library carries for video: the playback movie, which plays an FLV file
// through the player's standard video classes, and the skins that give it its controls.
// They are written at build time with the engine's writer and assembler and embedded as
// resources; see resources/README.md for how a host drives them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "znswf/geometry.h"

namespace zn::movies {

// Stage 550 x 400 at 12 frames per second, one frame, stopped. On the main timeline the
// instance "flv" with the properties contentPath, skin and volume and, inside it, the video
// "display", the error sign "errorSign" and the clip "skin_mc" the skin is loaded into.
std::vector<uint8_t> PlaybackMovie();

enum class SkinTheme { Clear, Steel, Mojave, Arctic };
inline constexpr SkinTheme SkinThemes[] = {SkinTheme::Clear, SkinTheme::Steel, SkinTheme::Mojave,
                                           SkinTheme::Arctic};
// Stage 720 x 400, one frame: the instances videoArea, controlBar, playButton (with playIcon
// and pauseIcon), progressBar and volumeBar (each with track and fill).
std::vector<uint8_t> SkinMovie(SkinTheme theme);
// "ClearOverAll" and so on: the name without ".swf".
std::string SkinName(SkinTheme theme);

inline constexpr int PlaybackWidth = 550, PlaybackHeight = 400, PlaybackRate = 12;
inline constexpr int SkinWidth = 720, SkinHeight = 400;
// The skins' control bar, in skin pixels; the opaque skins keep the video above it, the clear
// one lays it over the video.
inline constexpr int ControlBarTop = 360;
// The FSCommand the playback movie raises when the video cannot be played; its argument is
// the stream's status code.
inline constexpr const char* ErrorCommand = "flvError";

// The colours that tell the skins apart in a picture: the control bar's, and the fill of the
// progress bar.
struct SkinColors {
    swf::Rgba bar, icon, track, fill;
};
SkinColors ColorsOf(SkinTheme theme);

} // namespace zn::movies
