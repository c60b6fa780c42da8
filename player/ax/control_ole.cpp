// The control's identity, its life as an OLE object (site, persistence, verbs, Close), its
// ambient properties and its connection points.
#include "control.h"

#include "control_log.h"
#include "control_module.h"
#include "site_probe.h"

#include "znswf/movie_player.h"

#include <olectl.h>

namespace zn::ax {

Control::Control(int major)
    : major_(major),
      propertySinks_(*this, Identity(), IID_IPropertyNotifySink, "IPropertyNotifySink"),
      eventSinks_(*this, Identity(), DIID__IznFlashPlayerEvents, "events")
{
    ControlCreated(*this);
}

Control::~Control()
{
    ControlDestroyed(*this);
    timer_.Stop();
    for (MovieDownload* download : downloads_) {
        download->Detach();
        download->Release();
    }
    if (inPlaceSite_)
        inPlaceSite_->Release();
    if (clientSite_)
        clientSite_->Release();
    if (viewSink_)
        viewSink_->Release();
    if (interfaceInfo_)
        interfaceInfo_->Release();
}

STDMETHODIMP Control::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
        *object = static_cast<IOleObject*>(this);
    else if (iid == IID_IDispatch || iid == IID_IznFlashPlayer)
        *object = static_cast<IznFlashPlayer*>(this);
    else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
        *object = static_cast<IPersistStreamInit*>(this);
    else if (iid == IID_IOleControl)
        *object = static_cast<IOleControl*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *object = static_cast<IConnectionPointContainer*>(this);
    else if (iid == IID_IViewObject)
        *object = static_cast<IViewObject*>(this);
    else if (iid == IID_IOleInPlaceObjectWindowless || iid == IID_IOleInPlaceObject ||
             iid == IID_IOleWindow)
        *object = static_cast<IOleInPlaceObjectWindowless*>(this);
    else if (iid == IID_IOleInPlaceActiveObject)
        *object = static_cast<IOleInPlaceActiveObject*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) Control::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) Control::Release()
{
    LONG count = InterlockedDecrement(&references_);
    if (count < 0) {
        Violation("the control was released more often than referenced");
        return 0;
    }
    if (count != 0)
        return static_cast<ULONG>(count);
    LogCall("Control.FinalRelease", Identity()).Record();
    if (active_)
        Violation("the control was released while in-place active, without Close");
    if (propertySinks_.Connected() || eventSinks_.Connected())
        Violation("the control was released with sinks still connected");
    // Letting go of the sinks runs the container's code, which may take and drop references
    // again: they must not reach zero a second time.
    references_ = 1;
    propertySinks_.DisconnectAll();
    eventSinks_.DisconnectAll();
    delete this;
    return 0;
}

void Control::Called(const char* call)
{
    LogCall(call, Identity()).Record();
}

bool Control::RefuseAfterClose(const char* call)
{
    if (!closed_)
        return false;
    Violation(std::string(call) + " after Close");
    return true;
}

// IOleObject

STDMETHODIMP Control::SetClientSite(IOleClientSite* site)
{
    LogCall("IOleObject.SetClientSite", Identity()).Address("site", site).Record();
    if (site == clientSite_)
        return S_OK;
    if (active_ && site != clientSite_)
        Violation("IOleObject.SetClientSite while in-place active");
    if (site) {
        // The site is read at once: a pointer that is not a site fails here, not later.
        IOleClientSite* checked = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&checked))) ||
            !checked) {
            Violation("IOleObject.SetClientSite with an object that is not a client site");
            return E_INVALIDARG;
        }
        checked->Release();
        ProbeSite(*site, Identity());
        site->AddRef();
    }
    if (clientSite_)
        clientSite_->Release();
    clientSite_ = site;
    if (site)
        ReadAmbient(DISPID_UNKNOWN);
    return S_OK;
}

STDMETHODIMP Control::GetClientSite(IOleClientSite** site)
{
    Called("IOleObject.GetClientSite");
    if (!site)
        return Violation("IOleObject.GetClientSite without an out pointer"), E_POINTER;
    *site = clientSite_;
    if (clientSite_)
        clientSite_->AddRef();
    return S_OK;
}

STDMETHODIMP Control::SetHostNames(LPCOLESTR app, LPCOLESTR object)
{
    LogCall("IOleObject.SetHostNames", Identity()).Text("app", app).Text("object", object).Record();
    return S_OK;
}

