// Movie clips and the built-in classes through small movies: sprites with timelines of their
// own, instance paths, the clip properties, clips made and loaded by scripts, addProperty,
// timers, onEnterFrame, mouse handlers on clips, Sound and NetStream with Video.
#include <gtest/gtest.h>

#include "sample_video.h"
#include "test_support.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_reader.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using A = ActionAssembler;
using test::ColorAt;
using test::RecordingHost;
constexpr int T = TwipsPerPixel;
constexpr Rgba Red{255, 0, 0, 255}, Green{0, 200, 0, 255};

// A 200 x 100 movie with a 20 x 20 red square as shape 1.
MovieWriter RedSquareMovie()
{
    MovieWriter movie(200, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    ShapeBuilder square;
    square.Rectangle(0, 0, 20 * T, 20 * T, square.AddFill(Red));
    movie.DefineShape(square.Build(1));
    return movie;
}

// A 200 x 100 stage: a 20 x 20 red square (shape 1) in sprite 2, placed as "box" at (10, 10);
// the sprite has two frames, moving the square 40 pixels right in the second, and counts its
// frames in `shown`. The main timeline runs `script` and stops.
std::vector<uint8_t> BoxMovie(const A& script)
{
    MovieWriter movie = RedSquareMovie();
    A count;
    // (shown | 0) + 1: undefined counts as 0.
    count.SetPath("shown", A().GetPath("shown").Push({0}).Op(Action::BitOr).Op(Action::Increment));
    MovieWriter sprite(1, 1, 12);
    sprite.PlaceObject(1, 1).DoAction(count.Assemble()).ShowFrame();
    PlaceCommand move;
    move.depth = 1;
    move.move = true;
    move.matrix = TranslateMatrix(40 * T, 0);
    sprite.Place(move).DoAction(count.Assemble()).ShowFrame();
    movie.DefineSprite(2, sprite);
    movie.Place(NamedPlacement(2, 1, "box", TranslateMatrix(10 * T, 10 * T)));
    A main = script;
    main.Stop();
    movie.DoAction(main.Assemble()).ShowFrame();
    return movie.Finish();
}

// A 100 x 100 movie of one green 20 x 20 square at its origin.
std::vector<uint8_t> GreenSquare()
{
    MovieWriter movie(100, 100, 12);
    ShapeBuilder square;
    square.Rectangle(0, 0, 20 * T, 20 * T, square.AddFill(Green));
    movie.DefineShape(square.Build(1)).PlaceObject(1, 1).ShowFrame();
    return movie.Finish();
}

struct Clips : testing::Test {
    void Run(const A& script)
    {
        player.SetViewSize(200, 100);
        player.Load(BoxMovie(script));
    }
    std::string Variable(const std::string& path)
    {
        return player.GetVariable(path).value_or("<undefined>");
    }
    test::Color At(int x, int y) { return ColorAt(test::RenderView(player, 200, 100, true), x, y); }
    bool IsRed(int x, int y) { return test::Near(At(x, y), {255, 0, 0, 255}); }
    bool IsGreen(int x, int y) { return test::Near(At(x, y), {0, 200, 0, 255}); }

    RecordingHost host;
    MoviePlayer player{host};
};

TEST(SpriteFiles, SpritesAndVideoDefinitionsRoundTrip)
{
    auto movie = ReadMovie(BoxMovie({}));
    ASSERT_TRUE(movie && movie->sprites.contains(2));
    const Sprite& sprite = *movie->sprites.at(2);
    ASSERT_EQ(sprite.frames.size(), 2u);
    EXPECT_EQ(sprite.frames[0].actions.size(), 1u);
    EXPECT_EQ(sprite.frames[1].commands.size(), 1u);

    VideoDefinition video{7, 30, 320, 240, 2, true, 3};
    MovieWriter writer(100, 100, 12);
    writer.DefineVideoStream(video).ShowFrame();
    auto read = ReadMovie(writer.Finish());
    ASSERT_TRUE(read && read->videos.contains(7));
    EXPECT_EQ(read->videos.at(7), video);
    EXPECT_TRUE(read->skippedTags.empty());
}

TEST_F(Clips, SpritesPlayTheirOwnTimelineAndRunTheirScriptsOnIt)
{
    Run({});
    EXPECT_EQ(Variable("box._currentframe"), "1");
    EXPECT_EQ(Variable("box.shown"), "1");
    EXPECT_EQ(Variable("shown"), "<undefined>"); // the sprite's variable is its own
    EXPECT_TRUE(IsRed(15, 15));
    player.Advance();
    EXPECT_EQ(Variable("box._currentframe"), "2");
    EXPECT_EQ(player.CurrentFrame(), 0); // the main timeline stopped
    EXPECT_TRUE(IsRed(55, 15));
    EXPECT_FALSE(IsRed(15, 15));
    player.Advance();
    EXPECT_EQ(Variable("box._currentframe"), "1");
    EXPECT_EQ(Variable("box.shown"), "3");
    EXPECT_EQ(Variable("box._target"), "_level0.box");
    EXPECT_EQ(Variable("box._name"), "box");
}

// Timeline actions act on the clip whose script runs them; paths reach other clips.
TEST_F(Clips, ScriptsOfASpriteDriveItsOwnTimeline)
{
    MovieWriter movie = RedSquareMovie();
    MovieWriter sprite(1, 1, 12);
    A first;
    first.SetPath("mine", ReadPath("_name")).SetPath("_parent.fromChild", Pushed(true));
    sprite.PlaceObject(1, 1).DoAction(first.Assemble()).ShowFrame();
    sprite.DoAction(A().Stop().Assemble()).ShowFrame().ShowFrame();
    movie.DefineSprite(2, sprite);
    movie.Place(NamedPlacement(2, 1, "box")).ShowFrame().ShowFrame().ShowFrame();
    player.Load(movie.Finish());
    EXPECT_EQ(Variable("box.mine"), "box");
    EXPECT_EQ(Variable("fromChild"), "true");
    for (int i = 0; i < 3; ++i)
        player.Advance();
    // The sprite stopped itself on its second frame; the main timeline went on.
    EXPECT_EQ(Variable("box._currentframe"), "2");
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_TRUE(player.IsPlaying());
}

// A clip that left the stage leaves its object to the scripts that kept it, reaching nothing.
TEST_F(Clips, AClipThatLeftTheStageIsHarmless)
{
    MovieWriter movie = RedSquareMovie();
    MovieWriter sprite(1, 1, 12);
    sprite.PlaceObject(1, 1).ShowFrame();
    movie.DefineSprite(2, sprite);
    movie.Place(NamedPlacement(2, 1, "box"));
    movie.DoAction(A().SetPath("kept", ReadPath("box")).Assemble()).ShowFrame();
    A after;
    after.SetPath("kept._x", Pushed(50)).CallMethodOf("kept", "gotoAndStop", {Pushed(1)});
    after.Op(Action::Pop).SetPath("gone", ReadPath("box")).Stop();
    movie.RemoveObject(1).DoAction(after.Assemble()).ShowFrame();
    player.Load(movie.Finish());
    player.Advance();
    EXPECT_EQ(Variable("gone"), "<undefined>");
    EXPECT_EQ(Variable("kept._x"), "50"); // now only a member of a plain object
    EXPECT_FALSE(IsRed(5, 5));
}

TEST_F(Clips, PropertiesMoveScaleFadeAndHide)
{
    A script;
    script.SetPath("box._x", Pushed(100)).SetPath("box._xscale", Pushed(200));
    script.SetPath("box._alpha", Pushed(50));
    Run(script);
    EXPECT_EQ(Variable("box._x"), "100");
    EXPECT_EQ(Variable("box._width"), "40");
    EXPECT_EQ(Variable("box._height"), "20");
    EXPECT_EQ(Variable("box._alpha"), "50");
    // Half red over white, from x 100 to 140.
    EXPECT_TRUE(test::Near(At(135, 15), {255, 127, 127, 255}, 3)) << test::Describe(At(135, 15));
    EXPECT_TRUE(test::Near(At(145, 15), {255, 255, 255, 255}));

    ASSERT_TRUE(player.SetVariable("box._width", "10"));
    ASSERT_TRUE(player.SetVariable("box._alpha", "100"));
    EXPECT_EQ(Variable("box._xscale"), "50");
    EXPECT_TRUE(IsRed(105, 15));
    EXPECT_FALSE(IsRed(115, 15));
    // Not a number leaves a property as it was.
    ASSERT_TRUE(player.SetVariable("box._x", "far"));
    EXPECT_EQ(Variable("box._x"), "100");

    // setProperty(target, property index, value) as the action does it.
    A hide;
    hide.Push({"box", 0, 60}).Op(Action::SetProperty).SetPath("box._visible", Pushed(false));
    Run(hide);
    EXPECT_EQ(Variable("box._x"), "60");
    EXPECT_EQ(Variable("box._visible"), "false");
    EXPECT_FALSE(IsRed(65, 15));
}

// Once a script has placed a clip, the timeline's later moves of it leave it where it is.
TEST_F(Clips, AClipAScriptPlacedStaysWhereTheScriptPutIt)
{
    MovieWriter movie = RedSquareMovie();
    MovieWriter sprite(1, 1, 12);
    sprite.PlaceObject(1, 1).ShowFrame();
    movie.DefineSprite(2, sprite);
    movie.Place(NamedPlacement(2, 1, "box", TranslateMatrix(10 * T, 10 * T)));
    movie.Place(NamedPlacement(2, 2, "other", TranslateMatrix(10 * T, 50 * T)));
    movie.DoAction(A().SetPath("box._x", Pushed(100)).Assemble()).ShowFrame();
    PlaceCommand move;
    move.move = true;
    move.matrix = TranslateMatrix(50 * T, 10 * T);
    for (uint16_t depth : {uint16_t(1), uint16_t(2)}) {
        move.depth = depth;
        movie.Place(move);
    }
    movie.DoAction(A().Stop().Assemble()).ShowFrame();
    player.Load(movie.Finish());
    player.Advance();
    EXPECT_EQ(Variable("box._x"), "100");
    EXPECT_EQ(Variable("other._x"), "50");
    EXPECT_EQ(Variable("other._y"), "10");
}

TEST_F(Clips, MadeClipsLoadTheMovieTheHostAnswersWith)
{
    A script;
    script.CallMethodOf("this", "createEmptyMovieClip", {Pushed("holder"), Pushed(5)})
        .Op(Action::Pop);
    script.SetPath("holder._x", Pushed(150)).SetPath("holder._y", Pushed(50));
    A load;
    load.CallMethodOf("holder", "loadMovie", {ReadPath("url")}).Op(Action::Pop);
    script.DefineFunction("load", {"url"}, load).AddCallback("load", "load").Op(Action::Pop);
    script.CallMethodOf("holder", "loadMovie", {Pushed("first.swf")}).Op(Action::Pop);
    script.CallMethodOf("holder", "loadMovie", {Pushed("part.swf")}).Op(Action::Pop);
    Run(script);
    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[1],
              (std::pair<std::string, std::string>{"part.swf", "_level0.holder"}));
    EXPECT_EQ(Variable("holder._width"), "0");

    // A later load into the same clip replaces an earlier one still under way.
    player.UrlArrived("part.swf", GreenSquare());
    player.UrlArrived("first.swf", BoxMovie({}));
    EXPECT_TRUE(IsGreen(155, 55));
    EXPECT_EQ(Variable("holder._width"), "20");
    // Nothing waits for a URL twice, and a failure leaves the clip as it is.
    player.UrlFailed("part.swf");
    EXPECT_TRUE(IsGreen(155, 55));
    // Bytes that are no movie leave it too.
    ASSERT_TRUE(player.InvokeCallback("<invoke name=\"load\" returntype=\"xml\"><arguments>"
                                      "<string>broken.swf</string></arguments></invoke>"));
    ASSERT_EQ(host.requests.back().first, "broken.swf");
    std::vector<uint8_t> junk(64, 'x');
    player.UrlArrived("broken.swf", junk);
    EXPECT_TRUE(IsGreen(155, 55));
}

