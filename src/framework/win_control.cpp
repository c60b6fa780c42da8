// TWinControl: the window class, lazy window creation, the window procedure and message
// dispatch, bounds kept in step with the window, and the list of child controls.
#include "zintara/framework/controls.h"

#include "debug_output.h"
#include "zintara/framework/com.h"
#include "zintara/framework/exceptions.h"

#include <algorithm>

namespace zn {

namespace {

// The module this code is linked into, which owns the window class.
HINSTANCE FrameworkModule() {
    HMODULE Module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&FrameworkModule), &Module);
    return Module;
}

TExceptionEvent& ExceptionHandler() {
    static TExceptionEvent Handler;
    return Handler;
}

bool IsMouseMessage(UINT Message) {
    return Message >= WM_MOUSEFIRST && Message <= WM_MBUTTONDBLCLK;
}

} // namespace

void SetApplicationExceptionHandler(TExceptionEvent Handler) { ExceptionHandler() = Handler; }

void HandleApplicationException(TObject* Sender, const std::exception& E) {
    if (ExceptionHandler()) {
        ExceptionHandler()(Sender, E);
        return;
    }
    WriteExceptionToDebugger(E);
}

const TClassInfo& TWinControl::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TWinControl, TControl>(L"TWinControl");
    return Info;
}
const TClassInfo& TWinControl::ClassType() const { return ClassInfo(); }

const wchar_t* TWinControl::WindowClassName() { return L"ZintaraWinControl"; }

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    Destroying();
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
    DestroyHandle();
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FCreatingHandle) throw EInvalidOperation(L"Window of " + ClassName() + L" requested while it is being created");
    FCreatingHandle = true;
    try {
        CreateHandle();
    } catch (...) {
        FCreatingHandle = false;
        throw;
    }
    FCreatingHandle = false;
}

void TWinControl::CreateParams(TCreateParams& Params) {
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
    if (Visible()) Params.Style |= WS_VISIBLE;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
}

void TWinControl::CreateHandle() {
    CreateWnd();
    // The client area is the window's now, which may differ from what was computed before.
    Realign();
    std::vector<TControl*> Children = FControls;
    for (TControl* Child : Children)
        // A child whose own creation asked for this window gets its window when that returns.
        if (auto* Windowed = dynamic_cast<TWinControl*>(Child); Windowed && !Windowed->FCreatingHandle)
            Windowed->HandleNeeded();
}

void TWinControl::CreateWnd() {
    TCreateParams Params;
    CreateParams(Params);
    HINSTANCE Module = FrameworkModule();
    WNDCLASSEXW Class{};
    if (!GetClassInfoExW(Module, WindowClassName(), &Class)) {
        Class.cbSize = sizeof(Class);
        Class.style = CS_DBLCLKS;
        Class.lpfnWndProc = &TWinControl::WindowProcedure;
        Class.hInstance = Module;
        Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        Class.lpszClassName = WindowClassName();
        if (!RegisterClassExW(&Class))
            throw EInvalidOperation(L"Cannot register the window class: " + SystemErrorMessage(GetLastError()));
    }
    HWND Window = CreateWindowExW(Params.ExStyle, WindowClassName(), Params.Caption.c_str(), Params.Style, Params.X,
                                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Module, this);
    if (!Window)
        throw EInvalidOperation(L"Cannot create a window for " + ClassName() + L": " +
                                SystemErrorMessage(GetLastError()));
}

void TWinControl::DestroyHandle() {
    if (FHandle) DestroyWindow(FHandle);
}

LRESULT CALLBACK TWinControl::WindowProcedure(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_NCCREATE) {
        auto* Control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
        Control->FHandle = Window;
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Control));
    }
    auto* Control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (!Control) return DefWindowProcW(Window, Msg, WParam, LParam);
    TMessage Message{Msg, WParam, LParam, 0};
    try {
        Control->WndProc(Message);
    } catch (...) {
        ReportCurrentException(Control);
    }
    if (Msg == WM_NCDESTROY) {
        SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
        Control->FHandle = nullptr;
    }
    return Message.Result;
}

