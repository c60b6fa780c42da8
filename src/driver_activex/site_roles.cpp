// The container's side of the control's calls: client site, control site, windowless in-place
// site, frame, ambient properties, services and property notifications. No method raises; each
// answers with its HRESULT.
#include "control_host.h"

#include "zintara/framework/controls.h"

#include <olectl.h>

#include <cmath>

namespace zn::activex {
namespace {

// The control never clips against a container window.
constexpr RECT UnlimitedClip{0, 0, 32767, 32767};
constexpr long HimetricPerInch = 2540;

template <class T>
void Clear(T** Out)
{
    if (Out != nullptr)
        *Out = nullptr;
}

RECT BufferRect(const TznFlashDriverActiveX* Driver)
{
    return Driver ? RECT{0, 0, Driver->Width(), Driver->Height()} : RECT{};
}

} // namespace

// IOleClientSite

HRESULT TClientSite::SaveObject()
{
    return S_OK;
}
HRESULT TClientSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    Clear(ppmk);
    return NotImplemented();
}
HRESULT TClientSite::GetContainer(IOleContainer** ppContainer)
{
    Clear(ppContainer);
    return E_NOINTERFACE;
}
HRESULT TClientSite::ShowObject()
{
    return S_OK;
}
HRESULT TClientSite::OnShowWindow(BOOL)
{
    return S_OK;
}
HRESULT TClientSite::RequestNewObjectLayout()
{
    return S_OK;
}

// IOleControlSite

HRESULT TControlSite::OnControlInfoChanged()
{
    return NotImplemented();
}
HRESULT TControlSite::LockInPlaceActive(BOOL)
{
    return NotImplemented();
}
HRESULT TControlSite::GetExtendedControl(IDispatch** ppDisp)
{
    Clear(ppDisp);
    return NotImplemented();
}

// HIMETRIC units against the screen's logical pixels; from container units the result is
// rounded to the nearest integer, ties to even.
HRESULT TControlSite::TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags)
{
    if (pPtlHimetric == nullptr || pPtfContainer == nullptr)
        return E_POINTER;
    const TWindowDC screen = WindowDC(nullptr);
    const int pixels_x = GetDeviceCaps(screen.get().Value, LOGPIXELSX);
    const int pixels_y = GetDeviceCaps(screen.get().Value, LOGPIXELSY);
    if (pixels_x <= 0 || pixels_y <= 0)
        return E_FAIL;
    if (dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        pPtfContainer->x = static_cast<float>(MulDiv(pPtlHimetric->x, pixels_x, HimetricPerInch));
        pPtfContainer->y = static_cast<float>(MulDiv(pPtlHimetric->y, pixels_y, HimetricPerInch));
    } else {
        pPtlHimetric->x = static_cast<long>(
            std::nearbyint(static_cast<double>(pPtfContainer->x) * HimetricPerInch / pixels_x));
        pPtlHimetric->y = static_cast<long>(
            std::nearbyint(static_cast<double>(pPtfContainer->y) * HimetricPerInch / pixels_y));
    }
    return S_OK;
}
HRESULT TControlSite::TranslateAccelerator(MSG*, DWORD)
{
    return NotImplemented();
}
HRESULT TControlSite::OnFocus(BOOL)
{
    return S_OK;
}
HRESULT TControlSite::ShowPropertyFrame()
{
    return NotImplemented();
}

// IOleInPlaceSiteWindowless

HRESULT TInPlaceSite::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = nullptr;
    TznFlashDriverActiveX* driver = FHost.Driver();
    if (driver != nullptr && std::exchange(driver->FNeedHandle, false))
        *phwnd = driver->GetParentHandle();
    return *phwnd != nullptr ? S_OK : E_FAIL;
}
HRESULT TInPlaceSite::ContextSensitiveHelp(BOOL)
{
    return S_OK;
}
HRESULT TInPlaceSite::CanInPlaceActivate()
{
    return S_OK;
}

