// The exports through which tests read the logs and make a control act.
#include "reference_control_api.h"

#include "common/call_log.h"
#include "common/guarded.h"
#include "common/violations.h"
#include "control.h"
#include "control_log.h"
#include "control_module.h"

#include <cstring>

using namespace zn::ax;
using zn::player::GuardedOr;

extern "C" {

std::size_t ZnAxTakeLog(char* buffer, std::size_t capacity)
{
    return GuardedOr<std::size_t>(
        0, [&] { return zn::player::CallLogOfProcess().Take(buffer, capacity); });
}

std::size_t ZnAxTakeViolations(char* buffer, std::size_t capacity)
{
    return GuardedOr<std::size_t>(0, [&] { return zn::player::TakeViolations(buffer, capacity); });
}

std::size_t ZnAxLiveControls()
{
    return LiveControlCount();
}

void ZnAxSetVersion(int major)
{
    VersionForNewControls() = major;
}

HRESULT ZnAxInvalidateRect(void* control, const RECT* rect)
{
    return GuardedOr<HRESULT>(E_FAIL, [&] {
        Control* found = FindLiveControl(control);
        return found ? found->InvalidateForTest(rect) : E_INVALIDARG;
    });
}

HRESULT ZnAxDrawThroughSite(void* control)
{
    return GuardedOr<HRESULT>(E_FAIL, [&] {
        Control* found = FindLiveControl(control);
        return found ? found->DrawThroughSite() : E_INVALIDARG;
    });
}

HRESULT ZnAxFSCommand(void* control, const char* command, const char* args)
{
    return GuardedOr<HRESULT>(E_FAIL, [&] {
        Control* found = FindLiveControl(control);
        if (!found || !command)
            return E_INVALIDARG;
        return found->FireFSCommand(Wide(command), Wide(args ? args : ""));
    });
}

std::int32_t ZnAxFlashCall(void* control, const char* request, char* answer, std::size_t capacity)
{
    return GuardedOr<std::int32_t>(-1, [&]() -> std::int32_t {
        Control* found = FindLiveControl(control);
        if (!found || !request)
            return -1;
        std::wstring value;
        found->FireFlashCall(Wide(request), value);
        std::string text = Utf8(value);
        if (answer && capacity > text.size())
            std::memcpy(answer, text.c_str(), text.size() + 1);
        return static_cast<std::int32_t>(text.size());
    });
}

HRESULT ZnAxRequestUrl(void* control, const char* url)
{
    return GuardedOr<HRESULT>(E_FAIL, [&] {
        Control* found = FindLiveControl(control);
        if (!found || !url)
            return E_INVALIDARG;
        return found->RequestFile(Wide(url));
    });
}

} // extern "C"
