// What controls exchange: the message record their window procedures pass around, the
// framework's own messages, the layout and drag enumerations, and the event types.
#pragma once

#include "zintara/framework/method.h"
#include "zintara/framework/types.h"

#include <windows.h>

#include <cstdint>

namespace zn {

class TObject;
class TControl;

// One message on its way through a control's WndProc; handlers set Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    // The virtual key or character of a key message, and its key data.
    std::uint16_t CharCode() const { return static_cast<std::uint16_t>(WParam & 0xFFFF); }
    void SetCharCode(std::uint16_t Value) { WParam = Value; }
    LPARAM KeyData() const { return LParam; }
    // The client position of a mouse message.
    TPoint Position() const
    {
        return TPoint{static_cast<std::int16_t>(LParam & 0xFFFF),
                      static_cast<std::int16_t>((LParam >> 16) & 0xFFFF)};
    }
};

constexpr LPARAM PointToLParam(int X, int Y)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(Y)) << 16) |
                               static_cast<std::uint16_t>(X));
}

// The framework's messages, sent to controls with Perform; the numbers are those stored
// components and their hosts expect.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 35;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 36;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
inline constexpr const wchar_t* AlignNames[] = {L"alNone", L"alTop",   L"alBottom",
                                                L"alLeft", L"alRight", L"alClient"};

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
inline constexpr TAnchorKind akLeft = TAnchorKind::akLeft;
inline constexpr TAnchorKind akTop = TAnchorKind::akTop;
inline constexpr TAnchorKind akRight = TAnchorKind::akRight;
inline constexpr TAnchorKind akBottom = TAnchorKind::akBottom;
inline constexpr const wchar_t* AnchorNames[] = {L"akLeft", L"akTop", L"akRight", L"akBottom"};

enum TDragMode { dmManual, dmAutomatic };
inline constexpr const wchar_t* DragModeNames[] = {L"dmManual", L"dmAutomatic"};
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Cursor identifiers: 0 the default, negative the framework's stock cursors.
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;

using TMouseEvent =
    TMethod<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TMethod<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = TMethod<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                      TPoint MousePos, bool& Handled)>;
using TKeyEvent = TMethod<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TMethod<void(TObject* Sender, wchar_t& Key)>;
using TDragDropEvent = TMethod<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDragOverEvent =
    TMethod<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TEndDragEvent = TMethod<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = TMethod<void(TObject* Sender, TObject*& DragObject)>;

// The shift state of a mouse message's key flags (MK_ values), with Alt read from the keyboard.
TShiftState KeysToShiftState(WPARAM Keys);
// The shift state of a key message's key data: Alt from the context bit, Shift and Ctrl from
// the keyboard state when the message was posted.
TShiftState KeyDataToShiftState(LPARAM KeyData);

} // namespace zn
