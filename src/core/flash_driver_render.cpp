// Rendering a dirty rectangle into the driver's buffers, the same for both Flash hosts, and the
// outline that shows updated rectangles while debugging.
#include "zintara/core/alpha.h"
#include "zintara/core/flash_driver.h"

#include <algorithm>
#include <utility>

namespace zn {
namespace {

constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

TznPixelRect ToPixelRect(const TRect& Rect)
{
    return {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
}
TRect ToRect(const TznPixelRect& Rect)
{
    return {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
}

TznPixelRect Union(const TznPixelRect& A, const TznPixelRect& B)
{
    if (A.IsEmpty())
        return B;
    return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
            std::max(A.Bottom, B.Bottom)};
}

} // namespace

// The clip is the only state of the context a pass changes: a windowless player gives back the
// state it changes itself. Selecting a region the driver keeps costs a tenth of saving and
// restoring the whole context, which copies it.
void TznFlashDriver::DrawClipped(HDC DC, const TRect& ARect, const TznDrawPlayerMethod& ADraw)
{
    SetRectRgn(FClipRegion.get(), ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
    SelectClipRgn(DC, FClipRegion.get());
    // Held apart from the driver, which the player's callbacks may free.
    const struct TClipEnds {
        HDC DC;
        ~TClipEnds() { SelectClipRgn(DC, nullptr); }
    } clip_ends{DC};
    ADraw(DC, ARect);
}

TRect TznFlashDriver::RenderDirtyRect(const TRect& ARect, const TznDrawPlayerMethod& ADraw)
{
    const TznPixelRect clipped = ClipToBuffer(ToPixelRect(ARect), FWidth, FHeight);
    const TRect rect = ToRect(clipped);
    if (FBufferBits == nullptr || clipped.IsEmpty())
        return rect;
    // The state is held here, not read through the driver: a callback may free the driver.
    const std::shared_ptr<TRenderState> state = FRenderState;
    if (state->Rendering) {
        state->Deferred = Union(state->Deferred, clipped);
        return {};
    }
    state->Rendering = true;
    const struct TRenderingEnds {
        TRenderState& State;
        ~TRenderingEnds() { State.Rendering = false; }
    } rendering_ends{*state};

    // The player and the owner are called back from here and may resize or free the driver;
    // the rectangle and the pixel pointers then belong to buffers that are gone.
    const unsigned generation = state->BufferGeneration;
    const auto interrupted = [&] {
        return state->DriverFreed || state->BufferGeneration != generation;
    };
    const auto current_rect = [&] {
        return state->DriverFreed ? TRect{} : ToRect(ClipToBuffer(clipped, FWidth, FHeight));
    };

    if (FBufferBits2 == nullptr) {
        if (FOnEraseBackground) {
            FOnEraseBackground(this, rect);
            if (interrupted())
                return current_rect();
        }
        DrawClipped(FBufferDC.get(), rect, ADraw);
        return current_rect();
    }

    // The pass into the buffer drawn last comes first: a host that tells its player each change
    // of context then tells it once per repaint, not twice.
    struct TPass {
        PznColorArray Bits;
        std::uint32_t Fill;
        HDC DC;
        bool Second;
    };
    TPass passes[] = {{FBufferBits, kOpaqueBlack, FBufferDC.get(), false},
                      {FBufferBits2, kOpaqueWhite, FBufferDC2.get(), true}};
    if (state->SecondDrawnLast)
        std::swap(passes[0], passes[1]);
    for (const TPass& pass : passes) {
        // Pending GDI drawing must reach the pixels before they are written directly, and the
        // player's drawing before they are read.
        GdiFlush();
        FillLongwordRect(pass.Bits, FWidth, FHeight, rect.Left, rect.Top, rect.Right, rect.Bottom,
                         pass.Fill);
        state->SecondDrawnLast = pass.Second;
        DrawClipped(pass.DC, rect, ADraw);
        if (interrupted())
            return current_rect();
    }
    GdiFlush();
    RecoverAlpha(FBufferBits, FBufferBits2, FWidth, FHeight, clipped);
    return rect;
}

TRect TznFlashDriver::TakeDeferredRect()
{
    const TznPixelRect deferred = std::exchange(FRenderState->Deferred, TznPixelRect{});
    return ToRect(ClipToBuffer(deferred, FWidth, FHeight));
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
