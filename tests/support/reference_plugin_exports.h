// The reference plug-in's test controls as a host's tests reach them: the exports of
// reference_plugin_control.h resolved by name from the loaded npswf32.dll, and its logs taken as
// lines. Header-only on raw Win32: the reference player's own suites use it, and they must not
// depend on the library's framework.
#pragma once

#include "reference_plugin_control.h"

#include <windows.h>

#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

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

// Takes (and so clears) a log through Take, TakeLog or TakeViolations, one entry per line.
inline std::vector<std::string> TakeLines(ZnNpTakeLogFunction Take)
{
    std::string text;
    // Take copies nothing into a buffer the log outgrew since its size was asked: ask again.
    for (std::size_t length = Take(nullptr, 0);;) {
        text.assign(length + 1, '\0');
        const std::size_t taken = Take(text.data(), text.size());
        if (taken <= length) {
            text.resize(taken);
            break;
        }
        length = taken;
    }
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

} // namespace zn::test
