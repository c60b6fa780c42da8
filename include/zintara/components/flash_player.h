// TznFlashPlayer: the player as a control without a window of its own, painted on its parent.
// Transparency needs no blending: before the player draws a rectangle, the parent paints itself
// into that rectangle of the buffer, so the movie is drawn over an exact copy of what lies
// behind the control, and the finished buffer is copied opaquely to the screen. With Transparent
// off the rectangle is filled with the control's colour instead.
#pragma once

#include "zintara/components/flash_control.h"

namespace zn {

class TznFlashPlayer : public TznFlashControl<TGraphicControl> {
public:
    explicit TznFlashPlayer(TComponent* AOwner);

    static const TClassInfo& ClassInfo();
    const TClassInfo& ClassType() const override;

    void Loaded() override;

    bool Transparent() const { return FTransparent; }
    // Repaints the whole movie over the new background.
    void SetTransparent(bool Value);

protected:
    void CreateDriver() override;
    // Copies the whole buffer to the control's place on the parent.
    void Paint() override;
    // The framework's events first, then the player.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMColorChanged(TMessage& Message) override;

private:
    void DoEraseBackground(TObject* Sender, const TRect& ARect);
    void DoPaint(TObject* Sender, const TRect& ARect);
    void BindDriverHandlers();

    bool FTransparent = true;
    // Set while the parent paints into the buffer: the parent paints its graphic children too,
    // and this control must not copy its old buffer over the background it is being given.
    bool FErasing = false;
    // An erase found no parent window to copy from; the buffer lacks its background.
    bool FBackgroundPending = false;
};

} // namespace zn
