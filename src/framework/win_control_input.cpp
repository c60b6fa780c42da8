// Input on a windowed control: mouse messages routed to the graphic child under the mouse (or
// the one a pressed button holds), the wheel, keys with their hooks, focus and tab stops.
#include "zintara/framework/controls.h"

#include "drag.h"
#include "zintara/framework/exceptions.h"

namespace zn {

namespace {

bool IsButtonDown(UINT Msg)
{
    return Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDOWN ||
           Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDOWN || Msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT Msg)
{
    return Msg == WM_LBUTTONUP || Msg == WM_RBUTTONUP || Msg == WM_MBUTTONUP;
}

TWinControl* TopParent(TWinControl* Control)
{
    while (Control->Parent())
        Control = Control->Parent();
    return Control;
}

} // namespace

void TWinControl::RouteMouse(TMessage& Message)
{
    if (DragMouseMessage(*this, Message))
        return;
    TPoint at = Message.Position();
    TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(at);
    if (!target)
        target = this;
    if (IsButtonDown(Message.Msg)) {
        FCaptureControl = target;
        if (FHandle && GetCapture() != FHandle)
            SetCapture(FHandle);
    }
    bool released =
        IsButtonUp(Message.Msg) && !(Message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
    if (target == this) {
        TControl::WndProc(Message);
    } else {
        TMessage child = Message;
        child.LParam = PointToLParam(at.X - target->Left(), at.Y - target->Top());
        target->WndProc(child);
        Message.Result = child.Result;
    }
    if (released) {
        FCaptureControl = nullptr;
        if (FHandle && GetCapture() == FHandle)
            ReleaseCapture();
    }
}

void TWinControl::RouteWheel(TMessage& Message)
{
    if (TControl* child = ControlAtPos(ScreenToClient(Message.Position()))) {
        TMessage copy = Message;
        child->WndProc(copy);
        if (copy.Result) {
            Message.Result = copy.Result;
            return;
        }
    }
    WheelMessage(Message);
    // An unhandled wheel goes on to the parent window, as the system does it.
    if (!Message.Result)
        DefaultHandler(Message);
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::WMGetDlgCode(TMessage& Message)
{
    DefaultHandler(Message);
}

void TWinControl::WMKeyDown(TMessage& Message)
{
    std::uint16_t key = Message.CharCode();
    TShiftState shift = KeyDataToShiftState(Message.KeyData());
    KeyDown(key, shift);
    Message.SetCharCode(key);
    if (key == 0) {
        Message.Result = 0;
        return;
    }
    // Tab moves the focus unless the control asks for it.
    if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) &&
        !(Perform(WM_GETDLGCODE) & DLGC_WANTTAB)) {
        TopParent(this)->SelectNext(this, !shift.Contains(ssShift));
        Message.Result = 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message)
{
    std::uint16_t key = Message.CharCode();
    KeyUp(key, KeyDataToShiftState(Message.KeyData()));
    Message.SetCharCode(key);
    if (key == 0) {
        Message.Result = 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message)
{
    auto key = static_cast<wchar_t>(Message.CharCode());
    KeyPress(key);
    Message.SetCharCode(static_cast<std::uint16_t>(key));
    if (key == 0) {
        Message.Result = 0;
        return;
    }
    DefaultHandler(Message);
}

void TWinControl::WMSetFocus(TMessage& Message)
{
    DefaultHandler(Message);
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::WMKillFocus(TMessage& Message)
{
    DefaultHandler(Message);
    if (OnExit)
        OnExit(this);
}

bool TWinControl::CanFocus() const
{
    for (const TWinControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window (" + ClassName() +
                                L")");
    ::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool Value)
{
    if (Value == FTabStop)
        return;
    FTabStop = Value;
    if (!FHandle)
        return;
    LONG style = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, Value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void TWinControl::CollectTabStops(std::vector<TWinControl*>& TabStops)
{
    for (TControl* child : FControls) {
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (!windowed || !windowed->Visible() || !windowed->Enabled())
            continue;
        if (windowed->FTabStop)
            TabStops.push_back(windowed);
        windowed->CollectTabStops(TabStops);
    }
}

void TWinControl::SelectNext(TWinControl* Current, bool GoForward)
{
    std::vector<TWinControl*> tab_stops;
    CollectTabStops(tab_stops);
    if (tab_stops.empty())
        return;
    auto count = static_cast<int>(tab_stops.size());
    int index = -1;
    for (int i = 0; i < count; ++i)
        if (tab_stops[static_cast<size_t>(i)] == Current)
            index = i;
    int next =
        index < 0 ? (GoForward ? 0 : count - 1) : (index + (GoForward ? 1 : count - 1)) % count;
    TWinControl* target = tab_stops[static_cast<size_t>(next)];
    if (target->CanFocus())
        target->SetFocus();
}

} // namespace zn
