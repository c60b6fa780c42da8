// The playback movie. Its script, in the movie's own language, reads:
//
//   nc = new NetConnection(); nc.connect(null); ns = new NetStream(nc); snd = new Sound();
//   flv.display.attachVideo(ns); flv.createEmptyMovieClip("skin_mc", 10);
//   flv.errorSign._visible = false; videoWidth = 320; videoHeight = 240; ...
//   ns.onStatus = status; ns.onMetaData = metaData; flv.addProperty(...) x 3;
//   ExternalInterface.addCallback("playflv", null, resume); (and "stopflv", pause)
//   flv.volume = 100; flv.skin = "ClearOverAll.swf"; this.onEnterFrame = tick; stop();
//
// with the functions below. The skin is driven through its instance names once it has
// arrived, which tick notices.
#include "builtin_movies.h"

#include "znswf/action_assembler.h"
#include "znswf/movie_writer.h"

namespace zn::movies {
namespace {

using namespace swf;
using A = ActionAssembler;
constexpr int T = TwipsPerPixel;

enum : uint16_t { VideoCharacter = 1, ErrorShape, ErrorSprite, FlvSprite };
constexpr int VideoWidth = 320, VideoHeight = 240;

// if (condition) { then }
A IfThen(const A& condition, const A& then)
{
    A a;
    A::Label skip = a.NewLabel();
    a.Append(condition).Op(Action::Not).If(skip).Append(then).Bind(skip);
    return a;
}

A IfElse(const A& condition, const A& then, const A& otherwise)
{
    A a;
    A::Label other = a.NewLabel(), done = a.NewLabel();
    a.Append(condition).Op(Action::Not).If(other).Append(then).Jump(done);
    a.Bind(other).Append(otherwise).Bind(done);
    return a;
}

A Binary(const A& left, const A& right, Action operation)
{
    A a;
    a.Append(left).Append(right).Op(operation);
    return a;
}

A Call(const std::string& object, const std::string& method, const std::vector<A>& arguments)
{
    A a;
    a.CallMethodOf(object, method, arguments).Op(Action::Pop);
    return a;
}

// fail(code): the error sign and the host told.
A FailBody()
{
    A a;
    a.SetPath("failed", Pushed(true));
    a.SetPath("flv.errorSign._visible", Pushed(true));
    a.Push({std::string("FSCommand:") + ErrorCommand}).GetPath("code").GetUrl2();
    return a;
}

// status(info): errors fail; the others need nothing.
A StatusBody()
{
    A level_error = Binary(ReadPath("info.level"), Pushed("error"), Action::Equals2);
    A fail;
    fail.CallFunctionNamed("fail", {ReadPath("info.code")}).Op(Action::Pop);
    return IfThen(level_error, fail);
}

// metaData(info): the duration and the picture's size, then the layout again.
A MetaDataBody()
{
    A a;
    a.Append(IfThen(Binary(Pushed(0), ReadPath("info.duration"), Action::Less2),
                    A().SetPath("duration", ReadPath("info.duration"))));
    A size;
    size.SetPath("videoWidth", ReadPath("info.width"))
        .SetPath("videoHeight", ReadPath("info.height"));
    a.Append(IfThen(Binary(Binary(Pushed(0), ReadPath("info.width"), Action::Less2),
                           Binary(Pushed(0), ReadPath("info.height"), Action::Less2), Action::And),
                    size));
    a.CallFunctionNamed("layout").Op(Action::Pop);
    return a;
}

// layout(): the skin scaled to the stage's width; the video fitted, centred, into the skin's
// videoArea, or the whole stage until a skin is there.
A LayoutBody()
{
    A a;
    a.SetPath("flv.skin_mc._xscale", Pushed(100.0 * PlaybackWidth / SkinWidth));
    a.SetPath("flv.skin_mc._yscale", Pushed(100.0 * PlaybackHeight / SkinHeight));
    A from_skin;
    from_skin.SetPath("areaX", Binary(ReadPath("flv.skin_mc.videoArea._x"),
                                      Pushed(double(PlaybackWidth) / SkinWidth), Action::Multiply));
    from_skin.SetPath("areaY",
                      Binary(ReadPath("flv.skin_mc.videoArea._y"),
                             Pushed(double(PlaybackHeight) / SkinHeight), Action::Multiply));
    from_skin.SetPath("areaWidth",
                      Binary(ReadPath("flv.skin_mc.videoArea._width"),
                             Pushed(double(PlaybackWidth) / SkinWidth), Action::Multiply));
    from_skin.SetPath("areaHeight",
                      Binary(ReadPath("flv.skin_mc.videoArea._height"),
                             Pushed(double(PlaybackHeight) / SkinHeight), Action::Multiply));
    A whole;
    whole.SetPath("areaX", Pushed(0)).SetPath("areaY", Pushed(0));
    whole.SetPath("areaWidth", Pushed(PlaybackWidth)).SetPath("areaHeight", Pushed(PlaybackHeight));
    a.Append(IfElse(ReadPath("wired"), from_skin, whole));
    // scale = min(areaWidth / videoWidth, areaHeight / videoHeight)
    a.SetPath("scale", Binary(ReadPath("areaWidth"), ReadPath("videoWidth"), Action::Divide));
    A narrower = Binary(Binary(ReadPath("areaHeight"), ReadPath("videoHeight"), Action::Divide),
                        ReadPath("scale"), Action::Less2);
    a.Append(
        IfThen(narrower, A().SetPath("scale", Binary(ReadPath("areaHeight"),
                                                     ReadPath("videoHeight"), Action::Divide))));
    a.SetPath("flv.display._width",
              Binary(ReadPath("videoWidth"), ReadPath("scale"), Action::Multiply));
    a.SetPath("flv.display._height",
              Binary(ReadPath("videoHeight"), ReadPath("scale"), Action::Multiply));
    auto centred = [](const char* area, const char* origin, const char* size) {
        // origin + (area - size) / 2
        return Binary(ReadPath(origin),
                      Binary(Binary(ReadPath(area), ReadPath(size), Action::Subtract), Pushed(2),
                             Action::Divide),
                      Action::Add2);
    };
    a.SetPath("flv.display._x", centred("areaWidth", "areaX", "flv.display._width"));
    a.SetPath("flv.display._y", centred("areaHeight", "areaY", "flv.display._height"));
    return a;
}

// tick(): wires a skin that has arrived, then shows play state, progress and volume.
A TickBody()
{
    A a;
    // Each skin that arrives is wired, told by its button having no handler yet: loadMovie
    // leaves the default skin in the clip until the skin asked for has arrived, so a flag
    // set when the default was wired would leave the later skin unwired, its video area
    // covering the video.
    A present;
    present.Append(
        Binary(ReadPath("flv.skin_mc.playButton"), Pushed(Undefined{}), Action::Equals2));
    present.Op(Action::Not);
    A unwired =
        Binary(ReadPath("flv.skin_mc.playButton.onRelease"), Pushed(Undefined{}), Action::Equals2);
    A wire;
    wire.SetPath("wired", Pushed(true));
    wire.SetPath("flv.skin_mc.playButton.onRelease", ReadPath("toggle"));
    wire.SetPath("flv.skin_mc.videoArea._visible", Pushed(false));
    wire.CallFunctionNamed("layout").Op(Action::Pop);
    a.Append(IfThen(Binary(present, unwired, Action::And), wire));

    A show;
    show.SetPath("flv.skin_mc.playButton.playIcon._visible", ReadPath("paused"));
    A not_paused;
    not_paused.GetPath("paused").Op(Action::Not);
    show.SetPath("flv.skin_mc.playButton.pauseIcon._visible", not_paused);
    show.SetPath("share", Pushed(0));
    show.Append(IfThen(Binary(Pushed(0), ReadPath("duration"), Action::Less2),
                       A().SetPath("share", Binary(Binary(ReadPath("ns.time"), ReadPath("duration"),
                                                          Action::Divide),
                                                   Pushed(100), Action::Multiply))));
    show.Append(IfThen(Binary(Pushed(100), ReadPath("share"), Action::Less2),
                       A().SetPath("share", Pushed(100))));
    show.SetPath("flv.skin_mc.progressBar.fill._xscale", ReadPath("share"));
    show.SetPath("flv.skin_mc.volumeBar.fill._xscale", ReadPath("volumeValue"));
    a.Append(IfThen(ReadPath("wired"), show));
    return a;
}

A SetContentPathBody()
{
    A a;
    a.SetPath("contentPathValue", ReadPath("value"));
    a.SetPath("failed", Pushed(false)).SetPath("paused", Pushed(false));
    a.SetPath("duration", Pushed(0));
    a.SetPath("flv.errorSign._visible", Pushed(false));
    a.Append(Call("ns", "play", {ReadPath("value")}));
    return a;
}

A SetSkinBody()
{
    A a;
    a.SetPath("skinValue", ReadPath("value")).SetPath("wired", Pushed(false));
    a.Append(Call("flv.skin_mc", "loadMovie", {ReadPath("value")}));
    return a;
}

A SetVolumeBody()
{
    A number;
    number.GetPath("value").Op(Action::ToNumber);
    A a;
    a.SetPath("volumeValue", number);
    a.Append(Call("snd", "setVolume", {ReadPath("volumeValue")}));
    return a;
}

A Getter(const std::string& variable)
{
    A a;
    a.GetPath(variable).Op(Action::Return);
    return a;
}

// pause(paused): the stream paused or resumed when that changes its state.
A PauseBody(bool pause)
{
    A change;
    change.SetPath("paused", Pushed(pause));
    change.Append(Call("ns", "pause", {Pushed(pause)}));
    A differs = ReadPath("paused");
    if (pause)
        differs.Op(Action::Not);
    return IfThen(differs, change);
}

A ToggleBody()
{
    A resume, pause;
    resume.CallFunctionNamed("resume").Op(Action::Pop);
    pause.CallFunctionNamed("pause").Op(Action::Pop);
    return IfElse(ReadPath("paused"), resume, pause);
}

A NewObject(const std::string& variable, const std::string& type, const std::vector<A>& args)
{
    A a;
    a.Push({variable});
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        a.Append(*it);
    a.Push({static_cast<int>(args.size()), type}).Op(Action::NewObject).Op(Action::SetVariable);
    return a;
}

A MainScript()
{
    A a;
    a.DefineFunction("fail", {"code"}, FailBody());
    a.DefineFunction("status", {"info"}, StatusBody());
    a.DefineFunction("metaData", {"info"}, MetaDataBody());
    a.DefineFunction("layout", {}, LayoutBody());
    a.DefineFunction("tick", {}, TickBody());
    a.DefineFunction("setContentPath", {"value"}, SetContentPathBody());
    a.DefineFunction("getContentPath", {}, Getter("contentPathValue"));
    a.DefineFunction("setSkin", {"value"}, SetSkinBody());
    a.DefineFunction("getSkin", {}, Getter("skinValue"));
    a.DefineFunction("setVolume", {"value"}, SetVolumeBody());
    a.DefineFunction("getVolume", {}, Getter("volumeValue"));
    a.DefineFunction("resume", {}, PauseBody(false));
    a.DefineFunction("pause", {}, PauseBody(true));
    a.DefineFunction("toggle", {}, ToggleBody());

    a.SetPath("wired", Pushed(false)).SetPath("paused", Pushed(false));
    a.SetPath("failed", Pushed(false)).SetPath("duration", Pushed(0));
    a.SetPath("videoWidth", Pushed(VideoWidth)).SetPath("videoHeight", Pushed(VideoHeight));
    a.Append(NewObject("nc", "NetConnection", {}));
    a.Append(Call("nc", "connect", {Pushed(Null{})}));
    a.Append(NewObject("ns", "NetStream", {ReadPath("nc")}));
    a.Append(NewObject("snd", "Sound", {}));
    a.SetPath("ns.onStatus", ReadPath("status")).SetPath("ns.onMetaData", ReadPath("metaData"));
    a.Append(Call("flv.display", "attachVideo", {ReadPath("ns")}));
    a.Append(Call("flv", "createEmptyMovieClip", {Pushed("skin_mc"), Pushed(10)}));
    a.SetPath("flv.errorSign._visible", Pushed(false));
    a.CallFunctionNamed("layout").Op(Action::Pop);
    auto property = [&](const char* name, const char* getter, const char* setter) {
        a.Append(Call("flv", "addProperty", {Pushed(name), ReadPath(getter), ReadPath(setter)}));
    };
    property("contentPath", "getContentPath", "setContentPath");
    property("skin", "getSkin", "setSkin");
    property("volume", "getVolume", "setVolume");
    a.AddCallback("playflv", "resume").Op(Action::Pop);
    a.AddCallback("stopflv", "pause").Op(Action::Pop);
    a.SetPath("flv.volume", Pushed(100));
    a.SetPath("flv.skin", Pushed(SkinName(SkinTheme::Clear) + ".swf"));
    a.SetPath("this.onEnterFrame", ReadPath("tick"));
    a.Stop();
    return a;
}

} // namespace

std::vector<uint8_t> PlaybackMovie()
{
    MovieWriter movie(PlaybackWidth, PlaybackHeight, PlaybackRate);
    movie.SetBackgroundColor({0, 0, 0, 255});
    movie.DefineVideoStream({VideoCharacter, 0, VideoWidth, VideoHeight, 0, true, 3});

    // The error sign: a red disc crossed in white, in the middle of the video area.
    ShapeBuilder sign;
    sign.Ellipse(0, 0, 48 * T, 48 * T, sign.AddFill({200, 30, 30, 255}));
    uint32_t cross = sign.AddLine(10 * T, {255, 255, 255, 255});
    sign.Styles(0, 0, cross).MoveTo(-22 * T, -22 * T).LineTo(22 * T, 22 * T);
    sign.MoveTo(22 * T, -22 * T).LineTo(-22 * T, 22 * T);
    movie.DefineShape(sign.Build(ErrorShape));
    MovieWriter sign_content(1, 1, PlaybackRate);
    sign_content.PlaceObject(ErrorShape, 1).ShowFrame();
    movie.DefineSprite(ErrorSprite, sign_content);

    MovieWriter flv(1, 1, PlaybackRate);
    flv.Place(NamedPlacement(VideoCharacter, 1, "display"));
    flv.Place(NamedPlacement(ErrorSprite, 3, "errorSign",
                             TranslateMatrix(PlaybackWidth / 2 * T, ControlBarTop / 2 * T)));
    flv.ShowFrame();
    movie.DefineSprite(FlvSprite, flv);
    movie.Place(NamedPlacement(FlvSprite, 1, "flv"));
    movie.DoAction(MainScript().Assemble());
    movie.ShowFrame();
    return movie.Finish(true);
}

} // namespace zn::movies
