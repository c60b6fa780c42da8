// Windowless in-place activation through the site, drawing, the rectangles, window messages and
// the frame clock that announces changed rectangles to the site.
#include "control.h"

#include "control_log.h"

#include "znswf/movie_player.h"

#include <windowsx.h>

#include <cstdio>

namespace zn::ax {

namespace {

bool IsDeviceContext(HDC dc)
{
    DWORD kind = dc ? GetObjectType(dc) : 0;
    return kind == OBJ_DC || kind == OBJ_MEMDC;
}

bool Empty(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

} // namespace

HRESULT Control::ActivateWindowless(IOleClientSite* site, LPCRECT position)
{
    if (active_)
        return S_OK;
    if (!site) {
        Violation("IOleObject.DoVerb without a site");
        return E_INVALIDARG;
    }
    IOleInPlaceSiteWindowless* windowless = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                    reinterpret_cast<void**>(&windowless))) ||
        !windowless) {
        // This control draws only windowless.
        LogCall("Site.QueryInterface", Identity())
            .Text("iid", "IOleInPlaceSiteWindowless")
            .Result(E_NOINTERFACE)
            .Record();
        return E_NOTIMPL;
    }
    HRESULT hr = windowless->CanWindowlessActivate();
    LogCall("Site.CanWindowlessActivate", Identity()).Result(hr).Record();
    if (hr != S_OK) {
        if (hr != S_FALSE)
            Violation("IOleInPlaceSiteWindowless.CanWindowlessActivate answered neither S_OK "
                      "nor S_FALSE");
        windowless->Release();
        return E_NOTIMPL;
    }
    BOOL no_redraw = TRUE;
    hr = windowless->OnInPlaceActivateEx(&no_redraw, ACTIVATE_WINDOWLESS);
    LogCall("Site.OnInPlaceActivateEx", Identity())
        .Number("flags", ACTIVATE_WINDOWLESS)
        .Result(hr)
        .Record();
    if (FAILED(hr)) {
        windowless->Release();
        return hr;
    }
    // From here the site holds our in-place interfaces; it must be told if anything fails.
    inPlaceSite_ = windowless;
    active_ = true;
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT site_position{}, site_clip{};
    OLEINPLACEFRAMEINFO frame_info{};
    frame_info.cb = sizeof frame_info;
    hr = windowless->GetWindowContext(&frame, &document, &site_position, &site_clip, &frame_info);
    LogCall("Site.GetWindowContext", Identity())
        .Address("frame", frame)
        .Address("document", document)
        .Rect("position", &site_position)
        .Rect("clip", &site_clip)
        .Result(hr)
        .Record();
    if (FAILED(hr))
        Violation("IOleInPlaceSite.GetWindowContext failed");
    if (frame_info.cb != sizeof frame_info)
        Violation("IOleInPlaceSite.GetWindowContext wrote the frame info's size");
    if (frame) {
        HWND frame_window = nullptr;
        frame->GetWindow(&frame_window); // read the frame: it must be a live object
        frame->Release();
    }
    if (document)
        document->Release();
    // The verb's rectangle wins; the site's is where the container thinks the control is.
    position_ = position ? *position : site_position;
    if (position && !EqualRect(position, &site_position))
        Violation("the DoVerb rectangle and the site's position rectangle differ");
    if (movie_)
        movie_->SetViewSize(Width(), Height());
    ReadSiteScale(*site);
    SiteInvalidate(nullptr);
    return S_OK;
}

HRESULT Control::SiteCall(const char* call, HRESULT answer)
{
    LogCall(call, Identity()).Result(answer).Record();
    if (FAILED(answer))
        Violation(std::string("the site failed ") + (call + 5));
    return answer;
}

void Control::ReadSiteScale(IOleClientSite& site)
{
    // Containers scale HIMETRIC sizes to their own units; an inch is what the control asks.
    IOleControlSite* control_site = nullptr;
    if (FAILED(site.QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&control_site))) ||
        !control_site)
        return;
    const auto logged = [this](const char* to, const char* point, HRESULT hr) {
        LogCall("Site.TransformCoords", Identity())
            .Text("to", to)
            .Text("point", point)
            .Result(hr)
            .Record();
    };
    char text[64];
    POINTL himetric{2540, 2540};
    POINTF container{};
    HRESULT hr = control_site->TransformCoords(&himetric, &container,
                                               XFORMCOORDS_SIZE | XFORMCOORDS_HIMETRICTOCONTAINER);
    std::snprintf(text, sizeof text, "(%g,%g)", container.x, container.y);
    logged("container", text, hr);
    himetric = {};
    hr = control_site->TransformCoords(&himetric, &container,
                                       XFORMCOORDS_SIZE | XFORMCOORDS_CONTAINERTOHIMETRIC);
    std::snprintf(text, sizeof text, "(%ld,%ld)", himetric.x, himetric.y);
    logged("himetric", text, hr);
    control_site->Release();
}

