// The graphic player control: the parent painted behind the movie, the buffer copied to the
// parent's window after every update.
#include "zintara/components/flash_player.h"

#include "zintara/core/pixels.h"
#include "zintara/framework/handles.h"
#include "zintara/framework/properties.h"

namespace zn {

TznFlashPlayer::TznFlashPlayer(TComponent* AOwner) : TznFlashControl(AOwner)
{
    CheckFlashPlugins();
    SetWidth(100);
    SetHeight(100);
    CreateDriver();
}

const TClassInfo& TznFlashPlayer::ClassInfo()
{
    using C = TznFlashPlayer;
    using P = TPublished<C>;
    using F = TPublishedControl<C>;
    static const TPropertyInfo properties[] = {
        F::Align(),
        F::Anchors(),
        F::DragCursor(),
        F::DragMode(),
        F::Color(),
        F::ParentColor(),
        F::ParentShowHint(),
        F::PopupMenu(),
        F::ShowHint(),
        F::Visible(),
        F::OnDragDrop(),
        F::OnDragOver(),
        F::OnEndDrag(),
        F::OnStartDrag(),
        F::OnClick(),
        P::Boolean<&C::DisableFlashCursor, &C::SetDisableFlashCursor>(L"DisableFlashCursor", false),
        P::Boolean<&C::DisableFlashMenu, &C::SetDisableFlashMenu>(L"DisableFlashMenu", true),
        P::Enumeration<&C::Plugin, &C::SetPlugin>(L"Plugin", PluginNames, znDefault),
        P::WideString<&C::Movie, &C::SetMovie>(L"Movie"),
        P::WideString<&C::Skin, &C::SetSkin>(L"Skin"),
        P::Boolean<&C::Pause, &C::SetPause>(L"Pause"),
        P::Integer<&C::Volume, &C::SetVolume>(L"Volume"),
        P::Event(L"OnFSCommand"),
        P::Event(L"OnFlashCall"),
        P::Boolean<&C::Transparent, &C::SetTransparent>(L"Transparent", true),
    };
    static const TClassInfo info = DeclareClass<C, TGraphicControl>(L"TznFlashPlayer", properties);
    return info;
}

const TClassInfo& TznFlashPlayer::ClassType() const
{
    return ClassInfo();
}

void TznFlashPlayer::CreateDriver()
{
    ChangePlugin(FDriver, FPlugin, FMovie, Width(), Height(), ColorPixel(), this,
                 TznPaintEvent::Bind<&TznFlashPlayer::DoPaint>(this),
                 TznEraseBackgroundEvent::Bind<&TznFlashPlayer::DoEraseBackground>(this),
                 FOnFSCommand, FOnFlashCall);
}

void TznFlashPlayer::Loaded()
{
    TznFlashControl::Loaded();
    DoEraseBackground(FDriver.get(), Rect(0, 0, Width(), Height()));
    LoadRecordedMovie();
}

void TznFlashPlayer::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    if (FDriver) {
        FDriver->SetBackground(ColorPixel());
        FDriver->ForceUpdate();
    }
}

void TznFlashPlayer::CMColorChanged(TMessage& Message)
{
    TznFlashControl::CMColorChanged(Message);
    if (FDriver) {
        FDriver->SetBackground(ColorPixel());
        FDriver->ForceUpdate();
    }
}

void TznFlashPlayer::DoEraseBackground(TObject*, const TRect& ARect)
{
    if (!FDriver || !FDriver->BufferBits())
        return;
    if (!FTransparent) {
        FillLongwordRect(FDriver->BufferBits(), FDriver->Width(), FDriver->Height(), ARect.Left,
                         ARect.Top, ARect.Right, ARect.Bottom, ColorPixel());
        return;
    }
    if (!Parent() || !Parent()->HandleAllocated()) {
        // Made before its parent's window: the first paint on the parent fetches the background.
        FBackgroundPending = true;
        return;
    }
    const HDC dc = FDriver->BufferDC();
    const TSavedDCState saved = SaveState(dc);
    if (const TRegion region{CreateRectRgn(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom)})
        SelectClipRgn(dc, region.get());
    struct TErasing {
        bool& Flag;
        explicit TErasing(bool& AFlag) : Flag(AFlag) { Flag = true; }
        ~TErasing() { Flag = false; }
    } erasing(FErasing);
    Parent()->PaintTo(dc, -Left(), -Top());
}

void TznFlashPlayer::DoPaint(TObject*, const TRect&)
{
    if (!ComponentState().Contains(csDesigning))
        Paint();
}

void TznFlashPlayer::BindDriverHandlers()
{
    FDriver->SetOnPaint(nullptr);
    FDriver->SetOnEraseBackground(nullptr);
    FDriver->SetOnPaint(TznPaintEvent::Bind<&TznFlashPlayer::DoPaint>(this));
    FDriver->SetOnEraseBackground(
        TznEraseBackgroundEvent::Bind<&TznFlashPlayer::DoEraseBackground>(this));
}

void TznFlashPlayer::Paint()
{
    if (FErasing || !FDriver)
        return;
    // The designer may have handed the driver's callbacks elsewhere; take them back.
    if (ComponentState().Contains(csDesigning))
        BindDriverHandlers();
    if (FBackgroundPending && FTransparent && Parent() && Parent()->HandleAllocated()) {
        FBackgroundPending = false;
        // Erased here for a driver without a player; a player draws the movie over it again.
        DoEraseBackground(FDriver.get(), Rect(0, 0, FDriver->Width(), FDriver->Height()));
        FDriver->ForceUpdate();
    }
    CopyBufferToCanvas();
}

void TznFlashPlayer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TznFlashControl::MouseDown(Button, Shift, X, Y);
    if (FDriver)
        FDriver->MouseDown(Button, Shift, X, Y);
}

} // namespace zn