void TWinControl::WndProc(TMessage& Message) {
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
        if (IsMouseMessage(Message.Msg)) RouteMouse(Message);
        else TControl::WndProc(Message);
    }
}

void TWinControl::DefaultHandler(TMessage& Message) {
    Message.Result = FHandle ? DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam) : 0;
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
    const auto* Position = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
    if ((Position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        RECT Window;
        GetWindowRect(FHandle, &Window);
        HWND Owner = GetParent(FHandle);
        if (Owner && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
            MapWindowPoints(HWND_DESKTOP, Owner, reinterpret_cast<POINT*>(&Window), 2);
        UpdateBounds(Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top);
        if (!(Position->flags & SWP_NOSIZE)) {
            Realign();
            Resize();
        }
    }
    DefaultHandler(Message);
}

void TWinControl::Resize() {
    if (OnResize) OnResize(this);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
    if (Parent() && Parent()->HandleAllocated()) HandleNeeded();
}

void TWinControl::SetParentWindow(HWND Value) {
    if (Value == FParentWindow) return;
    DestroyHandle();
    FParentWindow = Value;
}

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(L"Control index out of bounds (" + std::to_wstring(Index) + L")");
    return FControls[static_cast<size_t>(Index)];
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
    for (auto It = FControls.rbegin(); It != FControls.rend(); ++It) {
        TControl* Control = *It;
        if (!Control->Visible() || (!AllowDisabled && !Control->Enabled())) continue;
        if (!AllowWinControls && dynamic_cast<TWinControl*>(Control)) continue;
        TRect Area = Control->BoundsRect();
        if (Pos.X >= Area.Left && Pos.X < Area.Right && Pos.Y >= Area.Top && Pos.Y < Area.Bottom) return Control;
    }
    return nullptr;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    bool Resized = AWidth != Width() || AHeight != Height();
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    // With a window, the move comes back as WM_WINDOWPOSCHANGED, which lays the children out.
    if (FHandle) SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    else if (Resized) Realign();
    RequestAlign();
}

TRect TWinControl::ClientRect() const {
    if (!FHandle) return TControl::ClientRect();
    RECT Client{};
    ::GetClientRect(FHandle, &Client);
    return Rect(Client.left, Client.top, Client.right, Client.bottom);
}

void TWinControl::SetVisible(bool Value) {
    TControl::SetVisible(Value);
    if (FHandle) ShowWindow(FHandle, Value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value) {
    TControl::SetEnabled(Value);
    if (FHandle) EnableWindow(FHandle, Value);
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    // The window is created again under the new parent's window: now when that one exists,
    // else lazily.
    DestroyHandle();
    TControl::SetParent(AParent);
    TComponentState State = ComponentState();
    if (AParent && AParent->HandleAllocated() && !State.Contains(csLoading) && !State.Contains(csDestroying))
        HandleNeeded();
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    TControl::CMColorChanged(Message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::NotifyControls(UINT Msg) {
    std::vector<TControl*> Children = FControls;
    for (TControl* Child : Children) Child->Perform(Msg);
}

void TWinControl::GetChildren(std::vector<TComponent*>& Children, const TComponent* Root) const {
    for (TControl* Control : FControls)
        if (Control->Owner() == Root) Children.push_back(Control);
    TControl::GetChildren(Children, Root);
}

void TWinControl::InsertControl(TControl* AControl) {
    FControls.push_back(AControl);
    AControl->FParent = this;
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto Found = std::find(FControls.begin(), FControls.end(), AControl);
    if (Found != FControls.end()) FControls.erase(Found);
    if (FCaptureControl == AControl) FCaptureControl = nullptr;
    AControl->FParent = nullptr;
}

void TWinControl::ReleaseChildCanvases() {
    for (TControl* Child : FControls)
        if (!dynamic_cast<TWinControl*>(Child)) Child->ReleaseCanvas();
}

} // namespace zn
