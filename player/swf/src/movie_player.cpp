// The movie engine: loading, the clock, playback, scripts and the host's calls, tied together.
// Every public call is an entry; work the movie's scripts cause (frame actions after gotos,
// invalidation, freeing an engine replaced from inside a callback) is settled when the
// outermost entry returns, so the host may call back into the player from any callback.
#include "znswf/movie_player.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <utility>

#include "avm1_machine.h"
#include "button_tracker.h"
#include "characters.h"
#include "clip.h"
#include "stream_table.h"
#include "timeline.h"
#include "znswf/movie_reader.h"

namespace zn::swf {
namespace {

constexpr int MaximumChainedFrameScripts = 16;
constexpr int MaximumSettleRounds = 4;
constexpr size_t MaximumClips = 16384;
constexpr Rgba White{255, 255, 255, 255};

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

class MoviePlayer::Impl final : public avm1::PlayerControl, public ClipHost {
public:
    explicit Impl(PlayerHost& host) : host_(host) {}

    class Entry {
    public:
        explicit Entry(Impl& impl) : impl_(impl)
        {
            if (++impl_.entries_ == 1)
                impl_.NewBudget();
        }
        ~Entry()
        {
            if (impl_.entries_ == 1)
                impl_.Settle();
            --impl_.entries_;
        }

    private:
        Impl& impl_;
    };

    // Loading
    void BeginLoad()
    {
        // The old tree goes first: its clips detach from the objects of the old machine.
        root_ = std::make_shared<Clip>(*this, nullptr, 0);
        if (machine_)
            retired_.push_back(std::move(machine_));
        ++generation_;
        reader_ = std::make_unique<MovieReader>();
        movie_.reset();
        scheduled_.clear();
        requests_.clear();
        streams_.Clear();
        pressed_.reset();
        buttons_.Reset();
        everythingChanged_ = true;
    }

    void Append(std::span<const uint8_t> bytes)
    {
        if (!reader_)
            BeginLoad();
        reader_->Append(bytes);
        Update();
    }

    void EndLoad()
    {
        if (!reader_)
            return;
        reader_->Finish();
        Update();
    }

    void NewBudget()
    {
        if (machine_)
            machine_->NewBudget();
    }

    void Update()
    {
        if (!movie_ && reader_->GetMovie()) {
            movie_ = reader_->GetMovie();
            machine_ = std::make_unique<avm1::Machine>(*this, movie_->header.version);
            machine_->NewBudget();
            bool playing = root_->Playing();
            root_->AttachObject(machine_->Root());
            machine_->Root()->clip = root_.get();
            root_->ShowMovie(movie_);
            root_->SetPlaying(playing);
        }
        if (movie_ && !root_->GetTimeline().Current() && !movie_->frames.empty()) {
            everythingChanged_ = true;
            root_->ShowFrame(0);
        }
    }

    // Clock
    double FrameRate() const
    {
        if (!movie_)
            return 12;
        return std::clamp(movie_->header.frameRate / 256.0, 1.0, 120.0);
    }

    void Advance()
    {
        if (!movie_ || !root_->GetTimeline().Current())
            return;
        AdvanceMain();
        std::vector<std::weak_ptr<Clip>> clips;
        root_->Collect(clips);
        for (size_t i = 1; i < clips.size(); ++i)
            if (std::shared_ptr<Clip> clip = clips[i].lock())
                clip->Tick();
        for (const std::weak_ptr<Clip>& weak : clips)
            if (std::shared_ptr<Clip> clip = weak.lock(); clip && machine_)
                machine_->Dispatch(clip->Object(), "onEnterFrame");
        double milliseconds = 1000.0 / FrameRate();
        if (streams_.Advance(static_cast<unsigned>(std::lround(milliseconds))))
            everythingChanged_ = true;
        DispatchStreamEvents();
        if (machine_)
            machine_->AdvanceClock(milliseconds);
    }

    void AdvanceMain()
    {
        if (!root_->Playing())
            return;
        size_t next = *root_->GetTimeline().Current() + 1;
        if (next >= movie_->frames.size()) {
            if (!movie_->complete)
                return; // the next frame has not arrived yet
            if (movie_->frames.size() < 2)
                return;
            if (!loop_) {
                root_->SetPlaying(false);
                return;
            }
            next = 0;
        }
        root_->ShowFrame(next);
    }

