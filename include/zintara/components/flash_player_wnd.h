// TznCustomFlashPlayerWnd: the player in a window of its own, which takes the keyboard focus and
// forwards keys, characters and the mouse to the player. Driver updates only invalidate the
// window; its paint copies the whole buffer. The background is the control's colour ANDed with
// an alpha mask, which is how the layered window gets a transparent one.
// TznFlashPlayerWnd publishes the framework's layout and appearance properties on top.
#pragma once

#include "zintara/components/flash_control.h"

#include <cstdint>

namespace zn {

class TznCustomFlashPlayerWnd : public TznFlashControl<TCustomControl> {
public:
    explicit TznCustomFlashPlayerWnd(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    void Loaded() override;

protected:
    // For descendants whose background has another alpha mask (FAlphaMask), which every driver
    // they get is made with.
    TznCustomFlashPlayerWnd(TComponent* AOwner, std::uint32_t AAlphaMask);

    // The handlers the driver calls; descendants override them, and the driver calls theirs.
    virtual void DoPaint(TObject* Sender, const TRect& ARect);
    virtual void DoEraseBackground(TObject* Sender, const TRect& ARect);

    void CreateDriver() override;
    void Paint() override;
    // A press takes the focus before the player sees it.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // The paint covers the whole window, so the system erases nothing.
    void WMEraseBkgnd(TMessage& Message) override;
    // Arrows, Tab and characters come to the control instead of dialog navigation.
    void WMGetDlgCode(TMessage& Message) override;
    // The player sees a key first; one it consumed reaches the framework's key events as 0.
    void WMKeyDown(TMessage& Message) override;
    void WMKeyUp(TMessage& Message) override;
    // Characters from space up reach the player; control characters never do.
    void WMChar(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;

    // ANDed with the colour pixel for the background of every driver: all ones here (opaque),
    // 0 in the layer (transparent, with per-pixel alpha).
    const std::uint32_t FAlphaMask;

private:
    void DoPaintHandler(TObject* Sender, const TRect& ARect) { DoPaint(Sender, ARect); }
    void DoEraseBackgroundHandler(TObject* Sender, const TRect& ARect)
    {
        DoEraseBackground(Sender, ARect);
    }
    void BindDriverHandlers();
};

class TznFlashPlayerWnd : public TznCustomFlashPlayerWnd {
public:
    using TznCustomFlashPlayerWnd::TznCustomFlashPlayerWnd;

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;
};

} // namespace zn
