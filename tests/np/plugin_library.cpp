// Loading the reference plug-in the way a host does.
#include "plugin_library.h"

#include <stdexcept>

using namespace zn::np;

namespace zn::test {

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
    controls = ReferencePluginExports(module);
    if (!exports.getEntryPoints || !exports.initialize || !controls.TakeLog)
        throw std::runtime_error("npswf32.dll lacks its exports");
    exports.getEntryPoints(&funcs);
    browserTable = browser.Table();
    exports.initialize(&browserTable);
    TakeLog();
}

std::vector<std::string> PluginLibrary::TakeLog() const
{
    return TakeLines(controls.TakeLog);
}

} // namespace zn::test
