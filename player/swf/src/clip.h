// A movie clip as it plays: the main timeline, an instance of a sprite, a clip a script made,
// a clip a movie was loaded into, or a video. Each has its own frames, display list, play
// state and the script object through which movies reach it; clips on its display list are
// its children. Scripts change its placement in its parent through the properties.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "avm1_value.h"
#include "characters.h"
#include "timeline.h"

namespace zn::swf {

class Clip;

// What clips need of the player that holds them.
class ClipHost {
public:
    virtual ~ClipHost() = default;
    virtual avm1::Object* NewClipObject(Clip& clip) = 0;
    // Clips other than the main timeline are counted against a limit: false when it is
    // reached and the clip is not to be made. Each clip made is released when it goes.
    virtual bool ReserveClip() = 0;
    virtual void ReleaseClip() = 0;
    // The clip went to a frame; its scripts run when the player settles.
    virtual void FrameShown(Clip& clip) = 0;
    virtual void RequestMovie(Clip& clip, const std::string& url) = 0;
    virtual void ContentChanged() = 0; // a change the display lists' own diff does not see
    virtual void AddWork(size_t work) = 0;
    virtual double MouseX() const = 0; // stage pixels
    virtual double MouseY() const = 0;
    // The picture of the stream a video shows; null when none is due.
    virtual const Image* StreamPicture(const avm1::Object& stream) const = 0;
};

// Drawing state shared by the whole tree of one rendering.
struct DrawContext {
    ShapeRenderer& renderer;
    ImageView target;
    PixelRect clip;
    RenderBudget& budget;
};

class Clip final : public avm1::ClipControl, public std::enable_shared_from_this<Clip> {
public:
    // Clips inside clips deeper than this are not made: a sprite may place itself.
    static constexpr int MaximumNesting = 64;

    Clip(ClipHost& host, Clip* parent, uint16_t depth);
    ~Clip() override;
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

    // Content: a whole movie (the main one or one loaded), a sprite of a movie, a video, or
    // nothing (a clip a script made). Setting it empties the clip and shows its first frame.
    void ShowMovie(std::shared_ptr<const Movie> movie);
    void ShowSprite(std::shared_ptr<const Movie> movie, std::shared_ptr<const Sprite> sprite);
    void ShowVideo(std::shared_ptr<const Movie> movie, const VideoDefinition& video);
    void AttachObject(avm1::Object* object);

    avm1::Object* Object() const { return object_; }
    const Movie* GetMovie() const { return movie_.get(); }
    const std::vector<Frame>& Frames() const;
    Timeline& GetTimeline() { return timeline_; }
    const Timeline& GetTimeline() const { return timeline_; }
    bool Playing() const { return playing_; }
    // The frame whose scripts are due, taken once.
    std::optional<size_t> TakePendingFrame() { return std::exchange(pendingFrame_, std::nullopt); }
    bool HasPendingFrame() const { return pendingFrame_.has_value(); }

    void ShowFrame(size_t frame);
    // One tick of a child clip's clock: the next frame, round to the first.
    void Tick();
    // This clip and every clip below it, parents first.
    void Collect(std::vector<std::weak_ptr<Clip>>& clips);

    void Draw(const Affine& transform, const ColorTransform& colors, DrawContext& context,
              const std::map<uint16_t, uint8_t>* buttonStates) const;
    // The clip whose mouse handlers take a press at this stage point (twips), if any: the
    // topmost one with handlers whose drawn content lies under the point.
    Clip* MouseTarget(const Affine& toStage, double x, double y,
                      const std::function<bool(const Clip&)>& handles, ShapeRenderer& renderer);

    // avm1::ClipControl
    bool IsVideo() const override { return video_.has_value(); }
    avm1::Value Property(std::string_view name) const override;
    bool SetProperty(std::string_view name, const avm1::Value& value) override;
    avm1::Object* Child(std::string_view name) const override;
    avm1::Object* Parent() const override;
    std::string TargetPath() const override;
    void GotoFrame(size_t frame) override;
    bool GotoLabel(const std::string& label) override;
    void SetPlaying(bool playing) override;
    void StepFrame(int delta) override;
    size_t CurrentFrame() const override;
    size_t TotalFrames() const override;
    avm1::Object* CreateEmptyClip(const std::string& name, int depth) override;
    void LoadMovie(const std::string& url) override;
    void AttachVideo(avm1::Object* stream) override;

private:
    struct Bounds {
        double left = 0, top = 0, right = 0, bottom = 0;
        bool empty = true;
        void Include(const Bounds& other);
    };
    void Reset();
    void SyncChildren();
    std::shared_ptr<Clip> MakeChild(uint16_t depth, const Instance& instance);
    Instance* Placement() const;
    void ApplyProperty(Instance& placement, std::string_view name, const avm1::Value& value);
    Bounds ContentBounds(const Affine& transform) const;
    bool Covers(const Affine& toStage, double x, double y, ShapeRenderer& renderer) const;
    void DrawVideo(const Affine& transform, const ColorTransform& colors,
                   DrawContext& context) const;

    ClipHost& host_;
    Clip* parent_;
    uint16_t depth_;
    int nesting_ = 0; // how many parents it has
    avm1::Object* object_ = nullptr;
    std::shared_ptr<const Movie> movie_;
    std::shared_ptr<const Sprite> sprite_;
    bool wholeMovie_ = false;
    uint16_t character_ = 0; // the sprite or video placed, for a clip of the display list
    bool dynamic_ = false;   // made by a script
    std::optional<VideoDefinition> video_;
    avm1::Object* stream_ = nullptr; // the NetStream a video shows
    Timeline timeline_;
    std::map<uint16_t, std::shared_ptr<Clip>> children_; // by depth
    std::optional<size_t> pendingFrame_;
    bool playing_ = true;
    mutable Instance ownPlacement_; // the main timeline's, which no parent holds
};

} // namespace zn::swf
