// The sink of the control's events: FSCommand and ExternalInterface calls reach the driver's
// owner through the driver's callbacks.
#include "control_host.h"

#include <string>

namespace zn::activex {
namespace {

constexpr DISPID FSCommandDispID = 150;
constexpr DISPID FlashCallDispID = 197;

// Argument Index counted from the first, as text; arguments come last first in rgvarg.
std::wstring TextArgument(const DISPPARAMS* Parameters, UINT Index)
{
    if (Parameters == nullptr || Index >= Parameters->cArgs)
        return {};
    VARIANT text;
    VariantInit(&text);
    std::wstring result;
    if (SUCCEEDED(VariantChangeType(&text, &Parameters->rgvarg[Parameters->cArgs - 1 - Index], 0,
                                    VT_BSTR)) &&
        text.bstrVal != nullptr)
        result.assign(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
}

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

// The ready-state and progress events have no handler in the driver; they are taken and
// dropped.
HRESULT TEventDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams,
                               VARIANT*, EXCEPINFO*, UINT*)
{
    if (!IsControlEvent(dispIdMember))
        return DISP_E_MEMBERNOTFOUND;
    return ExceptionBoundary(S_OK, [&] {
        const TControlCall call(FHost);
        TznFlashDriverActiveX* driver = call.Driver();
        if (driver == nullptr)
            return S_OK;
        if (dispIdMember == FSCommandDispID)
            driver->DoFSCommand(TextArgument(pDispParams, 0), TextArgument(pDispParams, 1));
        else if (dispIdMember == FlashCallDispID)
            driver->DoFlashCall(TextArgument(pDispParams, 0));
        return S_OK;
    });
}

} // namespace zn::activex