TEST_F(Clips, AddPropertyRunsTheGetterAndSetterForScriptsAndTheHost)
{
    A getter;
    getter.GetPath("stored").Op(Action::Return);
    A setter;
    setter.SetPath("stored", A().GetPath("value").Push({"!"}).Op(Action::Add2));
    setter.SetPath("sets", A().GetPath("sets").Op(Action::Increment));
    A script;
    script.DefineFunction("getIt", {}, getter).DefineFunction("setIt", {"value"}, setter);
    script.SetPath("sets", Pushed(0));
    script.CallMethodOf("box", "addProperty",
                        {Pushed("label"), ReadPath("getIt"), ReadPath("setIt")});
    script.Push({"added"}).Op(Action::StackSwap).Op(Action::SetVariable);
    script.SetPath("box.label", Pushed("a"));
    script.SetPath("copy", ReadPath("box.label"));
    Run(script);
    EXPECT_EQ(Variable("added"), "true");
    EXPECT_EQ(Variable("copy"), "a!");
    ASSERT_TRUE(player.SetVariable("box.label", "b"));
    EXPECT_EQ(Variable("box.label"), "b!");
    EXPECT_EQ(Variable("sets"), "2");
}

TEST_F(Clips, TimersAndEnterFrameRunWithTheFrameClock)
{
    A tick;
    tick.SetPath("ticks", A().GetPath("ticks").Op(Action::Increment));
    A enter;
    enter.SetPath("frames", A().GetPath("frames").Op(Action::Increment));
    A stop;
    stop.CallFunctionNamed("clearInterval", {ReadPath("timer")}).Op(Action::Pop);
    stop.SetPath("box.onEnterFrame", Pushed(Null{}));
    A script;
    script.SetPath("ticks", Pushed(0)).SetPath("frames", Pushed(0));
    script.DefineFunction("tick", {}, tick).DefineFunction("enter", {}, enter);
    script.DefineFunction("stopAll", {}, stop).AddCallback("stopAll", "stopAll").Op(Action::Pop);
    script.SetPath("timer", A().CallFunctionNamed("setInterval", {ReadPath("tick"), Pushed(100)}));
    script.SetPath("box.onEnterFrame", ReadPath("enter"));
    Run(script);
    for (int i = 0; i < 7; ++i) // 583 ms at 12 frames per second
        player.Advance();
    EXPECT_EQ(Variable("frames"), "7");
    EXPECT_EQ(Variable("ticks"), "5");

    ASSERT_TRUE(player.InvokeCallback("<invoke name=\"stopAll\" returntype=\"xml\"></invoke>"));
    for (int i = 0; i < 6; ++i)
        player.Advance();
    EXPECT_EQ(Variable("frames"), "7");
    EXPECT_EQ(Variable("ticks"), "5");
}