void Control::Deactivate()
{
    if (!active_)
        return;
    active_ = false;
    IOleInPlaceSiteWindowless* site = inPlaceSite_;
    inPlaceSite_ = nullptr;
    HRESULT hr = site->OnInPlaceDeactivate();
    LogCall("Site.OnInPlaceDeactivate", Identity()).Result(hr).Record();
    if (hr != S_OK)
        Violation("IOleInPlaceSite.OnInPlaceDeactivate failed");
    site->Release();
}

HRESULT Control::SiteInvalidate(const RECT* rect)
{
    if (!inPlaceSite_)
        return E_UNEXPECTED;
    // The site may repaint (and so call Draw) before it returns.
    IOleInPlaceSiteWindowless* site = inPlaceSite_;
    site->AddRef();
    HRESULT hr = site->InvalidateRect(rect, FALSE);
    LogCall("Site.InvalidateRect", Identity()).Rect("rect", rect).Result(hr).Record();
    if (hr != S_OK)
        Violation("IOleInPlaceSiteWindowless.InvalidateRect failed");
    site->Release();
    return hr;
}

HRESULT Control::InvalidateForTest(const RECT* rect)
{
    Scope scope(*this);
    return SiteInvalidate(rect);
}

void Control::InvalidateRect(const swf::PixelRect& rect)
{
    RECT changed{position_.left + rect.left, position_.top + rect.top, position_.left + rect.right,
                 position_.top + rect.bottom};
    if (!Empty(changed))
        SiteInvalidate(&changed);
}

void Control::AdvanceFrame()
{
    if (!movie_ || closed_)
        return;
    Scope scope(*this);
    movie_->Advance();
}

bool Control::Transparent() const
{
    return _wcsicmp(wmode_.c_str(), L"Transparent") == 0;
}

void Control::Paint(HDC dc, const RECT& view)
{
    if (movie_ && movie_->HasMovie())
        compositor_.Paint(*movie_, dc, view, !Transparent());
}

HRESULT Control::DrawThroughSite()
{
    if (!inPlaceSite_)
        return E_UNEXPECTED;
    IOleInPlaceSiteWindowless* site = inPlaceSite_;
    site->AddRef();
    HDC dc = nullptr;
    HRESULT hr = site->GetDC(&position_, OLEDC_PAINTBKGND, &dc);
    LogCall("Site.GetDC", Identity())
        .Rect("rect", &position_)
        .Address("dc", dc)
        .Result(hr)
        .Record();
    if (SUCCEEDED(hr)) {
        if (IsDeviceContext(dc))
            Paint(dc, position_);
        else
            Violation("IOleInPlaceSiteWindowless.GetDC gave no device context");
        HRESULT released = site->ReleaseDC(dc);
        LogCall("Site.ReleaseDC", Identity()).Address("dc", dc).Result(released).Record();
        if (released != S_OK)
            Violation("IOleInPlaceSiteWindowless.ReleaseDC failed");
    }
    site->Release();
    return hr;
}

// IViewObject

