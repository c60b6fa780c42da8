// Movie clips: content, frames, children, properties, drawing and mouse targets.
#include "clip.h"

#include <algorithm>
#include <cmath>

namespace zn::swf {
namespace {

const std::vector<Frame> NoFrames;

double Magnitude(int32_t a, int32_t b)
{
    return std::hypot(a / 65536.0, b / 65536.0);
}

int32_t ToFixed(double value)
{
    return static_cast<int32_t>(std::lround(std::clamp(value, -32767.0, 32767.0) * 65536));
}

int32_t ToTwips(double pixels)
{
    return static_cast<int32_t>(std::lround(std::clamp(pixels, -1e7, 1e7) * TwipsPerPixel));
}

} // namespace

void Clip::Bounds::Include(const Bounds& other)
{
    if (other.empty)
        return;
    if (empty) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

Clip::Clip(ClipHost& host, Clip* parent, uint16_t depth)
    : host_(host), parent_(parent), depth_(depth), nesting_(parent ? parent->nesting_ + 1 : 0)
{}

Clip::~Clip()
{
    if (parent_)
        host_.ReleaseClip();
    // Scripts may hold the object past the clip's life; it no longer reaches a clip.
    if (object_)
        object_->clip = nullptr;
}

void Clip::AttachObject(avm1::Object* object)
{
    object_ = object;
}

void Clip::Reset()
{
    children_.clear();
    timeline_.Reset();
    pendingFrame_.reset();
    sprite_.reset();
    video_.reset();
    stream_ = nullptr;
    wholeMovie_ = false;
    playing_ = true;
    host_.ContentChanged();
}

void Clip::ShowMovie(std::shared_ptr<const Movie> movie)
{
    Reset();
    movie_ = std::move(movie);
    wholeMovie_ = true;
    if (movie_ && !movie_->frames.empty())
        ShowFrame(0);
}

void Clip::ShowSprite(std::shared_ptr<const Movie> movie, std::shared_ptr<const Sprite> sprite)
{
    Reset();
    movie_ = std::move(movie);
    sprite_ = std::move(sprite);
    if (!Frames().empty())
        ShowFrame(0);
}

void Clip::ShowVideo(std::shared_ptr<const Movie> movie, const VideoDefinition& video)
{
    Reset();
    movie_ = std::move(movie);
    video_ = video;
}

const std::vector<Frame>& Clip::Frames() const
{
    if (sprite_)
        return sprite_->frames;
    if (wholeMovie_ && movie_)
        return movie_->frames;
    return NoFrames;
}

void Clip::ShowFrame(size_t frame)
{
    const std::vector<Frame>& frames = Frames();
    if (frames.empty() || !movie_)
        return;
    frame = std::min(frame, frames.size() - 1);
    host_.AddWork(timeline_.Goto(*movie_, frames, frame));
    SyncChildren();
    pendingFrame_ = frame;
    host_.FrameShown(*this);
}

void Clip::Tick()
{
    const std::vector<Frame>& frames = Frames();
    if (!playing_ || frames.size() < 2 || !timeline_.Current())
        return;
    size_t next = *timeline_.Current() + 1;
    ShowFrame(next < frames.size() ? next : 0);
    host_.ContentChanged();
}

void Clip::Collect(std::vector<std::weak_ptr<Clip>>& clips)
{
    clips.push_back(weak_from_this());
    for (auto& [depth, child] : children_)
        child->Collect(clips);
}

// Sprites and videos on the display list get a clip each, which lives as long as the same
// character stays at its depth; clips scripts made stay until something replaces them.
void Clip::SyncChildren()
{
    const auto& list = timeline_.DisplayList();
    for (auto it = children_.begin(); it != children_.end();) {
        auto instance = list.find(it->first);
        const Clip& child = *it->second;
        bool same = instance != list.end() && instance->second.dynamic == child.dynamic_ &&
                    (child.dynamic_ || instance->second.character == child.character_);
        it = same ? std::next(it) : children_.erase(it);
    }
    for (const auto& [depth, instance] : list) {
        if (children_.contains(depth) || instance.dynamic || !movie_)
            continue;
        bool sprite = movie_->sprites.contains(instance.character);
        bool video = movie_->videos.contains(instance.character);
        if ((sprite || video) && nesting_ < MaximumNesting && host_.ReserveClip())
            children_[depth] = MakeChild(depth, instance);
    }
}

std::shared_ptr<Clip> Clip::MakeChild(uint16_t depth, const Instance& instance)
{
    auto child = std::make_shared<Clip>(host_, this, depth);
    child->character_ = instance.character;
    child->AttachObject(host_.NewClipObject(*child));
    if (auto sprite = movie_->sprites.find(instance.character); sprite != movie_->sprites.end())
        child->ShowSprite(movie_, sprite->second);
    else
        child->ShowVideo(movie_, movie_->videos.at(instance.character));
    host_.ContentChanged();
    return child;
}

Instance* Clip::Placement() const
{
    if (parent_)
        if (Instance* instance = parent_->timeline_.Find(depth_))
            return instance;
    return &ownPlacement_;
}

Clip::Bounds Clip::ContentBounds(const Affine& transform) const
{
    Bounds bounds;
    auto include = [&](const TwipsRect& rect, const Affine& t) {
        if (rect.Empty())
            return;
        Point corners[] = {t.Apply(rect.xMin, rect.yMin), t.Apply(rect.xMax, rect.yMin),
                           t.Apply(rect.xMin, rect.yMax), t.Apply(rect.xMax, rect.yMax)};
        for (const Point& p : corners)
            bounds.Include({p.x, p.y, p.x, p.y, false});
    };
    if (video_)
        include({0, video_->width * TwipsPerPixel, 0, video_->height * TwipsPerPixel}, transform);
    for (const auto& [depth, instance] : timeline_.DisplayList()) {
        Affine t = transform.Then(instance.matrix);
        if (auto child = children_.find(depth); child != children_.end()) {
            bounds.Include(child->second->ContentBounds(t));
            continue;
        }
        if (auto shape = movie_->shapes.find(instance.character); shape != movie_->shapes.end())
            include(shape->second->edgeBounds, t);
        else if (auto button = movie_->buttons.find(instance.character);
                 button != movie_->buttons.end())
            for (const ButtonRecord& record : button->second->records)
                if (auto part = movie_->shapes.find(record.character); part != movie_->shapes.end())
                    include(part->second->edgeBounds, t.Then(record.matrix));
    }
    return bounds;
}

avm1::Value Clip::Property(std::string_view name) const
{
    using avm1::Value;
    const Instance& placement = *Placement();
    const Matrix& m = placement.matrix;
    if (name == "_x")
        return Value::Number(m.translateX / double(TwipsPerPixel));
    if (name == "_y")
        return Value::Number(m.translateY / double(TwipsPerPixel));
    if (name == "_xscale")
        return Value::Number(placement.xscale.value_or(Magnitude(m.scaleX, m.rotateSkew0) * 100));
    if (name == "_yscale")
        return Value::Number(placement.yscale.value_or(Magnitude(m.scaleY, m.rotateSkew1) * 100));
    if (name == "_alpha")
        return Value::Number(placement.colorTransform.alphaMultiply * 100.0 / 256);
    if (name == "_visible")
        return Value::Boolean(placement.visible);
    if (name == "_width" || name == "_height") {
        Affine pixels;
        pixels.a = pixels.d = 1.0 / TwipsPerPixel;
        Bounds bounds = ContentBounds(pixels.Then(m));
        double size = name == "_width" ? bounds.right - bounds.left : bounds.bottom - bounds.top;
        return Value::Number(bounds.empty ? 0 : std::round(size * 100) / 100);
    }
    if (name == "_currentframe")
        return Value::Number(static_cast<double>(CurrentFrame() + 1));
    if (name == "_totalframes")
        return Value::Number(static_cast<double>(TotalFrames()));
    if (name == "_framesloaded")
        return Value::Number(static_cast<double>(Frames().size()));
    if (name == "_name")
        return Value::String(placement.name);
    if (name == "_target")
        return Value::String(TargetPath());
    if (name == "_parent")
        return Value::Of(Parent());
    if (name == "_rotation")
        return Value::Number(std::atan2(m.rotateSkew0, m.scaleX) * 180 / 3.14159265358979);
    if (name == "_xmouse")
        return Value::Number(host_.MouseX());
    if (name == "_ymouse")
        return Value::Number(host_.MouseY());
    return {};
}

bool Clip::SetProperty(std::string_view name, const avm1::Value& value)
{
    static constexpr std::string_view names[] = {"_x",     "_y",     "_xscale", "_yscale",
                                                 "_alpha", "_width", "_height", "_visible"};
    if (std::find(std::begin(names), std::end(names), name) == std::end(names))
        return false;
    Instance& placement = *Placement();
    const Instance before = placement;
    ApplyProperty(placement, name, value);
    placement.scripted = true;
    // Scripts that set the same value every frame repaint nothing.
    if (!(placement == before))
        host_.ContentChanged();
    return true;
}

void Clip::ApplyProperty(Instance& placement, std::string_view name, const avm1::Value& value)
{
    Matrix& m = placement.matrix;
    if (name == "_visible") {
        placement.visible = avm1::ToBoolean(value, 7);
        return;
    }
    double number = avm1::ToNumber(value, 7);
    if (!std::isfinite(number))
        return; // a property is not set to what is not a number
    auto scale = [](int32_t& along, int32_t& across, double factor) {
        double current = Magnitude(along, across);
        if (current == 0) {
            along = ToFixed(factor);
            across = 0;
            return;
        }
        along = ToFixed(along / 65536.0 * factor / current);
        across = ToFixed(across / 65536.0 * factor / current);
    };
    if (name == "_x")
        m.translateX = ToTwips(number);
    else if (name == "_y")
        m.translateY = ToTwips(number);
    else if (name == "_xscale") {
        scale(m.scaleX, m.rotateSkew0, number / 100);
        placement.xscale = number;
    } else if (name == "_yscale") {
        scale(m.scaleY, m.rotateSkew1, number / 100);
        placement.yscale = number;
    } else if (name == "_alpha")
        placement.colorTransform.alphaMultiply =
            static_cast<int16_t>(std::lround(std::clamp(number, 0.0, 100.0) * 2.56));
    else {
        // The size the content has unscaled, from which the scale follows.
        Affine pixels;
        pixels.a = pixels.d = 1.0 / TwipsPerPixel;
        Bounds natural = ContentBounds(pixels);
        double size =
            name == "_width" ? natural.right - natural.left : natural.bottom - natural.top;
        if (natural.empty || size <= 0)
            return;
        if (name == "_width") {
            scale(m.scaleX, m.rotateSkew0, number / size);
            placement.xscale = number / size * 100;
        } else {
            scale(m.scaleY, m.rotateSkew1, number / size);
            placement.yscale = number / size * 100;
        }
    }
}

avm1::Object* Clip::Child(std::string_view name) const
{
    for (const auto& [depth, child] : children_)
        if (child->Placement()->name == name)
            return child->object_;
    return nullptr;
}

avm1::Object* Clip::Parent() const
{
    return parent_ ? parent_->object_ : nullptr;
}

std::string Clip::TargetPath() const
{
    if (!parent_)
        return "_level0";
    return parent_->TargetPath() + "." + Placement()->name;
}

void Clip::GotoFrame(size_t frame)
{
    ShowFrame(frame);
    host_.ContentChanged();
}

bool Clip::GotoLabel(const std::string& label)
{
    const std::vector<Frame>& frames = Frames();
    for (size_t i = 0; i < frames.size(); ++i) {
        host_.AddWork(1);
        if (frames[i].label == label) {
            GotoFrame(i);
            return true;
        }
    }
    return false;
}

void Clip::SetPlaying(bool playing)
{
    playing_ = playing;
}

void Clip::StepFrame(int delta)
{
    playing_ = false;
    size_t current = CurrentFrame();
    if (delta < 0 && current == 0)
        return;
    size_t target = delta < 0 ? current - 1 : current + 1;
    if (target < Frames().size())
        GotoFrame(target);
}

size_t Clip::CurrentFrame() const
{
    return timeline_.Current().value_or(0);
}

size_t Clip::TotalFrames() const
{
    if (wholeMovie_ && movie_ && !movie_->complete)
        return std::max<size_t>(movie_->header.declaredFrameCount, movie_->frames.size());
    return Frames().size();
}

avm1::Object* Clip::CreateEmptyClip(const std::string& name, int depth)
{
    if (nesting_ >= MaximumNesting || !host_.ReserveClip())
        return nullptr;
    auto key = static_cast<uint16_t>(depth);
    Instance instance;
    instance.name = name;
    timeline_.PlaceDynamic(key, instance);
    auto child = std::make_shared<Clip>(host_, this, key);
    child->movie_ = movie_;
    child->dynamic_ = true;
    child->AttachObject(host_.NewClipObject(*child));
    children_[key] = child;
    host_.ContentChanged();
    return child->object_;
}

void Clip::LoadMovie(const std::string& url)
{
    host_.RequestMovie(*this, url);
}

void Clip::AttachVideo(avm1::Object* stream)
{
    stream_ = stream;
    host_.ContentChanged();
}

void Clip::Draw(const Affine& transform, const ColorTransform& colors, DrawContext& context,
                const std::map<uint16_t, uint8_t>* buttonStates) const
{
    if (video_) {
        DrawVideo(transform, colors, context);
        return;
    }
    if (!movie_)
        return;
    for (const auto& [depth, instance] : timeline_.DisplayList()) {
        if (context.budget.Spent())
            return;
        if (!instance.visible)
            continue;
        Affine t = transform.Then(instance.matrix);
        ColorTransform c = Combine(colors, instance.colorTransform);
        if (auto child = children_.find(depth); child != children_.end()) {
            child->second->Draw(t, c, context, nullptr);
            continue;
        }
        uint8_t state = ButtonRecord::Up;
        if (buttonStates)
            if (auto it = buttonStates->find(depth); it != buttonStates->end())
                state = it->second;
        DrawCharacter(*movie_, {instance.character, t, c, state}, context.renderer, context.target,
                      context.clip, context.budget);
    }
}

// The picture scaled to the video's own size, sampled at each target pixel's centre.
void Clip::DrawVideo(const Affine& t, const ColorTransform& colors, DrawContext& context) const
{
    const Image* picture = stream_ ? host_.StreamPicture(*stream_) : nullptr;
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0 || video_->width == 0 ||
        video_->height == 0)
        return;
    double width = video_->width * double(TwipsPerPixel);
    double height = video_->height * double(TwipsPerPixel);
    double determinant = t.a * t.d - t.b * t.c;
    if (std::fabs(determinant) < 1e-12)
        return;
    PixelRect area =
        PlacedBounds({0, static_cast<int32_t>(width), 0, static_cast<int32_t>(height)}, t)
            .Intersected(context.clip);
    int alpha = std::clamp(colors.alphaMultiply * 255 / 256 + colors.alphaAdd, 0, 255);
    if (area.Empty() || alpha == 0)
        return;
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = context.target.Row(y);
        for (int x = area.left; x < area.right; ++x) {
            double px = x + 0.5 - t.tx, py = y + 0.5 - t.ty;
            double u = (t.d * px - t.c * py) / determinant;
            double v = (-t.b * px + t.a * py) / determinant;
            if (u < 0 || v < 0 || u >= width || v >= height)
                continue;
            uint32_t source = picture->At(static_cast<int>(u / width * picture->Width()),
                                          static_cast<int>(v / height * picture->Height()));
            Rgba colour = colors.Apply(
                {PixelRed(source), PixelGreen(source), PixelBlue(source), PixelAlpha(source)});
            uint32_t& destination = row[x];
            int a = colour.alpha, keep = 255 - a;
            auto mix = [&](uint8_t s, uint8_t d) {
                return static_cast<uint8_t>((s * a + d * keep + 127) / 255);
            };
            destination = PackPixel(
                mix(colour.red, PixelRed(destination)), mix(colour.green, PixelGreen(destination)),
                mix(colour.blue, PixelBlue(destination)),
                static_cast<uint8_t>(a + (PixelAlpha(destination) * keep + 127) / 255));
        }
    }
}