TEST_F(Clips, PressAndReleaseReachTheClipUnderThePointer)
{
    A press, release;
    press.SetPath("_root.pressed", ReadPath("this._name"));
    release.SetPath("_root.released", Pushed(true));
    A script;
    script.DefineFunction("press", {}, press).DefineFunction("release", {}, release);
    script.SetPath("box.onPress", ReadPath("press")).SetPath("box.onRelease", ReadPath("release"));
    A outside;
    outside.SetPath("_root.outside", Pushed(true));
    script.DefineFunction("outside", {}, outside);
    script.SetPath("box.onReleaseOutside", ReadPath("outside"));
    Run(script);
    player.MouseButton(80, 80, true);
    player.MouseButton(80, 80, false);
    EXPECT_EQ(Variable("pressed"), "<undefined>");
    player.MouseButton(15, 15, true);
    EXPECT_EQ(Variable("pressed"), "box");
    EXPECT_EQ(Variable("released"), "<undefined>");
    player.MouseButton(15, 15, false);
    EXPECT_EQ(Variable("released"), "true");
    player.MouseButton(15, 15, true);
    player.MouseButton(80, 80, false);
    EXPECT_EQ(Variable("outside"), "true");
}

TEST_F(Clips, PressesFallOnWhatIsDrawnNotOnTheBoundingBox)
{
    MovieWriter movie = RedSquareMovie();
    ShapeBuilder disc;
    disc.Ellipse(20 * T, 20 * T, 20 * T, 20 * T, disc.AddFill(Green));
    movie.DefineShape(disc.Build(3));
    MovieWriter sprite(1, 1, 12);
    sprite.PlaceObject(3, 1).ShowFrame();
    movie.DefineSprite(4, sprite);
    movie.Place(NamedPlacement(4, 1, "ball", TranslateMatrix(100 * T, 10 * T)));
    A press;
    press.SetPath("_root.presses", A().GetPath("_root.presses").Op(Action::Increment));
    A script;
    script.SetPath("presses", Pushed(0)).DefineFunction("press", {}, press);
    script.SetPath("ball.onPress", ReadPath("press")).Stop();
    movie.DoAction(script.Assemble()).ShowFrame();
    player.SetViewSize(200, 100);
    player.Load(movie.Finish());
    player.MouseButton(102, 12, true); // inside the box, outside the disc
    player.MouseButton(102, 12, false);
    EXPECT_EQ(Variable("presses"), "0");
    player.MouseButton(120, 30, true);
    player.MouseButton(120, 30, false);
    EXPECT_EQ(Variable("presses"), "1");
}