STDMETHODIMP Control::Draw(DWORD aspect, LONG index, void* aspectData, DVTARGETDEVICE* device,
                           HDC targetDevice, HDC drawDc, LPCRECTL bounds, LPCRECTL metafileBounds,
                           BOOL(STDMETHODCALLTYPE* proceed)(ULONG_PTR), ULONG_PTR)
{
    RECT clip{};
    int clip_kind = IsDeviceContext(drawDc) ? GetClipBox(drawDc, &clip) : ERROR;
    LogCall("IViewObject.Draw", Identity())
        .Number("aspect", aspect)
        .Number("index", index)
        .Address("dc", drawDc)
        .Rect("bounds", bounds)
        .Rect("clip", clip_kind == ERROR ? nullptr : &clip)
        .Record();
    if (RefuseAfterClose("IViewObject.Draw"))
        return E_UNEXPECTED;
    if (drawing_) {
        Violation("IViewObject.Draw inside IViewObject.Draw");
        return E_UNEXPECTED;
    }
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_OPAQUE)
        return DV_E_DVASPECT;
    if (aspectData || device || targetDevice || metafileBounds || proceed)
        Violation("IViewObject.Draw with a target device, metafile or callback the container "
                  "never passes");
    if (!IsDeviceContext(drawDc)) {
        Violation("IViewObject.Draw without a device context");
        return E_INVALIDARG;
    }
    if (!bounds && !active_) {
        Violation("IViewObject.Draw without bounds while not in place");
        return E_INVALIDARG;
    }
    // In place, the movie lies at the control's position whatever the bounds say (containers
    // pass the dirty part as bounds); the context's clip limits what is drawn.
    RECT view = active_ || !bounds ? position_
                                   : RECT{bounds->left, bounds->top, bounds->right, bounds->bottom};
    if (Empty(view) || clip_kind == NULLREGION)
        return S_OK;
    if (movie_ && !active_)
        movie_->SetViewSize(view.right - view.left, view.bottom - view.top);
    Scope scope(*this);
    drawing_ = true;
    Paint(drawDc, view);
    drawing_ = false;
    return S_OK;
}

STDMETHODIMP Control::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors)
{
    Called("IViewObject.GetColorSet");
    if (colors)
        *colors = nullptr;
    return S_FALSE;
}

STDMETHODIMP Control::Freeze(DWORD, LONG, void*, DWORD* freeze)
{
    Called("IViewObject.Freeze");
    if (freeze)
        *freeze = 0;
    return E_NOTIMPL;
}

STDMETHODIMP Control::Unfreeze(DWORD)
{
    Called("IViewObject.Unfreeze");
    return E_NOTIMPL;
}

STDMETHODIMP Control::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    LogCall("IViewObject.SetAdvise", Identity())
        .Number("aspects", aspects)
        .Number("flags", flags)
        .Address("sink", sink)
        .Record();
    if (sink)
        sink->AddRef();
    if (viewSink_)
        viewSink_->Release();
    viewSink_ = sink;
    return S_OK;
}

STDMETHODIMP Control::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    Called("IViewObject.GetAdvise");
    if (aspects)
        *aspects = DVASPECT_CONTENT;
    if (flags)
        *flags = 0;
    if (sink) {
        *sink = viewSink_;
        if (viewSink_)
            viewSink_->AddRef();
    }
    return S_OK;
}

// IOleWindow

STDMETHODIMP Control::GetWindow(HWND* window)
{
    Called("IOleWindow.GetWindow");
    if (!window)
        return E_POINTER;
    // Windowless: there is no window of its own.
    *window = nullptr;
    return E_FAIL;
}

STDMETHODIMP Control::ContextSensitiveHelp(BOOL)
{
    Called("IOleWindow.ContextSensitiveHelp");
    return E_NOTIMPL;
}

// IOleInPlaceObject

STDMETHODIMP Control::InPlaceDeactivate()
{
    Called("IOleInPlaceObject.InPlaceDeactivate");
    Deactivate();
    return S_OK;
}

STDMETHODIMP Control::UIDeactivate()
{
    Called("IOleInPlaceObject.UIDeactivate");
    return S_OK;
}

STDMETHODIMP Control::SetObjectRects(LPCRECT position, LPCRECT clip)
{
    LogCall("IOleInPlaceObject.SetObjectRects", Identity())
        .Rect("position", position)
        .Rect("clip", clip)
        .Record();
    if (RefuseAfterClose("IOleInPlaceObject.SetObjectRects"))
        return E_UNEXPECTED;
    if (!position || !clip) {
        Violation("IOleInPlaceObject.SetObjectRects without both rectangles");
        return E_POINTER;
    }
    if (!active_) {
        Violation("IOleInPlaceObject.SetObjectRects before in-place activation");
        return E_UNEXPECTED;
    }
    bool resized =
        position->right - position->left != Width() || position->bottom - position->top != Height();
    // The clip only limits where a container shows the control; drawing follows the context's.
    position_ = *position;
    if (!resized)
        return S_OK;
    // A new size shows the frame at a new scale: the movie asks for its whole view at once,
    // inside the container's call, as controls do.
    Scope scope(*this);
    if (movie_)
        movie_->SetViewSize(Width(), Height());
    return S_OK;
}

