// The instance: its NPP_ calls, movie control and call-outs.
#include "instance.h"

#include "browser.h"
#include "common/local_security.h"
#include "hostile_mode.h"
#include "plugin_module.h"
#include "scriptable_object.h"

#include "znswf/movie_player.h"

#include <algorithm>
#include <vector>

namespace zn::np {

namespace {

// Window messages as browsers hand them to windowless plug-ins.
constexpr std::uint16_t kPaint = 0x000F;
constexpr std::uint16_t kKeyDown = 0x0100;
constexpr std::uint16_t kKeyUp = 0x0101;
constexpr std::uint16_t kCharacter = 0x0102;
constexpr std::uint16_t kMouseMove = 0x0200;
constexpr std::uint16_t kLeftButtonDown = 0x0201;
constexpr std::uint16_t kLeftButtonUp = 0x0202;

std::vector<Instance*>& LiveInstances()
{
    static std::vector<Instance*> instances;
    return instances;
}

void Forget(Instance* instance)
{
    auto& live = LiveInstances();
    live.erase(std::remove(live.begin(), live.end(), instance), live.end());
}

std::uint16_t Clamp16(std::uint32_t value)
{
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(value, 65535));
}

NPVariant StringVariant(const std::string& text)
{
    NPVariant value{};
    value.type = NPVariantType_String;
    value.value.stringValue = {text.data(), static_cast<std::uint32_t>(text.size())};
    return value;
}

} // namespace

bool IsLiveInstance(const Instance* instance)
{
    const auto& live = LiveInstances();
    return instance && std::find(live.begin(), live.end(), instance) != live.end();
}

Instance* FindLiveInstance(const void* npp)
{
    for (Instance* instance : LiveInstances())
        if (instance->Npp() == npp)
            return instance;
    return nullptr;
}

std::size_t LiveInstanceCount()
{
    return LiveInstances().size();
}

void DestroyAllInstances()
{
    // The browser's records may be gone by now: the instances are freed without touching them.
    while (!LiveInstances().empty()) {
        Instance* instance = LiveInstances().back();
        Forget(instance);
        delete instance;
    }
}

InstanceScope::InstanceScope(NPP npp) : browserCall_(true)
{
    // The record is read only once it is known to be one of a live instance.
    Instance* instance = FindLiveInstance(npp);
    if (!instance)
        return;
    const bool pdata_left_null = Hostility().Has(ZnNpHostileNullPdata) && !npp->pdata;
    if (instance != npp->pdata && !pdata_left_null) {
        ReportViolation("the browser changed npp->pdata");
        return;
    }
    instance_ = instance;
    instance_->Enter(browserCall_);
}

InstanceScope::InstanceScope(Instance* instance, bool browserCall)
    : instance_(IsLiveInstance(instance) ? instance : nullptr), browserCall_(browserCall)
{
    if (instance_)
        instance_->Enter(browserCall_);
}

InstanceScope::~InstanceScope()
{
    Instance::Leave(instance_, browserCall_);
}

void Instance::Enter(bool browserCall)
{
    ++depth_;
    if (browserCall)
        ++browserCalls_;
}

void Instance::Leave(Instance* instance, bool browserCall)
{
    if (!instance)
        return;
    if (browserCall)
        --instance->browserCalls_;
    if (--instance->depth_ != 0)
        return;
    if (instance->destroyed_)
        delete instance;
    else
        instance->retiredMovies_.clear();
}

Instance::Instance(NPP npp, const InstanceSettings& settings) : npp_(npp), settings_(settings)
{
    LiveInstances().push_back(this);
    // Windowless is the only mode this player draws in. A browser that cannot host it keeps
    // its windowed default, whose window this player refuses: scripting and streams still work.
    if (!TheBrowser().SupportsWindowless(npp_))
        return;
    TheBrowser().SetValue(npp_, NPPVpluginWindowBool, nullptr);
    TheBrowser().SetValue(
        npp_, NPPVpluginTransparentBool,
        reinterpret_cast<void*>(static_cast<std::uintptr_t>(settings_.transparent)));
}

Instance::~Instance()
{
    Forget(this);
    timer_.Stop();
    // Only NP_Shutdown frees an instance that was not destroyed; the browser's records may be
    // gone by then, so its hold on the scriptable object is not released, only cut.
    if (object_)
        object_->instance = nullptr;
}

