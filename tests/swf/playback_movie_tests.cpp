// The built-in playback movie and skins played by the engine end to end: the skin fetched
// through the host, the sample video's frames drawn where the skin leaves room and moving
// on, pause and resume through the ExternalInterface callbacks, the controls following the
// stream, and a missing video reported.
#include <gtest/gtest.h>

#include "builtin_movies.h"
#include "sample_video.h"
#include "test_support.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_player.h"
#include "znswf/movie_reader.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using movies::SkinTheme;
using test::RecordingHost;

constexpr const char* VideoUrl = "C:\\video\\clip.flv";

struct PlaybackMovie : testing::Test {
    void SetUp() override
    {
        player.SetViewSize(movies::PlaybackWidth, movies::PlaybackHeight);
        player.Load(movies::PlaybackMovie());
    }

    // Answers the oldest request for this URL with these bytes.
    bool Answer(const std::string& url, const std::vector<uint8_t>& bytes)
    {
        for (const auto& [requested, target] : host.requests)
            if (requested == url) {
                player.UrlArrived(url, bytes);
                return true;
            }
        return false;
    }

    void Start(SkinTheme theme)
    {
        std::string skin = movies::SkinName(theme) + ".swf";
        ASSERT_TRUE(player.SetVariable("flv.skin", skin));
        ASSERT_TRUE(Answer(skin, movies::SkinMovie(theme)));
        ASSERT_TRUE(player.SetVariable("flv.volume", "80"));
        ASSERT_TRUE(player.SetVariable("flv.contentPath", VideoUrl));
        ASSERT_TRUE(Answer(VideoUrl, samples::SampleVideo()));
        Advance(1);
    }

    void Advance(int frames)
    {
        for (int i = 0; i < frames; ++i)
            player.Advance();
    }

    Image Render()
    {
        return test::RenderView(player, movies::PlaybackWidth, movies::PlaybackHeight, true);
    }

    // The sample's frame counter read where the movie placed the video.
    int ShownFrame(const Image& image)
    {
        auto number = [&](const char* property) {
            return std::stod(
                player.GetVariable(std::string("flv.display.") + property).value_or("0"));
        };
        double width = number("_width"), height = number("_height");
        return samples::SampleVideoFrameNumber(image, number("_x"), number("_y"),
                                               width / samples::SampleVideoWidth,
                                               height / samples::SampleVideoHeight);
    }

    RecordingHost host;
    MoviePlayer player{host};
};

TEST(BuiltInMovies, AreCompressedVersion8WithTheirStagesAndRates)
{
    auto check = [](const std::vector<uint8_t>& bytes, int width, int height) {
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "CWS");
        EXPECT_EQ(bytes[3], 8);
        auto movie = ReadMovie(bytes);
        ASSERT_TRUE(movie && movie->complete);
        EXPECT_EQ(movie->header.stage,
                  (TwipsRect{0, width * TwipsPerPixel, 0, height * TwipsPerPixel}));
        EXPECT_EQ(movie->header.frameRate, movies::PlaybackRate << 8);
        EXPECT_EQ(movie->frames.size(), 1u);
        EXPECT_EQ(movie->header.declaredFrameCount, 1);
        // Every tag is one the engine knows: the movies rely on nothing it would skip.
        EXPECT_TRUE(movie->skippedTags.empty());
    };
    check(movies::PlaybackMovie(), movies::PlaybackWidth, movies::PlaybackHeight);
    for (SkinTheme theme : movies::SkinThemes) {
        SCOPED_TRACE(movies::SkinName(theme));
        check(movies::SkinMovie(theme), movies::SkinWidth, movies::SkinHeight);
    }
}

// The skins look different: their bars differ in colour from one another, and the clear one
// lets the video show through.
TEST_F(PlaybackMovie, TheSkinsLookDifferent)
{
    std::vector<test::Color> bars;
    for (SkinTheme theme : movies::SkinThemes) {
        player.Load(movies::PlaybackMovie());
        host.requests.clear();
        Start(theme);
        Advance(2);
        Image image = Render();
        // Above the progress bar, in the control bar, over the video's lower part.
        bars.push_back(test::ColorAt(image, 300, 366));
    }
    for (size_t i = 0; i < bars.size(); ++i)
        for (size_t j = i + 1; j < bars.size(); ++j)
            EXPECT_FALSE(test::Near(bars[i], bars[j], 20))
                << test::Describe(bars[i]) << " " << test::Describe(bars[j]);
    movies::SkinColors steel = movies::ColorsOf(SkinTheme::Steel);
    EXPECT_TRUE(test::Near(bars[1], {steel.bar.red, steel.bar.green, steel.bar.blue, 255}, 3))
        << test::Describe(bars[1]);
}

