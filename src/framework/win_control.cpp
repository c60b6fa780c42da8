// TWinControl: the window class, lazy window creation, the window procedure and message
// dispatch, bounds kept in step with the window, and the list of child controls.
#include "zintara/framework/controls.h"

#include "debug_output.h"
#include "zintara/framework/com.h"
#include "zintara/framework/exceptions.h"
#include "zintara/framework/library_module.h"

#include <algorithm>

namespace zn {

namespace {

TExceptionEvent& ExceptionHandler()
{
    static TExceptionEvent handler;
    return handler;
}

bool IsMouseMessage(UINT Message)
{
    return Message >= WM_MOUSEFIRST && Message <= WM_MBUTTONDBLCLK;
}

} // namespace

void SetApplicationExceptionHandler(TExceptionEvent Handler)
{
    ExceptionHandler() = Handler;
}

void HandleApplicationException(TObject* Sender, const std::exception& E)
{
    if (ExceptionHandler()) {
        ExceptionHandler()(Sender, E);
        return;
    }
    WriteExceptionToDebugger(E);
}

const TClassInfo& TWinControl::ClassInfo()
{
    static const TClassInfo info = DeclareClass<TWinControl, TControl>(L"TWinControl");
    return info;
}
const TClassInfo& TWinControl::ClassType() const
{
    return ClassInfo();
}

const wchar_t* TWinControl::WindowClassName()
{
    return L"ZintaraWinControl";
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    Destroying();
    while (!FControls.empty())
        FControls.back()->SetParent(nullptr);
    DestroyHandle();
}

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle)
        return;
    if (FCreatingHandle)
        throw EInvalidOperation(L"Window of " + ClassName() +
                                L" requested while it is being created");
    FCreatingHandle = true;
    try {
        CreateHandle();
    } catch (...) {
        FCreatingHandle = false;
        throw;
    }
    FCreatingHandle = false;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = Name();
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
    if (Parent()) {
        Params.WndParent = Parent()->Handle();
        Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    } else if (FParentWindow) {
        Params.WndParent = FParentWindow;
        Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    } else {
        Params.Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    }
    if (Visible())
        Params.Style |= WS_VISIBLE;
    if (!Enabled())
        Params.Style |= WS_DISABLED;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
}

void TWinControl::CreateHandle()
{
    CreateWnd();
    // The client area is the window's now, which may differ from what was computed before.
    Realign();
    std::vector<TControl*> children = FControls;
    for (TControl* child : children)
        // A child whose own creation asked for this window gets its window when that returns.
        if (auto* windowed = dynamic_cast<TWinControl*>(child);
            windowed && !windowed->FCreatingHandle)
            windowed->HandleNeeded();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    HINSTANCE module = LibraryModule();
    WNDCLASSEXW window_class{};
    if (!GetClassInfoExW(module, WindowClassName(), &window_class)) {
        window_class.cbSize = sizeof(window_class);
        window_class.style = CS_DBLCLKS;
        window_class.lpfnWndProc = &TWinControl::WindowProcedure;
        window_class.hInstance = module;
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.lpszClassName = WindowClassName();
        if (!RegisterClassExW(&window_class))
            throw EInvalidOperation(L"Cannot register the window class: " +
                                    SystemErrorMessage(GetLastError()));
    }
    // A refusal from the window's own creation messages sets no error: none is reported then,
    // rather than the class lookup's above.
    SetLastError(ERROR_SUCCESS);
    HWND window = CreateWindowExW(params.ExStyle, WindowClassName(), params.Caption.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  params.WndParent, nullptr, module, this);
    if (!window)
        throw EInvalidOperation(L"Cannot create a window for " + ClassName() + L": " +
                                SystemErrorMessage(GetLastError()));
}

void TWinControl::DestroyHandle()
{
    if (FHandle)
        DestroyWindow(FHandle);
}

