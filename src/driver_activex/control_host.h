// The control and its container, kept apart from the driver that shows it.
//
// The control calls its container back from inside the container's own calls into it, and the
// owner's paint handler may free the driver from there (inside the site's InvalidateRect). So
// the control's interfaces and the site objects live in a TControlHost that the driver and every
// TControlCall on the stack own together:
// - every call into the control, and every site method that reaches the driver, runs under a
//   TControlCall, which keeps the host alive however the call ends;
// - the driver's destruction detaches the host; the control is closed and released at once, or
//   when the outermost call on the stack returns;
// - site methods ask the host for the driver and answer without it once it is detached.
//
// The container is one object to the control, seen through one small object per COM role, each
// forwarding QueryInterface, AddRef and Release to the host. While the driver lives, reference
// counts are counted only: the host's life is its driver's. Once torn down, the host stays until
// the control has given back the last reference it held: the control may still release the
// site on its way out of a call in which its owner freed the driver.
#pragma once

#include "zintara/zn_driver_activex.h"

#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <urlmon.h>

#include <memory>

namespace zn::activex {

class TControlHost;

// The common part of every role: identity and counting belong to the host.
template <class TInterface>
class TSiteRole : public TInterface {
public:
    explicit TSiteRole(TControlHost& Host) : FHost(Host) {}
    TSiteRole(const TSiteRole&) = delete;
    TSiteRole& operator=(const TSiteRole&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

protected:
    TControlHost& FHost;
};

class TClientSite final : public TSiteRole<IOleClientSite> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker,
                                         IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL fShow) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;
};

class TControlSite final : public TSiteRole<IOleControlSite> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override;
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL fLock) override;
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** ppDisp) override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                              DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pMsg, DWORD grfModifiers) override;
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL fGotFocus) override;
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override;
};

// The site the control activates windowless in. Its GetWindow names the parent window only
// while a right-button press is forwarded.
class TInPlaceSite final : public TSiteRole<IOleInPlaceSiteWindowless> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                               LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE scrollExtant) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL fUndoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL* pfNoRedraw, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL fNoRedraw) override;
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override;
    HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override;
    HRESULT STDMETHODCALLTYPE GetCapture() override;
    HRESULT STDMETHODCALLTYPE SetCapture(BOOL fCapture) override;
    HRESULT STDMETHODCALLTYPE GetFocus() override;
    HRESULT STDMETHODCALLTYPE SetFocus(BOOL fFocus) override;
    HRESULT STDMETHODCALLTYPE GetDC(LPCRECT pRect, DWORD grfFlags, HDC* phDC) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC hDC) override;
    HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT pRect, BOOL fErase) override;
    HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN hRGN, BOOL fErase) override;
    HRESULT STDMETHODCALLTYPE ScrollRect(INT dx, INT dy, LPCRECT pRectScroll,
                                         LPCRECT pRectClip) override;
    HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT prc) override;
    HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                                 LRESULT* plResult) override;

    // The in-place interfaces the control hands out, taken when it activates.
    void TakeInPlaceInterfaces(bool WithWindow);
};

// The same site reached as plain IOleInPlaceSite: it reports no window, ever.
class TPlainInPlaceSite final : public TSiteRole<IOleInPlaceSite> {
public:
    TPlainInPlaceSite(TControlHost& Host, TInPlaceSite& Site) : TSiteRole(Host), FSite(Site) {}
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                               LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE scrollExtant) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL fUndoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) override;

private:
    TInPlaceSite& FSite;
};

// The in-place frame, also the container's in-place UI window and plain IOleWindow: no window,
// no menus, no tool space.
class TInPlaceFrame final : public TSiteRole<IOleInPlaceFrame> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT lprectBorder) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS pborderwidths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* pActiveObject,
                                              LPCOLESTR pszObjName) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU hmenuShared,
                                          LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU hmenuShared, HOLEMENU holemenu,
                                      HWND hwndActiveObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU hmenuShared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR pszStatusText) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg, WORD wID) override;
};

