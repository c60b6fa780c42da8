// TWinControl: the window class, lazy window creation, message dispatch to WndProc.
#include "zintara/framework/controls.h"

#include "zintara/framework/exceptions.h"
#include "zintara/framework/properties.h"

#include <algorithm>

namespace zn {

namespace {

const wchar_t WindowClassName[] = L"ZintaraWinControl";

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

} // namespace

void SetApplicationExceptionHandler(TExceptionEvent Handler) { ExceptionHandler() = Handler; }

void HandleApplicationException(TObject* Sender, const std::exception& E) {
    if (ExceptionHandler()) {
        ExceptionHandler()(Sender, E);
        return;
    }
    const auto* Framework = dynamic_cast<const Exception*>(&E);
    std::wstring Text = Framework ? Framework->Message() : L"Unhandled exception";
    OutputDebugStringW((Text + L"\n").c_str());
}

const TClassInfo& TWinControl::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TWinControl, TControl>(L"TWinControl");
    return Info;
}
const TClassInfo& TWinControl::ClassType() const { return ClassInfo(); }

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
}

void TWinControl::CreateHandle() {
    TCreateParams Params;
    CreateParams(Params);
    HINSTANCE Module = FrameworkModule();
    WNDCLASSEXW Class{};
    if (!GetClassInfoExW(Module, WindowClassName, &Class)) {
        Class.cbSize = sizeof(Class);
        Class.style = CS_DBLCLKS;
        Class.lpfnWndProc = &TWinControl::WindowProcedure;
        Class.hInstance = Module;
        Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        Class.lpszClassName = WindowClassName;
        if (!RegisterClassExW(&Class))
            throw EInvalidOperation(L"Cannot register the window class: " + SystemErrorMessage(GetLastError()));
    }
    HWND Window = CreateWindowExW(Params.ExStyle, WindowClassName, Params.Caption.c_str(), Params.Style, Params.X,
                                  Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, Module, this);
    if (!Window)
        throw EInvalidOperation(L"Cannot create a window for " + ClassName() + L": " +
                                SystemErrorMessage(GetLastError()));
}

void TWinControl::DestroyHandle() {
    if (FHandle) DestroyWindow(FHandle);
}

LRESULT CALLBACK TWinControl::WindowProcedure(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_NCCREATE) {
        auto* Control = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
        Control->FHandle = Window;
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Control));
    }
    auto* Control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (!Control) return DefWindowProcW(Window, Message, WParam, LParam);
    LRESULT Result = 0;
    try {
        Result = Control->WndProc(Message, WParam, LParam);
    } catch (const std::exception& E) {
        HandleApplicationException(Control, E);
    } catch (...) {
        HandleApplicationException(Control, Exception(L"Unknown exception in a window procedure"));
    }
    if (Message == WM_NCDESTROY) {
        SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
        Control->FHandle = nullptr;
    }
    return Result;
}

LRESULT TWinControl::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_WINDOWPOSCHANGED) {
        const auto* Position = reinterpret_cast<const WINDOWPOS*>(LParam);
        if ((Position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
            RECT Window;
            GetWindowRect(FHandle, &Window);
            HWND Owner = GetParent(FHandle);
            if (Owner && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
                MapWindowPoints(HWND_DESKTOP, Owner, reinterpret_cast<POINT*>(&Window), 2);
            UpdateBounds(Window.left, Window.top, Window.right - Window.left, Window.bottom - Window.top);
        }
    }
    return DefWindowProcW(FHandle, Message, WParam, LParam);
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

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    if (FHandle) SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool Value) {
    TControl::SetVisible(Value);
    if (FHandle) ShowWindow(FHandle, Value ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    // The window is created again, lazily, under the new parent's window.
    DestroyHandle();
    TControl::SetParent(AParent);
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
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
    AControl->FParent = nullptr;
}

} // namespace zn