LRESULT CALLBACK TWinControl::WindowProcedure(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_NCCREATE) {
        auto* control =
            static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
        control->FHandle = Window;
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(Window, Msg, WParam, LParam);
    TMessage message{Msg, WParam, LParam, 0};
    try {
        control->WndProc(message);
    } catch (...) {
        ReportCurrentException(control);
    }
    if (Msg == WM_NCDESTROY) {
        SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
        control->FHandle = nullptr;
    }
    return message.Result;
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(Message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); return;
    case WM_MOUSEWHEEL: RouteWheel(Message); return;
    case WM_CAPTURECHANGED:
        FCaptureControl = nullptr;
        DefaultHandler(Message);
        return;
    case WM_DESTROY:
        // Contexts taken from this window must go back before the window does.
        ReleaseChildCanvases();
        ReleaseCanvas();
        DefaultHandler(Message);
        return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    default:
        if (IsMouseMessage(Message.Msg))
            RouteMouse(Message);
        else
            TControl::WndProc(Message);
    }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    Message.Result =
        FHandle ? DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam) : 0;
}

void TWinControl::WMWindowPosChanged(TMessage& Message)
{
    const auto* position = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
    if ((position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        RECT window;
        GetWindowRect(FHandle, &window);
        HWND owner = GetParent(FHandle);
        if (owner && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(HWND_DESKTOP, owner, reinterpret_cast<POINT*>(&window), 2);
        UpdateBounds(window.left, window.top, window.right - window.left,
                     window.bottom - window.top);
        if (!(position->flags & SWP_NOSIZE)) {
            Realign();
            Resize();
        }
    }
    DefaultHandler(Message);
}

void TWinControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    Realign();
    if (Parent() && Parent()->HandleAllocated())
        HandleNeeded();
}

void TWinControl::SetParentWindow(HWND Value)
{
    if (Value == FParentWindow)
        return;
    DestroyHandle();
    FParentWindow = Value;
}

TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        throw EListError(L"Control index out of bounds (" + std::to_wstring(Index) + L")");
    return FControls[static_cast<size_t>(Index)];
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* control = *it;
        if (!control->Visible() || (!AllowDisabled && !control->Enabled()))
            continue;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(control))
            continue;
        TRect area = control->BoundsRect();
        if (Pos.X >= area.Left && Pos.X < area.Right && Pos.Y >= area.Top && Pos.Y < area.Bottom)
            return control;
    }
    return nullptr;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    bool resized = AWidth != Width() || AHeight != Height();
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    // With a window, the move comes back as WM_WINDOWPOSCHANGED, which lays the children out.
    if (FHandle)
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    else if (resized)
        Realign();
    RequestAlign();
}

TRect TWinControl::ClientRect() const
{
    if (!FHandle)
        return TControl::ClientRect();
    RECT client{};
    ::GetClientRect(FHandle, &client);
    return Rect(client.left, client.top, client.right, client.bottom);
}

void TWinControl::SetVisible(bool Value)
{
    TControl::SetVisible(Value);
    if (FHandle)
        ShowWindow(FHandle, Value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    TControl::SetEnabled(Value);
    if (FHandle)
        EnableWindow(FHandle, Value);
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == Parent())
        return;
    // The window is created again under the new parent's window: now when that one exists,
    // else lazily.
    DestroyHandle();
    TControl::SetParent(AParent);
    TComponentState state = ComponentState();
    if (AParent && AParent->HandleAllocated() && !state.Contains(csLoading) &&
        !state.Contains(csDestroying))
        HandleNeeded();
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::CMColorChanged(TMessage& Message)
{
    TControl::CMColorChanged(Message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::NotifyControls(UINT Msg)
{
    std::vector<TControl*> children = FControls;
    for (TControl* child : children)
        child->Perform(Msg);
}

void TWinControl::GetChildren(std::vector<TComponent*>& Children, const TComponent* Root) const
{
    for (TControl* control : FControls)
        if (control->Owner() == Root)
            Children.push_back(control);
    TControl::GetChildren(Children, Root);
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto found = std::find(FControls.begin(), FControls.end(), AControl);
    if (found != FControls.end())
        FControls.erase(found);
    if (FCaptureControl == AControl)
        FCaptureControl = nullptr;
    AControl->FParent = nullptr;
}

void TWinControl::ReleaseChildCanvases()
{
    for (TControl* child : FControls)
        if (!dynamic_cast<TWinControl*>(child))
            child->ReleaseCanvas();
}

} // namespace zn