// The ambient properties the control reads.
class TAmbientDispatch final : public TSiteRole<IDispatch> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
};

// Services are the container's own interfaces; also the container's IUnknown.
class TServiceProvider final : public TSiteRole<IServiceProvider> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID guidService, REFIID riid,
                                           void** ppvObject) override;
};

// The bind host the control finds through QueryService: it resolves every name the control
// fetches and hands out the container's moniker for it.
class TBindHost final : public TSiteRole<IBindHost> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE CreateMoniker(LPOLESTR szName, IBindCtx* pBC, IMoniker** ppmk,
                                            DWORD dwReserved) override;
    HRESULT STDMETHODCALLTYPE MonikerBindToStorage(IMoniker* pMk, IBindCtx* pBC,
                                                   IBindStatusCallback* pBSC, REFIID riid,
                                                   void** ppvObj) override;
    HRESULT STDMETHODCALLTYPE MonikerBindToObject(IMoniker* pMk, IBindCtx* pBC,
                                                  IBindStatusCallback* pBSC, REFIID riid,
                                                  void** ppvObj) override;
};

// The moniker of the name resolved last: binding it for storage delivers that name's bytes to
// the bind status callback in the caller's bind context. It is nothing else a moniker can be.
class TUrlMoniker final : public TSiteRole<IMoniker> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream* pStm) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* pStm, BOOL fClearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* pcbSize) override;
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riidResult,
                                           void** ppvResult) override;
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid,
                                            void** ppvObj) override;
    HRESULT STDMETHODCALLTYPE Reduce(IBindCtx* pbc, DWORD dwReduceHowFar, IMoniker** ppmkToLeft,
                                     IMoniker** ppmkReduced) override;
    HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker* pmkRight, BOOL fOnlyIfNotGeneric,
                                          IMoniker** ppmkComposite) override;
    HRESULT STDMETHODCALLTYPE Enum(BOOL fForward, IEnumMoniker** ppenumMoniker) override;
    HRESULT STDMETHODCALLTYPE IsEqual(IMoniker* pmkOtherMoniker) override;
    HRESULT STDMETHODCALLTYPE Hash(DWORD* pdwHash) override;
    HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx* pbc, IMoniker* pmkToLeft,
                                        IMoniker* pmkNewlyRunning) override;
    HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx* pbc, IMoniker* pmkToLeft,
                                                  FILETIME* pFileTime) override;
    HRESULT STDMETHODCALLTYPE Inverse(IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker* pmkOther, IMoniker** ppmkPrefix) override;
    HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker* pmkOther, IMoniker** ppmkRelPath) override;
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft,
                                             LPOLESTR* ppszDisplayName) override;
    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft,
                                               LPOLESTR pszDisplayName, ULONG* pchEaten,
                                               IMoniker** ppmkOut) override;
    HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD* pdwMksys) override;
};

class TPropertyNotifySink final : public TSiteRole<IPropertyNotifySink> {
public:
    using TSiteRole::TSiteRole;
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispID) override;
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID dispID) override;
};

// The sink of the control's events: an identity of its own (IDispatch, IUnknown and the event
// dispinterface), counted by the host.
class TEventDispatch final : public IDispatch {
public:
    explicit TEventDispatch(TControlHost& Host) : FHost(Host) {}
    TEventDispatch(const TEventDispatch&) = delete;
    TEventDispatch& operator=(const TEventDispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                     EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

private:
    TControlHost& FHost;
};

class TControlHost : public std::enable_shared_from_this<TControlHost> {
public:
    explicit TControlHost(TznFlashDriverActiveX& Driver);
    ~TControlHost();
    TControlHost(const TControlHost&) = delete;
    TControlHost& operator=(const TControlHost&) = delete;

    // The driver the control shows in; null once it was detached.
    TznFlashDriverActiveX* Driver() const { return FDriver; }

