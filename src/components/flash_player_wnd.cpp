// The windowed player control: the buffer painted on WM_PAINT, keys and characters to the player.
#include "zintara/components/flash_player_wnd.h"

#include "zintara/core/pixels.h"
#include "zintara/framework/properties.h"

namespace zn {

namespace {

// DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS.
constexpr LRESULT WantedDialogKeys = 0x83;

} // namespace

TznCustomFlashPlayerWnd::TznCustomFlashPlayerWnd(TComponent* AOwner)
    : TznCustomFlashPlayerWnd(AOwner, 0xFFFFFFFFu)
{}

TznCustomFlashPlayerWnd::TznCustomFlashPlayerWnd(TComponent* AOwner, std::uint32_t AAlphaMask)
    : TznFlashControl(AOwner), FAlphaMask(AAlphaMask)
{
    CheckFlashPlugins();
    SetWidth(100);
    SetHeight(100);
    SetTabStop(true);
    CreateDriver();
}

const TClassInfo& TznCustomFlashPlayerWnd::ClassInfo()
{
    using C = TznCustomFlashPlayerWnd;
    using P = TPublished<C>;
    static const TPropertyInfo properties[] = {
        P::Boolean<&C::DisableFlashCursor, &C::SetDisableFlashCursor>(L"DisableFlashCursor", false),
        P::Boolean<&C::DisableFlashMenu, &C::SetDisableFlashMenu>(L"DisableFlashMenu", true),
        P::Enumeration<&C::Plugin, &C::SetPlugin>(L"Plugin", PluginNames, znDefault),
        P::WideString<&C::Movie, &C::SetMovie>(L"Movie"),
        P::WideString<&C::Skin, &C::SetSkin>(L"Skin"),
        P::Boolean<&C::Pause, &C::SetPause>(L"Pause"),
        P::Integer<&C::Volume, &C::SetVolume>(L"Volume"),
        P::Event(L"OnFSCommand"),
        P::Event(L"OnFlashCall"),
        P::Boolean<&TWinControl::TabStop, &TWinControl::SetTabStop>(L"TabStop", true),
    };
    static const TClassInfo info =
        DeclareClass<C, TCustomControl>(L"TznCustomFlashPlayerWnd", properties);
    return info;
}

const TClassInfo& TznCustomFlashPlayerWnd::ClassType() const
{
    return ClassInfo();
}

void TznCustomFlashPlayerWnd::CreateDriver()
{
    // With the mask applied, a layer's every driver is transparent from the start: also one
    // made for a new Plugin or while a form is read.
    ChangePlugin(
        FDriver, FPlugin, FMovie, Width(), Height(), ColorPixel() & FAlphaMask, this,
        TznPaintEvent::Bind<&TznCustomFlashPlayerWnd::DoPaintHandler>(this),
        TznEraseBackgroundEvent::Bind<&TznCustomFlashPlayerWnd::DoEraseBackgroundHandler>(this),
        FOnFSCommand, FOnFlashCall);
}

void TznCustomFlashPlayerWnd::Loaded()
{
    TznFlashControl::Loaded();
    LoadRecordedMovie();
}

void TznCustomFlashPlayerWnd::DoEraseBackground(TObject*, const TRect& ARect)
{
    if (!FDriver || !FDriver->BufferBits())
        return;
    FillLongwordRect(FDriver->BufferBits(), FDriver->Width(), FDriver->Height(), ARect.Left,
                     ARect.Top, ARect.Right, ARect.Bottom, ColorPixel() & FAlphaMask);
}

void TznCustomFlashPlayerWnd::DoPaint(TObject*, const TRect&)
{
    // Without a window there is nothing to repaint; the window's first paint shows the buffer.
    if (!ComponentState().Contains(csDesigning) && HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
}

void TznCustomFlashPlayerWnd::BindDriverHandlers()
{
    FDriver->SetOnPaint(nullptr);
    FDriver->SetOnEraseBackground(nullptr);
    FDriver->SetOnPaint(TznPaintEvent::Bind<&TznCustomFlashPlayerWnd::DoPaintHandler>(this));
    FDriver->SetOnEraseBackground(
        TznEraseBackgroundEvent::Bind<&TznCustomFlashPlayerWnd::DoEraseBackgroundHandler>(this));
}

void TznCustomFlashPlayerWnd::Paint()
{
    if (!FDriver)
        return;
    if (ComponentState().Contains(csDesigning))
        BindDriverHandlers();
    // Also without a player: the buffer then holds the background ChangePlugin erased.
    CopyBufferToCanvas();
}

void TznCustomFlashPlayerWnd::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TznFlashControl::MouseDown(Button, Shift, X, Y);
    if (CanFocus())
        SetFocus();
    if (FDriver)
        FDriver->MouseDown(Button, Shift, X, Y);
}

void TznCustomFlashPlayerWnd::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

void TznCustomFlashPlayerWnd::WMGetDlgCode(TMessage& Message)
{
    TznFlashControl::WMGetDlgCode(Message);
    Message.Result = WantedDialogKeys;
}

void TznCustomFlashPlayerWnd::WMKeyDown(TMessage& Message)
{
    std::uint16_t key = Message.CharCode();
    if (FDriver)
        FDriver->KeyDown(key, KeyDataToShiftState(Message.KeyData()));
    Message.SetCharCode(key);
    TznFlashControl::WMKeyDown(Message);
}

void TznCustomFlashPlayerWnd::WMKeyUp(TMessage& Message)
{
    std::uint16_t key = Message.CharCode();
    if (FDriver)
        FDriver->KeyUp(key, KeyDataToShiftState(Message.KeyData()));
    Message.SetCharCode(key);
    TznFlashControl::WMKeyUp(Message);
}

void TznCustomFlashPlayerWnd::WMChar(TMessage& Message)
{
    wchar_t ch = static_cast<wchar_t>(Message.CharCode());
    if (ch >= L' ' && FDriver)
        FDriver->KeyPress(ch, KeyDataToShiftState(Message.KeyData()));
    TznFlashControl::WMChar(Message);
}

void TznCustomFlashPlayerWnd::CMColorChanged(TMessage& Message)
{
    TznFlashControl::CMColorChanged(Message);
    if (FDriver) {
        FDriver->SetBackground(ColorPixel() & FAlphaMask);
        FDriver->ForceUpdate();
    }
}

const TClassInfo& TznFlashPlayerWnd::ClassInfo()
{
    using F = TPublishedControl<TznFlashPlayerWnd>;
    static const TPropertyInfo properties[] = {
        F::Align(),       F::Anchors(),        F::DragCursor(), F::DragMode(),    F::Color(),
        F::ParentColor(), F::ParentShowHint(), F::PopupMenu(),  F::ShowHint(),    F::Visible(),
        F::OnDragDrop(),  F::OnDragOver(),     F::OnEndDrag(),  F::OnStartDrag(), F::OnClick(),
    };
    static const TClassInfo info =
        DeclareClass<TznFlashPlayerWnd, TznCustomFlashPlayerWnd>(L"TznFlashPlayerWnd", properties);
    return info;
}

const TClassInfo& TznFlashPlayerWnd::ClassType() const
{
    return ClassInfo();
}

} // namespace zn
