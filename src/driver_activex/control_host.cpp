// The control's creation, activation and teardown, the container's identity, and the calls on
// the stack that hold the host.
#include "control_host.h"

#include <olectl.h>

#include <utility>

namespace zn::activex {
namespace {

constexpr DWORD ControlContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
constexpr DISPID WindowModeDispID = 133;

// Connects Sink to the control's connection point for Iid; 0 when the control has none.
DWORD Connect(IUnknown* Control, REFIID Iid, IUnknown* Sink)
{
    TComPtr<IConnectionPointContainer> container;
    TComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
    if (SUCCEEDED(TComPtr<IUnknown>(Control).query(IID_IConnectionPointContainer, container)) &&
        SUCCEEDED(container->FindConnectionPoint(Iid, point.put())) &&
        FAILED(point->Advise(Sink, &cookie)))
        cookie = 0;
    return cookie;
}

void Disconnect(IUnknown* Control, REFIID Iid, DWORD& Cookie)
{
    const DWORD cookie = std::exchange(Cookie, 0);
    if (cookie == 0 || Control == nullptr)
        return;
    TComPtr<IConnectionPointContainer> container;
    TComPtr<IConnectionPoint> point;
    if (SUCCEEDED(TComPtr<IUnknown>(Control).query(IID_IConnectionPointContainer, container)) &&
        SUCCEEDED(container->FindConnectionPoint(Iid, point.put())))
        point->Unadvise(cookie);
}

} // namespace

TControlHost::TControlHost(TznFlashDriverActiveX& Driver) : FDriver(&Driver) {}

// A host that is still attached when it goes (its driver's constructor failed after the host was
// made) has had its teardown already; this only releases what the fields still hold.
TControlHost::~TControlHost() = default;

HRESULT TControlHost::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    IUnknown* found = nullptr;
    if (riid == IID_IUnknown || riid == IID_IServiceProvider)
        found = &FServiceProvider;
    else if (riid == IID_IBindHost)
        found = &FBindHost;
    else if (riid == IID_IMoniker)
        found = &FMoniker;
    else if (riid == IID_IPropertyNotifySink)
        found = &FPropertyNotifySink;
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame ||
             riid == IID_IOleWindow)
        found = &FFrame;
    else if (riid == IID_IDispatch)
        found = &FAmbient;
    else if (riid == IID_IOleInPlaceSiteWindowless)
        found = &FInPlaceSite;
    else if (riid == IID_IOleInPlaceSite)
        found = &FPlainInPlaceSite;
    else if (riid == IID_IOleControlSite)
        found = &FControlSite;
    else if (riid == IID_IOleClientSite)
        found = &FClientSite;
    if (found == nullptr)
        return E_NOINTERFACE;
    AddRef();
    *ppvObject = found;
    return S_OK;
}

ULONG TControlHost::Release()
{
    const long count = --FRefCount;
    // The last statement: it may free the host.
    if (count == 0 && FTornDown)
        FKeptForReferences.reset();
    return static_cast<ULONG>(count);
}

bool TControlHost::CreateInstance()
{
    FOleObject.reset();
    const TControlCall call(*this);
    const HRESULT result = CoCreateInstance(FlashControlData.ClassID, nullptr, ControlContext,
                                            IID_IOleObject, FOleObject.put_void());
    return SUCCEEDED(result) && FOleObject;
}

void TControlHost::EnsureClientSite()
{
    TComPtr<IOleClientSite> site;
    if (FAILED(FOleObject->GetClientSite(site.put())) || !site)
        OleCheck(FOleObject->SetClientSite(&FClientSite));
}

