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

void TWinControl::WMPaint(TMessage& Message)
{
    Message.Result = 0;
    // A context in WParam asks for a paint into it (PaintTo, WM_PRINTCLIENT-like callers).
    if (auto* dc = reinterpret_cast<HDC>(Message.WParam)) {
        PaintWindow(dc);
        PaintControls(dc);
        return;
    }
    if (!FHandle)
        return;
    TPaintScope paint(FHandle);
    if (!paint.DC())
        return;
    PaintWindow(paint.DC());
    PaintControls(paint.DC());
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::WMEraseBkgnd(TMessage& Message)
{
    auto* dc = reinterpret_cast<HDC>(Message.WParam);
    Message.Result = 1;
    if (!dc)
        return;
    TRect client = ClientRect();
    TGdiObject brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color()))));
    if (brush)
        FillRect(dc, reinterpret_cast<const RECT*>(&client), static_cast<HBRUSH>(brush.get()));
}

void TWinControl::PaintControls(HDC DC)
{
    std::vector<TControl*> children = FControls;
    for (TControl* child : children) {
        if (!child->Visible() || dynamic_cast<TWinControl*>(child))
            continue;
        TRect area = child->BoundsRect();
        if (!RectVisible(DC, reinterpret_cast<const RECT*>(&area)))
            continue;
        TSavedDCState saved = SaveState(DC);
        MoveWindowOrg(DC, area.Left, area.Top);
        IntersectClipRect(DC, 0, 0, area.Width(), area.Height());
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

void TWinControl::PaintTo(HDC DC, int X, int Y)
{
    if (!DC)
        return;
    TSavedDCState saved = SaveState(DC);
    MoveWindowOrg(DC, X, Y);
    TRect client = ClientRect();
    IntersectClipRect(DC, 0, 0, client.Width(), client.Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    std::vector<TControl*> children = FControls;
    for (TControl* child : children)
        if (auto* windowed = dynamic_cast<TWinControl*>(child); windowed && windowed->Visible())
            windowed->PaintTo(DC, windowed->Left(), windowed->Top());
}

} // namespace zn