void TInPlaceSite::TakeInPlaceInterfaces(bool WithWindow)
{
    const TComPtr<IOleObject> object = FHost.FOleObject;
    object.query(IID_IOleInPlaceObject, FHost.FOleInPlaceObject);
    object.query(IID_IOleInPlaceActiveObject, FHost.FOleInPlaceActiveObject);
    object.query(IID_IOleInPlaceObjectWindowless, FHost.FOleInPlaceObjectWindowless);
    object.query(IID_IViewObject, FHost.FViewObject);
    if (WithWindow)
        object.query(IID_IOleWindow, FHost.FOleWindow);
}
HRESULT TInPlaceSite::OnInPlaceActivate()
{
    TakeInPlaceInterfaces(false);
    return S_OK;
}
HRESULT TInPlaceSite::OnUIActivate()
{
    return S_OK;
}
HRESULT TInPlaceSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                       LPRECT lprcPosRect, LPRECT lprcClipRect,
                                       LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    Clear(ppFrame);
    Clear(ppDoc);
    if (ppFrame != nullptr)
        FHost.QueryInterface(IID_IOleInPlaceFrame, reinterpret_cast<void**>(ppFrame));
    if (lprcPosRect != nullptr)
        *lprcPosRect = BufferRect(FHost.Driver());
    if (lprcClipRect != nullptr)
        *lprcClipRect = UnlimitedClip;
    if (lpFrameInfo != nullptr) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = nullptr;
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}
HRESULT TInPlaceSite::Scroll(SIZE)
{
    return NotImplemented();
}
HRESULT TInPlaceSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}
HRESULT TInPlaceSite::OnInPlaceDeactivate()
{
    FHost.FOleInPlaceActiveObject.reset();
    FHost.FOleInPlaceObject.reset();
    FHost.FOleInPlaceObjectWindowless.reset();
    FHost.FViewObject.reset();
    FHost.FOleWindow.reset();
    return S_OK;
}
HRESULT TInPlaceSite::DiscardUndoState()
{
    return NotImplemented();
}
HRESULT TInPlaceSite::DeactivateAndUndo()
{
    const TControlCall call(FHost);
    if (const TComPtr<IOleInPlaceObject> object = FHost.FOleInPlaceObject)
        object->UIDeactivate();
    return S_OK;
}
HRESULT TInPlaceSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    const TControlCall call(FHost);
    if (const TComPtr<IOleInPlaceObject> object = FHost.FOleInPlaceObject;
        object && lprcPosRect != nullptr)
        object->SetObjectRects(lprcPosRect, &UnlimitedClip);
    return S_OK;
}
HRESULT TInPlaceSite::OnInPlaceActivateEx(BOOL*, DWORD)
{
    TakeInPlaceInterfaces(true);
    return S_OK;
}
HRESULT TInPlaceSite::OnInPlaceDeactivateEx(BOOL)
{
    return S_OK;
}
HRESULT TInPlaceSite::RequestUIActivate()
{
    return S_OK;
}
HRESULT TInPlaceSite::CanWindowlessActivate()
{
    return S_OK;
}
HRESULT TInPlaceSite::GetCapture()
{
    return S_FALSE;
}
HRESULT TInPlaceSite::SetCapture(BOOL)
{
    return S_OK;
}
HRESULT TInPlaceSite::GetFocus()
{
    return S_OK;
}
HRESULT TInPlaceSite::SetFocus(BOOL)
{
    return S_OK;
}
// The control draws into the buffer itself; the driver keeps owning the context.
HRESULT TInPlaceSite::GetDC(LPCRECT, DWORD, HDC* phDC)
{
    if (phDC == nullptr)
        return E_POINTER;
    const TznFlashDriverActiveX* driver = FHost.Driver();
    *phDC = driver ? driver->BufferDC() : nullptr;
    return *phDC != nullptr ? S_OK : E_FAIL;
}
HRESULT TInPlaceSite::ReleaseDC(HDC)
{
    return S_OK;
}

// Every invalidation is painted at once, before the call returns. The control's rectangle is
// read, not written: its right and bottom are limited to the buffer on a copy.
HRESULT TInPlaceSite::InvalidateRect(LPCRECT pRect, BOOL)
{
    return ExceptionBoundary(S_OK, [&] {
        const TControlCall call(FHost);
        TznFlashDriverActiveX* driver = call.Driver();
        if (driver == nullptr)
            return S_OK;
        TRect rect{0, 0, driver->Width(), driver->Height()};
        if (pRect != nullptr)
            rect = {pRect->left, pRect->top, std::min<int>(pRect->right, driver->Width()),
                    std::min<int>(pRect->bottom, driver->Height())};
        driver->Repaint(rect);
        return S_OK;
    });
}
HRESULT TInPlaceSite::InvalidateRgn(HRGN, BOOL)
{
    return S_OK;
}
HRESULT TInPlaceSite::ScrollRect(INT, INT, LPCRECT, LPCRECT)
{
    return S_OK;
}
HRESULT TInPlaceSite::AdjustRect(LPRECT)
{
    return S_OK;
}
HRESULT TInPlaceSite::OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*)
{
    return S_OK;
}

// IOleInPlaceSite: the same site, but without a window to report.