void TControlHost::Activate(int Width, int Height)
{
    const TControlCall call(*this);
    OleCheck(FOleObject->GetMiscStatus(DVASPECT_CONTENT, &FMiscStatus));
    if (FMiscStatus & OLEMISC_SETCLIENTSITEFIRST)
        OleCheck(FOleObject->SetClientSite(&FClientSite));
    OleCheck(FOleObject.query(IID_IPersistStreamInit, FPersistStream));
    SetWideStringProperty(WindowModeDispID, L"Transparent");
    CreateControl();
    if (!call.Driver())
        return;
    RECT bounds{0, 0, Width, Height};
    if (!(FMiscStatus & OLEMISC_INVISIBLEATRUNTIME))
        FOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &FClientSite, 0, nullptr, &bounds);
    if (!call.Driver() || !FOleObject)
        return;
    if (const TComPtr<IOleInPlaceObjectWindowless> windowless = FOleInPlaceObjectWindowless)
        windowless->SetObjectRects(&bounds, &bounds);
    if (!call.Driver() || !FOleObject)
        return;
    EnsureClientSite();
    if (const TComPtr<IOleControl> control = FOleControl)
        control->OnAmbientPropertyChange(DISPID_UNKNOWN);
}

// The window mode is a property put through the control's automation interface, which exists
// only once the control is created.
void TControlHost::SetWideStringProperty(DISPID DispID, const wchar_t* Value)
{
    CreateControl();
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(Value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&argument, &named, 1, 1};
    const TComPtr<IDispatch> dispatch = FControlDispatch;
    const HRESULT result =
        dispatch ? dispatch->Invoke(DispID, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                    &parameters, nullptr, nullptr, nullptr)
                 : E_UNEXPECTED;
    VariantClear(&argument);
    OleCheck(result);
}

void TControlHost::CreateControl()
{
    if (!FOleObject)
        return;
    const TControlCall call(*this);
    if (!FOleControl) {
        try {
            EnsureClientSite();
            OleCheck(FPersistStream->InitNew());
            OleCheck(FOleObject.query(IID_IOleControl, FOleControl));
            OleCheck(FOleObject.query(IID_IDispatch, FControlDispatch));
            FOleObject.query(IID_IPerPropertyBrowsing, FPropBrowsing);
            FPropConnection =
                Connect(FOleObject.get(), IID_IPropertyNotifySink, &FPropertyNotifySink);
            FEventsConnection =
                Connect(FOleObject.get(), FlashControlData.EventIID, &FEventDispatch);
            FOleControl->OnAmbientPropertyChange(DISPID_UNKNOWN);
        } catch (...) {
            DestroyControl();
            throw;
        }
    }
    if (!FIntf && FOleObject)
        OleCheck(FOleObject.query(IID_IznFlashPlayer, FIntf));
}

void TControlHost::DestroyControl()
{
    const TControlCall call(*this);
    if (const TComPtr<IOleObject> object = FOleObject)
        object->Close(OLECLOSE_NOSAVE);
    Disconnect(FOleObject.get(), FlashControlData.EventIID, FEventsConnection);
    Disconnect(FOleObject.get(), IID_IPropertyNotifySink, FPropConnection);
    FPropBrowsing.reset();
    FControlDispatch.reset();
    FOleControl.reset();
}

// The control is told to close before anything is disconnected, so that it leaves in-place
// activation while the site can still answer; each interface is emptied before its release.
void TControlHost::Teardown()
{
    if (std::exchange(FTornDown, true))
        return;
    if (const TComPtr<IOleObject> object = FOleObject)
        object->Close(OLECLOSE_NOSAVE);
    DestroyControl();
    FPersistStream.reset();
    if (const TComPtr<IOleObject> object = FOleObject)
        object->SetClientSite(nullptr);
    FOleObject.reset();
    FIntf.reset();
    FOleInPlaceActiveObject.reset();
    FOleInPlaceObject.reset();
    FOleInPlaceObjectWindowless.reset();
    FViewObject.reset();
    FOleWindow.reset();
    if (FRefCount > 0)
        FKeptForReferences = shared_from_this();
}

// The teardown's own calls into the control hold the host again: it runs at depth one, so that
// they do not start it once more.
void TControlHost::Detach()
{
    FDriver = nullptr;
    if (FDepth == 0) {
        ++FDepth;
        Teardown();
        --FDepth;
    }
}

TControlCall::TControlCall(TControlHost& Host) : FHost(Host.shared_from_this())
{
    ++FHost->FDepth;
}

TControlCall::~TControlCall()
{
    if (--FHost->FDepth == 0 && FHost->FDriver == nullptr)
        FHost->Detach();
}

} // namespace zn::activex
