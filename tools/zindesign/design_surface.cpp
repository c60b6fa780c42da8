// The designed form's mouse routing, grab handles and icons.
#include "design_surface.h"

#include "error_report.h"
#include "palette_view.h"

#include <windowsx.h>

namespace zn::zindesign {

namespace {

// The one surface whose form the hook routes; the designer shows one form at a time.
TDesignSurface* RoutingSurface = nullptr;

HWND Decoration(HWND Form, DWORD Style, const TRect& Bounds)
{
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | Style, Bounds.Left, Bounds.Top,
                        Bounds.Width(), Bounds.Height(), Form, nullptr, nullptr, nullptr);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return window;
}

// A window filling the form would hide the graphic controls painted on the form: it is put at
// the back with no visible area, and its edges are drawn as grey bars instead.
constexpr int OutlineWidth = 2;

void HideBehindOutline(HWND Window)
{
    SetWindowRgn(Window, CreateRectRgn(0, 0, 0, 0), TRUE);
    SetWindowPos(Window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Where a mouse message points, in the form's client coordinates.
TPoint FormPoint(const MSG& Message, HWND Form)
{
    POINT point{GET_X_LPARAM(Message.lParam), GET_Y_LPARAM(Message.lParam)};
    if (Message.message == WM_MOUSEWHEEL)
        ScreenToClient(Form, &point);
    else
        MapWindowPoints(Message.hwnd, Form, &point, 1);
    return TPoint{point.x, point.y};
}

// The form being designed stays up: closing it would leave the designer without it.
void KeepOpen(TDesignSurface*, TObject*, TCloseAction& Action)
{
    Action = caNone;
}

} // namespace

TDesignSurface::TDesignSurface(TFormDesigner& Designer) : FDesigner(Designer)
{
    RoutingSurface = this;
    FHook = SetWindowsHookExW(WH_GETMESSAGE, &MessageHook, nullptr, GetCurrentThreadId());
}

TDesignSurface::~TDesignSurface()
{
    if (FHook)
        UnhookWindowsHookEx(FHook);
    RoutingSurface = nullptr;
    ClearDecorations();
}

void TDesignSurface::ShowForm(POINT At)
{
    TForm& form = FDesigner.Form();
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    form.SetBounds(At.x + frame.left, At.y + frame.top, form.Width(), form.Height());
    form.OnClose = TCloseEvent::Bind<&KeepOpen>(this);
    form.Show();
    Refresh();
}

void TDesignSurface::ClearDecorations()
{
    for (HWND window : FDecorations)
        if (IsWindow(window))
            DestroyWindow(window);
    FDecorations.clear();
    FIcons.clear();
}

void TDesignSurface::Refresh()
{
    ClearDecorations();
    TForm& form = FDesigner.Form();
    if (!form.HandleAllocated())
        return;
    HWND handle = form.Handle();
    for (int i = 0; i < form.ControlCount(); ++i)
        if (auto* control = dynamic_cast<TWinControl*>(form.Controls(i));
            control && control->HandleAllocated() && LiesUnderTheOthers(*control)) {
            HideBehindOutline(control->Handle());
            const TRect bounds = control->BoundsRect();
            for (const TRect& bar :
                 {Rect(bounds.Left, bounds.Top, bounds.Right, bounds.Top + OutlineWidth),
                  Rect(bounds.Left, bounds.Bottom - OutlineWidth, bounds.Right, bounds.Bottom),
                  Rect(bounds.Left, bounds.Top, bounds.Left + OutlineWidth, bounds.Bottom),
                  Rect(bounds.Right - OutlineWidth, bounds.Top, bounds.Right, bounds.Bottom)})
                FDecorations.push_back(Decoration(handle, SS_GRAYRECT, bar));
        }
    for (TComponent* component : FDesigner.NonVisualComponents()) {
        const TRect bounds = FDesigner.DesignBounds(*component);
        TDibSection picture = PalettePicture(component->ClassType());
        HBITMAP icon = picture.get();
        HWND window =
            Decoration(handle, WS_BORDER | (icon ? SS_BITMAP | SS_CENTERIMAGE : SS_CENTER), bounds);
        if (icon) {
            SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(icon));
            FIcons.push_back(std::move(picture));
        } else {
            SetWindowTextW(window, component->ClassName().substr(0, 3).c_str());
        }
        FDecorations.push_back(window);
    }
    for (TPersistent* selected : FDesigner.Selection()) {
        auto* component = dynamic_cast<TComponent*>(selected);
        if (!component || component == &form)
            continue;
        // Handles that size go black; those of a multiple selection or an icon only mark it.
        const bool sizes = FDesigner.Selection().size() == 1 && dynamic_cast<TControl*>(component);
        for (const TRect& grab : HandleRects(FDesigner.DesignBounds(*component)))
            FDecorations.push_back(Decoration(handle, sizes ? SS_BLACKRECT : SS_GRAYRECT, grab));
    }
    // The players paint only when the window system asks them to, in the designer.
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK TDesignSurface::MessageHook(int Code, WPARAM WParam, LPARAM LParam)
{
    if (Code == HC_ACTION && WParam == PM_REMOVE && RoutingSurface)
        RoutingSurface->Route(*reinterpret_cast<MSG*>(LParam));
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

// Mouse messages for the form or any window on it become the designer's presses and drags,
// and keys its commands (Delete); they are then dropped, so that the controls being designed
// never see them.
bool TDesignSurface::Route(MSG& Message)
{
    const bool mouse = Message.message >= WM_MOUSEFIRST && Message.message <= WM_MOUSELAST;
    if (!mouse && (Message.message < WM_KEYFIRST || Message.message > WM_KEYLAST))
        return false;
    TForm& form = FDesigner.Form();
    if (!form.HandleAllocated())
        return false;
    HWND handle = form.Handle();
    if (Message.hwnd != handle && !IsChild(handle, Message.hwnd))
        return false;

    const TPoint at = mouse ? FormPoint(Message, handle) : TPoint{};
    const UINT kind = Message.message;
    Message.message = WM_NULL;
    // Nothing may leave a hook procedure by an exception: a failed drop is reported here.
    try {
        switch (kind) {
        case WM_KEYDOWN:
            if (Message.wParam == VK_DELETE)
                FDesigner.DeleteSelection();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetCapture(handle);
            FDesigner.MouseDown(at, (Message.wParam & MK_SHIFT) != 0);
            break;
        case WM_MOUSEMOVE: FDesigner.MouseMove(at); break;
        case WM_LBUTTONUP:
            if (GetCapture() == handle)
                ReleaseCapture();
            FDesigner.MouseUp(at);
            break;
        default: break;
        }
    } catch (const std::exception& error) {
        ReleaseCapture();
        ReportError(handle, error);
    }
    return true;
}

} // namespace zn::zindesign