    void DispatchStreamEvents()
    {
        for (auto& [object, event] : streams_.TakeEvents()) {
            if (!machine_)
                return;
            avm1::Machine::EventInfo info;
            if (event.kind == VideoStreamEvent::Kind::MetaData) {
                for (const auto& [name, value] : event.metadata.entries)
                    if (std::optional<double> number = event.metadata.Number(name))
                        info.emplace_back(name, ExternalValue::Number(*number));
                machine_->Dispatch(object, "onMetaData", &info);
                continue;
            }
            info.emplace_back("code", ExternalValue::String(event.code));
            info.emplace_back("level", ExternalValue::String(event.level));
            machine_->Dispatch(object, "onStatus", &info);
        }
    }

    // Rendering
    ViewTransform ViewFor(int viewWidth, int viewHeight, int originX, int originY) const
    {
        const TwipsRect& stage = movie_->header.stage;
        double stage_width = static_cast<double>(stage.xMax) - stage.xMin;
        double stage_height = static_cast<double>(stage.yMax) - stage.yMin;
        ViewTransform view;
        if (stage_width <= 0 || stage_height <= 0) {
            view.scale = 0;
            return view;
        }
        view.scale = std::min(viewWidth / stage_width, viewHeight / stage_height);
        view.offsetX =
            (viewWidth - stage_width * view.scale) / 2 - stage.xMin * view.scale - originX;
        view.offsetY =
            (viewHeight - stage_height * view.scale) / 2 - stage.yMin * view.scale - originY;
        return view;
    }

    void Render(ImageView target, const RenderOptions& options) const
    {
        if (!target.pixels || target.width <= 0 || target.height <= 0)
            return;
        PixelRect clip{0, 0, target.width, target.height};
        if (!options.clip.Empty())
            clip = clip.Intersected(options.clip);
        if (clip.Empty())
            return;
        uint32_t background = 0;
        if (options.opaqueBackground) {
            Rgba color = BackgroundColor();
            background = PackPixel(color.red, color.green, color.blue, 255);
        }
        for (int y = clip.top; y < clip.bottom; ++y)
            std::fill_n(target.Row(y) + clip.left, clip.Width(), background);
        if (!movie_)
            return;
        int view_width = options.viewWidth > 0 ? options.viewWidth : target.width;
        int view_height = options.viewHeight > 0 ? options.viewHeight : target.height;
        ViewTransform view = ViewFor(view_width, view_height, options.originX, options.originY);
        if (view.scale <= 0)
            return;
        RenderBudget budget;
        DrawContext context{renderer_, target, clip, budget};
        root_->Draw(Affine::Compose(Matrix{}, view), ColorTransform{}, context, &buttons_.States());
    }

    Rgba BackgroundColor() const
    {
        return movie_ && movie_->background ? *movie_->background : White;
    }

    // The host's view, or the stage at one pixel per pixel while the host has set none.
    std::pair<int, int> ViewSize() const
    {
        if (viewWidth_ > 0 && viewHeight_ > 0)
            return {viewWidth_, viewHeight_};
        const TwipsRect& stage = movie_->header.stage;
        return {static_cast<int>(std::clamp<int64_t>(
                    (int64_t(stage.xMax) - stage.xMin) / TwipsPerPixel, 0, 1 << 20)),
                static_cast<int>(std::clamp<int64_t>(
                    (int64_t(stage.yMax) - stage.yMin) / TwipsPerPixel, 0, 1 << 20))};
    }

    PixelRect ToView(const TwipsArea& area) const
    {
        if (area.empty || !movie_)
            return {};
        auto [width, height] = ViewSize();
        ViewTransform view = ViewFor(width, height, 0, 0);
        auto x = [&](int64_t t) { return std::clamp(t * view.scale + view.offsetX, -1e9, 1e9); };
        auto y = [&](int64_t t) { return std::clamp(t * view.scale + view.offsetY, -1e9, 1e9); };
        PixelRect rect{static_cast<int>(std::floor(x(area.xMin))) - 1,
                       static_cast<int>(std::floor(y(area.yMin))) - 1,
                       static_cast<int>(std::ceil(x(area.xMax))) + 1,
                       static_cast<int>(std::ceil(y(area.yMax))) + 1};
        return rect.Intersected({0, 0, width, height});
    }