void Instance::Destroy()
{
    if (destroyed_)
        return;
    // NPP_Destroy's own call is the one open browser call a browser may destroy from.
    if (browserCalls_ > 1)
        ReportViolation("NPP_Destroy inside another call of the browser into the instance");
    destroyed_ = true;
    timer_.Stop();
    Forget(this);
    npp_->pdata = nullptr;
    if (object_) {
        ScriptableObject* object = object_;
        object_ = nullptr;
        object->instance = nullptr;
        TheBrowser().ReleaseObject(object);
    }
}

std::uint32_t Instance::Width() const
{
    return window_.window ? window_.width : settings_.width;
}

std::uint32_t Instance::Height() const
{
    return window_.window ? window_.height : settings_.height;
}

NPError Instance::SetWindow(const NPWindow& window)
{
    if (painting_)
        ReportViolation("NPP_SetWindow inside WM_PAINT");
    if (window.type != NPWindowTypeDrawable)
        return NPERR_INVALID_PARAM;
    bool resized = window.width != Width() || window.height != Height();
    window_ = window;
    if (movie_ && resized)
        movie_->SetViewSize(static_cast<int>(window_.width), static_cast<int>(window_.height));
    // Like a paint inside a paint, a window change inside one is not answered with another
    // invalidation, so a browser that paints at once cannot recurse for ever.
    if (Hostility().Has(ZnNpHostilePaintInvalidates) && !painting_) {
        if (settingWindow_) {
            ReportViolation("NPP_SetWindow inside NPP_SetWindow");
            return NPERR_NO_ERROR;
        }
        settingWindow_ = true;
        Invalidate({0, 0, Clamp16(Height()), Clamp16(Width())});
        settingWindow_ = false;
    }
    return NPERR_NO_ERROR;
}

std::int16_t Instance::HandleEvent(const NPEvent& event)
{
    if (!movie_)
        return 0;
    if (event.event == kPaint) {
        // A paint inside a paint would draw over the half-drawn one; this player does not
        // invalidate again from there, so a browser that paints at once cannot recurse for ever.
        if (painting_) {
            ReportViolation("WM_PAINT inside WM_PAINT");
            return 0;
        }
        // The context of the paint event, else the one the last NPP_SetWindow announced.
        void* device_context =
            event.wParam ? reinterpret_cast<void*>(event.wParam) : window_.window;
        if (!device_context)
            return 0;
        NPWindow area = window_;
        area.width = Width();
        area.height = Height();
        painting_ = true;
        struct PaintEnds {
            bool& painting;
            ~PaintEnds() { painting = false; }
        } paint_ends{painting_};
        if (Hostility().Has(ZnNpHostilePaintInvalidates))
            Invalidate({0, 0, Clamp16(Height()), Clamp16(Width())});
        if (destroyed_ || !movie_)
            return 0;
        painter_.Paint(*movie_, device_context, area, settings_.transparent, settings_.background);
        return 1;
    }
    int x = static_cast<std::int16_t>(event.lParam & 0xFFFF) - window_.x;
    int y = static_cast<std::int16_t>((event.lParam >> 16) & 0xFFFF) - window_.y;
    auto key = static_cast<unsigned>(event.wParam);
    switch (event.event) {
    case kMouseMove: movie_->MouseMove(x, y); return 1;
    case kLeftButtonDown: movie_->MouseButton(x, y, true); return 1;
    case kLeftButtonUp: movie_->MouseButton(x, y, false); return 1;
    case kKeyDown: movie_->KeyDown(key); return 1;
    case kKeyUp: movie_->KeyUp(key); return 1;
    case kCharacter: movie_->Character(key); return 1;
    // There is no context menu: right clicks are left to the browser.
    default: return 0;
    }
}

NPError Instance::NewStream(NPStream& stream, std::uint16_t* streamType)
{
    if (stream.pdata)
        ReportViolation("NPP_NewStream with a stream whose pdata is set");
    StreamBuffer* buffer =
        downloads_.Open(stream.notifyData, stream.url ? std::string(stream.url) : std::string());
    stream.pdata = buffer;
    if (streamType)
        *streamType = NP_NORMAL;
    return NPERR_NO_ERROR;
}

