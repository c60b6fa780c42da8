// Painting a windowed control: its background, its own surface, its graphic children at their
// places, and the whole tree into any device context (PaintTo).
#include "zintara/framework/controls.h"

#include "paint_context.h"

namespace zn {

namespace {

// Ends the paint BeginPaint began, however the painting ends.
class TPaintScope {
public:
    explicit TPaintScope(HWND Window) : FWindow(Window), FDC(BeginPaint(Window, &FPaint)) {}
    ~TPaintScope() { EndPaint(FWindow, &FPaint); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC DC() const { return FDC; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

} // namespace

void TWinControl::WMPaint(TMessage& Message) {
    Message.Result = 0;
    // A context in WParam asks for a paint into it (PaintTo, WM_PRINTCLIENT-like callers).
    if (auto* DC = reinterpret_cast<HDC>(Message.WParam)) {
        PaintWindow(DC);
        PaintControls(DC);
        return;
    }
    if (!FHandle) return;
    TPaintScope Paint(FHandle);
    if (!Paint.DC()) return;
    PaintWindow(Paint.DC());
    PaintControls(Paint.DC());
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
    auto* DC = reinterpret_cast<HDC>(Message.WParam);
    Message.Result = 1;
    if (!DC) return;
    TRect Client = ClientRect();
    TGdiObject Brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color()))));
    if (Brush) FillRect(DC, reinterpret_cast<const RECT*>(&Client), static_cast<HBRUSH>(Brush.get()));
}

void TWinControl::PaintControls(HDC DC) {
    std::vector<TControl*> Children = FControls;
    for (TControl* Child : Children) {
        if (!Child->Visible() || dynamic_cast<TWinControl*>(Child)) continue;
        TRect Area = Child->BoundsRect();
        if (!RectVisible(DC, reinterpret_cast<const RECT*>(&Area))) continue;
        TSavedDCState Saved = SaveState(DC);
        MoveWindowOrg(DC, Area.Left, Area.Top);
        IntersectClipRect(DC, 0, 0, Area.Width(), Area.Height());
        Child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
    if (!DC) return;
    TSavedDCState Saved = SaveState(DC);
    MoveWindowOrg(DC, X, Y);
    TRect Client = ClientRect();
    IntersectClipRect(DC, 0, 0, Client.Width(), Client.Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    std::vector<TControl*> Children = FControls;
    for (TControl* Child : Children)
        if (auto* Windowed = dynamic_cast<TWinControl*>(Child); Windowed && Windowed->Visible())
            Windowed->PaintTo(DC, Windowed->Left(), Windowed->Top());
}

} // namespace zn