    PixelRect WholeView() const
    {
        if (viewWidth_ > 0 && viewHeight_ > 0)
            return {0, 0, viewWidth_, viewHeight_};
        TwipsArea stage;
        if (movie_)
            stage.Include(movie_->header.stage);
        return ToView(stage);
    }

    // Playback of the main timeline
    void ShowFrame(size_t frame)
    {
        if (movie_ && !movie_->frames.empty())
            root_->ShowFrame(frame);
    }

    void Step(int delta)
    {
        if (!movie_ || !root_->GetTimeline().Current())
            return;
        size_t current = root_->CurrentFrame();
        if (delta < 0 && current == 0)
            return;
        size_t target = delta < 0 ? current - 1 : current + 1;
        if (target < movie_->frames.size())
            ShowFrame(target);
    }

    // Frame scripts of every clip that went to a frame, in the order they did; a goto in
    // them makes more due, a bounded number of rounds.
    void RunFrameScripts()
    {
        for (int chain = 0; chain < MaximumChainedFrameScripts && !scheduled_.empty(); ++chain) {
            std::vector<std::weak_ptr<Clip>> batch = std::exchange(scheduled_, {});
            for (const std::weak_ptr<Clip>& weak : batch) {
                std::shared_ptr<Clip> clip = weak.lock();
                if (!clip || !machine_)
                    continue;
                std::optional<size_t> frame = clip->TakePendingFrame();
                if (!frame || *frame >= clip->Frames().size())
                    continue;
                std::vector<ActionBlock> blocks = clip->Frames()[*frame].actions;
                unsigned generation = generation_;
                for (const ActionBlock& block : blocks) {
                    // A goto leaves the rest of this frame's scripts, a new movie all of them.
                    if (!machine_ || clip->HasPendingFrame() || generation != generation_)
                        break;
                    machine_->RunBlock(block, clip->Object());
                }
            }
        }
        for (const std::weak_ptr<Clip>& weak : std::exchange(scheduled_, {}))
            if (std::shared_ptr<Clip> clip = weak.lock())
                clip->TakePendingFrame();
    }

    // The host may drive the player again from inside InvalidateRect (a goto, a callback);
    // what that causes is settled in further rounds, a bounded number of them.
    void Settle()
    {
        PixelRect changed;
        for (int round = 0; round < MaximumSettleRounds; ++round) {
            RunFrameScripts();
            retired_.clear();
            TwipsArea changes = root_ ? root_->GetTimeline().TakeChanges() : TwipsArea{};
            changes.Include(buttons_.TakeChanges());
            PixelRect now = everythingChanged_ ? WholeView() : ToView(changes);
            everythingChanged_ = false;
            changed = changed.United(now);
            if (!now.Empty())
                host_.InvalidateRect(now);
            bool timeline_changes = root_ && root_->GetTimeline().HasChanges();
            if (scheduled_.empty() && !timeline_changes && !buttons_.HasChanges() &&
                !everythingChanged_)
                break;
        }
        lastChanged_ = changed;
    }

    // ClipHost
    avm1::Object* NewClipObject(Clip& clip) override
    {
        return machine_ ? machine_->NewClipObject(clip) : nullptr;
    }
    bool ReserveClip() override { return clips_ < MaximumClips ? (++clips_, true) : false; }
    void ReleaseClip() override { --clips_; }
    void FrameShown(Clip& clip) override { scheduled_.push_back(clip.weak_from_this()); }
    void RequestMovie(Clip& clip, const std::string& url) override
    {
        // A clip shows the last movie asked for: earlier loads into it still under way end.
        std::erase_if(requests_, [&](const Request& request) {
            return !request.stream && request.clip.lock().get() == &clip;
        });
        requests_.push_back({url, clip.weak_from_this(), nullptr});
        host_.RequestUrl(url, clip.TargetPath());
    }
    void ContentChanged() override { everythingChanged_ = true; }
    void AddWork(size_t work) override { work_ += work; }
    double MouseX() const override
    {
        return std::round(ViewToStage(input_.mouseX, true) / TwipsPerPixel);
    }
    double MouseY() const override
    {
        return std::round(ViewToStage(input_.mouseY, false) / TwipsPerPixel);
    }
    const Image* StreamPicture(const avm1::Object& stream) const override
    {
        return streams_.Picture(stream);
    }