TEST_F(PlaybackMovie, AsksForTheDefaultSkinIntoItsSkinClip)
{
    ASSERT_FALSE(host.requests.empty());
    EXPECT_EQ(host.requests.front().first, "ClearOverAll.swf");
    EXPECT_EQ(host.requests.front().second, "_level0.flv.skin_mc");
    EXPECT_EQ(player.GetVariable("flv.skin"), "ClearOverAll.swf");
    auto names = player.CallbackNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "playflv"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "stopflv"), names.end());
}

TEST_F(PlaybackMovie, PlaysTheVideoInEachSkinAndPausesAndResumes)
{
    for (SkinTheme theme : movies::SkinThemes) {
        SCOPED_TRACE(movies::SkinName(theme));
        host.requests.clear();
        player.Load(movies::PlaybackMovie());
        Start(theme);
        EXPECT_EQ(player.GetVariable("flv.contentPath"), VideoUrl);
        EXPECT_EQ(player.GetVariable("flv.volume"), "80");
        EXPECT_EQ(player.Volume(), 80);

        Advance(5);
        Image first = Render();
        int shown = ShownFrame(first);
        EXPECT_GT(shown, 0);
        test::WritePng("playback_" + movies::SkinName(theme) + ".png", first);

        Advance(6);
        int later = ShownFrame(Render());
        EXPECT_GE(later, shown + 5);

        ASSERT_TRUE(player.InvokeCallback("<invoke name=\"stopflv\" returntype=\"xml\"></invoke>"));
        int paused_at = ShownFrame(Render());
        Advance(6);
        EXPECT_EQ(ShownFrame(Render()), paused_at);

        ASSERT_TRUE(player.InvokeCallback("<invoke name=\"playflv\" returntype=\"xml\"></invoke>"));
        Advance(6);
        EXPECT_GE(ShownFrame(Render()), paused_at + 5);
    }
}

// A host sets the skin right after loading; when the default skin arrives first, it is
// wired, then replaced by the skin asked for, which must be wired in its turn.
TEST_F(PlaybackMovie, ASkinArrivingAfterTheDefaultOneIsWiredToo)
{
    ASSERT_TRUE(Answer("ClearOverAll.swf", movies::SkinMovie(SkinTheme::Clear)));
    Advance(2);
    ASSERT_TRUE(player.SetVariable("flv.skin", "SteelOverAll.swf"));
    ASSERT_TRUE(player.SetVariable("flv.contentPath", VideoUrl));
    ASSERT_TRUE(Answer(VideoUrl, samples::SampleVideo()));
    Advance(2);
    ASSERT_TRUE(Answer("SteelOverAll.swf", movies::SkinMovie(SkinTheme::Steel)));
    Advance(6);
    EXPECT_EQ(player.GetVariable("flv.skin_mc.videoArea._visible"), "false");
    EXPECT_GT(ShownFrame(Render()), 0);
    double bar_top = movies::ControlBarTop * double(movies::PlaybackHeight) / movies::SkinHeight;
    double bottom = std::stod(*player.GetVariable("flv.display._y")) +
                    std::stod(*player.GetVariable("flv.display._height"));
    EXPECT_LE(bottom, bar_top + 0.5);
}

TEST_F(PlaybackMovie, OpaqueSkinsKeepTheVideoAboveTheirBarAndTheClearOneLaysItOver)
{
    Start(SkinTheme::Steel);
    Advance(2);
    double bar_top = movies::ControlBarTop * double(movies::PlaybackHeight) / movies::SkinHeight;
    double bottom = std::stod(*player.GetVariable("flv.display._y")) +
                    std::stod(*player.GetVariable("flv.display._height"));
    EXPECT_LE(bottom, bar_top + 0.5);

    player.Load(movies::PlaybackMovie());
    Start(SkinTheme::Clear);
    Advance(2);
    bottom = std::stod(*player.GetVariable("flv.display._y")) +
             std::stod(*player.GetVariable("flv.display._height"));
    EXPECT_GT(bottom, bar_top + 10);
}

TEST_F(PlaybackMovie, ControlsFollowTheStreamAndThePlayButtonToggles)
{
    Start(SkinTheme::Arctic);
    Advance(24);
    double share = std::stod(*player.GetVariable("flv.skin_mc.progressBar.fill._xscale"));
    double expected = 100 * std::stod(*player.GetVariable("ns.time")) /
                      (samples::SampleVideoFrames / double(samples::SampleVideoRate));
    EXPECT_NEAR(share, expected, 1.0);
    EXPECT_GT(share, 5);
    EXPECT_EQ(player.GetVariable("flv.skin_mc.volumeBar.fill._xscale"), "80");
    EXPECT_EQ(player.GetVariable("flv.skin_mc.playButton.pauseIcon._visible"), "true");

    // The play button sits at the left of the bar.
    int x = 32 * movies::PlaybackWidth / movies::SkinWidth, y = 380;
    player.MouseButton(x, y, true);
    player.MouseButton(x, y, false);
    Advance(1);
    EXPECT_EQ(player.GetVariable("paused"), "true");
    EXPECT_EQ(player.GetVariable("flv.skin_mc.playButton.playIcon._visible"), "true");
    std::string time = *player.GetVariable("ns.time");
    Advance(5);
    EXPECT_EQ(player.GetVariable("ns.time"), time);
}