HRESULT TPlainInPlaceSite::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = nullptr;
    return S_OK;
}
HRESULT TPlainInPlaceSite::ContextSensitiveHelp(BOOL fEnterMode)
{
    return FSite.ContextSensitiveHelp(fEnterMode);
}
HRESULT TPlainInPlaceSite::CanInPlaceActivate()
{
    return FSite.CanInPlaceActivate();
}
HRESULT TPlainInPlaceSite::OnInPlaceActivate()
{
    return FSite.OnInPlaceActivate();
}
HRESULT TPlainInPlaceSite::OnUIActivate()
{
    return FSite.OnUIActivate();
}
HRESULT TPlainInPlaceSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                            LPRECT lprcPosRect, LPRECT lprcClipRect,
                                            LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    return FSite.GetWindowContext(ppFrame, ppDoc, lprcPosRect, lprcClipRect, lpFrameInfo);
}
HRESULT TPlainInPlaceSite::Scroll(SIZE scrollExtant)
{
    return FSite.Scroll(scrollExtant);
}
HRESULT TPlainInPlaceSite::OnUIDeactivate(BOOL fUndoable)
{
    return FSite.OnUIDeactivate(fUndoable);
}
HRESULT TPlainInPlaceSite::OnInPlaceDeactivate()
{
    return FSite.OnInPlaceDeactivate();
}
HRESULT TPlainInPlaceSite::DiscardUndoState()
{
    return FSite.DiscardUndoState();
}
HRESULT TPlainInPlaceSite::DeactivateAndUndo()
{
    return FSite.DeactivateAndUndo();
}
HRESULT TPlainInPlaceSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    return FSite.OnPosRectChange(lprcPosRect);
}

// IOleInPlaceFrame

HRESULT TInPlaceFrame::GetWindow(HWND* phwnd)
{
    if (phwnd == nullptr)
        return E_POINTER;
    *phwnd = nullptr;
    return S_OK;
}
HRESULT TInPlaceFrame::ContextSensitiveHelp(BOOL)
{
    return S_OK;
}
HRESULT TInPlaceFrame::GetBorder(LPRECT)
{
    return INPLACE_E_NOTOOLSPACE;
}
HRESULT TInPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}
HRESULT TInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS)
{
    return NotImplemented();
}
HRESULT TInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR)
{
    FHost.FOleInPlaceActiveObject = TComPtr<IOleInPlaceActiveObject>(pActiveObject);
    return S_OK;
}
HRESULT TInPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return S_OK;
}
HRESULT TInPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}
HRESULT TInPlaceFrame::RemoveMenus(HMENU)
{
    return S_OK;
}
HRESULT TInPlaceFrame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}
HRESULT TInPlaceFrame::EnableModeless(BOOL)
{
    return S_OK;
}
HRESULT TInPlaceFrame::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

// Ambient properties

HRESULT TAmbientDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT TAmbientDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    Clear(ppTInfo);
    return NotImplemented();
}
HRESULT TAmbientDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return NotImplemented();
}
HRESULT TAmbientDispatch::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                 VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    if (!(wFlags & DISPATCH_PROPERTYGET) || pVarResult == nullptr)
        return DISP_E_MEMBERNOTFOUND;
    const auto boolean = [&](bool Value) {
        VariantInit(pVarResult);
        pVarResult->vt = VT_BOOL;
        pVarResult->boolVal = Value ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    };
    const TznFlashDriverActiveX* driver = FHost.Driver();
    switch (dispIdMember) {
    case DISPID_AMBIENT_DISPLAYNAME:
        VariantInit(pVarResult);
        pVarResult->vt = VT_BSTR;
        pVarResult->bstrVal = SysAllocString(driver ? driver->Name().c_str() : L"");
        return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        VariantInit(pVarResult);
        pVarResult->vt = VT_I4;
        pVarResult->lVal = static_cast<LONG>(GetUserDefaultLCID());
        return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP: return boolean(true);
    case DISPID_AMBIENT_UIDEAD:
        return boolean(driver != nullptr && driver->ComponentState().Contains(csDesigning));
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING: return boolean(false);
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

// Services: the container's own interfaces, whatever the service.

HRESULT TServiceProvider::QueryService(REFGUID, REFIID riid, void** ppvObject)
{
    return FHost.QueryInterface(riid, ppvObject);
}

// Property notifications

HRESULT TPropertyNotifySink::OnChanged(DISPID)
{
    return S_OK;
}
HRESULT TPropertyNotifySink::OnRequestEdit(DISPID)
{
    return S_OK;
}

} // namespace zn::activex
