// One plug-in instance: a windowless movie player with one method per NPP_ call, the movie
// control its scriptable object offers, and the call-outs it makes to the browser.
//
// Call order: NPP_New creates it, NPP_Destroy ends it. The browser calls back from inside the
// instance's own calls (painting inside NPN_InvalidateRect, a host handler inside an FSCommand),
// so every entry holds an InstanceScope; a destroy that arrives while a scope is open detaches
// the instance at once and frees it when the outermost scope closes. A movie replaced while it
// is running is kept until then too.
#pragma once

#include "common/frame_timer.h"
#include "downloads.h"
#include "flash_call_script.h"
#include "instance_settings.h"
#include "npapi.h"
#include "window_painter.h"

#include "znswf/player_host.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zn::swf {
class MoviePlayer;
}

namespace zn::np {

struct ScriptableObject;

class Instance final : private swf::PlayerHost {
public:
    Instance(NPP npp, const InstanceSettings& settings);
    ~Instance() override;
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    NPP Npp() const { return npp_; }
    bool Destroyed() const { return destroyed_; }

    // NPP_ calls.
    void Destroy();
    NPError SetWindow(const NPWindow& window);
    std::int16_t HandleEvent(const NPEvent& event);
    NPError NewStream(NPStream& stream, std::uint16_t* streamType);
    std::int32_t Write(NPStream& stream, std::int32_t length, const void* buffer);
    NPError DestroyStream(NPStream& stream, NPReason reason);
    void UrlNotify(NPReason reason, void* notifyData);
    // The scriptable object, with a reference for the caller.
    NPObject* ScriptableObjectForBrowser();

    // Movie control, as the scriptable object offers it. Frames count from 0.
    NPError LoadMovie(std::int32_t layer, const std::string& url);
    void Play();
    void StopPlay();
    void Rewind();
    void Forward();
    void Back();
    bool Loop() const;
    void SetLoop(bool loop);
    bool IsPlaying() const;
    std::int32_t CurrentFrame() const;
    std::int32_t TotalFrames() const;
    void GotoFrame(std::int32_t frame);
    std::optional<std::string> GetVariable(const std::string& name) const;
    void SetVariable(const std::string& name, const std::string& value);
    // The callback's answer in ExternalInterface XML; "<undefined/>" for a name the movie did
    // not register.
    std::string CallFunction(const std::string& request);

    // Call-outs to the browser.
    void Invalidate(NPRect rect);
    bool SendFSCommand(const std::string& command, const std::string& args);
    // The call's answer in ExternalInterface XML; "<undefined/>" when the browser gives none.
    std::string SendExternalCall(const std::string& name,
                                 const std::vector<FlashCallArgument>& args);
    NPError RequestFromBrowser(const std::string& url, UrlRequest::Purpose purpose);

    // The movie's frame timer fired.
    void AdvanceFrame();
    // What the hostile mode does once the instance exists, still inside NPP_New.
    void ActHostileInNew();

    // A scope opens; BrowserCall when it is the browser's call into the instance (an NPP_ entry
    // or a method of its object), which NPP_Destroy must not arrive inside of.
    void Enter(bool browserCall);
    // Frees the instance when it was destroyed and this was the outermost scope.
    static void Leave(Instance* instance, bool browserCall);

private:
    // What the movie asks of its instance.
    void RequestUrl(const std::string& url, const std::string& target) override;
    void FSCommand(const std::string& command, const std::string& arguments) override;
    std::string CallExternal(const std::string& name,
                             const std::vector<swf::ExternalValue>& arguments) override;
    void InvalidateRect(const swf::PixelRect& rect) override;

    void MovieArrived(const StreamBuffer& stream);
    // A stream this instance opened, with the notifyData it had then; logs a violation if not.
    bool IsOwnStream(const NPStream& stream, const char* call) const;
    std::uint32_t Width() const;
    std::uint32_t Height() const;

    NPP npp_;
    InstanceSettings settings_;
    NPWindow window_{};
    Downloads downloads_;
    std::string movieUrl_;
    std::unique_ptr<swf::MoviePlayer> movie_;
    std::vector<std::unique_ptr<swf::MoviePlayer>> retiredMovies_;
    WindowPainter painter_;
    player::FrameTimer timer_;
    bool loop_ = true;
    // Inside a WM_PAINT: the browser must not paint or move the window again until it returns.
    bool painting_ = false;
    // Inside an NPP_SetWindow, which the browser must not re-enter.
    bool settingWindow_ = false;
    ScriptableObject* object_ = nullptr;
    int depth_ = 0;
    int browserCalls_ = 0;
    bool destroyed_ = false;
};

// The live instance behind a browser's NPP (checked against the instances the plug-in made,
// so a stale or foreign pdata is never followed), held for the scope's life.
class InstanceScope {
public:
    // The browser's call on npp.
    explicit InstanceScope(NPP npp);
    explicit InstanceScope(Instance* instance, bool browserCall = false);
    ~InstanceScope();
    InstanceScope(const InstanceScope&) = delete;
    InstanceScope& operator=(const InstanceScope&) = delete;

    explicit operator bool() const { return instance_ && !instance_->Destroyed(); }
    Instance* operator->() const { return instance_; }
    Instance& operator*() const { return *instance_; }

private:
    Instance* instance_ = nullptr;
    bool browserCall_ = false;
};

// Every instance not yet destroyed, for the checks above and for NP_Shutdown.
bool IsLiveInstance(const Instance* instance);
Instance* FindLiveInstance(const void* npp);
std::size_t LiveInstanceCount();
void DestroyAllInstances();

} // namespace zn::np
