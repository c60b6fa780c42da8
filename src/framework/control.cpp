// TControl: bounds, visibility, the parent, colour and hint inheritance, the component it
// refers to, invalidation on the parent, and message dispatch to the mouse hooks.
#include "zintara/framework/controls.h"

#include "drag.h"

namespace zn {

static_assert(sizeof(TRect) == sizeof(RECT) && offsetof(TRect, Bottom) == offsetof(RECT, bottom));
static_assert(sizeof(TPoint) == sizeof(POINT) && offsetof(TPoint, Y) == offsetof(POINT, y));

const TClassInfo& TControl::ClassInfo() {
    using P = TPublished<TControl>;
    static const TPropertyInfo Properties[] = {
        P::Integer<&TControl::Left, &TControl::SetLeft>(L"Left"),
        P::Integer<&TControl::Top, &TControl::SetTop>(L"Top"),
        P::Integer<&TControl::Width, &TControl::SetWidth>(L"Width"),
        P::Integer<&TControl::Height, &TControl::SetHeight>(L"Height"),
    };
    static const TClassInfo Info = DeclareClass<TControl, TComponent>(L"TControl", Properties);
    return Info;
}
const TClassInfo& TControl::ClassType() const { return ClassInfo(); }

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
    Destroying();
    DragControlGone(this);
    SetParent(nullptr);
    FCanvas.reset();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    Invalidate();
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    ReleaseCanvas();
    Invalidate();
    RequestAlign();
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

TPoint TControl::ClientToScreen(TPoint Point) const {
    if (auto* Windowed = dynamic_cast<const TWinControl*>(this); Windowed && Windowed->HandleAllocated()) {
        MapWindowPoints(Windowed->FHandle, HWND_DESKTOP, reinterpret_cast<POINT*>(&Point), 1);
        return Point;
    }
    Point.X += FLeft;
    Point.Y += FTop;
    return FParent ? FParent->ClientToScreen(Point) : Point;
}

TPoint TControl::ScreenToClient(TPoint Point) const {
    TPoint Origin = ClientToScreen(TPoint{0, 0});
    return TPoint{Point.X - Origin.X, Point.Y - Origin.Y};
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    // Hiding must repaint the place the control leaves, so invalidate while still visible.
    if (!Value) Invalidate();
    FVisible = Value;
    ReleaseCanvas();
    if (Value) Invalidate();
    if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Invalidate();
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    ReleaseCanvas();
    if (FParent) {
        Invalidate();
        TWinControl* Old = FParent;
        Old->RemoveControl(this);
        if (FAlign != alNone) Old->Realign();
    }
    if (AParent) {
        AParent->InsertControl(this);
        Perform(CM_PARENTCOLORCHANGED);
        Perform(CM_PARENTSHOWHINTCHANGED);
        Invalidate();
        RequestAlign();
    }
}

void TControl::RequestAlign() {
    if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    if (FParent) FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value) { FAnchors = Value; }

void TControl::SetColor(TColor Value) {
    // A colour of its own, even the inherited one, is kept when the parent's changes.
    FParentColor = false;
    if (Value == FColor) return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    if (Value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent || FParent->Color() == FColor) return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (Value == FShowHint) return;
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == FParentShowHint) return;
    FParentShowHint = Value;
    if (Value) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!FParentShowHint || !FParent || FParent->ShowHint() == FShowHint) return;
    FShowHint = FParent->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TComponent* Value) {
    if (Value == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    RequestAlign();
}

void TControl::Invalidate() {
    if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
    TRect Bounds = BoundsRect();
    InvalidateRect(FParent->Handle(), reinterpret_cast<const RECT*>(&Bounds), TRUE);
}

void TControl::Repaint() {
    Invalidate();
    if (auto* Windowed = dynamic_cast<TWinControl*>(this); Windowed && Windowed->HandleAllocated())
        UpdateWindow(Windowed->Handle());
    else if (FParent && FParent->HandleAllocated())
        UpdateWindow(FParent->Handle());
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    WndProc(Message);
    return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE: MouseMessage(Message); return;
    case WM_MOUSEWHEEL: WheelMessage(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); return;
    default: DefaultHandler(Message); return;
    }
}

void TControl::DefaultHandler(TMessage& Message) { Message.Result = 0; }

void TControl::MouseMessage(TMessage& Message) {
    TPoint At = Message.Position();
    TShiftState Shift = KeysToShiftState(Message.WParam);
    bool Double = Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK || Message.Msg == WM_MBUTTONDBLCLK;
    if (Double) Shift.Include(ssDouble);
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FClicking = true;
        if (FDragMode == dmAutomatic && !Double && !ComponentState().Contains(csDesigning)) {
            BeginDrag();
            break;
        }
        MouseDown(mbLeft, Shift, At.X, At.Y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, Shift, At.X, At.Y); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, Shift, At.X, At.Y); break;
    case WM_LBUTTONUP: {
        // A click is a press and a release both inside the control.
        bool Clicked = FClicking;
        FClicking = false;
        TRect Client = ClientRect();
        if (Clicked && At.X >= 0 && At.Y >= 0 && At.X < Client.Right && At.Y < Client.Bottom &&
            !ComponentState().Contains(csDesigning))
            Click();
        MouseUp(mbLeft, Shift, At.X, At.Y);
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, Shift, At.X, At.Y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, Shift, At.X, At.Y); break;
    default: MouseMove(Shift, At.X, At.Y); break;
    }
    DefaultHandler(Message);
}

void TControl::WheelMessage(TMessage& Message) {
    auto Delta = static_cast<std::int16_t>((Message.WParam >> 16) & 0xFFFF);
    TShiftState Shift = KeysToShiftState(Message.WParam & 0xFFFF);
    Message.Result = DoMouseWheel(Shift, Delta, Message.Position()) ? 1 : 0;
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    return Handled;
}

void TControl::ReleaseCanvas() {
    if (FCanvas) FCanvas->FreeHandle();
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* AParent) { SetParent(dynamic_cast<TWinControl*>(AParent)); }

} // namespace zn
