// The non-visual player: a transparent-mode driver of the application's size, its pixels and
// paint notifications opened to the application, and input forwarded on its behalf.
#include "zintara/components/flash_player_comp.h"

#include "zintara/core/pixels.h"
#include "zintara/framework/properties.h"

namespace zn {

TznFlashPlayerComp::TznFlashPlayerComp(TComponent* AOwner) : TznFlashHost(AOwner)
{
    CheckFlashPlugins();
    CreateDriver();
}

const TClassInfo& TznFlashPlayerComp::ClassInfo()
{
    using C = TznFlashPlayerComp;
    using P = TPublished<C>;
    static const TPropertyInfo properties[] = {
        P::Enumeration<&C::Plugin, &C::SetPlugin>(L"Plugin", PluginNames, znDefault),
        P::WideString<&C::Movie, &C::SetMovie>(L"Movie"),
        P::WideString<&C::Skin, &C::SetSkin>(L"Skin"),
        P::Boolean<&C::Pause, &C::SetPause>(L"Pause"),
        P::Integer<&C::Volume, &C::SetVolume>(L"Volume"),
        P::Integer<&C::Width, &C::SetWidth>(L"Width"),
        P::Integer<&C::Height, &C::SetHeight>(L"Height"),
        P::Event(L"OnPaint"),
        P::Event(L"OnFSCommand"),
        P::Event(L"OnFlashCall"),
    };
    static const TClassInfo info = DeclareClass<C, TComponent>(L"TznFlashPlayerComp", properties);
    return info;
}

const TClassInfo& TznFlashPlayerComp::ClassType() const
{
    return ClassInfo();
}

void TznFlashPlayerComp::Loaded()
{
    TznFlashHost::Loaded();
    LoadRecordedMovie();
}

void TznFlashPlayerComp::CreateDriver()
{
    // Background 0: the driver keeps a second buffer and recovers a real alpha channel.
    ChangePlugin(FDriver, FPlugin, FMovie, FWidth, FHeight, 0, nullptr,
                 TznPaintEvent::Bind<&TznFlashPlayerComp::DoPaint>(this),
                 TznEraseBackgroundEvent::Bind<&TznFlashPlayerComp::DoEraseBackground>(this),
                 FOnFSCommand, FOnFlashCall);
}

void TznFlashPlayerComp::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    if (FDriver)
        FDriver->Resize(FWidth, FHeight);
}

void TznFlashPlayerComp::SetHeight(int Value)
{
    if (Value == FHeight)
        return;
    FHeight = Value;
    if (FDriver)
        FDriver->Resize(FWidth, FHeight);
}

void* TznFlashPlayerComp::BufferARGB() const
{
    return FDriver ? FDriver->BufferBits() : nullptr;
}

void* TznFlashPlayerComp::Scanline(int Row) const
{
    if (!FDriver || !FDriver->BufferBits() || Row < 0 || Row >= FDriver->Height())
        return nullptr;
    return FDriver->BufferBits() + static_cast<std::ptrdiff_t>(Row) * FDriver->Width();
}

void TznFlashPlayerComp::DoEraseBackground(TObject*, const TRect& ARect)
{
    if (!FDriver || !FDriver->BufferBits())
        return;
    FillLongwordRect(FDriver->BufferBits(), FDriver->Width(), FDriver->Height(), ARect.Left,
                     ARect.Top, ARect.Right, ARect.Bottom, 0);
}

void TznFlashPlayerComp::DoPaint(TObject* Sender, const TRect& ARect)
{
    if (!ComponentState().Contains(csDesigning) && FOnPaint)
        FOnPaint(Sender, ARect);
}

void TznFlashPlayerComp::CallMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDriver)
        FDriver->MouseDown(Button, Shift, X, Y);
}

void TznFlashPlayerComp::CallMouseMove(TShiftState Shift, int X, int Y)
{
    if (FDriver)
        FDriver->MouseMove(Shift, X, Y);
}

void TznFlashPlayerComp::CallMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (FDriver)
        FDriver->MouseUp(Button, Shift, X, Y);
}

void TznFlashPlayerComp::CallMouseWheel(TShiftState Shift, int X, int Y, int WheelDelta,
                                        bool& Handled)
{
    if (FDriver)
        FDriver->MouseWheel(Shift, X, Y, WheelDelta, Handled);
}

void TznFlashPlayerComp::CallKeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (FDriver)
        FDriver->KeyDown(Key, Shift);
}

void TznFlashPlayerComp::CallKeyPress(wchar_t& Key, TShiftState Shift)
{
    if (FDriver)
        FDriver->KeyPress(Key, Shift);
}

void TznFlashPlayerComp::CallKeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (FDriver)
        FDriver->KeyUp(Key, Shift);
}

} // namespace zn
