// TznFlashDriverNS painting: a dirty rectangle the plug-in invalidates is rendered at once,
// inside its NPN_InvalidateRect call, through the base class's rendering in either mode.
#include "zintara/zn_driver_netscape.h"

#include "netscape_unit.h"

#include <cstring>

namespace zn {

void TznFlashDriverNS::InvalidateRect(TNPRect& Rect)
{
    if (!PluginExists())
        return;
    if (Rect.right > FWidth)
        Rect.right = static_cast<std::uint16_t>(FWidth);
    if (Rect.bottom > FHeight)
        Rect.bottom = static_cast<std::uint16_t>(FHeight);
    const TRect dirty{Rect.left, Rect.top, Rect.right, Rect.bottom};
    if (dirty.IsEmpty())
        return;

    const std::shared_ptr<bool> alive = FAlive;
    const TRect painted =
        RenderDirtyRect(dirty, TznDrawPlayerMethod::Bind<&TznFlashDriverNS::DrawPlayer>(this));
    if (!*alive || painted.IsEmpty())
        return;
    if (FOnPaint)
        FOnPaint(this, painted);
    if (*alive && FShowUpdateRects)
        DrawUpdateRect(painted);
}

// In transparent mode each pass draws into another context, which the plug-in is told first.
// In opaque mode the announced context is the one drawn into, unless a change of mode left an
// older one announced.
void TznFlashDriverNS::DrawPlayer(HDC DC, const TRect& ARect)
{
    if (FBufferBits2 || wnd.window != DC) {
        wnd.type = NPWindowTypeDrawable;
        wnd.width = static_cast<std::uint32_t>(FWidth);
        wnd.height = static_cast<std::uint32_t>(FHeight);
        wnd.window = DC;
        SetWindow();
    }
    RECT dirty{ARect.Left, ARect.Top, ARect.Right, ARect.Bottom};
    SendEvent(WM_PAINT, reinterpret_cast<std::uintptr_t>(DC),
              reinterpret_cast<std::uintptr_t>(&dirty));
}

void TznFlashDriverNS::SendEvent(std::uint16_t Event, std::uintptr_t WParam,
                                 std::uintptr_t LParam)
{
    if (!FInstanceCreated)
        return;
    const auto event = netscape::TNetscapeUnit::Instance().PluginFuncs().event;
    if (!event)
        return;
    // Zeroed whole: the padding after event must not carry stack bytes into the plug-in.
    TNPEvent message;
    std::memset(&message, 0, sizeof message);
    message.event = Event;
    message.wParam = WParam;
    message.lParam = LParam;
    netscape::TNetscapeUnit::Instance().LastNPError = event(&FInstance, &message);
}

} // namespace zn
