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
#include "timeline.h"
#include "znswf/movie_reader.h"

namespace zn::swf {
namespace {

constexpr int MaximumChainedFrameScripts = 16;
constexpr int MaximumSettleRounds = 4;
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

class MoviePlayer::Impl final : public avm1::TimelineControl {
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
        if (machine_)
            retired_.push_back(std::move(machine_));
        ++generation_;
        reader_ = std::make_unique<MovieReader>();
        movie_.reset();
        timeline_.Reset();
        pendingFrame_.reset();
        buttons_.Reset();
        playing_ = true;
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
        }
        if (movie_ && !timeline_.Current() && !movie_->frames.empty()) {
            everythingChanged_ = true;
            ShowFrame(0);
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
        if (!movie_ || !timeline_.Current() || !playing_)
            return;
        size_t next = *timeline_.Current() + 1;
        if (next >= movie_->frames.size()) {
            if (!movie_->complete)
                return; // the next frame has not arrived yet
            if (movie_->frames.size() < 2)
                return;
            if (!loop_) {
                playing_ = false;
                return;
            }
            next = 0;
        }
        ShowFrame(next);
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
        for (const auto& [depth, instance] : timeline_.DisplayList()) {
            if (budget.Spent())
                break;
            PlacedCharacter placed{instance.character, Affine::Compose(instance.matrix, view),
                                   instance.colorTransform, buttons_.StateOf(depth)};
            DrawCharacter(*movie_, placed, renderer_, target, clip, budget);
        }
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

    // Playback
    void ShowFrame(size_t frame)
    {
        if (!movie_ || movie_->frames.empty())
            return;
        frame = std::min(frame, movie_->frames.size() - 1);
        work_ += timeline_.Goto(*movie_, frame);
        pendingFrame_ = frame; // its scripts run when the outermost entry settles
    }

    void RunFrameScripts()
    {
        for (int chain = 0; chain < MaximumChainedFrameScripts && pendingFrame_ && movie_;
             ++chain) {
            size_t frame = *pendingFrame_;
            pendingFrame_.reset();
            if (frame >= movie_->frames.size() || !machine_)
                break;
            std::vector<ActionBlock> blocks = movie_->frames[frame].actions;
            unsigned generation = generation_;
            for (const ActionBlock& block : blocks) {
                // A goto leaves the rest of this frame's scripts, a new movie all of them.
                if (!machine_ || pendingFrame_ || generation != generation_)
                    break;
                machine_->RunBlock(block);
            }
        }
        pendingFrame_.reset();
    }

    // The host may drive the player again from inside InvalidateRect (a goto, a callback);
    // what that causes is settled in further rounds, a bounded number of them.
    void Settle()
    {
        PixelRect changed;
        for (int round = 0; round < MaximumSettleRounds; ++round) {
            RunFrameScripts();
            retired_.clear();
            TwipsArea changes = timeline_.TakeChanges();
            changes.Include(buttons_.TakeChanges());
            PixelRect now = everythingChanged_ ? WholeView() : ToView(changes);
            everythingChanged_ = false;
            changed = changed.United(now);
            if (!now.Empty())
                host_.InvalidateRect(now);
            if (!pendingFrame_ && !timeline_.HasChanges() && !buttons_.HasChanges() &&
                !everythingChanged_)
                break;
        }
        lastChanged_ = changed;
    }

    // TimelineControl, for the movie's scripts
    void GotoFrame(size_t frame) override { ShowFrame(frame); }
    bool GotoLabel(const std::string& label) override
    {
        if (!movie_)
            return false;
        for (size_t i = 0; i < movie_->frames.size(); ++i) {
            ++work_;
            if (movie_->frames[i].label == label) {
                ShowFrame(i);
                return true;
            }
        }
        return false;
    }
    void SetPlaying(bool playing) override { playing_ = playing; }
    void StepFrame(int delta) override
    {
        Step(delta);
        playing_ = false;
    }
    void Step(int delta)
    {
        if (!movie_ || !timeline_.Current())
            return;
        size_t current = *timeline_.Current();
        if (delta < 0 && current == 0)
            return;
        size_t target = delta < 0 ? current - 1 : current + 1;
        if (target < movie_->frames.size())
            ShowFrame(target);
    }
    size_t CurrentFrame() const override { return timeline_.Current().value_or(0); }
    size_t TotalFrames() const override
    {
        if (!movie_)
            return 0;
        if (movie_->complete)
            return movie_->frames.size();
        return std::max<size_t>(movie_->header.declaredFrameCount, movie_->frames.size());
    }
    size_t FramesLoaded() const override { return movie_ ? movie_->frames.size() : 0; }
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
    double MouseX() const override
    {
        return std::round(ViewToStage(input_.mouseX, true) / TwipsPerPixel);
    }
    double MouseY() const override
    {
        return std::round(ViewToStage(input_.mouseY, false) / TwipsPerPixel);
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
            buttons_.PointerMoved(*movie, timeline_, ViewToStage(input_.mouseX, true),
                                  ViewToStage(input_.mouseY, false), renderer_, ActionRunner());
    }

    void PointerButton(bool down)
    {
        if (std::shared_ptr<const Movie> movie = movie_)
            buttons_.PointerButton(*movie, timeline_, down, ActionRunner());
    }

    PlayerHost& host_;
    std::unique_ptr<MovieReader> reader_;
    std::shared_ptr<const Movie> movie_;
    std::unique_ptr<avm1::Machine> machine_;
    std::vector<std::unique_ptr<avm1::Machine>>
        retired_; // replaced while running; freed when settled
    Timeline timeline_;
    mutable ShapeRenderer renderer_;
    std::optional<size_t> pendingFrame_;
    bool playing_ = false;
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
    impl_->playing_ = impl_->movie_ != nullptr;
}
void MoviePlayer::StopPlay()
{
    impl_->playing_ = false;
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
    return static_cast<int>(impl_->CurrentFrame());
}
int MoviePlayer::TotalFrames() const
{
    return static_cast<int>(impl_->TotalFrames());
}
int MoviePlayer::FramesLoaded() const
{
    return static_cast<int>(impl_->FramesLoaded());
}
bool MoviePlayer::IsPlaying() const
{
    return impl_->playing_;
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

const InputState& MoviePlayer::Input() const
{
    return impl_->input_;
}

} // namespace zn::swf