bool Instance::IsOwnStream(const NPStream& stream, const char* call) const
{
    if (!downloads_.IsOpen(stream.pdata)) {
        ReportViolation(std::string(call) + " with a stream this instance did not open");
        return false;
    }
    if (stream.notifyData != static_cast<const StreamBuffer*>(stream.pdata)->notifyData) {
        ReportViolation(std::string(call) + " with a stream whose notifyData changed");
        return false;
    }
    return true;
}

std::int32_t Instance::Write(NPStream& stream, std::int32_t length, const void* buffer)
{
    // A negative answer makes the browser end the stream.
    if (!IsOwnStream(stream, "NPP_Write"))
        return -1;
    bool kept = downloads_.Append(static_cast<StreamBuffer*>(stream.pdata), buffer,
                                  static_cast<std::size_t>(length));
    if (kept && Hostility().Has(ZnNpHostileWriteCallsOut))
        SendFSCommand("write", stream.url ? stream.url : "");
    return kept ? length : -1;
}

NPError Instance::DestroyStream(NPStream& stream, NPReason reason)
{
    if (!IsOwnStream(stream, "NPP_DestroyStream"))
        return NPERR_INVALID_PARAM;
    StreamBuffer finished = downloads_.Close(static_cast<StreamBuffer*>(stream.pdata));
    stream.pdata = nullptr;
    // Files a movie fetches have nowhere to go in this player: their arrival is all it notes.
    // A movie cut short shows the frames that came; one that brought nothing leaves the
    // current movie in place.
    bool arrived = reason == NPRES_DONE || !finished.bytes.empty();
    if (arrived && finished.request.purpose == UrlRequest::Purpose::Movie)
        MovieArrived(finished);
    return NPERR_NO_ERROR;
}

void Instance::UrlNotify(NPReason, void* notifyData)
{
    downloads_.Notified(notifyData);
}

void Instance::ActHostileInNew()
{
    if (Hostility().Has(ZnNpHostileEnumerate)) {
        NPObject* window = TheBrowser().WindowObject(npp_);
        if (window && !TheBrowser().Enumerate(npp_, window))
            ReportViolation("the browser table of minor version 18 has no enumerate entry");
        TheBrowser().ReleaseObject(window);
    }
    if (Hostility().Has(ZnNpHostileRequestInNew))
        RequestFromBrowser(Hostility().url, UrlRequest::Purpose::Movie);
}

void Instance::MovieArrived(const StreamBuffer& stream)
{
    timer_.Stop();
    // The movie being replaced may be the one whose script asked for this; it lives on until
    // the outermost call returns.
    if (movie_)
        retiredMovies_.push_back(std::move(movie_));
    movieUrl_ = stream.request.url;
    movie_ = std::make_unique<swf::MoviePlayer>(static_cast<swf::PlayerHost&>(*this));
    movie_->SetViewSize(static_cast<int>(Width()), static_cast<int>(Height()));
    movie_->SetLoop(loop_);
    swf::MoviePlayer& movie = *movie_;
    movie.Load(stream.bytes);
    if (destroyed_ || movie_.get() != &movie || !movie.HasMovie())
        return;
    timer_.Start(
        [this] {
            InstanceScope instance(this);
            if (instance)
                instance->AdvanceFrame();
        },
        movie.FrameRate());
}

NPObject* Instance::ScriptableObjectForBrowser()
{
    if (!object_) {
        auto* object = static_cast<ScriptableObject*>(
            TheBrowser().CreateObject(npp_, ScriptableObjectClass()));
        if (!object)
            return nullptr;
        object->instance = this;
        object_ = object;
    }
    return TheBrowser().RetainObject(object_);
}

NPError Instance::LoadMovie(std::int32_t layer, const std::string& url)
{
    // Levels above 0 would stack movies; this player shows one.
    if (layer != 0 || url.empty())
        return NPERR_INVALID_PARAM;
    return RequestFromBrowser(url, UrlRequest::Purpose::Movie);
}

void Instance::Play()
{
    if (movie_)
        movie_->Play();
}

void Instance::StopPlay()
{
    if (movie_)
        movie_->StopPlay();
}

void Instance::Rewind()
{
    if (movie_)
        movie_->Rewind();
}

void Instance::Forward()
{
    if (movie_)
        movie_->Forward();
}

void Instance::Back()
{
    if (movie_)
        movie_->Back();
}

