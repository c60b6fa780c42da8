// The sink of the control's events: each reaches the driver's handler of it.
#include "control_host.h"

namespace zn::activex {
namespace {

bool IsControlEvent(DISPID DispID)
{
    for (std::int32_t i = 0; i < FlashControlData.EventCount; ++i)
        if (FlashControlData.EventDispIDs[i] == DispID)
            return true;
    return false;
}

} // namespace

HRESULT TEventDispatch::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != FlashControlData.EventIID)
        return E_NOINTERFACE;
    AddRef();
    *ppvObject = static_cast<IDispatch*>(this);
    return S_OK;
}
ULONG TEventDispatch::AddRef()
{
    return FHost.AddRef();
}
ULONG TEventDispatch::Release()
{
    return FHost.Release();
}
HRESULT TEventDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT TEventDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != nullptr)
        *ppTInfo = nullptr;
    return NotImplemented();
}
HRESULT TEventDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return NotImplemented();
}

// Every event of the control is taken, whether the driver handles it or not.
HRESULT TEventDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams,
                               VARIANT*, EXCEPINFO*, UINT*)
{
    if (!IsControlEvent(dispIdMember))
        return DISP_E_MEMBERNOTFOUND;
    return ExceptionBoundary(S_OK, [&] {
        const TControlCall call(FHost);
        static const DISPPARAMS no_parameters{};
        if (TznFlashDriverActiveX* driver = call.Driver())
            driver->InvokeEvent(dispIdMember, pDispParams ? *pDispParams : no_parameters);
        return S_OK;
    });
}

} // namespace zn::activex
