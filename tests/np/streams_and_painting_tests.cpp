// Movies reaching an instance as streams, and the frames it draws into the host's memory device
// context: over black and over white, so semi-transparent shapes show their coverage.
#include "hosted_instance.h"
#include "test_movies.h"

#include <gtest/gtest.h>

using namespace zn::np;

namespace zn::test {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

std::uint8_t Red(std::uint32_t p)
{
    return (p >> 16) & 0xFF;
}
std::uint8_t Blue(std::uint32_t p)
{
    return p & 0xFF;
}

class StreamsAndPaintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.browser.Reset();
        ASSERT_EQ(instance.SetWindow(canvas.DC(), 100, 50), NPERR_NO_ERROR);
        library.TakeLog();
    }

    // Paints the whole window over a background and answers the pixel at (x, y).
    std::uint32_t PaintedOver(std::uint32_t background, int x, int y)
    {
        canvas.Fill(background);
        EXPECT_EQ(instance.Paint(canvas.DC(), RECT{0, 0, 100, 50}), 1);
        return canvas.At(x, y);
    }

    PluginLibrary& library = PluginLibrary::Get();
    TDibSurface canvas{100, 50};
    HostedInstance instance{100, 50};
};

TEST_F(StreamsAndPaintingTest, AMovieInPiecesAtOffsetZeroRendersOverWhatLiesBelow)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr, 5);
    // The opaque red square looks the same on both backgrounds.
    EXPECT_EQ(PaintedOver(kBlack, 25, 25) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(PaintedOver(kWhite, 25, 25) & 0xFFFFFF, 0xFF0000u);
    // The half-transparent blue one lets the background through.
    std::uint32_t over_black = PaintedOver(kBlack, 75, 25);
    std::uint32_t over_white = PaintedOver(kWhite, 75, 25);
    EXPECT_NEAR(Red(over_black), 0, 1);
    EXPECT_NEAR(Blue(over_black), 128, 2);
    EXPECT_NEAR(Red(over_white), 127, 2);
    EXPECT_NEAR(Blue(over_white), 255, 1);
    EXPECT_NE(over_black, over_white);
}

TEST_F(StreamsAndPaintingTest, ACompressedMovieRendersTheSame)
{
    instance.Deliver(SemiTransparentMovie(true), "movie.swf", nullptr, 3);
    EXPECT_EQ(PaintedOver(kBlack, 25, 25) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(StreamsAndPaintingTest, TheArrivingMovieAsksForItsWholeWindow)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    ASSERT_FALSE(library.browser.invalidated.empty());
    const NPRect& rect = library.browser.invalidated.back().rect;
    EXPECT_EQ(library.browser.invalidated.back().instance, instance.Npp());
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 100);
    EXPECT_EQ(rect.bottom, 50);
}