STDMETHODIMP Control::ReactivateAndUndo()
{
    Called("IOleInPlaceObject.ReactivateAndUndo");
    return E_NOTIMPL;
}

// IOleInPlaceObjectWindowless

STDMETHODIMP Control::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LogCall("IOleInPlaceObjectWindowless.OnWindowMessage", Identity())
        .Number("msg", message)
        .Number("wParam", static_cast<long long>(wParam))
        .Number("lParam", static_cast<long long>(lParam))
        .Record();
    if (RefuseAfterClose("IOleInPlaceObjectWindowless.OnWindowMessage"))
        return E_UNEXPECTED;
    if (!result) {
        Violation("IOleInPlaceObjectWindowless.OnWindowMessage without a result pointer");
        return E_POINTER;
    }
    *result = 0;
    if (!active_) {
        Violation("IOleInPlaceObjectWindowless.OnWindowMessage before in-place activation");
        return E_UNEXPECTED;
    }
    Scope scope(*this);
    HRESULT handled = S_OK;
    const int x = GET_X_LPARAM(lParam) - position_.left;
    const int y = GET_Y_LPARAM(lParam) - position_.top;
    switch (message) {
    case WM_NULL:
        // A nudge to act on what was asked (a movie to load) at once: downloads already run.
        break;
    case WM_MOUSEMOVE:
        if (movie_)
            movie_->MouseMove(x, y);
        break;
    case WM_LBUTTONDOWN:
        // A press takes the focus and the mouse, as a button that is dragged out needs.
        SiteCall("Site.SetFocus", inPlaceSite_->SetFocus(TRUE));
        SiteCall("Site.SetCapture", inPlaceSite_->SetCapture(TRUE));
        if (movie_)
            movie_->MouseButton(x, y, true);
        break;
    case WM_LBUTTONUP:
        if (SiteCall("Site.GetCapture", inPlaceSite_->GetCapture()) == S_OK)
            SiteCall("Site.SetCapture", inPlaceSite_->SetCapture(FALSE));
        if (movie_)
            movie_->MouseButton(x, y, false);
        break;
    case WM_RBUTTONDOWN: {
        // Where a context menu would open: the site names the window only during this press.
        HWND window = nullptr;
        HRESULT hr = inPlaceSite_->GetWindow(&window);
        LogCall("Site.GetWindow", Identity()).Address("window", window).Result(hr).Record();
        if (SUCCEEDED(hr) && !IsWindow(window))
            Violation("IOleInPlaceSiteWindowless.GetWindow succeeded without a window");
        break;
    }
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL: break;
    case WM_KEYDOWN:
        if (movie_)
            movie_->KeyDown(static_cast<unsigned>(wParam));
        break;
    case WM_KEYUP:
        if (movie_)
            movie_->KeyUp(static_cast<unsigned>(wParam));
        break;
    case WM_CHAR:
        if (movie_)
            movie_->Character(static_cast<unsigned>(wParam));
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) {
            handled = S_FALSE;
            break;
        }
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        *result = TRUE;
        break;
    default: handled = S_FALSE;
    }
    return handled;
}

STDMETHODIMP Control::GetDropTarget(IDropTarget** target)
{
    Called("IOleInPlaceObjectWindowless.GetDropTarget");
    if (target)
        *target = nullptr;
    return E_NOTIMPL;
}

// IOleInPlaceActiveObject

STDMETHODIMP Control::TranslateAccelerator(LPMSG)
{
    Called("IOleInPlaceActiveObject.TranslateAccelerator");
    return S_FALSE;
}

STDMETHODIMP Control::OnFrameWindowActivate(BOOL)
{
    Called("IOleInPlaceActiveObject.OnFrameWindowActivate");
    return S_OK;
}

STDMETHODIMP Control::OnDocWindowActivate(BOOL)
{
    Called("IOleInPlaceActiveObject.OnDocWindowActivate");
    return S_OK;
}

STDMETHODIMP Control::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    Called("IOleInPlaceActiveObject.ResizeBorder");
    return S_OK;
}

STDMETHODIMP Control::EnableModeless(BOOL)
{
    Called("IOleInPlaceActiveObject.EnableModeless");
    return S_OK;
}

} // namespace zn::ax
