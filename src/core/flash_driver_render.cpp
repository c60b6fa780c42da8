// Rendering a dirty rectangle into the driver's buffers, the same for both Flash hosts, and the
// outline that shows updated rectangles while debugging.
#include "zintara/core/alpha.h"
#include "zintara/core/flash_driver.h"

namespace zn {
namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

TznPixelRect ToPixelRect(const TRect& Rect) { return {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}; }
TRect ToRect(const TznPixelRect& Rect) { return {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}; }

} // namespace

void TznFlashDriver::DrawClipped(HDC DC, const TRect& ARect, const TznDrawPlayerMethod& ADraw)
{
    const TSavedDCState saved = SaveState(DC);
    IntersectClipRect(DC, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
    ADraw(DC, ARect);
}

TRect TznFlashDriver::RenderDirtyRect(const TRect& ARect, const TznDrawPlayerMethod& ADraw)
{
    const TznPixelRect clipped = ClipToBuffer(ToPixelRect(ARect), FWidth, FHeight);
    const TRect rect = ToRect(clipped);
    if (FBufferBits == nullptr || clipped.IsEmpty())
        return rect;

    // The player and the owner are called back from here and may resize the driver; the
    // rectangle and the pixel pointers then belong to buffers that are gone.
    const unsigned generation = FBufferGeneration;
    const auto buffersUnchanged = [&] { return FBufferGeneration == generation; };
    const auto currentRect = [&] { return ToRect(ClipToBuffer(clipped, FWidth, FHeight)); };

    if (FBufferBits2 == nullptr) {
        if (FOnEraseBackground) {
            FOnEraseBackground(this, rect);
            if (!buffersUnchanged())
                return currentRect();
        }
        DrawClipped(FBufferDC.get(), rect, ADraw);
        return currentRect();
    }

    // Pending GDI drawing must reach the pixels before they are written directly, and the
    // player's drawing before they are read.
    GdiFlush();
    FillLongwordRect(FBufferBits, FWidth, FHeight, rect.Left, rect.Top, rect.Right, rect.Bottom,
                     kOpaqueBlack);
    DrawClipped(FBufferDC.get(), rect, ADraw);
    if (!buffersUnchanged())
        return currentRect();
    GdiFlush();
    FillLongwordRect(FBufferBits2, FWidth, FHeight, rect.Left, rect.Top, rect.Right, rect.Bottom,
                     kOpaqueWhite);
    DrawClipped(FBufferDC2.get(), rect, ADraw);
    if (!buffersUnchanged())
        return currentRect();
    GdiFlush();
    RecoverAlpha(FBufferBits, FBufferBits2, FWidth, FHeight, clipped);
    return rect;
}

void TznFlashDriver::DrawUpdateRect(const TRect& ARect)
{
    if (!FShowUpdateRects || !FBufferDC)
        return;
    HDC dc = FBufferDC.get();
    // The framework's red (TColor 255) is the COLORREF of pure red.
    const TGdiObject pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    const TSelectedObject penSelection = SelectInto(dc, pen.get());
    const TSelectedObject brushSelection = SelectInto(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
    GdiFlush();
}

} // namespace zn
