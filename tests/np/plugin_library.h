// The reference plug-in as a host loads it: npswf32.dll beside the test, its exports resolved by
// their plain names, the entry points obtained and the test browser's table handed over once
// for the whole process, as a browser does.
#pragma once

#include "npapi.h"
#include "support/reference_plugin_exports.h"
#include "test_browser.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zn::test {

struct PluginExports {
    np::NPError(WINAPI* getEntryPoints)(np::NPPluginFuncs*) = nullptr;
    np::NPError(WINAPI* initialize)(np::NPNetscapeFuncs*) = nullptr;
    np::NPError(WINAPI* shutdown)() = nullptr;
    np::NPError(WINAPI* disableLocalSecurity)() = nullptr;
};

class PluginLibrary {
public:
    // Loaded and initialised on first use; stays for the process.
    static PluginLibrary& Get();

    HMODULE module = nullptr;
    PluginExports exports;
    TReferencePluginExports controls;
    np::NPPluginFuncs funcs{};
    np::NPNetscapeFuncs browserTable{};
    TestBrowser browser;

    // The log's lines, taken (and so cleared) from the plug-in.
    std::vector<std::string> TakeLog() const;

private:
    PluginLibrary();
};

} // namespace zn::test