TEST_F(Clips, SoundKeepsTheVolume)
{
    A script;
    script.Push({"snd", 0, "Sound"}).Op(Action::NewObject).Op(Action::SetVariable);
    script.CallMethodOf("snd", "setVolume", {Pushed(30)}).Op(Action::Pop);
    script.SetPath("heard", A().CallMethodOf("snd", "getVolume"));
    script.CallMethodOf("snd", "setVolume", {Pushed(400)}).Op(Action::Pop);
    Run(script);
    EXPECT_EQ(Variable("heard"), "30");
    EXPECT_EQ(player.Volume(), 100);
}

// A stage of 320 x 240 with a video "screen" of 160 x 120 at (20, 10) showing a stream that
// reports its status codes to the host.
std::vector<uint8_t> VideoMovie()
{
    MovieWriter movie(320, 240, 12);
    movie.DefineVideoStream({1, 0, 160, 120, 0, false, 3});
    movie.Place(NamedPlacement(1, 1, "screen", TranslateMatrix(20 * T, 10 * T)));
    A report;
    report.Append(ReadPath("info.code")).Push({"status", 2});
    report.PushExternalInterface().Push({"call"}).Op(Action::CallMethod).Op(Action::Pop);
    A script;
    script.Push({"nc", 0, "NetConnection"}).Op(Action::NewObject).Op(Action::SetVariable);
    script.CallMethodOf("nc", "connect", {Pushed(Null{})}).Op(Action::Pop);
    script.Push({"ns"}).GetPath("nc").Push({1, "NetStream"}).Op(Action::NewObject);
    script.Op(Action::SetVariable);
    script.DefineFunction("report", {"info"}, report);
    script.SetPath("ns.onStatus", ReadPath("report"));
    script.CallMethodOf("screen", "attachVideo", {ReadPath("ns")}).Op(Action::Pop);
    A seek, close;
    seek.CallMethodOf("ns", "seek", {ReadPath("seconds")}).Op(Action::Pop);
    close.CallMethodOf("ns", "close").Op(Action::Pop);
    script.DefineFunction("seekTo", {"seconds"}, seek)
        .AddCallback("seekTo", "seekTo")
        .Op(Action::Pop);
    script.DefineFunction("closeIt", {}, close).AddCallback("closeIt", "closeIt").Op(Action::Pop);
    script.CallMethodOf("ns", "play", {Pushed("clip.flv")}).Op(Action::Pop);
    script.Stop();
    movie.DoAction(script.Assemble()).ShowFrame();
    return movie.Finish();
}

