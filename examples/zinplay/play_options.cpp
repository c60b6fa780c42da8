// Reading zinplay's command line.
#include "play_options.h"

#include <cwchar>

namespace zn::zinplay {

namespace {

// Decimal digits only, within Min..Max; nothing when the text is anything else.
std::optional<int> ReadNumber(std::wstring_view Text, int Min, int Max)
{
    if (Text.empty())
        return std::nullopt;
    long long value = 0;
    for (const wchar_t c : Text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > Max)
            return std::nullopt;
    }
    if (value < Min)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> ReadCount(std::wstring_view Text, int Max)
{
    return ReadNumber(Text, 1, Max);
}

bool ReadSize(std::wstring_view Text, int& Width, int& Height)
{
    const std::size_t cross = Text.find_first_of(L"xX");
    if (cross == std::wstring_view::npos)
        return false;
    const auto width = ReadCount(Text.substr(0, cross), MaxSide);
    const auto height = ReadCount(Text.substr(cross + 1), MaxSide);
    if (!width || !height)
        return false;
    Width = *width;
    Height = *height;
    return true;
}

TParsedOptions Refuse(std::wstring Error)
{
    return {std::nullopt, std::move(Error)};
}

} // namespace

TParsedOptions ParsePlayOptions(const std::vector<std::wstring>& Arguments)
{
    TPlayOptions options;
    bool movie_given = false;
    for (std::size_t i = 0; i < Arguments.size(); ++i) {
        const std::wstring& argument = Arguments[i];
        const bool takes_value = argument == L"--frames" || argument == L"--size" ||
                                 argument == L"--png" || argument == L"--host" ||
                                 argument == L"--skin" || argument == L"--volume";
        if (takes_value && i + 1 == Arguments.size())
            return Refuse(argument + L" needs a value");
        if (argument == L"--help" || argument == L"-h") {
            options.Help = true;
        } else if (argument == L"--opaque") {
            options.Opaque = true;
        } else if (argument == L"--frames") {
            const std::wstring& value = Arguments[++i];
            const auto frames = ReadCount(value, MaxFrames);
            if (!frames)
                return Refuse(L"--frames wants a whole number from 1 to " +
                              std::to_wstring(MaxFrames) + L", not \"" + value + L"\"");
            options.Frames = *frames;
        } else if (argument == L"--size") {
            const std::wstring& value = Arguments[++i];
            if (!ReadSize(value, options.Width, options.Height))
                return Refuse(L"--size wants WIDTHxHEIGHT, each from 1 to " +
                              std::to_wstring(MaxSide) + L", not \"" + value + L"\"");
        } else if (argument == L"--png") {
            options.PngFolder = Arguments[++i];
            if (options.PngFolder.empty())
                return Refuse(L"--png needs a folder");
        } else if (argument == L"--host") {
            const std::wstring& value = Arguments[++i];
            if (value == L"activex")
                options.Host = THost::ActiveX;
            else if (value == L"netscape")
                options.Host = THost::Netscape;
            else
                return Refuse(L"--host wants activex or netscape, not \"" + value + L"\"");
        } else if (argument == L"--skin") {
            options.Skin = Arguments[++i];
            if (options.Skin.empty())
                return Refuse(L"--skin needs a name, such as SteelOverAll");
        } else if (argument == L"--volume") {
            const std::wstring& value = Arguments[++i];
            options.Volume = ReadNumber(value, 0, MaxVolume);
            if (!options.Volume)
                return Refuse(L"--volume wants a whole number from 0 to " +
                              std::to_wstring(MaxVolume) + L", not \"" + value + L"\"");
        } else if (argument.size() > 1 && argument[0] == L'-') {
            return Refuse(L"unknown option \"" + argument + L"\"");
        } else if (movie_given) {
            return Refuse(L"one movie at a time: \"" + options.Movie + L"\" and \"" + argument +
                          L"\"");
        } else {
            options.Movie = argument;
            movie_given = true;
            if (options.Movie.empty())
                return Refuse(L"the movie name is empty");
        }
    }
    return {options, {}};
}

std::wstring_view UsageText()
{
    return L"usage: zinplay [--frames N] [--size WxH] [--opaque] [--png DIR]\n"
           L"               [--host activex|netscape] [--skin NAME] [--volume N] [MOVIE]\n"
           L"  Plays MOVIE (default: the sample movie beside zinplay) for N frames (default 24)\n"
           L"  at W x H pixels (default 320x240), transparent unless --opaque, and writes frame\n"
           L"  n of the run as DIR/frame-NNN.png with its alpha channel. The Flash host is the\n"
           L"  one the library picks (the ActiveX control when it is registered) unless --host\n"
           L"  names one. A video (a name with \".flv\") plays through the library's playback\n"
           L"  movie with the skin NAME (ClearOverAll, SteelOverAll, MojaveOverAll or\n"
           L"  ArcticOverAll; default ClearOverAll) at volume N (0 to 100, default 50).";
}

std::wstring FrameFileName(int Frame)
{
    wchar_t name[32];
    std::swprintf(name, std::size(name), L"frame-%03d.png", Frame);
    return name;
}

} // namespace zn::zinplay
