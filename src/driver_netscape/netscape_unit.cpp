// Start-up and shut-down of the Netscape plug-in driver's process-wide state: finding and
// loading the plug-in, and handing it the browser table.
#include "netscape_unit.h"

#include "async_steam.h"
#include "browser_table.h"
#include "zintara/framework/module_paths.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <utility>

namespace zn::netscape {
namespace {

constexpr wchar_t DefaultPluginPath[] = L"C:\\Windows\\system32\\Macromed\\Flash\\NPSWF32.dll";
constexpr wchar_t PluginsRegistryKey[] = L"SOFTWARE\\MozillaPlugins";
constexpr wchar_t FlashMimeTypeKey[] = L"MimeTypes\\application/x-shockwave-flash";
constexpr wchar_t PluginBesideExecutable[] = L"npswf32.dll";

using TNP_GetEntryPoints = NPError(WINAPI*)(TNPPluginFuncs* pFuncs);
using TNP_Initialize = NPError(WINAPI*)(TNPNetscapeFuncs* bFuncs);
using TNP_Shutdown = NPError(WINAPI*)();
using TFlash_DisableLocalSecurity = NPError(WINAPI*)();

template <class TFunction>
TFunction Export(HMODULE Module, const char* Name)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

// The "Path" value of a plug-in's key; a missing value reads as empty.
std::wstring PathValueOf(HKEY Key)
{
    std::wstring path;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(Key, L"Path", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes >= sizeof(wchar_t)) {
        path.resize(bytes / sizeof(wchar_t));
        if (RegQueryValueExW(Key, L"Path", nullptr, &type, reinterpret_cast<BYTE*>(path.data()),
                             &bytes) != ERROR_SUCCESS)
            path.clear();
        path.resize(std::min<std::size_t>(path.size(), bytes / sizeof(wchar_t)));
        path.resize(path.find(L'\0') == std::wstring::npos ? path.size() : path.find(L'\0'));
    }
    return path;
}

// Each installed plug-in registers a key of its own name under MozillaPlugins, listing the types
// it plays under MimeTypes; the Flash plug-in's key is the first that lists the Flash type. Its
// "Path" value, or nothing when no key lists it. Only read access is asked for: users without
// administrator rights can still read the keys.
std::optional<std::wstring> RegisteredPluginPath()
{
    TRegistryKey plugins;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, PluginsRegistryKey, 0, KEY_READ, plugins.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG status =
            RegEnumKeyExW(plugins.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return std::nullopt;
        TRegistryKey plugin, types;
        if (status != ERROR_SUCCESS ||
            RegOpenKeyExW(plugins.get(), name, 0, KEY_READ, plugin.put()) != ERROR_SUCCESS ||
            RegOpenKeyExW(plugin.get(), FlashMimeTypeKey, 0, KEY_READ, types.put()) !=
                ERROR_SUCCESS)
            continue;
        return PathValueOf(plugin.get());
    }
}

bool IsFile(const std::wstring& Path)
{
    const DWORD attributes = GetFileAttributesW(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TNetscapeUnit* StartedUnit = nullptr;

} // namespace

TNetscapeUnit& TNetscapeUnit::Instance()
{
    if (!StartedUnit) {
        StartedUnit = new TNetscapeUnit;
        std::atexit(&TNetscapeUnit::ShutDown);
        StartedUnit->LocatePlugin();
        StartedUnit->LoadPlugin();
    }
    return *StartedUnit;
}

TNetscapeUnit::TNetscapeUnit() : FUrlMon(std::make_unique<TUrlMonLibrary>()) {}

void TNetscapeUnit::LocatePlugin()
{
    FPluginPath = DefaultPluginPath;
    if (auto registered = RegisteredPluginPath())
        FPluginPath = *registered;
    const std::wstring beside = ExecutableFolder() + PluginBesideExecutable;
    if (IsFile(beside))
        FPluginPath = beside;
}

void TNetscapeUnit::LoadPlugin()
{
    if (FPluginPath.empty())
        return;
    FPluginLibrary.reset(LoadLibraryW(FPluginPath.c_str()));
    if (!FPluginLibrary)
        return;
    const HMODULE module = FPluginLibrary.get();
    const auto get_entry_points = Export<TNP_GetEntryPoints>(module, "NP_GetEntryPoints");
    const auto initialize = Export<TNP_Initialize>(module, "NP_Initialize");
    FPluginShutdown = Export<TNP_Shutdown>(module, "NP_Shutdown");
    const auto disable_local_security =
        Export<TFlash_DisableLocalSecurity>(module, "Flash_DisableLocalSecurity");
    if (!get_entry_points)
        return;

    FBrowserFuncs = {};
    FillBrowserFuncs(FBrowserFuncs.Funcs);
    FBrowserFuncs.Enumerate = &NPN_Enumerate;
    FPluginFuncs = {};
    LastNPError = get_entry_points(&FPluginFuncs);
    if (initialize)
        LastNPError = initialize(&FBrowserFuncs.Funcs);
    if (disable_local_security)
        LastNPError = disable_local_security();
}

TAsyncSteam& TNetscapeUnit::AddDownload(std::unique_ptr<TAsyncSteam> Download)
{
    for (auto& slot : FAsyncStreams)
        if (!slot) {
            slot = std::move(Download);
            return *slot;
        }
    FAsyncStreams.push_back(std::move(Download));
    return *FAsyncStreams.back();
}

// NP_Shutdown and the library first, then the downloads (a late callback finds the plug-in's
// table cleared), then the URL library their bindings came from. The stopped unit stays: a driver
// destroyed after this (one a static object owns) finds no plug-in instead of loading it again.
void TNetscapeUnit::Stop()
{
    if (FPluginLibrary) {
        if (FPluginShutdown)
            FPluginShutdown();
        FPluginFuncs = {};
        FPluginLibrary.reset();
    }
    for (auto& download : FAsyncStreams)
        download.reset();
    FAsyncStreams.clear();
    FUrlMon.reset();
    FPluginPath.clear();
}

void TNetscapeUnit::ShutDown()
{
    StartedUnit->Stop();
}

} // namespace zn::netscape
