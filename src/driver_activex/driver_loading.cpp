// TznFlashDriverActiveX: loading a movie by name or from a stream. The control is given a name
// under the pseudo host and fetches it through the driver's bind host (bind_roles.cpp), which
// finds its source (movie_sources.cpp).
#include "zintara/zn_driver_activex.h"

#include "control_host.h"
#include "movie_sources.h"
#include "zintara/core/request_names.h"
#include "zintara/framework/text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zn {
namespace {

// The control cannot open FLV video itself; the built-in playback movie plays it. The test is
// exact: "clip.FLV" is an ordinary movie.
bool NamesVideo(const std::wstring& Url)
{
    return Url.find(L".flv") != std::wstring::npos;
}

std::unique_ptr<TMemoryStream> CopyOf(TStream& Source)
{
    auto copy = std::make_unique<TMemoryStream>();
    Source.SetPosition(0);
    copy->CopyFrom(Source, Source.Size());
    copy->SetPosition(0);
    return copy;
}

bool HoldsVideo(TMemoryStream& Copy)
{
    return Copy.Size() >= 3 && std::memcmp(Copy.Memory(), "FLV", 3) == 0;
}

} // namespace

// The playback movie, then what it is handed: the skin, the volume and the video it plays, or,
// for a stream, the video first. A handler that frees the driver while one step runs ends the
// load there.
void TznFlashDriverActiveX::LoadVideo(const std::wstring& ContentPath, bool ContentPathFirst)
{
    const activex::TControlCall call(*FHost);
    std::vector<std::pair<const wchar_t*, std::wstring>> settings = {
        {L"flv.skin", FSkin + L".swf"},
        {L"flv.volume", std::to_wstring(FVolume)},
    };
    settings.insert(ContentPathFirst ? settings.begin() : settings.end(),
                    {L"flv.contentPath", ContentPath});
    // The control takes the name at its next message; the variables need the movie there.
    LoadControlMovie(activex::PseudoHostName(L"flvplayback.swf"));
    if (call.Driver())
        SendMessageToControl(0, 0, 0);
    for (const auto& [name, value] : settings) {
        if (!call.Driver())
            return;
        SetVariable(name, value);
    }
    if (call.Driver())
        FIsVideo = true;
}

// The null message afterwards makes the control take the name at once, as it would take a
// message from its window.
void TznFlashDriverActiveX::LoadMovie(const std::wstring& AUrl)
{
    if (FFlashNotExists || AUrl.empty())
        return;
    const activex::TControlCall call(*FHost);
    FIsVideo = false;
    // The playback movie is handed the name with forward slashes, and the driver keeps that one.
    std::wstring movie = AUrl;
    if (NamesVideo(AUrl)) {
        std::replace(movie.begin(), movie.end(), L'\\', L'/');
        LoadVideo(activex::PseudoHostName(movie), false);
    } else {
        LoadControlMovie(activex::PseudoHostName(AUrl));
    }
    if (!call.Driver())
        return;
    FMovie = movie;
    SendMessageToControl(0, 0, 0);
}

void TznFlashDriverActiveX::LoadMovieFromStream(TStream& AStream)
{
    if (FFlashNotExists)
        return;
    std::unique_ptr<TMemoryStream> copy = CopyOf(AStream);
    const bool video = HoldsVideo(*copy);
    const std::wstring url =
        AnsiToWide(StreamMovieUrl(FSources->AddCopy(std::move(copy)), video ? ".flv" : ".swf"));
    FMovie.clear();
    FIsVideo = false;
    if (video)
        LoadVideo(url, true);
    else
        LoadControlMovie(url);
}

} // namespace zn