    // PlayerControl, for the movie's scripts
    size_t TakeWork() override { return std::exchange(work_, 0); }
    void GetUrl(const std::string& url, const std::string& target) override
    {
        constexpr std::string_view prefix = "FSCommand:";
        if (StartsWithNoCase(url, prefix))
            host_.FSCommand(url.substr(prefix.size()), target);
        else
            host_.RequestUrl(url, target);
    }
    std::string CallExternal(const std::string& name,
                             const std::vector<ExternalValue>& arguments) override
    {
        return host_.CallExternal(name, arguments);
    }
    void NewStream(avm1::Object& stream) override { streams_.Add(stream); }
    void StreamPlay(avm1::Object& stream, const std::string& url) override
    {
        if (!streams_.Play(stream))
            return;
        everythingChanged_ = true;
        requests_.push_back({url, {}, &stream});
        host_.RequestUrl(url, "");
    }
    void StreamPause(avm1::Object& stream, std::optional<bool> pause) override
    {
        streams_.Pause(stream, pause);
    }
    void StreamSeek(avm1::Object& stream, double seconds) override
    {
        streams_.Seek(stream, seconds);
    }
    void StreamClose(avm1::Object& stream) override
    {
        std::erase_if(requests_, [&](const Request& r) { return r.stream == &stream; });
        streams_.Close(stream);
    }
    avm1::Value StreamProperty(const avm1::Object& stream, std::string_view name) const override
    {
        std::optional<double> value = streams_.Property(stream, name);
        return value ? avm1::Value::Number(*value) : avm1::Value{};
    }
    void SetVolume(double volume) override { volume_ = volume; }
    double Volume() const override { return volume_; }

    // Answers to the movie's requests. The first request for the URL takes the answer.
    void Delivered(std::string_view url, std::span<const uint8_t> bytes, bool found)
    {
        auto request = std::find_if(requests_.begin(), requests_.end(),
                                    [&](const Request& r) { return r.url == url; });
        if (request == requests_.end())
            return;
        Request taken = *request;
        requests_.erase(request);
        if (taken.stream) {
            streams_.Deliver(*taken.stream, bytes, found);
            everythingChanged_ = true;
            DispatchStreamEvents();
            return;
        }
        std::shared_ptr<Clip> clip = taken.clip.lock();
        if (!clip || !found)
            return;
        if (std::shared_ptr<const Movie> movie = ReadMovie(bytes); movie && movie->complete)
            clip->ShowMovie(std::move(movie));
    }

    // The stage twips under the centre of a view pixel.
    double ViewToStage(int coordinate, bool horizontal) const
    {
        if (!movie_)
            return 0;
        auto [width, height] = ViewSize();
        ViewTransform view = ViewFor(width, height, 0, 0);
        if (view.scale <= 0)
            return 0;
        return (coordinate + 0.5 - (horizontal ? view.offsetX : view.offsetY)) / view.scale;
    }

    // The pointer's buttons. The movie is held for the call: their actions may replace it.
    ButtonTracker::RunActions ActionRunner()
    {
        return [this](const ActionBlock& block) {
            if (machine_)
                machine_->RunBlock(block);
        };
    }

    void PointerMoved()
    {
        if (std::shared_ptr<const Movie> movie = movie_)
            buttons_.PointerMoved(*movie, root_->GetTimeline(), ViewToStage(input_.mouseX, true),
                                  ViewToStage(input_.mouseY, false), renderer_, ActionRunner());
    }

    // Clips with onPress, onRelease or onReleaseOutside take presses over their content.
    std::shared_ptr<Clip> ClipUnderPointer()
    {
        if (!movie_ || !machine_)
            return nullptr;
        auto handles = [this](const Clip& clip) {
            return machine_->HasHandler(clip.Object(), "onPress") ||
                   machine_->HasHandler(clip.Object(), "onRelease") ||
                   machine_->HasHandler(clip.Object(), "onReleaseOutside");
        };
        Clip* clip = root_->MouseTarget(Affine{}, ViewToStage(input_.mouseX, true),
                                        ViewToStage(input_.mouseY, false), handles, renderer_);
        return clip ? clip->shared_from_this() : nullptr;
    }