TEST(Video, StreamsPlayIntoTheVideoAndAnswerTheirScripts)
{
    RecordingHost host;
    MoviePlayer player(host);
    player.SetViewSize(320, 240);
    player.Load(VideoMovie());
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0].first, "clip.flv");
    std::vector<uint8_t> video = samples::SampleVideo();
    player.UrlArrived("clip.flv", video);
    EXPECT_EQ(player.GetVariable("ns.bytesTotal"), std::to_string(video.size()));
    EXPECT_EQ(player.GetVariable("ns.bytesLoaded"), std::to_string(video.size()));
    for (int i = 0; i < 13; ++i)
        player.Advance();
    auto shown = [&] {
        Image image = test::RenderView(player, 320, 240, true);
        return samples::SampleVideoFrameNumber(image, 20, 10, 0.5, 0.5);
    };
    int frame = shown();
    EXPECT_GE(frame, 10);
    EXPECT_LE(frame, 13);
    std::vector<std::string> codes;
    for (const RecordingHost::Call& call : host.calls)
        if (call.name == "status" && !call.arguments.empty())
            codes.push_back(call.arguments[0].text);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), "NetStream.Play.Start");

    double time = std::stod(*player.GetVariable("ns.time"));
    EXPECT_NEAR(time, frame / 12.0, 0.2);

    // To the key frame before five seconds: the sample has one every two.
    ASSERT_TRUE(player.InvokeCallback(
        "<invoke name=\"seekTo\" "
        "returntype=\"xml\"><arguments><number>5</number></arguments></invoke>"));
    player.Advance();
    EXPECT_NEAR(std::stod(*player.GetVariable("ns.time")), 4, 0.2);
    EXPECT_NEAR(shown(), 48, 2);
    ASSERT_TRUE(player.InvokeCallback("<invoke name=\"closeIt\" returntype=\"xml\"></invoke>"));
    std::string closed_at = *player.GetVariable("ns.time");
    player.Advance();
    EXPECT_EQ(player.GetVariable("ns.time"), closed_at);
}

} // namespace
} // namespace zn::swf
