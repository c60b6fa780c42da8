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

TDrag& Current() {
    static TDrag Drag;
    return Drag;
}

TWinControl* CaptureWindowOf(TControl* Control) {
    if (auto* Windowed = dynamic_cast<TWinControl*>(Control)) return Windowed;
    return Control->Parent();
}

// The framework control under a screen point, graphic children included.
TControl* ControlAtScreen(TPoint ScreenPos) {
    TWinControl* Window = TWinControl::FindControl(WindowFromPoint(POINT{ScreenPos.X, ScreenPos.Y}));
    if (!Window) return nullptr;
    TControl* Graphic = Window->ControlAtPos(Window->ScreenToClient(ScreenPos));
    return Graphic ? Graphic : Window;
}

void MoveTo(TPoint ScreenPos) {
    TDrag& Drag = Current();
    TControl* Target = ControlAtScreen(ScreenPos);
    TObject* Source = Drag.DragObject ? Drag.DragObject : Drag.Source;
    if (Target != Drag.Target && Drag.Target) {
        bool Ignored = false;
        TPoint At = Drag.Target->ScreenToClient(ScreenPos);
        Drag.Target->DragOver(Source, At.X, At.Y, dsDragLeave, Ignored);
    }
    TDragState State = Target == Drag.Target ? dsDragMove : dsDragEnter;
    Drag.Target = Target;
    Drag.Accepted = false;
    if (!Target) return;
    Drag.TargetPos = Target->ScreenToClient(ScreenPos);
    Target->DragOver(Source, Drag.TargetPos.X, Drag.TargetPos.Y, State, Drag.Accepted);
}

} // namespace

TWinControl* TWinControl::FindControl(HWND Window) {
    wchar_t ClassName[64] = {};
    if (!Window || !GetClassNameW(Window, ClassName, 64) || std::wstring(ClassName) != WindowClassName()) return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
}

void TControl::BeginDrag() {
    TDrag& Drag = Current();
    if (Drag.Source) return;
    TObject* DragObject = nullptr;
    DoStartDrag(DragObject);
    Drag = TDrag{};
    Drag.Source = this;
    Drag.DragObject = DragObject;
    TWinControl* Window = CaptureWindowOf(this);
    if (Window && Window->HandleAllocated()) SetCapture(Window->Handle());
}

bool TControl::Dragging() const { return Current().Source == this; }

void TControl::EndDrag(bool Drop) {
    TDrag Drag = Current();
    if (Drag.Source != this) return;
    Current() = TDrag{};
    TWinControl* Window = CaptureWindowOf(this);
    if (Window && Window->HandleAllocated() && GetCapture() == Window->Handle()) ReleaseCapture();
    bool Dropped = Drop && Drag.Target && Drag.Accepted;
    TObject* Source = Drag.DragObject ? Drag.DragObject : Drag.Source;
    if (Dropped) Drag.Target->DragDrop(Source, Drag.TargetPos.X, Drag.TargetPos.Y);
    DoEndDrag(Dropped ? Drag.Target : nullptr, Drag.TargetPos.X, Drag.TargetPos.Y);
}

void TControl::DoStartDrag(TObject*& DragObject) {
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    // A control accepts drops exactly when it has a handler that says so.
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

bool DragMouseMessage(TWinControl& Receiver, const TMessage& Message) {
    TDrag& Drag = Current();
    if (!Drag.Source) return false;
    if (Message.Msg == WM_MOUSEMOVE) MoveTo(Receiver.ClientToScreen(Message.Position()));
    else if (Message.Msg == WM_LBUTTONUP) Drag.Source->EndDrag(true);
    else return false;
    return true;
}

void DragControlGone(TControl* Control) {
    TDrag& Drag = Current();
    // A source that goes ends its drag without events: its handlers may be gone with it.
    if (Drag.Source == Control) {
        Drag = TDrag{};
        if (TWinControl::FindControl(GetCapture())) ReleaseCapture();
    } else if (Drag.Target == Control) {
        Drag.Target = nullptr;
    }
}

} // namespace zn