// Loaded into a clip of another movie, as a page's own movie might, the playback movie works
// the same: nothing in it depends on being the main timeline.
TEST(PlaybackMovieInAClip, PlaysInsideAnotherMovie)
{
    MovieWriter wrapper(movies::PlaybackWidth, movies::PlaybackHeight, movies::PlaybackRate);
    ActionAssembler script;
    script.CallMethodOf("this", "createEmptyMovieClip", {Pushed("holder"), Pushed(1)});
    script.Op(Action::Pop).CallMethodOf("holder", "loadMovie", {Pushed("flvplayback.swf")});
    script.Op(Action::Pop).Stop();
    wrapper.DoAction(script.Assemble()).ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.SetViewSize(movies::PlaybackWidth, movies::PlaybackHeight);
    player.Load(wrapper.Finish());
    player.UrlArrived("flvplayback.swf", movies::PlaybackMovie());
    ASSERT_EQ(host.requests.back(), (std::pair<std::string, std::string>{
                                        "ClearOverAll.swf", "_level0.holder.flv.skin_mc"}));
    player.UrlArrived("ClearOverAll.swf", movies::SkinMovie(SkinTheme::Clear));
    ASSERT_TRUE(player.SetVariable("holder.flv.contentPath", VideoUrl));
    player.UrlArrived(VideoUrl, samples::SampleVideo());
    auto shown = [&] {
        Image image = test::RenderView(player, movies::PlaybackWidth, movies::PlaybackHeight, true);
        auto number = [&](const char* property) {
            return std::stod(*player.GetVariable(std::string("holder.flv.display.") + property));
        };
        return samples::SampleVideoFrameNumber(image, number("_x"), number("_y"),
                                               number("_width") / samples::SampleVideoWidth,
                                               number("_height") / samples::SampleVideoHeight);
    };
    for (int i = 0; i < 6; ++i)
        player.Advance();
    int first = shown();
    EXPECT_GT(first, 0);
    ASSERT_TRUE(player.InvokeCallback("<invoke name=\"stopflv\" returntype=\"xml\"></invoke>"));
    for (int i = 0; i < 6; ++i)
        player.Advance();
    int paused = shown();
    EXPECT_GE(paused, first);
    EXPECT_LE(paused, first + 1);
    ASSERT_TRUE(player.InvokeCallback("<invoke name=\"playflv\" returntype=\"xml\"></invoke>"));
    for (int i = 0; i < 6; ++i)
        player.Advance();
    EXPECT_GE(shown(), paused + 5);
}

TEST_F(PlaybackMovie, AMissingVideoShowsTheErrorSignAndTellsTheHost)
{
    ASSERT_TRUE(player.SetVariable("flv.contentPath", "missing.flv"));
    EXPECT_EQ(player.GetVariable("flv.errorSign._visible"), "false");
    player.UrlFailed("missing.flv");
    Advance(1);
    ASSERT_FALSE(host.commands.empty());
    EXPECT_EQ(host.commands.back().first, movies::ErrorCommand);
    EXPECT_EQ(host.commands.back().second, "NetStream.Play.StreamNotFound");
    EXPECT_EQ(player.GetVariable("flv.errorSign._visible"), "true");
    Image image = Render();
    test::WritePng("playback_error.png", image);
    // The sign's red disc in the middle of the video area.
    test::Color middle =
        test::ColorAt(image, movies::PlaybackWidth / 2 - 30, movies::ControlBarTop / 2);
    EXPECT_TRUE(test::Near(middle, {200, 30, 30, 255}, 10)) << test::Describe(middle);
}

TEST_F(PlaybackMovie, AFileThatIsNoVideoIsAStreamError)
{
    ASSERT_TRUE(player.SetVariable("flv.contentPath", "notes.txt"));
    std::string text = "These are not the frames you are looking for.";
    ASSERT_TRUE(Answer("notes.txt", std::vector<uint8_t>(text.begin(), text.end())));
    Advance(2);
    ASSERT_FALSE(host.commands.empty());
    EXPECT_EQ(host.commands.back(),
              (std::pair<std::string, std::string>{movies::ErrorCommand,
                                                   "NetStream.Play.FileStructureInvalid"}));
    EXPECT_EQ(player.GetVariable("flv.errorSign._visible"), "true");
    // A video set afterwards plays and hides the sign.
    ASSERT_TRUE(player.SetVariable("flv.contentPath", VideoUrl));
    EXPECT_EQ(player.GetVariable("flv.errorSign._visible"), "false");
}

} // namespace
} // namespace zn::swf
