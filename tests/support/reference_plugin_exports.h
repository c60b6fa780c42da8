// The reference plug-in's test controls as a host's tests reach them: the exports of
// reference_plugin_control.h resolved by name from the loaded npswf32.dll, and its logs taken as
// lines. Header-only on raw Win32: the reference player's own suites use it, and they must not
// depend on the library's framework.
#pragma once

#include "reference_plugin_control.h"
#include "support/taken_lines.h"

#include <windows.h>

#include <type_traits>

namespace zn::test {

struct TReferencePluginExports {
    ZnNpTakeLogFunction TakeLog = nullptr;
    ZnNpLiveInstancesFunction LiveInstances = nullptr;
    ZnNpInvalidateRectFunction InvalidateRect = nullptr;
    ZnNpFSCommandFunction FSCommand = nullptr;
    ZnNpExternalCallFunction ExternalCall = nullptr;
    ZnNpRequestUrlFunction RequestUrl = nullptr;
    ZnNpTakeViolationsFunction TakeViolations = nullptr;
    ZnNpSetHostileFunction SetHostile = nullptr;
};

// The controls Module exports; all null when Module is null, each export it lacks null.
inline TReferencePluginExports ReferencePluginExports(HMODULE Module)
{
    TReferencePluginExports exports;
    if (!Module)
        return exports;
    const auto resolve = [Module](const char* Name, auto& Function) {
        Function = reinterpret_cast<std::remove_reference_t<decltype(Function)>>(
            reinterpret_cast<void*>(GetProcAddress(Module, Name)));
    };
    resolve(zn::np::control::kTakeLog, exports.TakeLog);
    resolve(zn::np::control::kLiveInstances, exports.LiveInstances);
    resolve(zn::np::control::kInvalidateRect, exports.InvalidateRect);
    resolve(zn::np::control::kFSCommand, exports.FSCommand);
    resolve(zn::np::control::kExternalCall, exports.ExternalCall);
    resolve(zn::np::control::kRequestUrl, exports.RequestUrl);
    resolve(zn::np::control::kTakeViolations, exports.TakeViolations);
    resolve(zn::np::control::kSetHostile, exports.SetHostile);
    return exports;
}

} // namespace zn::test
