// TznFlashDriverNS: the plug-in instance's life, the window record announced to it, and movie
// control through its scriptable object.
#include "zintara/zn_driver_netscape.h"

#include "browser_table.h"
#include "netscape_unit.h"
#include "plugin_instance.h"
#include "variants.h"
#include "zintara/core/pending_copies.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/streams.h"

#include <string>

namespace zn {

using netscape::TNetscapeUnit;

TznFlashDriverNS::TznFlashDriverNS(int AWidth, int AHeight, std::uint32_t ABackground)
    : TznFlashDriver(AWidth, AHeight, ABackground),
      FPendingCopies(std::make_unique<TPendingCopies<TMemoryStream>>())
{
    CreatePlugin();
}

// Callbacks the plug-in makes while it is destroyed find no driver any more.
TznFlashDriverNS::~TznFlashDriverNS()
{
    DestroyPlugin();
}

const TClassInfo& TznFlashDriverNS::ClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TznFlashDriverNS, TznFlashDriver>(L"TznFlashDriverNS");
    return info;
}

const TClassInfo& TznFlashDriverNS::ClassType() const
{
    return ClassInfo();
}

bool TznFlashDriverNS::PluginExists()
{
    return TNetscapeUnit::Instance().PluginPresent();
}

PNPP TznFlashDriverNS::Instance() const
{
    return FPlugin ? &FPlugin->Npp() : nullptr;
}

PNPObject TznFlashDriverNS::ScriptableObject() const
{
    return FPlugin ? FPlugin->Scriptable() : nullptr;
}

// Windowless, transparent (the host composites), sized to the buffer. No src: the movie comes
// later as a stream. A running instance is detached first.
bool TznFlashDriverNS::CreatePlugin()
{
    if (!PluginExists())
        return true;
    std::string width = std::to_string(FWidth);
    std::string height = std::to_string(FHeight);
    char wmode[] = "wmode", bgcolor[] = "bgcolor", width_name[] = "width", height_name[] = "height";
    char transparent[] = "transparent", black[] = "#0";
    char* names[] = {wmode, bgcolor, width_name, height_name};
    char* values[] = {transparent, black, width.data(), height.data()};

    DestroyPlugin();
    const auto plugin = std::make_shared<netscape::TPluginInstance>(*this);
    FPlugin = plugin;
    plugin->Start(4, names, values);
    return plugin->Driver() != nullptr;
}

void TznFlashDriverNS::DestroyPlugin()
{
    if (const auto plugin = std::exchange(FPlugin, nullptr))
        plugin->Detach();
}

void TznFlashDriverNS::AnnounceWindow()
{
    if (!PluginExists())
        return;
    wnd = {};
    wnd.type = NPWindowTypeDrawable;
    wnd.width = static_cast<std::uint32_t>(FWidth);
    wnd.height = static_cast<std::uint32_t>(FHeight);
    wnd.window = FBufferDC.get();
    const netscape::TPluginCall call(FPlugin);
    call.SetWindow(wnd);
    if (call.Driver())
        ForceUpdate();
}

void TznFlashDriverNS::ResizeBuffer()
{
    AnnounceWindow();
}

void TznFlashDriverNS::ForceUpdate()
{
    if (!PluginExists() || !FPlugin || !FPlugin->Npp().pdata)
        return;
    TNPRect whole{0, 0, static_cast<std::uint16_t>(FHeight), static_cast<std::uint16_t>(FWidth)};
    InvalidateRect(whole);
}

bool TznFlashDriverNS::CallMethod(const char* Name, const TNPVariant* Args, std::uint32_t ArgCount,
                                  TNPVariant* Result)
{
    return netscape::TPluginCall(FPlugin).Invoke(Name, Args, ArgCount, Result);
}

void TznFlashDriverNS::CallVoidMethod(const char* Name)
{
    TNPVariant result;
    CallMethod(Name, nullptr, 0, &result);
    netscape::ReleasePluginResult(result);
}

bool TznFlashDriverNS::CallBoolMethod(const char* Name)
{
    TNPVariant result;
    const bool value = CallMethod(Name, nullptr, 0, &result) && netscape::VariantToBool(result);
    netscape::ReleasePluginResult(result);
    return value;
}

int TznFlashDriverNS::CallIntMethod(const char* Name)
{
    TNPVariant result;
    const int value = CallMethod(Name, nullptr, 0, &result) ? netscape::VariantToInt(result) : 0;
    netscape::ReleasePluginResult(result);
    return value;
}

void TznFlashDriverNS::Play()
{
    CallVoidMethod("Play");
}
void TznFlashDriverNS::StopPlay()
{
    CallVoidMethod("StopPlay");
}
void TznFlashDriverNS::Rewind()
{
    CallVoidMethod("Rewind");
}
void TznFlashDriverNS::Forward()
{
    CallVoidMethod("Forward");
}
void TznFlashDriverNS::Back()
{
    CallVoidMethod("Back");
}
bool TznFlashDriverNS::GetLoop()
{
    return CallBoolMethod("GetLoop");
}
bool TznFlashDriverNS::GetIsPlaying()
{
    return CallBoolMethod("IsPlaying");
}
int TznFlashDriverNS::GetCurrentFrame()
{
    return CallIntMethod("CurrentFrame");
}
int TznFlashDriverNS::GetTotalFrames()
{
    return CallIntMethod("TotalFrames");
}

void TznFlashDriverNS::SetLoop(bool Value)
{
    netscape::TPluginCall(FPlugin).SetProperty("Loop", netscape::BoolVariant(Value));
}

void TznFlashDriverNS::SetCurrentFrame(int Value)
{
    const TNPVariant frame = netscape::IntVariant(Value);
    TNPVariant result;
    CallMethod("GotoFrame", &frame, 1, &result);
    netscape::ReleasePluginResult(result);
}

} // namespace zn