bool Instance::Loop() const
{
    return movie_ ? movie_->Loop() : loop_;
}

void Instance::SetLoop(bool loop)
{
    loop_ = loop;
    if (movie_)
        movie_->SetLoop(loop);
}

bool Instance::IsPlaying() const
{
    return movie_ && movie_->IsPlaying();
}

std::int32_t Instance::CurrentFrame() const
{
    return movie_ ? movie_->CurrentFrame() : 0;
}

std::int32_t Instance::TotalFrames() const
{
    return movie_ ? movie_->TotalFrames() : 0;
}

void Instance::GotoFrame(std::int32_t frame)
{
    if (movie_)
        movie_->GotoFrame(frame);
}

std::optional<std::string> Instance::GetVariable(const std::string& name) const
{
    return movie_ ? movie_->GetVariable(name) : std::nullopt;
}

void Instance::SetVariable(const std::string& name, const std::string& value)
{
    if (movie_)
        movie_->SetVariable(name, value);
}

std::string Instance::CallFunction(const std::string& request)
{
    std::optional<std::string> answer = movie_ ? movie_->InvokeCallback(request) : std::nullopt;
    return answer.value_or("<undefined/>");
}

void Instance::Invalidate(NPRect rect)
{
    if (!destroyed_)
        TheBrowser().InvalidateRect(npp_, rect);
}

bool Instance::SendFSCommand(const std::string& command, const std::string& args)
{
    if (destroyed_)
        return false;
    NPObject* window = TheBrowser().WindowObject(npp_);
    if (!window)
        return false;
    NPVariant arguments[2] = {StringVariant(command), StringVariant(args)};
    NPVariant result{};
    bool accepted = TheBrowser().Invoke(npp_, window, "_DoFSCommand", arguments, 2, &result);
    if (accepted)
        TheBrowser().ReleaseVariant(result);
    TheBrowser().ReleaseObject(window);
    return accepted;
}

std::string Instance::SendExternalCall(const std::string& name,
                                       const std::vector<FlashCallArgument>& args)
{
    if (destroyed_)
        return "<undefined/>";
    NPObject* window = TheBrowser().WindowObject(npp_);
    if (!window)
        return "<undefined/>";
    NPVariant result{};
    std::string answer = "<undefined/>";
    if (TheBrowser().Evaluate(npp_, window, FlashCallScript(name, args), &result)) {
        if (result.type == NPVariantType_String && result.value.stringValue.UTF8Characters)
            answer.assign(result.value.stringValue.UTF8Characters,
                          result.value.stringValue.UTF8Length);
        TheBrowser().ReleaseVariant(result);
    }
    TheBrowser().ReleaseObject(window);
    return answer;
}

NPError Instance::RequestFromBrowser(const std::string& url, UrlRequest::Purpose purpose)
{
    if (destroyed_)
        return NPERR_INVALID_INSTANCE_ERROR;
    void* notify_data = downloads_.Add({purpose, url});
    NPError result = TheBrowser().GetUrlNotify(npp_, url, notify_data);
    if (result != NPERR_NO_ERROR)
        downloads_.Notified(notify_data);
    return result;
}

void Instance::AdvanceFrame()
{
    // The movie reports what changed through InvalidateRect as it advances.
    if (movie_)
        movie_->Advance();
}

void Instance::RequestUrl(const std::string& url, const std::string& target)
{
    if (!player::IsRequestAllowed(movieUrl_, url, LocalRestrictionLifted()))
        return;
    // A movie loaded into level 0 replaces this one; everything else is a file it fetches.
    bool replaces_movie = target == "_level0";
    RequestFromBrowser(url, replaces_movie ? UrlRequest::Purpose::Movie
                                           : UrlRequest::Purpose::MovieFile);
}

void Instance::FSCommand(const std::string& command, const std::string& arguments)
{
    SendFSCommand(command, arguments);
}

std::string Instance::CallExternal(const std::string& name,
                                   const std::vector<swf::ExternalValue>& arguments)
{
    return SendExternalCall(name, arguments);
}

void Instance::InvalidateRect(const swf::PixelRect& rect)
{
    Invalidate({Clamp16(long{rect.top} + window_.y), Clamp16(long{rect.left} + window_.x),
                Clamp16(long{rect.bottom} + window_.y), Clamp16(long{rect.right} + window_.x)});
}

} // namespace zn::np
