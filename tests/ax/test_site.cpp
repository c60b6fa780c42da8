// The test container's answers, as a windowless container gives them.
#include "test_site.h"

#include "delivering_moniker.h"

#include <olectl.h>

#include <algorithm>

namespace zn::test {

TestSite::TestSite(int width, int height) : buffer(width, height), width_(width), height_(height) {}

TestSite::~TestSite()
{
    if (view)
        view->Release();
}

void TestSite::Repaint(const RECT& rect)
{
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            buffer.Bits()[y * width_ + x] = background;
    if (!view)
        return;
    int saved = SaveDC(buffer.DC());
    IntersectClipRect(buffer.DC(), rect.left, rect.top, rect.right, rect.bottom);
    RECTL bounds{0, 0, rect.right, rect.bottom};
    view->Draw(DVASPECT_OPAQUE, -1, nullptr, nullptr, nullptr, buffer.DC(), &bounds, nullptr,
               nullptr, 0);
    RestoreDC(buffer.DC(), saved);
}

STDMETHODIMP TestSite::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (sloppyRefusal && iid == IID_IPersist)
        return E_NOINTERFACE;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleInPlaceSiteWindowless || iid == IID_IOleInPlaceSiteEx ||
             iid == IID_IOleInPlaceSite || iid == IID_IOleWindow)
        *object = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow)
        *object = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == IID_IDispatch)
        *object = static_cast<IDispatch*>(this);
    else if (iid == IID_IOleControlSite)
        *object = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IPropertyNotifySink)
        *object = static_cast<IPropertyNotifySink*>(this);
    else if (iid == IID_IServiceProvider && offersBindHost)
        *object = static_cast<IServiceProvider*>(this);
    else if (iid == IID_IBindHost && offersBindHost)
        *object = static_cast<IBindHost*>(this);
    else
        return E_NOINTERFACE;
    return S_OK;
}

STDMETHODIMP TestSite::GetExtendedControl(IDispatch** control)
{
    if (control)
        *control = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags)
{
    if (!himetric || !container)
        return E_POINTER;
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = himetric->x * 96.0f / 2540;
        container->y = himetric->y * 96.0f / 2540;
    } else {
        himetric->x = static_cast<LONG>(container->x * 2540 / 96 + 0.5f);
        himetric->y = static_cast<LONG>(container->y * 2540 / 96 + 0.5f);
    }
    return S_OK;
}

STDMETHODIMP TestSite::QueryService(REFGUID, REFIID iid, void** object)
{
    return QueryInterface(iid, object);
}

STDMETHODIMP TestSite::CreateMoniker(LPOLESTR name, IBindCtx* context, IMoniker** moniker, DWORD)
{
    if (!moniker)
        return E_POINTER;
    *moniker = nullptr;
    monikerNames.emplace_back(name ? name : L"");
    IUnknown* holder = nullptr;
    IBindStatusCallback* callback = nullptr;
    if (context &&
        SUCCEEDED(context->GetObjectParam(const_cast<LPOLESTR>(L"_BSCB_Holder_"), &holder))) {
        holder->QueryInterface(IID_IBindStatusCallback, reinterpret_cast<void**>(&callback));
        holder->Release();
    }
    callbackInEveryContext = callbackInEveryContext && callback;
    if (callback)
        callback->Release();
    auto bytes = delivered.find(monikerNames.back());
    if (bytes != delivered.end()) {
        *moniker = new DeliveringMoniker(bytes->second);
        return S_OK;
    }
    auto file = files.find(monikerNames.back());
    if (file == files.end())
        return E_NOTIMPL;
    return CreateURLMonikerEx(nullptr, file->second.c_str(), moniker, URL_MK_UNIFORM);
}

STDMETHODIMP TestSite::MonikerBindToStorage(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                            void** object)
{
    if (object)
        *object = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                           void** object)
{
    if (object)
        *object = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = nullptr;
    return E_FAIL;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                        LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !document || !position || !clip || !info)
        return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    *document = nullptr;
    *position = {0, 0, width_, height_};
    *clip = {0, 0, 32767, 32767};
    info->fMDIApp = FALSE;
    info->hwndFrame = nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceActivateEx(BOOL*, DWORD)
{
    if (control && !view)
        control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
    return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceDeactivate()
{
    if (view) {
        IViewObject* held = view;
        view = nullptr;
        held->Release();
    }
    return S_OK;
}

STDMETHODIMP TestSite::GetDC(LPCRECT, DWORD, HDC* dc)
{
    if (!dc)
        return E_POINTER;
    ++getDcCalls;
    *dc = buffer.DC();
    return S_OK;
}

STDMETHODIMP TestSite::ReleaseDC(HDC)
{
    return S_OK;
}

STDMETHODIMP TestSite::InvalidateRect(LPCRECT rect, BOOL)
{
    RECT area = rect ? *rect : RECT{0, 0, width_, height_};
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, width_);
    area.bottom = std::min<LONG>(area.bottom, height_);
    invalidated.push_back(area);
    if (area.right > area.left && area.bottom > area.top)
        Repaint(area);
    return invalidateAnswer;
}

STDMETHODIMP PlainDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP PlainDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TestSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                              EXCEPINFO*, UINT*)
{
    if (!(flags & DISPATCH_PROPERTYGET) || !result)
        return DISP_E_MEMBERNOTFOUND;
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        result->vt = VT_BOOL;
        result->boolVal = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(L"TestSite");
        return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
    }
}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID__IznFlashPlayerEvents)
        return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*)
{
    EventSeen seen{id, {}};
    for (UINT i = params ? params->cArgs : 0; i-- > 0;) {
        VARIANT text;
        VariantInit(&text);
        VariantChangeType(&text, &params->rgvarg[i], 0, VT_BSTR);
        seen.arguments.emplace_back(text.vt == VT_BSTR && text.bstrVal ? text.bstrVal : L"");
        VariantClear(&text);
    }
    events.push_back(seen);
    if (id == 197 && control) {
        BSTR value = SysAllocString(answer.c_str());
        control->SetReturnValue(value);
        SysFreeString(value);
    }
    if (handler)
        handler(seen);
    return S_OK;
}

} // namespace zn::test
