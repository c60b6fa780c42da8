// Painting the sample movie's first frame in both modes, pixel by pixel: an opaque green square,
// over it and beside it a red circle at alpha 128. In transparent mode the buffer holds
// premultiplied BGRA recovered from the renderings over black and over white.
#include "driver_fixture.h"

#include "support/engine_frame.h"

using namespace zn;
using namespace zn::test;

namespace {

struct TColor4 {
    int B, G, R, A;
};

TColor4 Channels(std::uint32_t Pixel)
{
    return {int(Pixel & 0xFF), int(Pixel >> 8 & 0xFF), int(Pixel >> 16 & 0xFF), int(Pixel >> 24)};
}

::testing::AssertionResult Near(std::uint32_t Actual, TColor4 Expected, int Tolerance = 2)
{
    const TColor4 actual = Channels(Actual);
    const auto close = [&](int a, int e) { return std::abs(a - e) <= Tolerance; };
    if (close(actual.B, Expected.B) && close(actual.G, Expected.G) && close(actual.R, Expected.R) &&
        close(actual.A, Expected.A))
        return ::testing::AssertionSuccess();
    char text[96];
    snprintf(text, sizeof text, "pixel 0x%08x, expected about a=%d r=%d g=%d b=%d",
             static_cast<unsigned>(Actual), Expected.A, Expected.R, Expected.G, Expected.B);
    return ::testing::AssertionFailure() << text;
}

// The engine's own premultiplied rendering of the sample's first frame.
std::vector<std::uint32_t> ReferenceFrame(int Width, int Height)
{
    return EngineFrame(SampleMovieBytes(), Width, Height);
}

// Inside the square, away from the circle; inside the circle and the square; inside the circle
// left of the square; outside everything.
constexpr int SquareX = 150, SquareY = 150;
constexpr int BothX = 60, BothY = 120;
constexpr int CircleOnlyX = 28, CircleOnlyY = 120;
constexpr int EmptyX = 5, EmptyY = 5;

} // namespace

class PaintingTest : public DriverTest {
protected:
    void Load(std::uint32_t Background)
    {
        CreateDriver(Background);
        Driver->LoadMovie(SampleMovieName);
        Driver->StopPlay();
        Driver->Rewind();
        Events.clear();
        Erased.clear();
        Painted.clear();
        TakeLog();
    }
};

TEST_F(PaintingTest, TransparentModeRecoversPremultipliedAlpha)
{
    Load(0x00000000u);
    Driver->ForceUpdate();
    EXPECT_TRUE(Near(Pixel(SquareX, SquareY), {0, 180, 0, 255}));
    EXPECT_TRUE(Near(Pixel(BothX, BothY), {0, 90, 128, 255}));
    EXPECT_TRUE(Near(Pixel(CircleOnlyX, CircleOnlyY), {0, 0, 128, 128}));
    EXPECT_EQ(Pixel(EmptyX, EmptyY), 0u);
    EXPECT_TRUE(Erased.empty());
    ASSERT_EQ(Painted.size(), 1u);
    EXPECT_EQ(Painted[0], (TRect{0, 0, 320, 240}));
}

TEST_F(PaintingTest, TransparentModeMatchesTheEnginesOwnRenderingEverywhere)
{
    Load(0x00000000u);
    Driver->ForceUpdate();
    const std::vector<std::uint32_t> reference = ReferenceFrame(320, 240);
    int differing = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            if (!Near(Pixel(x, y), Channels(reference[y * 320 + x])) && ++differing <= 5)
                ADD_FAILURE() << "at (" << x << ", " << y << "): "
                              << Near(Pixel(x, y), Channels(reference[y * 320 + x])).message();
    EXPECT_EQ(differing, 0);
}