STDMETHODIMP Control::Close(DWORD saveOption)
{
    LogCall("IOleObject.Close", Identity()).Number("save", saveOption).Record();
    if (saveOption > OLECLOSE_PROMPTSAVE)
        Violation("IOleObject.Close with an unknown save option");
    if (firing_)
        Violation("IOleObject.Close from inside an event handler");
    Deactivate();
    timer_.Stop();
    for (MovieDownload* download : downloads_) {
        download->Detach();
        download->Release();
    }
    downloads_.clear();
    closed_ = true;
    return S_OK;
}

STDMETHODIMP Control::SetMoniker(DWORD, IMoniker*)
{
    Called("IOleObject.SetMoniker");
    return E_NOTIMPL;
}

STDMETHODIMP Control::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    Called("IOleObject.GetMoniker");
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::InitFromData(IDataObject*, BOOL, DWORD)
{
    Called("IOleObject.InitFromData");
    return E_NOTIMPL;
}

STDMETHODIMP Control::GetClipboardData(DWORD, IDataObject** data)
{
    Called("IOleObject.GetClipboardData");
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index,
                             HWND parent, LPCRECT position)
{
    LogCall("IOleObject.DoVerb", Identity())
        .Number("verb", verb)
        .Address("message", message)
        .Address("site", site)
        .Number("index", index)
        .Address("parent", parent)
        .Rect("rect", position)
        .Record();
    if (RefuseAfterClose("IOleObject.DoVerb"))
        return E_UNEXPECTED;
    if (!initialized_) {
        Violation("IOleObject.DoVerb before InitNew or Load");
        return E_UNEXPECTED;
    }
    switch (verb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_SHOW:
    case OLEIVERB_PRIMARY: return ActivateWindowless(site ? site : clientSite_, position);
    case OLEIVERB_HIDE: Deactivate(); return S_OK;
    default: return OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP Control::EnumVerbs(IEnumOLEVERB** verbs)
{
    Called("IOleObject.EnumVerbs");
    if (verbs)
        *verbs = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::Update()
{
    Called("IOleObject.Update");
    return S_OK;
}

STDMETHODIMP Control::IsUpToDate()
{
    Called("IOleObject.IsUpToDate");
    return S_OK;
}

STDMETHODIMP Control::GetUserClassID(CLSID* clsid)
{
    Called("IOleObject.GetUserClassID");
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_ZnPlayerControl;
    return S_OK;
}

STDMETHODIMP Control::GetUserType(DWORD, LPOLESTR* type)
{
    Called("IOleObject.GetUserType");
    if (type)
        *type = nullptr;
    return OLE_S_USEREG;
}

STDMETHODIMP Control::SetExtent(DWORD aspect, SIZEL* size)
{
    LogCall("IOleObject.SetExtent", Identity())
        .Number("aspect", aspect)
        .Number("cx", size ? size->cx : -1)
        .Number("cy", size ? size->cy : -1)
        .Record();
    return size ? S_OK : E_POINTER;
}

STDMETHODIMP Control::GetExtent(DWORD aspect, SIZEL* size)
{
    Called("IOleObject.GetExtent");
    if (!size)
        return E_POINTER;
    // HIMETRIC at 96 pixels per inch.
    size->cx = MulDiv(Width(), 2540, 96);
    size->cy = MulDiv(Height(), 2540, 96);
    return S_OK;
}

STDMETHODIMP Control::Advise(IAdviseSink*, DWORD* cookie)
{
    Called("IOleObject.Advise");
    if (cookie)
        *cookie = 0;
    return E_NOTIMPL;
}

STDMETHODIMP Control::Unadvise(DWORD)
{
    Called("IOleObject.Unadvise");
    return E_NOTIMPL;
}

STDMETHODIMP Control::EnumAdvise(IEnumSTATDATA** advise)
{
    Called("IOleObject.EnumAdvise");
    if (advise)
        *advise = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::GetMiscStatus(DWORD aspect, DWORD* status)
{
    LogCall("IOleObject.GetMiscStatus", Identity()).Number("aspect", aspect).Record();
    if (!status)
        return Violation("IOleObject.GetMiscStatus without an out pointer"), E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
    return S_OK;
}

STDMETHODIMP Control::SetColorScheme(LOGPALETTE*)
{
    Called("IOleObject.SetColorScheme");
    return E_NOTIMPL;
}

// IPersistStreamInit

STDMETHODIMP Control::GetClassID(CLSID* clsid)
{
    Called("IPersistStreamInit.GetClassID");
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_ZnPlayerControl;
    return S_OK;
}

STDMETHODIMP Control::IsDirty()
{
    Called("IPersistStreamInit.IsDirty");
    return S_FALSE;
}

STDMETHODIMP Control::Load(LPSTREAM stream)
{
    LogCall("IPersistStreamInit.Load", Identity()).Address("stream", stream).Record();
    if (initialized_) {
        Violation("IPersistStreamInit.Load of an initialised control");
        return E_UNEXPECTED;
    }
    // The control keeps no state worth saving: a stream of any content initialises it.
    initialized_ = true;
    return stream ? S_OK : E_POINTER;
}

STDMETHODIMP Control::Save(LPSTREAM stream, BOOL)
{
    Called("IPersistStreamInit.Save");
    return stream ? S_OK : E_POINTER;
}

STDMETHODIMP Control::GetSizeMax(ULARGE_INTEGER* size)
{
    Called("IPersistStreamInit.GetSizeMax");
    if (!size)
        return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

STDMETHODIMP Control::InitNew()
{
    Called("IPersistStreamInit.InitNew");
    if (initialized_) {
        Violation("IPersistStreamInit.InitNew of an initialised control");
        return E_UNEXPECTED;
    }
    initialized_ = true;
    return S_OK;
}

// IOleControl

STDMETHODIMP Control::GetControlInfo(CONTROLINFO* info)
{
    Called("IOleControl.GetControlInfo");
    if (!info)
        return E_POINTER;
    if (info->cb < sizeof(CONTROLINFO))
        Violation("IOleControl.GetControlInfo with a short record");
    return E_NOTIMPL;
}

STDMETHODIMP Control::OnMnemonic(MSG*)
{
    Called("IOleControl.OnMnemonic");
    return E_NOTIMPL;
}

STDMETHODIMP Control::OnAmbientPropertyChange(DISPID id)
{
    LogCall("IOleControl.OnAmbientPropertyChange", Identity()).Number("dispid", id).Record();
    ReadAmbient(id);
    return S_OK;
}

STDMETHODIMP Control::FreezeEvents(BOOL freeze)
{
    LogCall("IOleControl.FreezeEvents", Identity()).Number("freeze", freeze).Record();
    return S_OK;
}

void Control::ReadAmbient(DISPID id)
{
    if (!clientSite_)
        return;
    IDispatch* ambient = nullptr;
    if (FAILED(clientSite_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient))) ||
        !ambient)
        return;
    static constexpr DISPID all[] = {
        DISPID_AMBIENT_DISPLAYNAME,    DISPID_AMBIENT_LOCALEID,
        DISPID_AMBIENT_MESSAGEREFLECT, DISPID_AMBIENT_USERMODE,
        DISPID_AMBIENT_UIDEAD,         DISPID_AMBIENT_SHOWGRABHANDLES,
        DISPID_AMBIENT_SHOWHATCHING,   DISPID_AMBIENT_SUPPORTSMNEMONICS,
        DISPID_AMBIENT_AUTOCLIP,       DISPID_AMBIENT_BACKCOLOR};
    const DISPID* first = id == DISPID_UNKNOWN ? all : &id;
    const DISPID* last = id == DISPID_UNKNOWN ? std::end(all) : &id + 1;
    for (const DISPID* it = first; it != last; ++it) {
        DISPPARAMS none{};
        VARIANT value;
        VariantInit(&value);
        HRESULT hr = ambient->Invoke(*it, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                     &none, &value, nullptr, nullptr);
        CallLine line("Site.Ambient", Identity());
        line.Number("dispid", *it).Result(hr);
        if (hr == S_OK) {
            VARIANT text;
            VariantInit(&text);
            if (SUCCEEDED(VariantChangeType(&text, &value, VARIANT_ALPHABOOL, VT_BSTR)))
                line.Number("vt", value.vt).Text("value", text.bstrVal);
            VariantClear(&text);
        } else if (hr != DISP_E_MEMBERNOTFOUND) {
            Violation("the site's ambient properties answered neither S_OK nor "
                      "DISP_E_MEMBERNOTFOUND");
        }
        line.Record();
        VariantClear(&value);
    }
    ambient->Release();
}

// IConnectionPointContainer

STDMETHODIMP Control::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    Called("IConnectionPointContainer.EnumConnectionPoints");
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    Called("IConnectionPointContainer.FindConnectionPoint");
    if (!point)
        return E_POINTER;
    *point = nullptr;
    ConnectionPoint* found = iid == IID_IPropertyNotifySink      ? &propertySinks_
                             : iid == DIID__IznFlashPlayerEvents ? &eventSinks_
                                                                 : nullptr;
    if (!found)
        return CONNECT_E_NOCONNECTION;
    found->AddRef();
    *point = found;
    return S_OK;
}

} // namespace zn::ax
