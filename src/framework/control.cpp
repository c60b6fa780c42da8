// TControl: bounds, visibility, the parent, colour and hint inheritance, the component it
// refers to, invalidation on the parent, and message dispatch to the mouse hooks.
#include "zintara/framework/controls.h"

#include "drag.h"

namespace zn {

static_assert(sizeof(TRect) == sizeof(RECT) && offsetof(TRect, Bottom) == offsetof(RECT, bottom));
static_assert(sizeof(TPoint) == sizeof(POINT) && offsetof(TPoint, Y) == offsetof(POINT, y));

const TClassInfo& TControl::ClassInfo()
{
    using P = TPublished<TControl>;
    static const TPropertyInfo properties[] = {
        P::Integer<&TControl::Left, &TControl::SetLeft>(L"Left"),
        P::Integer<&TControl::Top, &TControl::SetTop>(L"Top"),
        P::Integer<&TControl::Width, &TControl::SetWidth>(L"Width"),
        P::Integer<&TControl::Height, &TControl::SetHeight>(L"Height"),
    };
    static const TClassInfo info = DeclareClass<TControl, TComponent>(L"TControl", properties);
    return info;
}
const TClassInfo& TControl::ClassType() const
{
    return ClassInfo();
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl()
{
    Destroying();
    DragControlGone(this);
    SetParent(nullptr);
    FCanvas.reset();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    Invalidate();
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    ReleaseCanvas();
    Invalidate();
    RequestAlign();
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

TPoint TControl::ClientToScreen(TPoint Point) const
{
    if (auto* windowed = dynamic_cast<const TWinControl*>(this);
        windowed && windowed->HandleAllocated()) {
        MapWindowPoints(windowed->FHandle, HWND_DESKTOP, reinterpret_cast<POINT*>(&Point), 1);
        return Point;
    }
    Point.X += FLeft;
    Point.Y += FTop;
    return FParent ? FParent->ClientToScreen(Point) : Point;
}

TPoint TControl::ScreenToClient(TPoint Point) const
{
    TPoint origin = ClientToScreen(TPoint{0, 0});
    return TPoint{Point.X - origin.X, Point.Y - origin.Y};
}

void TControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    // Hiding must repaint the place the control leaves, so invalidate while still visible.
    if (!Value)
        Invalidate();
    FVisible = Value;
    ReleaseCanvas();
    if (Value)
        Invalidate();
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Invalidate();
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    ReleaseCanvas();
    if (FParent) {
        Invalidate();
        TWinControl* old = FParent;
        old->RemoveControl(this);
        if (FAlign != alNone)
            old->Realign();
    }
    if (AParent) {
        AParent->InsertControl(this);
        Perform(CM_PARENTCOLORCHANGED);
        Perform(CM_PARENTSHOWHINTCHANGED);
        Invalidate();
        RequestAlign();
    }
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::SetAlign(TAlign Value)
{
    if (Value == FAlign)
        return;
    FAlign = Value;
    if (FParent)
        FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
}

void TControl::SetColor(TColor Value)
{
    // A colour of its own, even the inherited one, is kept when the parent's changes.
    FParentColor = false;
    if (Value == FColor)
        return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    if (Value)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!FParentColor || !FParent || FParent->Color() == FColor)
        return;
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetShowHint(bool Value)
{
    FParentShowHint = false;
    if (Value == FShowHint)
        return;
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value)
{
    if (Value == FParentShowHint)
        return;
    FParentShowHint = Value;
    if (Value)
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (!FParentShowHint || !FParent || FParent->ShowHint() == FShowHint)
        return;
    FShowHint = FParent->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TComponent* Value)
{
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    RequestAlign();
}

void TControl::Invalidate()
{
    if (!FVisible || !FParent || !FParent->HandleAllocated())
        return;
    TRect bounds = BoundsRect();
    InvalidateRect(FParent->Handle(), reinterpret_cast<const RECT*>(&bounds), TRUE);
}

void TControl::Repaint()
{
    Invalidate();
    if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed && windowed->HandleAllocated())
        UpdateWindow(windowed->Handle());
    else if (FParent && FParent->HandleAllocated())
        UpdateWindow(FParent->Handle());
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& Message)
{
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

void TControl::DefaultHandler(TMessage& Message)
{
    Message.Result = 0;
}

void TControl::MouseMessage(TMessage& Message)
{
    TPoint at = Message.Position();
    TShiftState shift = KeysToShiftState(Message.WParam);
    bool double_click = Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK ||
                        Message.Msg == WM_MBUTTONDBLCLK;
    if (double_click)
        shift.Include(ssDouble);
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FClicking = true;
        if (FDragMode == dmAutomatic && !double_click && !ComponentState().Contains(csDesigning)) {
            BeginDrag();
            break;
        }
        MouseDown(mbLeft, shift, at.X, at.Y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseDown(mbRight, shift, at.X, at.Y); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseDown(mbMiddle, shift, at.X, at.Y); break;
    case WM_LBUTTONUP: {
        // A click is a press and a release both inside the control.
        bool clicked = FClicking;
        FClicking = false;
        TRect client = ClientRect();
        if (clicked && at.X >= 0 && at.Y >= 0 && at.X < client.Right && at.Y < client.Bottom &&
            !ComponentState().Contains(csDesigning))
            Click();
        MouseUp(mbLeft, shift, at.X, at.Y);
        break;
    }
    case WM_RBUTTONUP: MouseUp(mbRight, shift, at.X, at.Y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift, at.X, at.Y); break;
    default: MouseMove(shift, at.X, at.Y); break;
    }
    DefaultHandler(Message);
}

void TControl::WheelMessage(TMessage& Message)
{
    auto delta = static_cast<std::int16_t>((Message.WParam >> 16) & 0xFFFF);
    TShiftState shift = KeysToShiftState(Message.WParam & 0xFFFF);
    Message.Result = DoMouseWheel(shift, delta, Message.Position()) ? 1 : 0;
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

void TControl::ReleaseCanvas()
{
    if (FCanvas)
        FCanvas->FreeHandle();
}

TComponent* TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent* AParent)
{
    SetParent(dynamic_cast<TWinControl*>(AParent));
}

} // namespace zn
