// Loading the reference plug-in the way a host does.
#include "plugin_library.h"

#include <stdexcept>

namespace zn::np::testing {

namespace {

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

PluginLibrary& PluginLibrary::Get()
{
    static PluginLibrary library;
    return library;
}

PluginLibrary::PluginLibrary()
{
    module = LoadLibraryW(L"npswf32.dll");
    if (!module)
        throw std::runtime_error("npswf32.dll is not beside the test");
    Resolve(module, "NP_GetEntryPoints", exports.getEntryPoints);
    Resolve(module, "NP_Initialize", exports.initialize);
    Resolve(module, "NP_Shutdown", exports.shutdown);
    Resolve(module, "Flash_DisableLocalSecurity", exports.disableLocalSecurity);
    Resolve(module, control::kTakeLog, exports.takeLog);
    Resolve(module, control::kLiveInstances, exports.liveInstances);
    Resolve(module, control::kInvalidateRect, exports.invalidateRect);
    Resolve(module, control::kFSCommand, exports.fsCommand);
    Resolve(module, control::kExternalCall, exports.externalCall);
    Resolve(module, control::kRequestUrl, exports.requestUrl);
    if (!exports.getEntryPoints || !exports.initialize || !exports.takeLog)
        throw std::runtime_error("npswf32.dll lacks its exports");
    exports.getEntryPoints(&funcs);
    browserTable = browser.Table();
    exports.initialize(&browserTable);
    TakeLog();
}

std::vector<std::string> PluginLibrary::TakeLog() const
{
    std::size_t length = exports.takeLog(nullptr, 0);
    std::string text(length + 1, '\0');
    exports.takeLog(text.data(), text.size());
    text.resize(length);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

} // namespace zn::np::testing
