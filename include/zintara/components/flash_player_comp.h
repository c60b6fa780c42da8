// TznFlashPlayerComp: a player without a window. The driver's buffer, of a size the application
// chooses, carries per-pixel alpha (premultiplied BGRA, the driver is created in transparent
// mode); the application reads it whole or row by row, hears of each changed rectangle through
// OnPaint, and forwards mouse and keyboard input itself.
#pragma once

#include "zintara/components/flash_host.h"

#include <cstdint>

namespace zn {

class TznFlashPlayerComp : public TznFlashHost<TComponent> {
public:
    explicit TznFlashPlayerComp(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    void Loaded() override;

    // A new size rebuilds the buffer; pointers into the old one are stale from then on.
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);

    // The top-left pixel of the buffer: Height rows of Width pixels, top row first, each a
    // little-endian 0xAARRGGBB word. Null when the driver has no buffer.
    void* BufferARGB() const;
    // The first pixel of Row (0 the top row), computed with the driver's width, which a size
    // below 1 clamps to 1; null for a row outside the buffer.
    void* Scanline(int Row) const;

    // Raised with the driver as sender and the rectangle that is final; never in the designer.
    const TznPaintEvent& OnPaint() const { return FOnPaint; }
    void SetOnPaint(const TznPaintEvent& Value) { FOnPaint = Value; }

    // Input in buffer pixels, handed to the driver unchanged. A driver may clear Key to 0
    // when the player consumed it.
    void CallMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void CallMouseMove(TShiftState Shift, int X, int Y);
    void CallMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // X and Y reach the player as the position of its wheel message.
    void CallMouseWheel(TShiftState Shift, int X, int Y, int WheelDelta, bool& Handled);
    void CallKeyDown(std::uint16_t& Key, TShiftState Shift);
    void CallKeyPress(wchar_t& Key, TShiftState Shift);
    void CallKeyUp(std::uint16_t& Key, TShiftState Shift);

protected:
    void CreateDriver() override;

private:
    void DoEraseBackground(TObject* Sender, const TRect& ARect);
    void DoPaint(TObject* Sender, const TRect& ARect);

    TznPaintEvent FOnPaint;
    int FWidth = 100;
    int FHeight = 100;
};

} // namespace zn
