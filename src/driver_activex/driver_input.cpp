// TznFlashDriverActiveX input: mouse and keyboard as the window messages a windowless control
// receives through OnWindowMessage. Coordinates are buffer pixels.
#include "zintara/zn_driver_activex.h"

#include "control_host.h"

namespace zn {
namespace {

LPARAM Point(int X, int Y)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(X) & 0xFFFFu) |
                               (static_cast<std::uint32_t>(Y) & 0xFFFFu) << 16);
}

bool IsMouseMessage(UINT Message)
{
    return Message >= WM_MOUSEFIRST && Message <= WM_MOUSELAST;
}

} // namespace

bool TznFlashDriverActiveX::SendMessageToControl(UINT Message, WPARAM WParam, LPARAM LParam)
{
    const TComPtr<IOleInPlaceObjectWindowless> windowless = FHost->FOleInPlaceObjectWindowless;
    if (!windowless)
        return false;
    const activex::TControlCall call(*FHost);
    LRESULT result = 0;
    return windowless->OnWindowMessage(Message, WParam, LParam, &result) == S_OK;
}

// After a mouse message it handled, the control sets its own cursor unless that is switched off.
void TznFlashDriverActiveX::SendMouseMessage(UINT Message, WPARAM WParam, int X, int Y)
{
    const activex::TControlCall call(*FHost);
    if (SendMessageToControl(Message, WParam, Point(X, Y)) && call.Driver() &&
        IsMouseMessage(Message) && !FDisableFlashCursor)
        SendMessageToControl(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// A right-button press may open the control's context menu: the site then names the parent
// window, once, and the point is moved into that window's coordinates. Other buttons send
// nothing.
void TznFlashDriverActiveX::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const WPARAM flags = ShiftStateToKeyFlags(Shift);
    if (Button == mbLeft) {
        SendMouseMessage(WM_LBUTTONDOWN, flags, X, Y);
    } else if (Button == mbRight) {
        const activex::TControlCall call(*FHost);
        if (!FDisableFlashMenu) {
            FNeedHandle = true;
            const TPoint offset = GetParentOffset();
            X += offset.X;
            Y += offset.Y;
        }
        SendMouseMessage(WM_RBUTTONDOWN, flags, X, Y);
        if (call.Driver())
            FNeedHandle = false;
    }
}

void TznFlashDriverActiveX::MouseMove(TShiftState Shift, int X, int Y)
{
    SendMouseMessage(WM_MOUSEMOVE, ShiftStateToKeyFlags(Shift), X, Y);
}

void TznFlashDriverActiveX::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        SendMouseMessage(WM_LBUTTONUP, ShiftStateToKeyFlags(Shift), X, Y);
    else if (Button == mbRight)
        SendMouseMessage(WM_RBUTTONUP, ShiftStateToKeyFlags(Shift), X, Y);
}

void TznFlashDriverActiveX::MouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool&)
{
    const WPARAM flags = (ShiftStateToKeyFlags(Shift) & 0xFFFFu) |
                         (static_cast<std::uint32_t>(WheelDelta) & 0xFFFFu) << 16;
    SendMouseMessage(WM_MOUSEWHEEL, flags, X, Y);
}

void TznFlashDriverActiveX::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (SendMessageToControl(WM_KEYDOWN, Key, static_cast<LPARAM>(ShiftStateToKeyFlags(Shift))))
        Key = 0;
}

void TznFlashDriverActiveX::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (SendMessageToControl(WM_KEYUP, Key, static_cast<LPARAM>(ShiftStateToKeyFlags(Shift))))
        Key = 0;
}

// One WM_CHAR per byte of the character in the system code page.
void TznFlashDriverActiveX::KeyPress(wchar_t& Char, TShiftState Shift)
{
    char bytes[10];
    const wchar_t character = Char;
    const int count =
        WideCharToMultiByte(CP_ACP, 0, &character, 1, bytes, sizeof bytes, nullptr, nullptr);
    const LPARAM flags = static_cast<LPARAM>(ShiftStateToKeyFlags(Shift));
    const activex::TControlCall call(*FHost);
    for (int i = 0; i < count && call.Driver(); ++i)
        if (SendMessageToControl(WM_CHAR, static_cast<unsigned char>(bytes[i]), flags) &&
            call.Driver())
            Char = 0;
}

} // namespace zn
