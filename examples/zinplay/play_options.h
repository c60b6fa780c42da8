// zinplay's command line: which movie, at what size, in which mode, for how many frames, and
// where the frames go as PNG files.
//
// Plain C++: no Windows header.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zn::zinplay {

// Which Flash host plays the movie: the one the library picks, or one asked for by name.
enum class THost { Default, ActiveX, Netscape };

struct TPlayOptions {
    // Pictures of the run; frame n of them is written as frame-NNN.png.
    int Frames = 24;
    int Width = 320;
    int Height = 240;
    // Opaque mode paints a background colour; the default keeps the movie's real alpha.
    bool Opaque = false;
    // Empty: no PNG files.
    std::wstring PngFolder;
    // Empty: the sample movie beside the executable.
    std::wstring Movie;
    THost Host = THost::Default;
    // For a video (a name with ".flv"): the skin of the playback movie and its volume, 0 to 100.
    // Empty and unset: the library's defaults.
    std::wstring Skin;
    std::optional<int> Volume;
    bool Help = false;
};

inline constexpr int MaxFrames = 100000;
inline constexpr int MaxSide = 4096;
inline constexpr int MaxVolume = 100;

struct TParsedOptions {
    std::optional<TPlayOptions> Options;
    // Why the arguments were refused, naming the argument; empty when Options is set.
    std::wstring Error;
};

// Reads the arguments that follow the program name. Every fault (an unknown option, a missing or
// malformed value, a number out of range, a second movie) refuses the whole command line.
TParsedOptions ParsePlayOptions(const std::vector<std::wstring>& Arguments);

// How to call zinplay, in a few lines.
std::wstring_view UsageText();

// The name frame n of the run is written under inside the PNG folder: frame-001.png.
std::wstring FrameFileName(int Frame);

} // namespace zn::zinplay
