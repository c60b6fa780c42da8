// TznFlashDriverNS stream delivery: loading a movie, and serving every URL the plug-in requests
// from a file, an embedded file, a stream copy, a resource of the library or an HTTP download.
#include "zintara/zn_driver_netscape.h"

#include "async_steam.h"
#include "browser_table.h"
#include "netscape_unit.h"
#include "pending_copies.h"
#include "plugin_instance.h"
#include "request_names.h"
#include "variants.h"
#include "zintara/core/flash_list.h"
#include "zintara/framework/file_stream.h"
#include "zintara/framework/resource_stream.h"
#include "zintara/framework/streams.h"
#include "zintara/framework/text.h"
#include "zintara/framework/module_paths.h"

#include <windows.h>

#include <limits>
#include <vector>

namespace zn {

using netscape::TNetscapeUnit;

namespace {

bool IsFile(const std::wstring& Path)
{
    if (Path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<TStream> OpenFile(const std::wstring& Path)
{
    if (!IsFile(Path))
        return nullptr;
    try {
        return std::make_unique<TFileStream>(Path, fmOpenRead | fmShareDenyWrite);
    } catch (const Exception&) {
        return nullptr;
    }
}


// The module the library's code is linked into, whose resources hold the built-in movies.
HMODULE LibraryModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryModule), &module);
    return module;
}

std::unique_ptr<TStream> OpenResource(std::string_view Name)
{
    if (Name.empty())
        return nullptr;
    const std::wstring resource = AnsiToWide(Name);
    const HMODULE module = LibraryModule();
    if (!FindResourceW(module, resource.c_str(), MAKEINTRESOURCEW(10)))
        return nullptr;
    try {
        return std::make_unique<TResourceStream>(module, resource);
    } catch (const Exception&) {
        return nullptr;
    }
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
    // The old instance is destroyed first, unless a call into it is still running.
    if (!CreatePlugin())
        return;
    FIsVideo = false;
    LoadPluginMovie(WideToAnsi(AUrl));
}

void TznFlashDriverNS::LoadMovieFromStream(TStream& AStream)
{
    if (!PluginExists() || !ScriptableObject())
        return;
    const std::int64_t size = AStream.Size();
    auto copy = std::make_unique<TMemoryStream>();
    copy->SetSize(size);
    AStream.ReadBuffer(copy->Memory(), static_cast<std::size_t>(size));
    copy->SetPosition(0);
    const std::uint32_t token = FPendingCopies->Add(std::move(copy));
    FMovie.clear();
    FIsVideo = false;
    LoadPluginMovie(netscape::StreamMovieUrl(token, ".swf"));
}

// Rules 1 to 7 of the resolution order: the first source found wins.
std::unique_ptr<TStream> TznFlashDriverNS::OpenLocalSource(const std::string& Name)
{
    if (auto file = OpenFile(AnsiToWide(netscape::DecodeName(Name))))
        return file;
    if (auto file = OpenFile(AnsiToWide(netscape::FilePart(Name))))
        return file;
    if (auto file = OpenFile(ExecutableFolder() + AnsiToWide(Name)))
        return file;
    if (auto embedded = CopyFlashListStream(AnsiToWide(netscape::FilePart(Name))))
        return embedded;
    if (const auto token = netscape::StreamTokenOf(Name))
        return FPendingCopies->Take(*token);
    return OpenResource(netscape::ResourceNameOf(Name));
}

// Requests made from inside NPP_New are served: the instance runs from before that call on.
void TznFlashDriverNS::CreateStream(const std::wstring& url, void* notifyData)
{
    if (!PluginExists() || !FPlugin || !FPlugin->Running())
        return;
    const netscape::TResolvedRequest request = netscape::ResolveRequest(WideToAnsi(url));
    if (std::unique_ptr<TStream> source = OpenLocalSource(request.Name))
        DeliverLocalSource(*source, request.Name, request.Query, notifyData);
    else if (netscape::IsHttpUrl(request.Name))
        StartDownload(request.Name, notifyData);
}

// The whole source in one write, all of it before the plug-in's request returns. The plug-in
// plays the movie while it takes it, and the movie's call-outs reach event handlers that may
// reload the movie or free the driver. The delivery belongs to the instance it started on; once
// that instance no longer runs, its stream is broken off there and the query pairs are dropped.
void TznFlashDriverNS::DeliverLocalSource(TStream& Source, const std::string& Name,
                                          const netscape::TQueryPairs& Query, void* NotifyData)
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
        unit.UrlMon().OpenPullStream(AnsiToWide(netscape::DecodeName(Url)), &download);
}

} // namespace zn