    void PointerButton(bool down)
    {
        if (std::shared_ptr<const Movie> movie = movie_)
            buttons_.PointerButton(*movie, root_->GetTimeline(), down, ActionRunner());
        std::shared_ptr<Clip> under = ClipUnderPointer();
        if (down) {
            pressed_ = under;
            if (under && machine_)
                machine_->Dispatch(under->Object(), "onPress");
            return;
        }
        std::shared_ptr<Clip> pressed = pressed_.lock();
        pressed_.reset();
        if (pressed && machine_)
            machine_->Dispatch(pressed->Object(),
                               pressed == under ? "onRelease" : "onReleaseOutside");
    }

    struct Request {
        std::string url;
        std::weak_ptr<Clip> clip;       // a movie for this clip
        avm1::Object* stream = nullptr; // or a video for this stream
    };

    PlayerHost& host_;
    std::unique_ptr<MovieReader> reader_;
    std::shared_ptr<const Movie> movie_;
    std::unique_ptr<avm1::Machine> machine_;
    std::vector<std::unique_ptr<avm1::Machine>>
        retired_;      // replaced while running; freed when settled
    size_t clips_ = 0; // made and not yet gone
    // After the machine: clips detach from its objects when they go.
    std::shared_ptr<Clip> root_ = std::make_shared<Clip>(*this, nullptr, 0);
    std::vector<std::weak_ptr<Clip>> scheduled_; // clips whose frame scripts are due
    std::vector<Request> requests_;
    StreamTable streams_;
    std::weak_ptr<Clip> pressed_;
    mutable ShapeRenderer renderer_;
    double volume_ = 100;
    bool loop_ = true;
    bool everythingChanged_ = false;
    int viewWidth_ = 0, viewHeight_ = 0;
    int entries_ = 0;
    unsigned generation_ = 0; // counts loads
    size_t work_ = 0;         // timeline work not yet charged to a script
    PixelRect lastChanged_;
    InputState input_;
    ButtonTracker buttons_;
};

MoviePlayer::MoviePlayer(PlayerHost& host) : impl_(std::make_unique<Impl>(host)) {}
MoviePlayer::~MoviePlayer() = default;

void MoviePlayer::BeginLoad()
{
    Impl::Entry entry(*impl_);
    impl_->BeginLoad();
}

void MoviePlayer::Append(std::span<const uint8_t> bytes)
{
    Impl::Entry entry(*impl_);
    impl_->Append(bytes);
}

void MoviePlayer::EndLoad()
{
    Impl::Entry entry(*impl_);
    impl_->EndLoad();
}

void MoviePlayer::Load(std::span<const uint8_t> bytes)
{
    Impl::Entry entry(*impl_);
    impl_->BeginLoad();
    impl_->Append(bytes);
    impl_->EndLoad();
}

bool MoviePlayer::HasMovie() const
{
    return impl_->movie_ != nullptr;
}
bool MoviePlayer::LoadComplete() const
{
    return impl_->movie_ && impl_->movie_->complete;
}
bool MoviePlayer::LoadFailed() const
{
    return impl_->reader_ && impl_->reader_->GetState() == MovieReader::State::Failed;
}
const Movie* MoviePlayer::GetMovie() const
{
    return impl_->movie_.get();
}

double MoviePlayer::FrameRate() const
{
    return impl_->FrameRate();
}
unsigned MoviePlayer::FrameIntervalMilliseconds() const
{
    return static_cast<unsigned>(std::lround(1000.0 / impl_->FrameRate()));
}

PixelRect MoviePlayer::Advance()
{
    {
        Impl::Entry entry(*impl_);
        impl_->lastChanged_ = {};
        impl_->Advance();
    }
    return impl_->entries_ == 0 ? impl_->lastChanged_ : PixelRect{};
}

void MoviePlayer::SetViewSize(int width, int height)
{
    Impl::Entry entry(*impl_);
    impl_->viewWidth_ = std::max(0, width);
    impl_->viewHeight_ = std::max(0, height);
    impl_->everythingChanged_ = impl_->movie_ != nullptr;
}

void MoviePlayer::Render(ImageView target, const RenderOptions& options) const
{
    impl_->Render(target, options);
}
Rgba MoviePlayer::BackgroundColor() const
{
    return impl_->BackgroundColor();
}

void MoviePlayer::Play()
{
    impl_->root_->SetPlaying(impl_->movie_ != nullptr);
}
void MoviePlayer::StopPlay()
{
    impl_->root_->SetPlaying(false);
}

void MoviePlayer::Rewind()
{
    Impl::Entry entry(*impl_);
    impl_->ShowFrame(0);
}

void MoviePlayer::Forward()
{
    Impl::Entry entry(*impl_);
    impl_->Step(1);
}

void MoviePlayer::Back()
{
    Impl::Entry entry(*impl_);
    impl_->Step(-1);
}

void MoviePlayer::GotoFrame(int frame)
{
    Impl::Entry entry(*impl_);
    if (frame >= 0)
        impl_->ShowFrame(static_cast<size_t>(frame));
}

int MoviePlayer::CurrentFrame() const
{
    return static_cast<int>(impl_->root_->CurrentFrame());
}
int MoviePlayer::TotalFrames() const
{
    return impl_->movie_ ? static_cast<int>(impl_->root_->TotalFrames()) : 0;
}
int MoviePlayer::FramesLoaded() const
{
    return impl_->movie_ ? static_cast<int>(impl_->movie_->frames.size()) : 0;
}
bool MoviePlayer::IsPlaying() const
{
    return impl_->movie_ && impl_->root_->Playing();
}
void MoviePlayer::SetLoop(bool loop)
{
    impl_->loop_ = loop;
}
bool MoviePlayer::Loop() const
{
    return impl_->loop_;
}

std::optional<std::string> MoviePlayer::GetVariable(std::string_view path)
{
    Impl::Entry entry(*impl_);
    if (!impl_->machine_)
        return std::nullopt;
    return impl_->machine_->GetVariable(std::string(path));
}

bool MoviePlayer::SetVariable(std::string_view path, std::string_view value)
{
    Impl::Entry entry(*impl_);
    return impl_->machine_ && impl_->machine_->SetVariable(std::string(path), std::string(value));
}

std::optional<std::string> MoviePlayer::InvokeCallback(std::string_view requestXml)
{
    Impl::Entry entry(*impl_);
    std::optional<ExternalInvocation> invocation = DecodeExternalInvocation(requestXml);
    if (!invocation || !impl_->machine_)
        return std::nullopt;
    std::optional<ExternalValue> result =
        impl_->machine_->InvokeCallback(invocation->name, invocation->arguments);
    if (!result)
        return std::nullopt;
    return EncodeExternalValue(*result);
}

std::vector<std::string> MoviePlayer::CallbackNames() const
{
    return impl_->machine_ ? impl_->machine_->CallbackNames() : std::vector<std::string>{};
}

void MoviePlayer::MouseMove(int x, int y)
{
    Impl::Entry entry(*impl_);
    impl_->input_.mouseX = x;
    impl_->input_.mouseY = y;
    ++impl_->input_.events;
    impl_->PointerMoved();
}

void MoviePlayer::MouseButton(int x, int y, bool down)
{
    Impl::Entry entry(*impl_);
    MouseMove(x, y);
    impl_->input_.mouseDown = down;
    impl_->PointerButton(down);
}

void MoviePlayer::KeyDown(unsigned virtualKey)
{
    impl_->input_.lastKey = virtualKey;
    ++impl_->input_.events;
}

void MoviePlayer::KeyUp(unsigned)
{
    ++impl_->input_.events;
}

void MoviePlayer::Character(unsigned code)
{
    impl_->input_.lastCharacter = code;
    ++impl_->input_.events;
}

void MoviePlayer::UrlArrived(std::string_view url, std::span<const uint8_t> bytes)
{
    Impl::Entry entry(*impl_);
    impl_->Delivered(url, bytes, true);
}

void MoviePlayer::UrlFailed(std::string_view url)
{
    Impl::Entry entry(*impl_);
    impl_->Delivered(url, {}, false);
}

double MoviePlayer::Volume() const
{
    return impl_->volume_;
}

const InputState& MoviePlayer::Input() const
{
    return impl_->input_;
}

} // namespace zn::swf
