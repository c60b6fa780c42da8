// TznFlashControl: what the two visual player controls share on top of TznFlashHost. The
// buffer follows the control's size, the mouse goes to the framework's events first and then to
// the player, and the whole buffer is copied to the screen in one BitBlt.
#pragma once

#include "zintara/components/flash_host.h"
#include "zintara/core/pixels.h"
#include "zintara/framework/controls.h"
#include "zintara/framework/graphics.h"

#include <windows.h>

#include <cstdint>

namespace zn {

template <class TBase>
class TznFlashControl : public TznFlashHost<TBase> {
public:
    // A new size resizes the buffer; a move alone keeps it.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override
    {
        TznFlashHost<TBase>::SetBounds(ALeft, ATop, AWidth, AHeight);
        if (this->FDriver)
            this->FDriver->Resize(this->Width(), this->Height());
    }

protected:
    using TznFlashHost<TBase>::TznFlashHost;

    // Client coordinates are buffer coordinates. The wheel position is the framework's, in
    // screen pixels, and the player's answer decides whether the wheel was handled.
    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        TznFlashHost<TBase>::MouseMove(Shift, X, Y);
        if (this->FDriver)
            this->FDriver->MouseMove(Shift, X, Y);
    }
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TznFlashHost<TBase>::MouseUp(Button, Shift, X, Y);
        if (this->FDriver)
            this->FDriver->MouseUp(Button, Shift, X, Y);
    }
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override
    {
        bool handled = TznFlashHost<TBase>::DoMouseWheel(Shift, WheelDelta, MousePos);
        if (this->FDriver)
            this->FDriver->MouseWheel(Shift, MousePos.X, MousePos.Y, WheelDelta, handled);
        return handled;
    }

    // The opaque pixel of the control's colour.
    std::uint32_t ColorPixel() const { return ColorToPixel(ColorToRGB(this->Color())); }

    // The whole buffer to the control's canvas at (0, 0).
    void CopyBufferToCanvas()
    {
        if (!this->FDriver)
            return;
        BitBlt(this->Canvas().Handle(), 0, 0, this->FDriver->Width(), this->FDriver->Height(),
               this->FDriver->BufferDC(), 0, 0, SRCCOPY);
    }
};

} // namespace zn