TEST_F(StreamsAndPaintingTest, PaintingStaysInsideTheClip)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    canvas.Fill(kWhite);
    int saved = SaveDC(canvas.DC());
    IntersectClipRect(canvas.DC(), 0, 0, 10, 10);
    instance.Paint(canvas.DC(), RECT{0, 0, 10, 10});
    RestoreDC(canvas.DC(), saved);
    GdiFlush();
    EXPECT_EQ(canvas.At(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(canvas.At(20, 20), kWhite);
}

TEST_F(StreamsAndPaintingTest, APaintWithoutAContextUsesTheAnnouncedOne)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    canvas.Fill(kWhite);
    NPEvent paint{WM_PAINT, 0, 0};
    EXPECT_EQ(library.funcs.event(instance.Npp(), &paint), 1);
    GdiFlush();
    EXPECT_EQ(canvas.At(25, 25) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(StreamsAndPaintingTest, OpaqueModeDrawsTheBackground)
{
    HostedInstance opaque(100, 50, false);
    TDibSurface target(100, 50);
    opaque.SetWindow(target.DC(), 100, 50);
    opaque.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    target.Fill(kWhite);
    opaque.Paint(target.DC(), RECT{0, 0, 100, 50});
    // "#0" is black: the half-transparent blue lies over it, not over the white canvas.
    EXPECT_NEAR(Red(target.At(75, 25)), 0, 1);
    EXPECT_NEAR(Blue(target.At(75, 25)), 128, 2);
}

TEST_F(StreamsAndPaintingTest, APaintIntoSomethingThatIsNoContextDrawsNothing)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    NPEvent paint{WM_PAINT, 0x1234, 0};
    EXPECT_EQ(library.funcs.event(instance.Npp(), &paint), 1);
}

TEST_F(StreamsAndPaintingTest, BytesThatAreNoMovieShowNothing)
{
    instance.Deliver(std::vector<std::uint8_t>(64, 0x42), "junk.swf", nullptr, 2);
    canvas.Fill(kWhite);
    instance.Paint(canvas.DC(), RECT{0, 0, 100, 50});
    EXPECT_EQ(canvas.At(25, 25), kWhite);
}

TEST_F(StreamsAndPaintingTest, LoadMovieRequestsTheUrlWithoutTarget)
{
    library.browser.onRequest = [&](const UrlRequestSeen& request) {
        instance.Deliver(SemiTransparentMovie(), request.url, request.notifyData);
    };
    std::string url = "movie file.swf";
    NPVariant result = instance.InvokeOrFail("LoadMovie", {IntegerVariant(0), StringVariant(url)});
    ASSERT_EQ(library.browser.requests.size(), 1u);
    EXPECT_EQ(library.browser.requests[0].url, url);
    EXPECT_TRUE(library.browser.requests[0].targetNull);
    EXPECT_NE(library.browser.requests[0].notifyData, nullptr);
    EXPECT_EQ(result.type, NPVariantType_Void);
    EXPECT_EQ(PaintedOver(kBlack, 25, 25) & 0xFFFFFF, 0xFF0000u);
    NPVariant frames = instance.InvokeOrFail("TotalFrames");
    EXPECT_EQ(frames.value.intValue, 2);
}

TEST_F(StreamsAndPaintingTest, LoadMovieRefusesLevelsOtherThanZero)
{
    NPVariant result{};
    std::string url = "movie.swf";
    EXPECT_FALSE(instance.Invoke("LoadMovie", {IntegerVariant(1), StringVariant(url)}, result));
    EXPECT_FALSE(instance.Invoke("LoadMovie", {StringVariant(url)}, result));
    EXPECT_TRUE(library.browser.requests.empty());
}

TEST_F(StreamsAndPaintingTest, RequestedFilesLeaveTheMovieAlone)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    ASSERT_EQ(library.controls.RequestUrl(instance.Npp(), "data.xml"), NPERR_NO_ERROR);
    ASSERT_EQ(library.browser.requests.size(), 1u);
    EXPECT_EQ(library.browser.requests[0].url, "data.xml");
    instance.Deliver(ScriptedMovie(), "data.xml", library.browser.requests[0].notifyData);
    EXPECT_EQ(instance.InvokeOrFail("TotalFrames").value.intValue, 2);
    EXPECT_EQ(library.controls.RequestUrl(instance.Npp(), nullptr), NPERR_INVALID_URL);
    EXPECT_EQ(library.controls.RequestUrl(nullptr, "data.xml"), NPERR_INVALID_INSTANCE_ERROR);
}

TEST_F(StreamsAndPaintingTest, TheFrameTimerAdvancesWhileMessagesArePumped)
{
    instance.Deliver(AnimatedMovie(), "animated.swf", nullptr);
    library.browser.invalidated.clear();
    DWORD until = GetTickCount() + 2000;
    while (GetTickCount() < until && library.browser.invalidated.size() < 3) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(5);
    }
    ASSERT_GE(library.browser.invalidated.size(), 3u);
    // Only the moving square's surroundings are asked for, not the whole window.
    const NPRect& rect = library.browser.invalidated[0].rect;
    EXPECT_LT(rect.right - rect.left, 100);
}

