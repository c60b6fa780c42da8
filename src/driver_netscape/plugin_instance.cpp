// The plug-in instance's life and the calls into it (see plugin_instance.h), and the table of
// running instances through which a pointer from the player is trusted.
#include "plugin_instance.h"

#include "browser_table.h"
#include "identifiers.h"
#include "netscape_unit.h"
#include "variants.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zn::netscape {
namespace {

std::vector<TPluginInstance*>& Instances()
{
    // Never destroyed: a driver may outlive the other static objects.
    static auto* instances = new std::vector<TPluginInstance*>;
    return *instances;
}

std::uint64_t NextGeneration()
{
    static std::uint64_t last = 0;
    return ++last;
}

const TNPPluginFuncs& PluginFuncs()
{
    return TNetscapeUnit::Instance().PluginFuncs();
}
NPError& LastNPError()
{
    return TNetscapeUnit::Instance().LastNPError;
}

} // namespace

TPluginInstance::TPluginInstance(TznFlashDriverNS& Driver)
    : FGeneration(NextGeneration()), FDriver(&Driver)
{
    FNpp.ndata = &Driver;
    Instances().push_back(this);
}

TPluginInstance::~TPluginInstance()
{
    auto& instances = Instances();
    instances.erase(std::remove(instances.begin(), instances.end(), this), instances.end());
}

void TPluginInstance::Start(std::int16_t ArgCount, char* Names[], char* Values[])
{
    const auto newp = PluginFuncs().newp;
    if (FState != TInstanceState::NotStarted || !newp)
        return;
    FState = TInstanceState::Running;
    {
        const TPluginCall call(shared_from_this());
        LastNPError() = newp(FlashMimeType, &FNpp, NP_EMBED, ArgCount, Names, Values, nullptr);
        FCreated = LastNPError() == NPERR_NO_ERROR;
        if (!FCreated && FState == TInstanceState::Running)
            FState = TInstanceState::Destroyed;
    }
    if (!Running())
        return;
    if (const auto getvalue = PluginFuncs().getvalue) {
        const TPluginCall call(shared_from_this());
        PNPObject scriptable = nullptr;
        LastNPError() = getvalue(&FNpp, NPPVpluginScriptableNPObject, &scriptable);
        if (Running())
            FScriptable = scriptable;
    }
}

void TPluginInstance::Detach()
{
    FDriver = nullptr;
    FNpp.ndata = nullptr;
    if (FState == TInstanceState::NotStarted)
        FState = TInstanceState::Destroyed;
    if (FState != TInstanceState::Running)
        return;
    FState = TInstanceState::Destroying;
    if (FDepth == 0)
        Finish();
}

// The scriptable object dies with the instance; it is not released (the player frees it).
void TPluginInstance::Finish()
{
    FState = TInstanceState::Destroyed;
    FScriptable = nullptr;
    if (!FCreated)
        return;
    FCreated = false;
    if (const auto destroy = PluginFuncs().destroy) {
        const std::shared_ptr<TPluginInstance> keep = shared_from_this();
        destroy(&FNpp, nullptr);
    }
}

TPluginCall::TPluginCall(std::shared_ptr<TPluginInstance> Instance) : FInstance(std::move(Instance))
{
    if (FInstance)
        ++FInstance->FDepth;
}

TPluginCall::~TPluginCall()
{
    if (FInstance && --FInstance->FDepth == 0 && FInstance->FState == TInstanceState::Destroying)
        FInstance->Finish();
}

void TPluginCall::SetWindow(TNPWindow& Window) const
{
    if (const auto setwindow = PluginFuncs().setwindow; setwindow && Running()) {
        FInstance->FAnnounced = Window;
        LastNPError() = setwindow(&FInstance->FNpp, &Window);
    }
}

void TPluginCall::HandleEvent(std::uint16_t Event, std::uintptr_t WParam,
                              std::uintptr_t LParam) const
{
    if (const auto event = PluginFuncs().event; event && Running()) {
        // Zeroed whole: the padding after event must not carry stack bytes into the plug-in.
        TNPEvent message;
        std::memset(&message, 0, sizeof message);
        message.event = Event;
        message.wParam = WParam;
        message.lParam = LParam;
        LastNPError() = event(&FInstance->FNpp, &message);
    }
}

NPError TPluginCall::NewStream(TNPStream& Stream) const
{
    const auto newstream = PluginFuncs().newstream;
    if (!newstream || !Running())
        return LastNPError() = NPERR_GENERIC_ERROR;
    std::uint16_t stream_type = NP_NORMAL;
    return LastNPError() = newstream(&FInstance->FNpp, FlashMimeType, &Stream, true, &stream_type);
}

void TPluginCall::Write(TNPStream& Stream, const void* Bytes, std::int32_t Length) const
{
    if (const auto write = PluginFuncs().write; write && Running())
        write(&FInstance->FNpp, &Stream, 0, Length, const_cast<void*>(Bytes));
}

void TPluginCall::UrlNotify(const TNPStream& Stream, NPReason Reason) const
{
    if (const auto urlnotify = PluginFuncs().urlnotify;
        urlnotify && FInstance && FInstance->Alive())
        urlnotify(&FInstance->FNpp, Stream.url, Reason, Stream.notifyData);
}

void TPluginCall::DestroyStream(TNPStream& Stream, NPReason Reason) const
{
    const auto destroystream = PluginFuncs().destroystream;
    if (destroystream && FInstance && FInstance->Alive())
        destroystream(&FInstance->FNpp, &Stream, Reason);
}

bool TPluginCall::Invoke(const char* Name, const TNPVariant* Args, std::uint32_t ArgCount,
                         TNPVariant* Result) const
{
    *Result = VoidVariant();
    const PNPObject object = Running() ? FInstance->Scriptable() : nullptr;
    if (!object || !object->_class || !object->_class->invoke)
        return false;
    return object->_class->invoke(object, const_cast<char*>(InternIdentifier(Name)), Args, ArgCount,
                                  Result);
}

void TPluginCall::SetProperty(const char* Name, const TNPVariant& Value) const
{
    const PNPObject object = Running() ? FInstance->Scriptable() : nullptr;
    if (object && object->_class && object->_class->setProperty)
        object->_class->setProperty(object, const_cast<char*>(InternIdentifier(Name)), &Value);
}

std::shared_ptr<TPluginInstance> RunningInstance(PNPP Npp)
{
    for (TPluginInstance* instance : Instances())
        if (&instance->Npp() == Npp && instance->Running())
            return instance->shared_from_this();
    return nullptr;
}

std::shared_ptr<TPluginInstance> RunningInstance(std::uint64_t Generation)
{
    for (TPluginInstance* instance : Instances())
        if (instance->Generation() == Generation && instance->Running())
            return instance->shared_from_this();
    return nullptr;
}

TznFlashDriverNS* DriverOf(PNPP Instance)
{
    const std::shared_ptr<TPluginInstance> instance = RunningInstance(Instance);
    return instance ? instance->Driver() : nullptr;
}

} // namespace zn::netscape
