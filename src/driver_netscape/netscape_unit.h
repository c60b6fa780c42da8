// What the Netscape plug-in driver holds once per process: the plug-in library and its function
// table, the browser function table handed to it, the URL library for downloads, and the
// downloads started so far.
//
// Start-up runs on first use (the first PluginExists, from driver selection), never while the
// loader lock is held; shut-down runs at process exit. Call order of the plug-in's exports:
// NP_GetEntryPoints before NP_Initialize, Flash_DisableLocalSecurity after it, NP_Shutdown last.
#pragma once

#include "zintara/zn_driver_netscape.h"
#include "zintara/core/url_pull_download.h"
#include "zintara/framework/handles.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace zn {
class TAsyncSteam;
}

namespace zn::netscape {

// The MIME type under which instances are created and streams are delivered (the plug-in
// entries take it as a non-constant string).
inline char FlashMimeType[] = "application/x-shockwave-flash";

// The browser table inside zeroed storage with room for the entries later minor versions add,
// so a plug-in that trusts the version number reads null, never foreign memory.
struct TBrowserFuncsStorage {
    TNPNetscapeFuncs Funcs;
    // Version 18 promises enumerate right after the published table, outside its size.
    bool (*Enumerate)(PNPP npp, PNPObject obj, PNPIdentifier** identifiers, std::uint32_t* count);
    void* LaterEntries[31];
};
static_assert(sizeof(void*) != 4 || offsetof(TBrowserFuncsStorage, Enumerate) == 172);

class TNetscapeUnit {
public:
    // The unit, started on the first call.
    static TNetscapeUnit& Instance();

    bool PluginPresent() const { return FPluginFuncs.newp != nullptr; }
    const TNPPluginFuncs& PluginFuncs() const { return FPluginFuncs; }
    const TNPNetscapeFuncs& BrowserFuncs() const { return FBrowserFuncs.Funcs; }
    const std::wstring& PluginPath() const { return FPluginPath; }
    NPError LastNPError = NPERR_NO_ERROR;

    TUrlMonLibrary& UrlMon() { return *FUrlMon; }
    // Downloads stay until shut-down; a new one takes the first free slot.
    TAsyncSteam& AddDownload(std::unique_ptr<TAsyncSteam> Download);

    TNetscapeUnit(const TNetscapeUnit&) = delete;
    TNetscapeUnit& operator=(const TNetscapeUnit&) = delete;

private:
    TNetscapeUnit();
    static void ShutDown();
    void Stop();
    void LocatePlugin();
    void LoadPlugin();

    std::unique_ptr<TUrlMonLibrary> FUrlMon;
    std::wstring FPluginPath;
    TModule FPluginLibrary;
    TNPPluginFuncs FPluginFuncs{};
    TBrowserFuncsStorage FBrowserFuncs{};
    NPError(WINAPI* FPluginShutdown)() = nullptr;
    std::vector<std::unique_ptr<TAsyncSteam>> FAsyncStreams;
};

} // namespace zn::netscape
