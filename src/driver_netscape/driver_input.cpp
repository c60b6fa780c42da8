// TznFlashDriverNS input: mouse and keyboard as the Windows messages a windowless plug-in
// receives through NPP_HandleEvent. Coordinates are buffer pixels.
#include "zintara/zn_driver_netscape.h"

#include <windows.h>

namespace zn {
namespace {

std::uintptr_t KeyFlags(TShiftState Shift)
{
    std::uintptr_t flags = 0;
    if (Shift.Contains(ssShift))
        flags |= MK_SHIFT;
    if (Shift.Contains(ssCtrl))
        flags |= MK_CONTROL;
    if (Shift.Contains(ssLeft))
        flags |= MK_LBUTTON;
    if (Shift.Contains(ssRight))
        flags |= MK_RBUTTON;
    return flags;
}

std::uintptr_t Point(int X, int Y)
{
    return (static_cast<std::uint32_t>(X) & 0xFFFFu) | (static_cast<std::uint32_t>(Y) & 0xFFFFu)
                                                           << 16;
}

} // namespace

void TznFlashDriverNS::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        SendEvent(WM_LBUTTONDOWN, KeyFlags(Shift), Point(X, Y));
    } else if (Button == mbRight && !FDisableFlashMenu) {
        // The plug-in opens its context menu at a screen position.
        RECT window{};
        GetWindowRect(GetParentHandle(), &window);
        const TPoint offset = GetParentOffset();
        SendEvent(WM_RBUTTONDOWN, KeyFlags(Shift),
                  Point(X + window.left + offset.X, Y + window.top + offset.Y));
    }
}

void TznFlashDriverNS::MouseMove(TShiftState Shift, int X, int Y)
{
    SendEvent(WM_MOUSEMOVE, KeyFlags(Shift), Point(X, Y));
}

void TznFlashDriverNS::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        SendEvent(WM_LBUTTONUP, KeyFlags(Shift), Point(X, Y));
    else if (Button == mbRight)
        SendEvent(WM_RBUTTONUP, KeyFlags(Shift), Point(X, Y));
}

void TznFlashDriverNS::MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool&)
{
    SendEvent(WM_MOUSEWHEEL,
              (KeyFlags(Shift) & 0xFFFFu) | (static_cast<std::uint32_t>(WheelDelta) & 0xFFFFu)
                                                << 16,
              Point(X, Y));
}

void TznFlashDriverNS::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    SendEvent(WM_KEYDOWN, Key, KeyFlags(Shift));
}

void TznFlashDriverNS::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    SendEvent(WM_KEYUP, Key, KeyFlags(Shift));
}

// One WM_CHAR per byte of the character in the system code page.
void TznFlashDriverNS::KeyPress(wchar_t& Char, TShiftState Shift)
{
    char bytes[10];
    const int count =
        WideCharToMultiByte(CP_ACP, 0, &Char, 1, bytes, sizeof bytes, nullptr, nullptr);
    for (int i = 0; i < count; ++i)
        SendEvent(WM_CHAR, static_cast<unsigned char>(bytes[i]), KeyFlags(Shift));
}

} // namespace zn
