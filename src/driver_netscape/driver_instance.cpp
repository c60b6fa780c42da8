// TznFlashDriverNS: the plug-in instance's life, the window record announced to it, and movie
// control through its scriptable object.
#include "zintara/zn_driver_netscape.h"

#include "browser_table.h"
#include "identifiers.h"
#include "netscape_unit.h"
#include "variants.h"
#include "zintara/core/pending_copies.h"
#include "zintara/framework/properties.h"
#include "zintara/framework/streams.h"

#include <string>

namespace zn {

using netscape::FlashMimeType;
using netscape::TNetscapeUnit;

namespace {

const TNPPluginFuncs& PluginFuncs() { return TNetscapeUnit::Instance().PluginFuncs(); }
NPError& LastNPError() { return TNetscapeUnit::Instance().LastNPError; }

} // namespace

TznFlashDriverNS::TznFlashDriverNS(int AWidth, int AHeight, std::uint32_t ABackground)
    : TznFlashDriver(AWidth, AHeight, ABackground),
      FPendingCopies(std::make_unique<TPendingCopies<TMemoryStream>>())
{
    netscape::RegisterDriver(this);
    CreatePlugin();
}

// Callbacks the plug-in makes while it is destroyed find no driver any more.
TznFlashDriverNS::~TznFlashDriverNS()
{
    *FAlive = false;
    netscape::UnregisterDriver(this);
    DestroyPlugin();
}

const TClassInfo& TznFlashDriverNS::ClassInfo()
{
    static const TClassInfo Info =
        DeclareClass<TznFlashDriverNS, TznFlashDriver>(L"TznFlashDriverNS");
    return Info;
}

const TClassInfo& TznFlashDriverNS::ClassType() const { return ClassInfo(); }

bool TznFlashDriverNS::PluginExists() { return TNetscapeUnit::Instance().PluginPresent(); }

// Windowless, transparent (the host composites), sized to the buffer. No src: the movie comes
// later as a stream.
void TznFlashDriverNS::CreatePlugin()
{
    if (!PluginExists())
        return;
    std::string width = std::to_string(FWidth);
    std::string height = std::to_string(FHeight);
    char wmode[] = "wmode", bgcolor[] = "bgcolor", width_name[] = "width", height_name[] = "height";
    char transparent[] = "transparent", black[] = "#0";
    char* names[] = {wmode, bgcolor, width_name, height_name};
    char* values[] = {transparent, black, width.data(), height.data()};

    FInstance = {};
    FInstance.ndata = this;
    obj = nullptr;
    const TNPPluginFuncs& funcs = PluginFuncs();
    if (funcs.newp) {
        LastNPError() = funcs.newp(FlashMimeType, &FInstance, NP_EMBED, 4, names, values, nullptr);
        FInstanceCreated = true;
    }
    if (funcs.getvalue) {
        PNPObject scriptable = nullptr;
        LastNPError() = funcs.getvalue(&FInstance, NPPVpluginScriptableNPObject, &scriptable);
        obj = scriptable;
    }
}

// The scriptable object dies with the instance, so it is forgotten here: movie control after
// this point does nothing rather than call into a destroyed object.
void TznFlashDriverNS::DestroyPlugin()
{
    if (!PluginExists() || !FInstanceCreated)
        return;
    FInstanceCreated = false;
    obj = nullptr;
    if (const auto destroy = PluginFuncs().destroy)
        destroy(&FInstance, nullptr);
}

void TznFlashDriverNS::SetWindow()
{
    if (!FInstanceCreated)
        return;
    if (const auto setwindow = PluginFuncs().setwindow)
        LastNPError() = setwindow(&FInstance, &wnd);
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
    const std::shared_ptr<bool> alive = FAlive;
    SetWindow();
    if (*alive)
        ForceUpdate();
}

void TznFlashDriverNS::ResizeBuffer() { AnnounceWindow(); }

void TznFlashDriverNS::ForceUpdate()
{
    if (!PluginExists() || !FInstance.pdata)
        return;
    TNPRect whole{0, 0, static_cast<std::uint16_t>(FHeight), static_cast<std::uint16_t>(FWidth)};
    InvalidateRect(whole);
}

bool TznFlashDriverNS::CallMethod(const char* Name, const TNPVariant* Args,
                                  std::uint32_t ArgCount, TNPVariant* Result)
{
    *Result = netscape::VoidVariant();
    if (!PluginExists() || !obj || !obj->_class || !obj->_class->invoke)
        return false;
    PNPObject object = obj;
    return object->_class->invoke(object, const_cast<char*>(netscape::InternIdentifier(Name)),
                                  Args, ArgCount, Result);
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

void TznFlashDriverNS::Play() { CallVoidMethod("Play"); }
void TznFlashDriverNS::StopPlay() { CallVoidMethod("StopPlay"); }
void TznFlashDriverNS::Rewind() { CallVoidMethod("Rewind"); }
void TznFlashDriverNS::Forward() { CallVoidMethod("Forward"); }
void TznFlashDriverNS::Back() { CallVoidMethod("Back"); }
bool TznFlashDriverNS::GetLoop() { return CallBoolMethod("GetLoop"); }
bool TznFlashDriverNS::GetIsPlaying() { return CallBoolMethod("IsPlaying"); }
int TznFlashDriverNS::GetCurrentFrame() { return CallIntMethod("CurrentFrame"); }
int TznFlashDriverNS::GetTotalFrames() { return CallIntMethod("TotalFrames"); }

void TznFlashDriverNS::SetLoop(bool Value)
{
    if (!PluginExists() || !obj || !obj->_class || !obj->_class->setProperty)
        return;
    const TNPVariant value = netscape::BoolVariant(Value);
    PNPObject object = obj;
    object->_class->setProperty(object, const_cast<char*>(netscape::InternIdentifier("Loop")),
                                &value);
}

void TznFlashDriverNS::SetCurrentFrame(int Value)
{
    const TNPVariant frame = netscape::IntVariant(Value);
    TNPVariant result;
    CallMethod("GotoFrame", &frame, 1, &result);
    netscape::ReleasePluginResult(result);
}

} // namespace zn
