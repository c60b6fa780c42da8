// Input on a windowed control: mouse messages routed to the graphic child under the mouse (or
// the one a pressed button holds), the wheel, keys with their hooks, focus and tab stops.
#include "zintara/framework/controls.h"

#include "drag.h"
#include "zintara/framework/exceptions.h"

namespace zn {

namespace {

bool IsButtonDown(UINT Msg) {
    return Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONDBLCLK ||
           Msg == WM_MBUTTONDOWN || Msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT Msg) { return Msg == WM_LBUTTONUP || Msg == WM_RBUTTONUP || Msg == WM_MBUTTONUP; }

TWinControl* TopParent(TWinControl* Control) {
    while (Control->Parent()) Control = Control->Parent();
    return Control;
}

} // namespace

void TWinControl::RouteMouse(TMessage& Message) {
    if (DragMouseMessage(*this, Message)) return;
    TPoint At = Message.Position();
    TControl* Target = FCaptureControl ? FCaptureControl : ControlAtPos(At);
    if (!Target) Target = this;
    if (IsButtonDown(Message.Msg)) {
        FCaptureControl = Target;
        if (FHandle && GetCapture() != FHandle) SetCapture(FHandle);
    }
    bool Released = IsButtonUp(Message.Msg) && !(Message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
    if (Target == this) {
        TControl::WndProc(Message);
    } else {
        TMessage Child = Message;
        Child.LParam = PointToLParam(At.X - Target->Left(), At.Y - Target->Top());
        Target->WndProc(Child);
        Message.Result = Child.Result;
    }
    if (Released) {
        FCaptureControl = nullptr;
        if (FHandle && GetCapture() == FHandle) ReleaseCapture();
    }
}

void TWinControl::RouteWheel(TMessage& Message) {
    if (TControl* Child = ControlAtPos(ScreenToClient(Message.Position()))) {
        TMessage Copy = Message;
        Child->WndProc(Copy);
        if (Copy.Result) {
            Message.Result = Copy.Result;
            return;
        }
    }
    WheelMessage(Message);
    // An unhandled wheel goes on to the parent window, as the system does it.
    if (!Message.Result) DefaultHandler(Message);
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::WMGetDlgCode(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMKeyDown(TMessage& Message) {
    std::uint16_t Key = Message.CharCode();
    TShiftState Shift = KeyDataToShiftState(Message.KeyData());
    KeyDown(Key, Shift);
    Message.SetCharCode(Key);
    if (Key == 0) {
        Message.Result = 0;
        return;
    }
    // Tab moves the focus unless the control asks for it.
    if (Key == VK_TAB && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) &&
        !(Perform(WM_GETDLGCODE) & DLGC_WANTTAB)) {
        TopParent(this)->SelectNext(this, !Shift.Contains(ssShift));
        Message.Result = 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
    std::uint16_t Key = Message.CharCode();
    KeyUp(Key, KeyDataToShiftState(Message.KeyData()));
    Message.SetCharCode(Key);
    if (Key == 0) {
        Message.Result = 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
    auto Key = static_cast<wchar_t>(Message.CharCode());
    KeyPress(Key);
    Message.SetCharCode(static_cast<std::uint16_t>(Key));
    if (Key == 0) {
        Message.Result = 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::WMSetFocus(TMessage& Message) {
    DefaultHandler(Message);
    if (OnEnter) OnEnter(this);
}

void TWinControl::WMKillFocus(TMessage& Message) {
    DefaultHandler(Message);
    if (OnExit) OnExit(this);
}

bool TWinControl::CanFocus() const {
    for (const TWinControl* Control = this; Control; Control = Control->Parent())
        if (!Control->Visible() || !Control->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window (" + ClassName() + L")");
    ::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop) return;
    FTabStop = Value;
    if (!FHandle) return;
    LONG Style = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, Value ? Style | WS_TABSTOP : Style & ~WS_TABSTOP);
}

void TWinControl::CollectTabStops(std::vector<TWinControl*>& TabStops) {
    for (TControl* Child : FControls) {
        auto* Windowed = dynamic_cast<TWinControl*>(Child);
        if (!Windowed || !Windowed->Visible() || !Windowed->Enabled()) continue;
        if (Windowed->FTabStop) TabStops.push_back(Windowed);
        Windowed->CollectTabStops(TabStops);
    }
}

void TWinControl::SelectNext(TWinControl* Current, bool GoForward) {
    std::vector<TWinControl*> TabStops;
    CollectTabStops(TabStops);
    if (TabStops.empty()) return;
    auto Count = static_cast<int>(TabStops.size());
    int Index = -1;
    for (int I = 0; I < Count; ++I)
        if (TabStops[static_cast<size_t>(I)] == Current) Index = I;
    int Next = Index < 0 ? (GoForward ? 0 : Count - 1) : (Index + (GoForward ? 1 : Count - 1)) % Count;
    TWinControl* Target = TabStops[static_cast<size_t>(Next)];
    if (Target->CanFocus()) Target->SetFocus();
}

} // namespace zn
