// The DLL's NP_ exports (WINAPI, exported under their plain names by npswf32.def).
//
// Call order, as browsers on Windows make it: NP_GetEntryPoints, then NP_Initialize, then
// instances, then NP_Shutdown before the library is unloaded (the frame timers point into it).
#include "browser.h"
#include "c_boundary.h"
#include "log_text.h"
#include "instance.h"
#include "npapi.h"
#include "plugin_entries.h"
#include "plugin_module.h"

#include <windows.h>

using namespace zn::np;

extern "C" {

NPError WINAPI NP_GetEntryPoints(NPPluginFuncs* funcs)
{
    return Guarded([&] {
        CallLogOfProcess().Record(LogLine("NP_GetEntryPoints")
                                      .Address("funcs", funcs)
                                      .Number("size", funcs ? funcs->size : 0));
        // A size of 0 leaves the table for the plug-in to size (the Flash host does so); any
        // other value is the room the browser made.
        if (!funcs || (funcs->size != 0 && funcs->size < sizeof(NPPluginFuncs)))
            return NPERR_INVALID_FUNCTABLE_ERROR;
        FillPluginFuncs(*funcs);
        return NPERR_NO_ERROR;
    });
}

NPError WINAPI NP_Initialize(NPNetscapeFuncs* funcs)
{
    return Guarded([&] {
        CallLogOfProcess().Record(LogLine("NP_Initialize")
                                      .Address("funcs", funcs)
                                      .Number("size", funcs ? funcs->size : 0)
                                      .Number("version", funcs ? funcs->version : 0));
        return TheBrowser().Initialize(funcs);
    });
}

NPError WINAPI NP_Shutdown()
{
    return Guarded([] {
        CallLogOfProcess().Record(LogLine("NP_Shutdown"));
        DestroyAllInstances();
        TheBrowser().Shutdown();
        return NPERR_NO_ERROR;
    });
}

NPError WINAPI Flash_DisableLocalSecurity()
{
    return Guarded([] {
        CallLogOfProcess().Record(LogLine("Flash_DisableLocalSecurity"));
        LiftLocalRestriction();
        return NPERR_NO_ERROR;
    });
}

} // extern "C"
