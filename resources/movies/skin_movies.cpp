// The four skins: the same controls under the same instance names, in four looks.
#include "builtin_movies.h"

#include "znswf/movie_writer.h"

namespace zn::movies {
namespace {

using namespace swf;
constexpr int T = TwipsPerPixel;

// Character ids.
enum : uint16_t {
    AreaShape = 1,
    AreaSprite,
    BarShape,
    BarSprite,
    ButtonFace,
    PlayShape,
    PauseShape,
    PlaySprite,
    PauseSprite,
    ButtonSprite,
    ProgressTrack,
    ProgressFill,
    ProgressFillSprite,
    ProgressSprite,
    VolumeTrack,
    VolumeFill,
    VolumeFillSprite,
    VolumeSprite,
    SpeakerShape
};

constexpr int ProgressLeft = 70, ProgressWidth = 480, VolumeLeft = 600, VolumeWidth = 100;
constexpr int SlotTop = 376, SlotHeight = 8;

PlaceCommand Named(uint16_t character, uint16_t depth, const std::string& name, int x = 0,
                   int y = 0)
{
    return NamedPlacement(character, depth, name, TranslateMatrix(x * T, y * T));
}

Shape Rectangle(uint16_t id, int left, int top, int right, int bottom, Rgba color)
{
    ShapeBuilder shape;
    shape.Rectangle(left * T, top * T, right * T, bottom * T, shape.AddFill(color));
    return shape.Build(id);
}

// A sprite holding one shape at depth 1.
void Wrap(MovieWriter& movie, uint16_t sprite, uint16_t shape)
{
    MovieWriter content(1, 1, PlaybackRate);
    content.PlaceObject(shape, 1).ShowFrame();
    movie.DefineSprite(sprite, content);
}

Shape ControlBar(SkinTheme theme, const SkinColors& colors)
{
    ShapeBuilder bar;
    bar.Rectangle(0, ControlBarTop * T, SkinWidth * T, SkinHeight * T, bar.AddFill(colors.bar));
    // The opaque themes have a lighter edge along the top, the clear one none.
    if (theme != SkinTheme::Clear) {
        Rgba edge = colors.icon;
        edge.alpha = 160;
        bar.Rectangle(0, ControlBarTop * T, SkinWidth * T, (ControlBarTop + 2) * T,
                      bar.AddFill(edge));
    }
    return bar.Build(BarShape);
}

} // namespace

std::string SkinName(SkinTheme theme)
{
    switch (theme) {
    case SkinTheme::Clear: return "ClearOverAll";
    case SkinTheme::Steel: return "SteelOverAll";
    case SkinTheme::Mojave: return "MojaveOverAll";
    case SkinTheme::Arctic: return "ArcticOverAll";
    }
    return {};
}

SkinColors ColorsOf(SkinTheme theme)
{
    switch (theme) {
    case SkinTheme::Clear:
        return {{0, 0, 0, 110}, {255, 255, 255, 255}, {255, 255, 255, 70}, {255, 255, 255, 220}};
    case SkinTheme::Steel:
        return {{88, 98, 110, 255}, {225, 232, 238, 255}, {50, 56, 64, 255}, {140, 180, 215, 255}};
    case SkinTheme::Mojave:
        return {{196, 150, 90, 255}, {90, 50, 20, 255}, {140, 95, 50, 255}, {220, 90, 30, 255}};
    case SkinTheme::Arctic:
        return {
            {236, 244, 250, 255}, {40, 90, 140, 255}, {190, 215, 230, 255}, {90, 190, 240, 255}};
    }
    return {};
}

std::vector<uint8_t> SkinMovie(SkinTheme theme)
{
    SkinColors colors = ColorsOf(theme);
    MovieWriter movie(SkinWidth, SkinHeight, PlaybackRate);
    movie.SetBackgroundColor({0, 0, 0, 255});

    // Where the video goes: all of the stage under the clear skin, above the bar otherwise.
    int area_bottom = theme == SkinTheme::Clear ? SkinHeight : ControlBarTop;
    movie.DefineShape(Rectangle(AreaShape, 0, 0, SkinWidth, area_bottom, {0, 0, 0, 255}));
    Wrap(movie, AreaSprite, AreaShape);
    movie.DefineShape(ControlBar(theme, colors));
    Wrap(movie, BarSprite, BarShape);

    movie.DefineShape(Rectangle(ButtonFace, 10, 364, 54, 396, colors.track));
    ShapeBuilder play;
    uint32_t icon = play.AddFill(colors.icon);
    play.Styles(0, icon, 0).MoveTo(24 * T, 370 * T);
    play.LineTo(42 * T, 380 * T).LineTo(24 * T, 390 * T).LineTo(24 * T, 370 * T);
    movie.DefineShape(play.Build(PlayShape));
    ShapeBuilder pause;
    uint32_t bars = pause.AddFill(colors.icon);
    pause.Rectangle(23 * T, 370 * T, 29 * T, 390 * T, bars);
    pause.Rectangle(35 * T, 370 * T, 41 * T, 390 * T, bars);
    movie.DefineShape(pause.Build(PauseShape));
    Wrap(movie, PlaySprite, PlayShape);
    Wrap(movie, PauseSprite, PauseShape);
    MovieWriter button(1, 1, PlaybackRate);
    button.PlaceObject(ButtonFace, 1);
    button.Place(Named(PlaySprite, 2, "playIcon"));
    button.Place(Named(PauseSprite, 3, "pauseIcon"));
    button.ShowFrame();
    movie.DefineSprite(ButtonSprite, button);

    // The bars' fills start at their sprite's origin, so that _xscale is the share shown.
    auto slot = [&](uint16_t track, uint16_t fill, uint16_t fillSprite, uint16_t sprite,
                    int width) {
        movie.DefineShape(Rectangle(track, 0, 0, width, SlotHeight, colors.track));
        movie.DefineShape(Rectangle(fill, 0, 0, width, SlotHeight, colors.fill));
        Wrap(movie, fillSprite, fill);
        MovieWriter content(1, 1, PlaybackRate);
        content.PlaceObject(track, 1);
        content.Place(Named(fillSprite, 2, "fill"));
        content.ShowFrame();
        movie.DefineSprite(sprite, content);
    };
    slot(ProgressTrack, ProgressFill, ProgressFillSprite, ProgressSprite, ProgressWidth);
    slot(VolumeTrack, VolumeFill, VolumeFillSprite, VolumeSprite, VolumeWidth);

    ShapeBuilder speaker;
    uint32_t cone = speaker.AddFill(colors.icon);
    speaker.Rectangle(574 * T, 376 * T, 579 * T, 384 * T, cone);
    speaker.Styles(0, cone, 0).MoveTo(579 * T, 376 * T);
    speaker.LineTo(588 * T, 370 * T).LineTo(588 * T, 390 * T).LineTo(579 * T, 384 * T);
    speaker.LineTo(579 * T, 376 * T);
    movie.DefineShape(speaker.Build(SpeakerShape));

    movie.Place(Named(AreaSprite, 1, "videoArea"));
    movie.Place(Named(BarSprite, 2, "controlBar"));
    movie.Place(Named(ButtonSprite, 3, "playButton"));
    movie.Place(Named(ProgressSprite, 4, "progressBar", ProgressLeft, SlotTop));
    movie.Place(Named(VolumeSprite, 5, "volumeBar", VolumeLeft, SlotTop));
    movie.PlaceObject(SpeakerShape, 6);
    movie.ShowFrame();
    return movie.Finish(true);
}

} // namespace zn::movies
