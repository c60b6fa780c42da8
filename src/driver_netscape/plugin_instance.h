// The life of one plug-in instance, kept apart from the driver that runs it.
//
// The player calls the host back from inside the host's own calls into it, and the host's event
// handlers may reload the movie or free the driver from there. So the instance record (the NPP
// the player holds on to) lives in a TPluginInstance that the driver and every TPluginCall on
// the stack own together, and:
// - its state is set to running before NPP_New, because the player calls back from inside it;
// - every call into the player goes through a TPluginCall on the stack, which keeps the record
//   alive however the call ends;
// - detaching the instance (the driver reloads the movie or is freed) while a call is on the
//   stack only marks it destroying: NPP_Destroy runs when the outermost call returns;
// - each instance has a generation number never used again in the process: a download, which
//   outlives every call, carries it to find its instance again; a delivery and an answer to a
//   call from the movie hold the record itself and ask it whether the instance still runs.
#pragma once

#include "zintara/zn_driver_netscape.h"

#include <cstdint>
#include <memory>

namespace zn::netscape {

inline constexpr NPReason NPRES_NETWORK_ERR = 1;
inline constexpr NPReason NPRES_USER_BREAK = 2;

enum class TInstanceState { NotStarted, Running, Destroying, Destroyed };

class TPluginInstance : public std::enable_shared_from_this<TPluginInstance> {
public:
    explicit TPluginInstance(TznFlashDriverNS& Driver);
    ~TPluginInstance();
    TPluginInstance(const TPluginInstance&) = delete;
    TPluginInstance& operator=(const TPluginInstance&) = delete;

    TNPP& Npp() { return FNpp; }
    TInstanceState State() const { return FState; }
    bool Running() const { return FState == TInstanceState::Running; }
    // Running, or detached and waiting for its NPP_Destroy.
    bool Alive() const
    {
        return FState == TInstanceState::Running || FState == TInstanceState::Destroying;
    }
    std::uint64_t Generation() const { return FGeneration; }
    // The driver that runs the instance; null once it was detached.
    TznFlashDriverNS* Driver() const { return Running() ? FDriver : nullptr; }
    // The player's scriptable object for this instance; null when it gave none.
    PNPObject Scriptable() const { return FScriptable; }
    // The record of the last NPP_SetWindow, all zero before the first: the player draws into the
    // context it names.
    const TNPWindow& AnnouncedWindow() const { return FAnnounced; }

    // NPP_New and the scriptable object. The instance runs from before NPP_New on; when NPP_New
    // fails it is destroyed at once, without NPP_Destroy.
    void Start(std::int16_t ArgCount, char* Names[], char* Values[]);
    // Cuts the instance from its driver and destroys it, now or when the outermost call into it
    // returns.
    void Detach();

private:
    friend class TPluginCall;
    void Finish();

    TNPP FNpp{};
    TInstanceState FState = TInstanceState::NotStarted;
    std::uint64_t FGeneration;
    TznFlashDriverNS* FDriver;
    PNPObject FScriptable = nullptr;
    TNPWindow FAnnounced{};
    // NPP_New succeeded, so NPP_Destroy is owed.
    bool FCreated = false;
    int FDepth = 0;
};

// A call into the player (or a call from it that may call into it again) on the stack. The
// player's entries are made through it: each checks that the instance still runs and that the
// player gave the entry, and stores the result in LastNPError. After a call returns, Driver()
// says whether the caller may go on: null when the driver was freed or the instance replaced
// meanwhile.
class TPluginCall {
public:
    explicit TPluginCall(std::shared_ptr<TPluginInstance> Instance);
    ~TPluginCall();
    TPluginCall(const TPluginCall&) = delete;
    TPluginCall& operator=(const TPluginCall&) = delete;

    bool Running() const { return FInstance && FInstance->Running(); }
    TznFlashDriverNS* Driver() const { return FInstance ? FInstance->Driver() : nullptr; }

    void SetWindow(TNPWindow& Window) const;
    void HandleEvent(std::uint16_t Event, std::uintptr_t WParam, std::uintptr_t LParam) const;
    NPError NewStream(TNPStream& Stream) const;
    void Write(TNPStream& Stream, const void* Bytes, std::int32_t Length) const;
    // A stream may still be ended while the instance waits for its NPP_Destroy.
    void UrlNotify(const TNPStream& Stream, NPReason Reason) const;
    void DestroyStream(TNPStream& Stream, NPReason Reason) const;
    // How a stream of this call ends: done, or broken off when the instance stopped running.
    NPReason EndReason() const { return Running() ? NPRES_DONE : NPRES_USER_BREAK; }
    // A method of the scriptable object; Result is void unless the call succeeded.
    bool Invoke(const char* Name, const TNPVariant* Args, std::uint32_t ArgCount,
                TNPVariant* Result) const;
    void SetProperty(const char* Name, const TNPVariant& Value) const;

private:
    std::shared_ptr<TPluginInstance> FInstance;
};

// The running instance whose record Npp is; null for any other pointer.
std::shared_ptr<TPluginInstance> RunningInstance(PNPP Npp);
// The running instance of that generation; null once it was destroyed.
std::shared_ptr<TPluginInstance> RunningInstance(std::uint64_t Generation);

} // namespace zn::netscape
