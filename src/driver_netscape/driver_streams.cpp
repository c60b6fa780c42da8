// TznFlashDriverNS stream delivery: loading a movie, and serving every URL the plug-in requests
// from a file, an embedded file, a stream copy, a resource of the library or an HTTP download.
#include "zintara/zn_driver_netscape.h"

#include "async_steam.h"
#include "browser_table.h"
#include "netscape_unit.h"
#include "plugin_instance.h"
#include "variants.h"
#include "zintara/core/local_files.h"
#include "zintara/core/local_sources.h"
#include "zintara/core/request_names.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/streams.h"
#include "zintara/framework/text.h"

#include <cstring>
#include <limits>
#include <vector>

namespace zn {

using netscape::TNetscapeUnit;

namespace {

// As many bytes as Source holds, read from its position (a stream not at its start falls short
// and throws), as a copy the plug-in can request later.
std::unique_ptr<TMemoryStream> CopyOf(TStream& Source)
{
    const std::int64_t size = Source.Size();
    auto copy = std::make_unique<TMemoryStream>();
    copy->SetSize(size);
    Source.ReadBuffer(copy->Memory(), static_cast<std::size_t>(size));
    copy->SetPosition(0);
    return copy;
}

// A file whose name the system code page cannot carry would be requested under a damaged name
// and never found: it is read now instead. Null for a name that survives the conversion or that
// names no file, given whole or beside the executable.
std::unique_ptr<TMemoryStream> CopyOfUnnamableFile(const std::wstring& Name)
{
    if (AnsiToWide(WideToAnsi(Name)) == Name)
        return nullptr;
    std::unique_ptr<TStream> file = OpenExistingFile(Name);
    if (!file)
        file = OpenExistingFile(ExecutableFolder() + Name);
    return file ? CopyOf(*file) : nullptr;
}

// The player cannot open FLV video itself; such a name or stream is played by the built-in
// playback movie. The test is exact: "clip.FLV" is an ordinary movie, "a.flv.swf" is video.
bool NamesVideo(const std::wstring& Url)
{
    return Url.find(L".flv") != std::wstring::npos;
}

bool HoldsVideo(TMemoryStream& Copy)
{
    return Copy.Size() >= 3 && std::memcmp(Copy.Memory(), "FLV", 3) == 0;
}

} // namespace

void TznFlashDriverNS::LoadPluginMovie(const std::string& Url)
{
    const TNPVariant arguments[] = {netscape::IntVariant(0), netscape::StringVariant(Url)};
    TNPVariant result;
    CallMethod("LoadMovie", arguments, 2, &result);
    netscape::ReleasePluginResult(result);
}

// The playback movie, then the skin, the volume and the video it plays, in that order: setting
// the content path starts the video. A handler that reloads the movie or frees the driver while
// one step runs ends the load there.
void TznFlashDriverNS::LoadVideo(const std::wstring& ContentPath)
{
    const netscape::TPluginCall call(FPlugin);
    const std::pair<const wchar_t*, std::wstring> settings[] = {
        {L"flv.skin", FSkin + L".swf"},
        {L"flv.volume", std::to_wstring(FVolume)},
        {L"flv.contentPath", ContentPath},
    };
    LoadPluginMovie("flvplayback.swf");
    for (const auto& [name, value] : settings) {
        if (!call.Driver())
            return;
        SetVariable(name, value);
    }
    if (call.Driver())
        FIsVideo = true;
}

void TznFlashDriverNS::LoadMovie(const std::wstring& AUrl)
{
    if (!PluginExists() || AUrl.empty() || !ScriptableObject())
        return;
    std::unique_ptr<TMemoryStream> copy = CopyOfUnnamableFile(AUrl);
    // The old instance is destroyed first, unless a call into it is still running.
    if (!CreatePlugin())
        return;
    FIsVideo = false;
    const bool video = NamesVideo(AUrl);
    if (copy) {
        const std::string url =
            StreamMovieUrl(FPendingCopies->Add(std::move(copy)), video ? ".flv" : ".swf");
        if (video)
            LoadVideo(AnsiToWide(url));
        else
            LoadPluginMovie(url);
    } else if (video) {
        LoadVideo(AnsiToWide(PseudoHostPrefix) + AUrl);
    } else {
        LoadPluginMovie(WideToAnsi(AUrl));
    }
}

void TznFlashDriverNS::LoadMovieFromStream(TStream& AStream)
{
    if (!PluginExists() || !ScriptableObject())
        return;
    std::unique_ptr<TMemoryStream> copy = CopyOf(AStream);
    const bool video = HoldsVideo(*copy);
    const std::uint32_t token = FPendingCopies->Add(std::move(copy));
    FMovie.clear();
    FIsVideo = false;
    if (video)
        LoadVideo(AnsiToWide(StreamMovieUrl(token, ".flv")));
    else
        LoadPluginMovie(StreamMovieUrl(token, ".swf"));
}

// Requests made from inside NPP_New are served: the instance runs from before that call on.
void TznFlashDriverNS::CreateStream(const std::wstring& url, void* notifyData)
{
    if (!PluginExists() || !FPlugin || !FPlugin->Running())
        return;
    const TResolvedRequest request = ResolveRequest(WideToAnsi(url));
    if (std::unique_ptr<TStream> source = OpenLocalSource(request.Name, *FPendingCopies))
        DeliverLocalSource(*source, request.Name, request.Query, notifyData);
    else if (IsHttpUrl(request.Name))
        StartDownload(request.Name, notifyData);
    else
        RefuseRequest(WideToAnsi(url), notifyData);
}

// Nothing serves the name. The player is told, as a browser tells it of a file it could not
// fetch, so that a movie waiting for the file (the playback movie for its video) gives up
// instead of waiting for ever.
void TznFlashDriverNS::RefuseRequest(const std::string& Url, void* NotifyData)
{
    TNPStream refused{};
    refused.url = Url.c_str();
    refused.notifyData = NotifyData;
    netscape::TPluginCall(FPlugin).UrlNotify(refused, netscape::NPRES_NETWORK_ERR);
}

// The whole source in one write, all of it before the plug-in's request returns. The plug-in
// plays the movie while it takes it, and the movie's call-outs reach event handlers that may
// reload the movie or free the driver. The delivery belongs to the instance it started on; once
// that instance no longer runs, its stream is broken off there and the query pairs are dropped.
void TznFlashDriverNS::DeliverLocalSource(TStream& Source, const std::string& Name,
                                          const TQueryPairs& Query, void* NotifyData)
{
    std::vector<unsigned char> bytes;
    try {
        const std::int64_t size = Source.Size();
        if (size < 0 || size > std::numeric_limits<std::int32_t>::max())
            return;
        bytes.resize(static_cast<std::size_t>(size));
        Source.SetPosition(0);
        Source.ReadBuffer(bytes.data(), bytes.size());
    } catch (const Exception&) {
        return;
    }

    TNPStream stream{};
    stream.url = Name.c_str();
    stream.end = static_cast<std::uint32_t>(bytes.size());
    stream.notifyData = NotifyData;
    const netscape::TPluginCall call(FPlugin);
    if (call.NewStream(stream) == NPERR_NO_ERROR) {
        call.Write(stream, bytes.data(), static_cast<std::int32_t>(bytes.size()));
        call.UrlNotify(stream, call.EndReason());
        call.DestroyStream(stream, call.EndReason());
    }
    bytes = {};
    for (const auto& [name, value] : Query)
        if (call.Driver())
            SetVariable(AnsiToWide(name), AnsiToWide(value));
    if (call.Driver())
        AnnounceWindow();
}

// The stream opens now; its data, end and destruction come from the download's callbacks, for
// this instance only. A download that cannot start leaves the stream open and reports nothing.
void TznFlashDriverNS::StartDownload(const std::string& Url, void* NotifyData)
{
    TNetscapeUnit& unit = TNetscapeUnit::Instance();
    TAsyncSteam& download =
        unit.AddDownload(std::make_unique<TAsyncSteam>(FPlugin->Generation(), Url, NotifyData));
    const netscape::TPluginCall call(FPlugin);
    call.NewStream(download.Stream());
    if (call.Running())
        unit.UrlMon().OpenPullStream(AnsiToWide(DecodeName(Url)), &download);
}

} // namespace zn