TEST_F(StreamsAndPaintingTest, TestsCanInvalidateARectangle)
{
    EXPECT_EQ(library.controls.InvalidateRect(instance.Npp(), 1, 2, 30, 40), NPERR_NO_ERROR);
    ASSERT_EQ(library.browser.invalidated.size(), 1u);
    const NPRect& rect = library.browser.invalidated[0].rect;
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 30);
    EXPECT_EQ(rect.bottom, 40);
    EXPECT_EQ(library.controls.InvalidateRect(nullptr, 1, 2, 3, 4), NPERR_INVALID_INSTANCE_ERROR);
}

TEST_F(StreamsAndPaintingTest, TheWindowsPositionPlacesTheMovieInTheContext)
{
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr);
    TDibSurface wide(120, 60);
    NPWindow window{};
    window.window = wide.DC();
    window.x = 20;
    window.y = 10;
    window.width = 100;
    window.height = 50;
    window.type = NPWindowTypeDrawable;
    ASSERT_EQ(library.funcs.setwindow(instance.Npp(), &window), NPERR_NO_ERROR);
    wide.Fill(kWhite);
    instance.Paint(wide.DC(), RECT{0, 0, 120, 60});
    EXPECT_EQ(wide.At(10, 5), kWhite);
    EXPECT_EQ(wide.At(21, 11) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(wide.At(69, 59) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(StreamsAndPaintingTest, AMovieCutShortShowsTheFramesThatCame)
{
    instance.Deliver(SemiTransparentMovie(), "first.swf", nullptr);
    std::vector<std::uint8_t> movie = SemiTransparentMovie();
    NPStream stream{};
    stream.url = "cut.swf";
    ASSERT_EQ(library.funcs.newstream(instance.Npp(), nullptr, &stream, false, nullptr),
              NPERR_NO_ERROR);
    // Everything but the last ShowFrame and End: the first frame is whole.
    library.funcs.write(instance.Npp(), &stream, 0, static_cast<std::int32_t>(movie.size() - 4),
                        movie.data());
    EXPECT_EQ(library.funcs.destroystream(instance.Npp(), &stream, NPRES_NETWORK_ERR),
              NPERR_NO_ERROR);
    EXPECT_EQ(instance.InvokeOrFail("TotalFrames").value.intValue, 1);
    EXPECT_EQ(PaintedOver(kBlack, 25, 25) & 0xFFFFFF, 0xFF0000u);
    // A stream that failed before any byte came leaves that movie alone.
    NPStream empty{};
    empty.url = "nothing.swf";
    ASSERT_EQ(library.funcs.newstream(instance.Npp(), nullptr, &empty, false, nullptr),
              NPERR_NO_ERROR);
    EXPECT_EQ(library.funcs.destroystream(instance.Npp(), &empty, NPRES_USER_BREAK),
              NPERR_NO_ERROR);
    EXPECT_EQ(instance.InvokeOrFail("TotalFrames").value.intValue, 1);
}

TEST_F(StreamsAndPaintingTest, AMovieLoadedIntoLevelZeroTakesThePlaceOfTheOneThatAskedForIt)
{
    library.browser.onRequest = [&](const UrlRequestSeen& request) {
        instance.Deliver(SemiTransparentMovie(), request.url, request.notifyData);
    };
    instance.Deliver(LevelLoadingMovie(), "loader.swf", nullptr);
    ASSERT_EQ(library.browser.requests.size(), 1u);
    EXPECT_EQ(library.browser.requests[0].url, "next.swf");
    EXPECT_TRUE(library.browser.requests[0].targetNull);
    EXPECT_EQ(instance.InvokeOrFail("TotalFrames").value.intValue, 2);
    EXPECT_EQ(PaintedOver(kBlack, 25, 25) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
} // namespace zn::test
