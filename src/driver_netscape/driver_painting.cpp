// TznFlashDriverNS painting: a dirty rectangle the plug-in invalidates is rendered at once,
// inside its NPN_InvalidateRect call, through the base class's rendering in either mode.
#include "zintara/zn_driver_netscape.h"

#include "plugin_instance.h"

namespace zn {
namespace {

// A player that invalidates from inside every paint would keep the pass going for ever; what
// it invalidates after this many passes waits for the next one.
constexpr int MaxPaintPasses = 4;

} // namespace

// An invalidation from inside a running pass (from NPP_SetWindow or WM_PAINT) is deferred by
// the rendering and painted here after the pass, not over the pass's half-drawn buffers.
void TznFlashDriverNS::InvalidateRect(TNPRect& Rect)
{
    if (!PluginExists())
        return;
    if (Rect.right > FWidth)
        Rect.right = static_cast<std::uint16_t>(FWidth);
    if (Rect.bottom > FHeight)
        Rect.bottom = static_cast<std::uint16_t>(FHeight);
    TRect dirty{Rect.left, Rect.top, Rect.right, Rect.bottom};

    const netscape::TPluginCall call(FPlugin);
    for (int pass = 0; pass < MaxPaintPasses && !dirty.IsEmpty(); ++pass) {
        const TRect painted =
            RenderDirtyRect(dirty, TznDrawPlayerMethod::Bind<&TznFlashDriverNS::DrawPlayer>(this));
        // Nothing painted: no buffer, or a pass is running and the rectangle waits for it.
        if (!call.Driver() || painted.IsEmpty())
            return;
        if (FOnPaint) {
            FOnPaint(this, painted);
            if (!call.Driver())
                return;
        }
        DrawUpdateRect(painted);
        dirty = TakeDeferredRect();
    }
}

// The plug-in draws into the context its instance was last announced, so it is told first when
// that is another: the other buffer's in transparent mode (once per repaint, as the rendering
// starts with the buffer drawn last), the new buffer's after a change of mode, and any at all
// for an instance that was never announced.
void TznFlashDriverNS::DrawPlayer(HDC DC, const TRect& ARect)
{
    if (!FPlugin)
        return;
    const netscape::TPluginCall call(FPlugin);
    const TNPWindow& announced = FPlugin->AnnouncedWindow();
    if (announced.window != DC || announced.width != static_cast<std::uint32_t>(FWidth) ||
        announced.height != static_cast<std::uint32_t>(FHeight)) {
        wnd.type = NPWindowTypeDrawable;
        wnd.width = static_cast<std::uint32_t>(FWidth);
        wnd.height = static_cast<std::uint32_t>(FHeight);
        wnd.window = DC;
        call.SetWindow(wnd);
        if (!call.Driver())
            return;
    }
    RECT dirty{ARect.Left, ARect.Top, ARect.Right, ARect.Bottom};
    call.HandleEvent(WM_PAINT, reinterpret_cast<std::uintptr_t>(DC),
                     reinterpret_cast<std::uintptr_t>(&dirty));
}

void TznFlashDriverNS::SendEvent(std::uint16_t Event, std::uintptr_t WParam, std::uintptr_t LParam)
{
    netscape::TPluginCall(FPlugin).HandleEvent(Event, WParam, LParam);
}

} // namespace zn
