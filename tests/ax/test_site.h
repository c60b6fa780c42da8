// A small windowless container for the reference control's tests: client site, windowless
// in-place site, frame and ambient properties in one object, painting into a DIB section at once
// whenever the control invalidates, as a real windowless container does. Its answers can be
// turned wrong to see the control notice.
#pragma once

#include "player_control.h"
#include "support/dib_surface.h"

#include <ocidl.h>
#include <ole2.h>
#include <servprov.h>
#include <urlmon.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zn::test {

// IDispatch without type information, for objects that answer Invoke only.
class PlainDispatch : public IDispatch {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
};

class TestSite final : public IOleClientSite,
                       public IOleInPlaceSiteWindowless,
                       public IOleInPlaceFrame,
                       public IServiceProvider,
                       public IBindHost,
                       public IPropertyNotifySink,
                       public IOleControlSite,
                       public PlainDispatch {
public:
    TestSite(int width, int height);
    ~TestSite();

    // The surface the site paints the control into, over background.
    TDibSurface buffer;
    std::uint32_t background = 0xFF000000;
    // The control, set before it activates; its view object is held while it is in place.
    IUnknown* control = nullptr;
    IViewObject* view = nullptr;
    std::vector<RECT> invalidated;
    int getDcCalls = 0;
    // Answers turned wrong by a test.
    HRESULT invalidateAnswer = S_OK;
    HRESULT canWindowlessAnswer = S_OK;
    // Refuses IPersist without clearing the out pointer, as COM forbids.
    bool sloppyRefusal = false;
    // The bind host, offered through QueryService when set: the names it makes monikers for,
    // each the path of a file, and what it saw.
    bool offersBindHost = false;
    std::map<std::wstring, std::wstring> files;
    // Names whose bytes it delivers itself (delivering_moniker.h).
    std::map<std::wstring, std::vector<std::uint8_t>> delivered;
    std::vector<std::wstring> monikerNames;
    // The properties the control said changed, connected as its property-change sink.
    std::vector<DISPID> changed;
    // Every bind context handed to CreateMoniker held a bind status callback under
    // "_BSCB_Holder_".
    bool callbackInEveryContext = true;

    // Paints rect of the control into the buffer as a windowless container does: the background
    // first, then IViewObject::Draw under a clip of rect.
    void Repaint(const RECT& rect);

    // IUnknown: the site's life belongs to its test.
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return S_OK; }

    // IOleWindow, shared by the in-place site and the frame
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override;
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return S_OK; }
    STDMETHODIMP RequestUIActivate() override { return S_OK; }

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override { return canWindowlessAnswer; }
    STDMETHODIMP GetCapture() override { return S_FALSE; }
    STDMETHODIMP SetCapture(BOOL) override { return S_OK; }
    STDMETHODIMP GetFocus() override { return S_OK; }
    STDMETHODIMP SetFocus(BOOL) override { return S_OK; }
    STDMETHODIMP GetDC(LPCRECT rect, DWORD flags, HDC* dc) override;
    STDMETHODIMP ReleaseDC(HDC dc) override;
    STDMETHODIMP InvalidateRect(LPCRECT rect, BOOL erase) override;
    STDMETHODIMP InvalidateRgn(HRGN, BOOL) override { return S_OK; }
    STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return S_OK; }
    STDMETHODIMP AdjustRect(LPRECT) override { return S_OK; }
    STDMETHODIMP OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IOleControlSite: 96 pixels to the inch
    STDMETHODIMP OnControlInfoChanged() override { return E_NOTIMPL; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtendedControl(IDispatch** control) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }

    // IPropertyNotifySink
    STDMETHODIMP OnChanged(DISPID id) override
    {
        changed.push_back(id);
        return S_OK;
    }
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

    // IBindHost: monikers of the system's URL kind for the files it knows
    STDMETHODIMP CreateMoniker(LPOLESTR name, IBindCtx* context, IMoniker** moniker,
                               DWORD reserved) override;
    STDMETHODIMP MonikerBindToStorage(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                      void** object) override;
    STDMETHODIMP MonikerBindToObject(IMoniker*, IBindCtx*, IBindStatusCallback*, REFIID,
                                     void** object) override;

    // IDispatch: the ambient properties
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    int width_, height_;
};

// One event as a sink received it: its DISPID and its arguments as texts, in the order the
// event declares them (DISPPARAMS holds them last first).
struct EventSeen {
    DISPID id;
    std::vector<std::wstring> arguments;
};

// The events sink; FlashCall is answered through SetReturnValue on the control with answer.
class EventSink final : public PlainDispatch {
public:
    std::vector<EventSeen> events;
    IznFlashPlayer* control = nullptr;
    std::wstring answer = L"<string>from the sink</string>";
    // Runs inside every event, after it was recorded: a container's handler.
    std::function<void(const EventSeen&)> handler;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    ULONG references = 0;
};

} // namespace zn::test
