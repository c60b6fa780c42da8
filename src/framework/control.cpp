// TControl and TGraphicControl: bounds, visibility, the parent, invalidation on the parent.
#include "zintara/framework/controls.h"

#include "zintara/framework/properties.h"

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
        P::Boolean<&TControl::Visible, &TControl::SetVisible>(L"Visible", true),
    };
    static const TClassInfo Info = DeclareClass<TControl, TComponent>(L"TControl", Properties);
    return Info;
}
const TClassInfo& TControl::ClassType() const { return ClassInfo(); }

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
    Destroying();
    SetParent(nullptr);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    Invalidate();
    UpdateBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    // Hiding must repaint the place the control leaves, so invalidate while still visible.
    if (!Value) Invalidate();
    FVisible = Value;
    if (Value) Invalidate();
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (FParent) {
        Invalidate();
        FParent->RemoveControl(this);
    }
    if (AParent) {
        AParent->InsertControl(this);
        Invalidate();
    }
}

void TControl::Invalidate() {
    if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
    TRect Bounds = BoundsRect();
    InvalidateRect(FParent->Handle(), reinterpret_cast<const RECT*>(&Bounds), TRUE);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* AParent) { SetParent(dynamic_cast<TWinControl*>(AParent)); }

const TClassInfo& TGraphicControl::ClassInfo() {
    static const TClassInfo Info = DeclareClass<TGraphicControl, TControl>(L"TGraphicControl");
    return Info;
}
const TClassInfo& TGraphicControl::ClassType() const { return ClassInfo(); }

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

} // namespace zn
