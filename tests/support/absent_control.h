// Makes the reference control unavailable to this process for the helper's life, as on a machine
// where it is not installed, without touching the registry that other suites share: a class
// object registered for the control's class that refuses to create anything. COM asks the
// process's registered class objects before the registry.
#pragma once

#include <objbase.h>

namespace zn::test {

class TAbsentControl final : public IClassFactory {
public:
    explicit TAbsentControl(const CLSID& ClassId)
    {
        FResult = CoRegisterClassObject(ClassId, this, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                        REGCLS_MULTIPLEUSE, &FCookie);
    }
    ~TAbsentControl()
    {
        if (SUCCEEDED(FResult))
            CoRevokeClassObject(FCookie);
    }
    TAbsentControl(const TAbsentControl&) = delete;
    TAbsentControl& operator=(const TAbsentControl&) = delete;

    // S_OK when the class object took the control's place.
    HRESULT Result() const { return FResult; }

    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override
    {
        if (!Object)
            return E_POINTER;
        *Object = nullptr;
        if (Iid != IID_IUnknown && Iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *Object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // The helper's life belongs to its test.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** Object) override
    {
        if (Object)
            *Object = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    DWORD FCookie = 0;
    HRESULT FResult = E_FAIL;
};

} // namespace zn::test
