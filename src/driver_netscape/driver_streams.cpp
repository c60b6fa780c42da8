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

} // namespace

void TznFlashDriverNS::LoadPluginMovie(const std::string& Url)
{
    const TNPVariant arguments[] = {netscape::IntVariant(0), netscape::StringVariant(Url)};
    TNPVariant result;
    CallMethod("LoadMovie", arguments, 2, &result);
    netscape::ReleasePluginResult(result);
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
    LoadPluginMovie(copy ? StreamMovieUrl(FPendingCopies->Add(std::move(copy)), ".swf")
                         : WideToAnsi(AUrl));
}

void TznFlashDriverNS::LoadMovieFromStream(TStream& AStream)
{
    if (!PluginExists() || !ScriptableObject())
        return;
    const std::uint32_t token = FPendingCopies->Add(CopyOf(AStream));
    FMovie.clear();
    FIsVideo = false;
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