bool Clip::Covers(const Affine& toStage, double x, double y, ShapeRenderer& renderer) const
{
    if (video_) {
        Bounds bounds = ContentBounds(toStage);
        return !bounds.empty && x >= bounds.left && x < bounds.right && y >= bounds.top &&
               y < bounds.bottom;
    }
    if (!movie_)
        return false;
    for (const auto& [depth, instance] : timeline_.DisplayList()) {
        if (!instance.visible)
            continue;
        Affine t = toStage.Then(instance.matrix);
        auto child = children_.find(depth);
        if (child != children_.end()
                ? child->second->Covers(t, x, y, renderer)
                : CharacterCovers(*movie_, instance.character, t, x, y, renderer))
            return true;
    }
    return false;
}

Clip* Clip::MouseTarget(const Affine& toStage, double x, double y,
                        const std::function<bool(const Clip&)>& handles, ShapeRenderer& renderer)
{
    const auto& list = timeline_.DisplayList();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        auto child = children_.find(it->first);
        if (child == children_.end() || !it->second.visible)
            continue;
        Affine t = toStage.Then(it->second.matrix);
        Clip& clip = *child->second;
        if (handles(clip)) {
            if (clip.Covers(t, x, y, renderer))
                return &clip;
            continue;
        }
        if (Clip* inner = clip.MouseTarget(t, x, y, handles, renderer))
            return inner;
    }
    return nullptr;
}

} // namespace zn::swf