    // The container's identity: the interfaces it answers, exactly.
    HRESULT QueryInterface(REFIID riid, void** ppvObject);
    ULONG AddRef() { return static_cast<ULONG>(++FRefCount); }
    ULONG Release();

    // Creates the control as IOleObject; false when it cannot be created.
    bool CreateInstance();
    // Asks for the control's status, sets it up, puts it in transparent mode and activates it
    // in place over Width x Height.
    void Activate(int Width, int Height);
    // Loads the control's initial state, takes its interfaces and connects the sinks; does
    // something only while the control is not yet created. Raises what a checked call raised,
    // after undoing the connections.
    void CreateControl();
    // Cuts the host from its driver; the control is closed and released now, or when the
    // outermost call on the stack returns.
    void Detach();

    IOleClientSite* ClientSite() { return &FClientSite; }

    // The control's interfaces; the in-place ones only while it is in place.
    TComPtr<IOleObject> FOleObject;
    TComPtr<IPersistStreamInit> FPersistStream;
    TComPtr<IDispatch> FControlDispatch;
    TComPtr<IPerPropertyBrowsing> FPropBrowsing;
    TComPtr<IOleControl> FOleControl;
    TComPtr<IViewObject> FViewObject;
    TComPtr<IOleInPlaceObjectWindowless> FOleInPlaceObjectWindowless;
    TComPtr<IOleWindow> FOleWindow;
    TComPtr<IOleInPlaceObject> FOleInPlaceObject;
    TComPtr<IOleInPlaceActiveObject> FOleInPlaceActiveObject;
    TComPtr<IznFlashPlayer> FIntf;
    DWORD FMiscStatus = 0;
    DWORD FPropConnection = 0;
    DWORD FEventsConnection = 0;
    long FRefCount = 0;

private:
    friend class TControlCall;
    // Closes the control, disconnects the sinks and releases every interface.
    void DestroyControl();
    void Teardown();
    void SetWideStringProperty(DISPID DispID, const wchar_t* Value);
    void EnsureClientSite();

    TznFlashDriverActiveX* FDriver;
    int FDepth = 0;
    bool FTornDown = false;
    // Held after the teardown while the control still holds references to the site.
    std::shared_ptr<TControlHost> FKeptForReferences;
    TClientSite FClientSite{*this};
    TControlSite FControlSite{*this};
    TInPlaceSite FInPlaceSite{*this};
    TPlainInPlaceSite FPlainInPlaceSite{*this, FInPlaceSite};
    TInPlaceFrame FFrame{*this};
    TAmbientDispatch FAmbient{*this};
    TServiceProvider FServiceProvider{*this};
    TBindHost FBindHost{*this};
    TUrlMoniker FMoniker{*this};
    TPropertyNotifySink FPropertyNotifySink{*this};
    TEventDispatch FEventDispatch{*this};
};

// A call into the control, or from it into the site, on the stack: the host stays alive, and
// its teardown waits for the outermost call. Driver() says whether the caller may go on.
class TControlCall {
public:
    explicit TControlCall(TControlHost& Host);
    ~TControlCall();
    TControlCall(const TControlCall&) = delete;
    TControlCall& operator=(const TControlCall&) = delete;

    TznFlashDriverActiveX* Driver() const { return FHost->Driver(); }
    TControlHost& Host() const { return *FHost; }

private:
    std::shared_ptr<TControlHost> FHost;
};

template <class TInterface>
HRESULT TSiteRole<TInterface>::QueryInterface(REFIID riid, void** ppvObject)
{
    return FHost.QueryInterface(riid, ppvObject);
}
template <class TInterface>
ULONG TSiteRole<TInterface>::AddRef()
{
    return FHost.AddRef();
}
template <class TInterface>
ULONG TSiteRole<TInterface>::Release()
{
    return FHost.Release();
}

} // namespace zn::activex