// The plug-in draws into the context it was last announced (it reports a paint into another as
// a violation, which TearDown checks), so each repaint tells it of one change: it starts with
// the buffer drawn last.
TEST_F(PaintingTest, TransparentModeDrawsTwiceAnnouncingOneChangeOfBuffer)
{
    Load(0x00000000u);
    const auto word_after = [](const std::string& line, const std::string& key) {
        return line.substr(line.find(key) + key.size(), 10);
    };
    std::string last_drawn;
    for (int repaint = 0; repaint < 2; ++repaint) {
        ASSERT_EQ(TReferencePlugin::Loaded().InvalidateRect(Npp(), 10, 20, 30, 40), 0);
        const auto log = TakeLog();
        std::vector<std::string> calls;
        for (const std::string& line : log)
            calls.push_back(line.substr(0, line.find(' ')));
        ASSERT_EQ(calls, (std::vector<std::string>{"NPP_HandleEvent", "NPP_SetWindow",
                                                   "NPP_HandleEvent"}));
        const auto paints = LinesOf(log, "NPP_HandleEvent");
        EXPECT_TRUE(Contains(paints[0], "event=15"));
        const std::string first = word_after(paints[0], "wParam=");
        const std::string second = word_after(paints[1], "wParam=");
        EXPECT_NE(first, second);
        EXPECT_EQ(word_after(LinesOf(log, "NPP_SetWindow")[0], "window="), second);
        if (!last_drawn.empty()) {
            EXPECT_EQ(first, last_drawn);
        }
        last_drawn = second;
    }
    ASSERT_EQ(Painted.size(), 2u);
    EXPECT_EQ(Painted[1], (TRect{10, 20, 30, 40}));
    EXPECT_EQ(Pixel(EmptyX, EmptyY), 0u);
}

// A change of mode makes new buffers: the plug-in hears of the new context before it draws into
// it, and an owner that draws on the buffer's context afterwards finds no clip left there.
TEST_F(PaintingTest, AChangeOfModeAnnouncesTheNewContextAndRepaintsLeaveNoClip)
{
    Load(0xFF0000FFu);
    Driver->SetBackground(0x00000000u);
    ASSERT_EQ(TReferencePlugin::Loaded().InvalidateRect(Npp(), 0, 0, 320, 240), 0);
    EXPECT_EQ(Pixel(EmptyX, EmptyY), 0u);
    EXPECT_TRUE(Near(Pixel(CircleOnlyX, CircleOnlyY), {0, 0, 128, 128}));
    Driver->SetBackground(0xFF0000FFu);
    ASSERT_EQ(TReferencePlugin::Loaded().InvalidateRect(Npp(), 0, 0, 50, 50), 0);
    EXPECT_EQ(Pixel(EmptyX, EmptyY), 0xFF0000FFu);
    const auto windows = LinesOf(TakeLog(), "NPP_SetWindow");
    ASSERT_FALSE(windows.empty());
    char buffer_dc[16];
    snprintf(buffer_dc, sizeof buffer_dc, "window=0x%08x",
             static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(Driver->BufferDC())));
    EXPECT_TRUE(Contains(windows.back(), buffer_dc));
    const TRegion clip(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(Driver->BufferDC(), static_cast<HRGN>(clip.get())), 0);
}

TEST_F(PaintingTest, OpaqueModeErasesThenPaintsTheSameRectangle)
{
    Load(0xFF0000FFu);
    ASSERT_EQ(TReferencePlugin::Loaded().InvalidateRect(Npp(), 0, 0, 320, 240), 0);
    EXPECT_EQ(Events, (std::vector<std::string>{"erase", "paint"}));
    ASSERT_EQ(Erased.size(), 1u);
    EXPECT_EQ(Erased[0], Painted.at(0));
    EXPECT_TRUE(LinesOf(TakeLog(), "NPP_SetWindow").empty());
    EXPECT_EQ(Pixel(EmptyX, EmptyY), 0xFF0000FFu);
    EXPECT_TRUE(Near(Pixel(SquareX, SquareY), {0, 180, 0, 255}));
    EXPECT_TRUE(Near(Pixel(CircleOnlyX, CircleOnlyY), {127, 0, 128, 255}));
}

TEST_F(PaintingTest, ARectangleBeyondTheBufferIsClampedAndOneOutsideItPaintsNothing)
{
    Load(0xFF0000FFu);
    ASSERT_EQ(TReferencePlugin::Loaded().InvalidateRect(Npp(), 300, 200, 1000, 900), 0);
    ASSERT_EQ(Painted.size(), 1u);
    EXPECT_EQ(Painted[0], (TRect{300, 200, 320, 240}));
    EXPECT_EQ(Erased.at(0), Painted[0]);

    Events.clear();
    TakeLog();
    ASSERT_EQ(TReferencePlugin::Loaded().InvalidateRect(Npp(), 400, 300, 500, 400), 0);
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(LinesOf(TakeLog(), "NPP_HandleEvent").empty());
}
