// Dragging a control: the source, the control under the mouse and whether it accepts, carried
// by the mouse capture of the source's window until the left button is released.
#include "drag.h"

namespace zn {

namespace {

struct TDrag {
    TControl* Source = nullptr;
    TObject* DragObject = nullptr;
    TControl* Target = nullptr;
    bool Accepted = false;
    TPoint TargetPos;
};

TDrag& Current()
{
    static TDrag drag;
    return drag;
}

TWinControl* CaptureWindowOf(TControl* Control)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(Control))
        return windowed;
    return Control->Parent();
}

// The framework control under a screen point, graphic children included.
TControl* ControlAtScreen(TPoint ScreenPos)
{
    TWinControl* window =
        TWinControl::FindControl(WindowFromPoint(POINT{ScreenPos.X, ScreenPos.Y}));
    if (!window)
        return nullptr;
    TControl* graphic = window->ControlAtPos(window->ScreenToClient(ScreenPos));
    return graphic ? graphic : window;
}

void MoveTo(TPoint ScreenPos)
{
    TDrag& drag = Current();
    TControl* target = ControlAtScreen(ScreenPos);
    TObject* source = drag.DragObject ? drag.DragObject : drag.Source;
    if (target != drag.Target && drag.Target) {
        bool ignored = false;
        TPoint at = drag.Target->ScreenToClient(ScreenPos);
        drag.Target->DragOver(source, at.X, at.Y, dsDragLeave, ignored);
    }
    TDragState state = target == drag.Target ? dsDragMove : dsDragEnter;
    drag.Target = target;
    drag.Accepted = false;
    if (!target)
        return;
    drag.TargetPos = target->ScreenToClient(ScreenPos);
    target->DragOver(source, drag.TargetPos.X, drag.TargetPos.Y, state, drag.Accepted);
}

} // namespace

TWinControl* TWinControl::FindControl(HWND Window)
{
    wchar_t class_name[64] = {};
    if (!Window || !GetClassNameW(Window, class_name, 64) ||
        std::wstring(class_name) != WindowClassName())
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
}

void TControl::BeginDrag()
{
    TDrag& drag = Current();
    if (drag.Source)
        return;
    TObject* drag_object = nullptr;
    DoStartDrag(drag_object);
    drag = TDrag{};
    drag.Source = this;
    drag.DragObject = drag_object;
    TWinControl* window = CaptureWindowOf(this);
    if (window && window->HandleAllocated())
        SetCapture(window->Handle());
}

bool TControl::Dragging() const
{
    return Current().Source == this;
}

void TControl::EndDrag(bool Drop)
{
    TDrag drag = Current();
    if (drag.Source != this)
        return;
    Current() = TDrag{};
    TWinControl* window = CaptureWindowOf(this);
    if (window && window->HandleAllocated() && GetCapture() == window->Handle())
        ReleaseCapture();
    bool dropped = Drop && drag.Target && drag.Accepted;
    TObject* source = drag.DragObject ? drag.DragObject : drag.Source;
    if (dropped)
        drag.Target->DragDrop(source, drag.TargetPos.X, drag.TargetPos.Y);
    DoEndDrag(dropped ? drag.Target : nullptr, drag.TargetPos.X, drag.TargetPos.Y);
}

void TControl::DoStartDrag(TObject*& DragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    // A control accepts drops exactly when it has a handler that says so.
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

bool DragMouseMessage(TWinControl& Receiver, const TMessage& Message)
{
    TDrag& drag = Current();
    if (!drag.Source)
        return false;
    if (Message.Msg == WM_MOUSEMOVE)
        MoveTo(Receiver.ClientToScreen(Message.Position()));
    else if (Message.Msg == WM_LBUTTONUP)
        drag.Source->EndDrag(true);
    else
        return false;
    return true;
}

void DragControlGone(TControl* Control)
{
    TDrag& drag = Current();
    // A source that goes ends its drag without events: its handlers may be gone with it.
    if (drag.Source == Control) {
        drag = TDrag{};
        if (TWinControl::FindControl(GetCapture()))
            ReleaseCapture();
    } else if (drag.Target == Control) {
        drag.Target = nullptr;
    }
}

} // namespace zn
