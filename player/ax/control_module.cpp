// Module state: the handle, live controls and locks, and the type libraries in the resources
// (1: the current interface, 2: the older, shorter one).
#include "control_module.h"

#include "control.h"
#include "player_control.h"

#include <algorithm>
#include <vector>

namespace zn::ax {

namespace {

HINSTANCE module = nullptr;
LONG locks = 0;

std::vector<Control*>& LiveControls()
{
    static std::vector<Control*> controls;
    return controls;
}

} // namespace

HINSTANCE ModuleInstance()
{
    return module;
}

std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void ControlCreated(Control& control)
{
    LiveControls().push_back(&control);
}

void ControlDestroyed(Control& control)
{
    auto& live = LiveControls();
    live.erase(std::remove(live.begin(), live.end(), &control), live.end());
}

Control* FindLiveControl(const void* identity)
{
    for (Control* control : LiveControls())
        if (control->Identity() == identity)
            return control;
    return nullptr;
}

std::size_t LiveControlCount()
{
    return LiveControls().size();
}

void LockModule()
{
    InterlockedIncrement(&locks);
}

void UnlockModule()
{
    InterlockedDecrement(&locks);
}

bool ModuleInUse()
{
    return locks != 0 || !LiveControls().empty();
}

int& VersionForNewControls()
{
    static int major = kDefaultMajorVersion;
    return major;
}

HRESULT DualInterfaceInfo(int major, bool Interface, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    static ITypeLib* libraries[2] = {};
    const int which = major < kFirstVersionWithCallFunction ? 1 : 0;
    if (!libraries[which]) {
        std::wstring path = ModulePath() + (which ? L"\\2" : L"\\1");
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &libraries[which]);
        if (FAILED(hr))
            return hr;
    }
    ITypeInfo* dispatch = nullptr;
    HRESULT hr = libraries[which]->GetTypeInfoOfGuid(IID_IznFlashPlayer, &dispatch);
    if (FAILED(hr) || !Interface) {
        *info = dispatch;
        return hr;
    }
    HREFTYPE reference = 0;
    hr = dispatch->GetRefTypeOfImplType(-1, &reference);
    if (SUCCEEDED(hr))
        hr = dispatch->GetRefTypeInfo(reference, info);
    dispatch->Release();
    return hr;
}

} // namespace zn::ax

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        zn::ax::module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
