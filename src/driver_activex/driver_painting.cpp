// TznFlashDriverActiveX painting: the control draws through its view object into the buffer, at
// once, inside the site's InvalidateRect, through the base class's rendering in either mode.
#include "zintara/zn_driver_activex.h"

#include "control_host.h"

#include <algorithm>

namespace zn {
namespace {

// A control that invalidates from inside every draw would keep the repaint going for ever; what
// it invalidates after this many passes waits for the next repaint.
constexpr int MaxPaintPasses = 4;

TRect ClampToBuffer(const TRect& Rect, int Width, int Height)
{
    return {std::clamp(Rect.Left, 0, Width), std::clamp(Rect.Top, 0, Height),
            std::clamp(Rect.Right, 0, Width), std::clamp(Rect.Bottom, 0, Height)};
}

} // namespace

void TznFlashDriverActiveX::TellObjectRects()
{
    if (const TComPtr<IOleInPlaceObjectWindowless> windowless =
            FHost->FOleInPlaceObjectWindowless) {
        const activex::TControlCall call(*FHost);
        const RECT bounds{0, 0, FWidth, FHeight};
        windowless->SetObjectRects(&bounds, &bounds);
    }
}

void TznFlashDriverActiveX::CreateBuffer()
{
    TznFlashDriver::CreateBuffer();
    if (!FHost->FOleInPlaceObjectWindowless)
        return;
    const activex::TControlCall call(*FHost);
    TellObjectRects();
    if (call.Driver())
        Repaint({0, 0, FWidth, FHeight});
}

void TznFlashDriverActiveX::ResizeBuffer()
{
    TznFlashDriver::ResizeBuffer();
    TellObjectRects();
}

void TznFlashDriverActiveX::ForceUpdate()
{
    Repaint({0, 0, FWidth, FHeight});
}

// Left and top are limited at 0 like right and bottom, so that a rectangle the control gives
// reaching outside the buffer never writes outside it. An invalidation from inside a running
// draw is deferred by the rendering and painted here after the draw.
void TznFlashDriverActiveX::Repaint(const TRect& Rect)
{
    const activex::TControlCall call(*FHost);
    TRect dirty = ClampToBuffer(Rect, FWidth, FHeight);
    for (int pass = 0; pass < MaxPaintPasses && !dirty.IsEmpty(); ++pass) {
        TRect painted = dirty;
        if (FBufferDC && FHost->FViewObject) {
            painted = RenderDirtyRect(
                dirty, TznDrawPlayerMethod::Bind<&TznFlashDriverActiveX::DrawControl>(this));
            // Nothing painted: the buffer went, or a draw is running and the rectangle waits.
            if (!call.Driver() || painted.IsEmpty())
                return;
            DrawUpdateRect(painted);
        }
        if (FOnPaint) {
            FOnPaint(this, painted);
            if (!call.Driver())
                return;
        }
        dirty = TakeDeferredRect();
    }
}

// The rendering clips the context to ARect; the control draws its whole frame at the buffer's
// bounds, and only ARect of it reaches the buffer.
void TznFlashDriverActiveX::DrawControl(HDC DC, const TRect&)
{
    const TComPtr<IViewObject> view = FHost->FViewObject;
    if (!view)
        return;
    const activex::TControlCall call(*FHost);
    const RECTL bounds{0, 0, FWidth, FHeight};
    view->Draw(DVASPECT_OPAQUE, -1, nullptr, nullptr, nullptr, DC, &bounds, nullptr, nullptr, 0);
}

} // namespace zn
