// The reference control's test controls as a container's tests reach them: the exports of
// reference_control_api.h resolved by name from the loaded control DLL, and its logs taken as
// lines (support/taken_lines.h). Header-only on raw Win32, like the plug-in's.
#pragma once

#include "reference_control_api.h"
#include "support/taken_lines.h"

#include <windows.h>

#include <type_traits>

namespace zn::test {

struct TReferenceControlExports {
    ZnAxTakeLogFunction TakeLog = nullptr;
    ZnAxTakeViolationsFunction TakeViolations = nullptr;
    ZnAxLiveControlsFunction LiveControls = nullptr;
    ZnAxSetVersionFunction SetVersion = nullptr;
    ZnAxInvalidateRectFunction InvalidateRect = nullptr;
    ZnAxDrawThroughSiteFunction DrawThroughSite = nullptr;
    ZnAxFSCommandFunction FSCommand = nullptr;
    ZnAxFlashCallFunction FlashCall = nullptr;
    ZnAxRequestUrlFunction RequestUrl = nullptr;
};

// The exports of the control's DLL once a control was created in this process (COM loaded it);
// all null before, each export it lacks null.
inline TReferenceControlExports ReferenceControlExports()
{
    TReferenceControlExports exports;
    HMODULE module = GetModuleHandleW(zn::ax::control::kDllName);
    if (!module)
        return exports;
    const auto resolve = [module](const char* Name, auto& Function) {
        Function = reinterpret_cast<std::remove_reference_t<decltype(Function)>>(
            reinterpret_cast<void*>(GetProcAddress(module, Name)));
    };
    namespace names = zn::ax::control;
    resolve(names::kTakeLog, exports.TakeLog);
    resolve(names::kTakeViolations, exports.TakeViolations);
    resolve(names::kLiveControls, exports.LiveControls);
    resolve(names::kSetVersion, exports.SetVersion);
    resolve(names::kInvalidateRect, exports.InvalidateRect);
    resolve(names::kDrawThroughSite, exports.DrawThroughSite);
    resolve(names::kFSCommand, exports.FSCommand);
    resolve(names::kFlashCall, exports.FlashCall);
    resolve(names::kRequestUrl, exports.RequestUrl);
    return exports;
}

} // namespace zn::test
