// The in-process server's exports: the class object, unloading, and registration machine-wide
// (the class, its threading model, what marks it a control, and the type library).
#include "control.h"
#include "control_log.h"
#include "control_module.h"
#include "player_control.h"

#include "common/guarded.h"

#include <olectl.h>

#include <string>

using namespace zn::ax;

namespace {

constexpr const wchar_t* kClassKey =
    L"Software\\Classes\\CLSID\\{D27CDB6E-AE6D-11CF-96B8-444553540000}";

class ClassFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    // The one factory is static: it counts as a lock on the module while held.
    STDMETHODIMP_(ULONG) AddRef() override
    {
        LockModule();
        return 2;
    }
    STDMETHODIMP_(ULONG) Release() override
    {
        UnlockModule();
        return 1;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        return zn::player::GuardedOr<HRESULT>(E_OUTOFMEMORY, [&]() -> HRESULT {
            if (!object)
                return E_POINTER;
            *object = nullptr;
            if (outer)
                return CLASS_E_NOAGGREGATION;
            auto* control = new Control(VersionForNewControls());
            LogCall("IClassFactory.CreateInstance", control->Identity())
                .Number("version", control->Major())
                .Record();
            HRESULT hr = control->QueryInterface(iid, object);
            control->Release();
            return hr;
        });
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        lock ? LockModule() : UnlockModule();
        return S_OK;
    }
};

ClassFactory factory;

LONG SetValue(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Creates the machine-wide key with its default value and one named value, when given.
LONG WriteKey(const std::wstring& path, const wchar_t* value, const wchar_t* name = nullptr,
              const wchar_t* namedValue = nullptr)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    if (value)
        status = SetValue(key, nullptr, value);
    if (status == ERROR_SUCCESS && name)
        status = SetValue(key, name, namedValue);
    RegCloseKey(key);
    return status;
}

} // namespace

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_ZnPlayerControl)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, object);
}

HRESULT WINAPI DllCanUnloadNow()
{
    return ModuleInUse() ? S_FALSE : S_OK;
}

HRESULT WINAPI DllRegisterServer()
{
    // Classes only under the current user are not found by every COM: machine-wide it is.
    const std::wstring base = kClassKey;
    const std::wstring misc = std::to_wstring(kMiscStatus);
    const LONG failed = WriteKey(base, L"Zintara reference player control") |
                        WriteKey(base + L"\\InprocServer32", ModulePath().c_str(),
                                 L"ThreadingModel", L"Apartment") |
                        WriteKey(base + L"\\Control", L"") |
                        WriteKey(base + L"\\MiscStatus", L"0") |
                        WriteKey(base + L"\\MiscStatus\\1", misc.c_str()) |
                        WriteKey(base + L"\\TypeLib", L"{D27CDB6B-AE6D-11CF-96B8-444553540000}") |
                        WriteKey(base + L"\\Version", L"1.0");
    if (failed != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    ITypeLib* library = nullptr;
    const std::wstring path = ModulePath();
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (SUCCEEDED(hr)) {
        hr = RegisterTypeLib(library, const_cast<wchar_t*>(path.c_str()), nullptr);
        library->Release();
    }
    return SUCCEEDED(hr) ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT WINAPI DllUnregisterServer()
{
    UnRegisterTypeLib(LIBID_ZnPlayerControlLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
    LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, kClassKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

} // extern "C"
