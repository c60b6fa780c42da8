// Painting through the control's view object, pixel by pixel against the engine's own rendering
// of the sample movie: in opaque mode over the owner's background, in transparent mode with
// premultiplied alpha recovered from the renderings over black and over white. Invalidations
// are painted at once and limited to the buffer on every side.
#include "control_fixture.h"

#include "sample_movies.h"
#include "support/engine_frame.h"

#include <cstdio>

using namespace zn;
using namespace zn::test;

namespace {

struct TChannels {
    int B, G, R, A;
};

TChannels Channels(std::uint32_t Pixel)
{
    return {int(Pixel & 0xFF), int(Pixel >> 8 & 0xFF), int(Pixel >> 16 & 0xFF), int(Pixel >> 24)};
}

::testing::AssertionResult Near(std::uint32_t Actual, std::uint32_t Expected, int Tolerance = 2)
{
    const TChannels a = Channels(Actual), e = Channels(Expected);
    const auto close = [&](int x, int y) { return std::abs(x - y) <= Tolerance; };
    if (close(a.B, e.B) && close(a.G, e.G) && close(a.R, e.R) && close(a.A, e.A))
        return ::testing::AssertionSuccess();
    char text[64];
    std::snprintf(text, sizeof text, "pixel 0x%08x, expected about 0x%08x",
                  static_cast<unsigned>(Actual), static_cast<unsigned>(Expected));
    return ::testing::AssertionFailure() << text;
}

// The engine's own premultiplied rendering of the sample's first frame.
std::vector<std::uint32_t> ReferenceFrame()
{
    return EngineFrame(zn::swf::samples::SampleMovie(), 320, 240);
}

// Premultiplied Source over the opaque Background.
std::uint32_t Over(std::uint32_t Source, std::uint32_t Background)
{
    const int alpha = static_cast<int>(Source >> 24);
    std::uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int s = static_cast<int>(Source >> shift & 0xFF);
        const int b = static_cast<int>(Background >> shift & 0xFF);
        result |= static_cast<std::uint32_t>(s + (b * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

class PaintingTest : public ControlTest {
protected:
    // The buffer against Expected(reference pixel) everywhere; reports the first few differences.
    template <class TExpected>
    void ExpectFrame(TExpected Expected)
    {
        const std::vector<std::uint32_t> reference = ReferenceFrame();
        int differing = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) {
                const auto close = Near(Pixel(x, y), Expected(reference[y * 320 + x]));
                if (!close && ++differing <= 5)
                    ADD_FAILURE() << "at (" << x << ", " << y << "): " << close.message();
            }
        EXPECT_EQ(differing, 0);
    }
};

TEST_F(PaintingTest, TransparentModeMatchesTheEnginesPremultipliedRendering)
{
    CreateDriverWithStoppedMovie(0x00000000u);
    Driver->ForceUpdate();
    ExpectFrame([](std::uint32_t Reference) { return Reference; });
    EXPECT_TRUE(Erased.empty());
    EXPECT_EQ(Painted, (std::vector<TRect>{{0, 0, 320, 240}}));
    // Both passes drew through the view object, opaque aspect, whole bounds, clipped to the rect.
    const auto draws = LinesOf(TakeLog(), "IViewObject.Draw");
    ASSERT_EQ(draws.size(), 2u);
    for (const std::string& draw : draws) {
        EXPECT_TRUE(Contains(draw, "aspect=16 index=-1")) << draw;
        EXPECT_TRUE(Contains(draw, "bounds=(0,0,320,240) clip=(0,0,320,240)")) << draw;
    }
}

TEST_F(PaintingTest, OpaqueModeMatchesTheEnginesRenderingOverTheOwnersBackground)
{
    CreateDriverWithStoppedMovie(0xFF0000FFu);
    Driver->ForceUpdate();
    ExpectFrame([](std::uint32_t Reference) { return Over(Reference, 0xFF0000FFu); });
    EXPECT_EQ(Events, (std::vector<std::string>{"erase", "paint"}));
    EXPECT_EQ(Erased, Painted);
}

// The site paints before InvalidateRect returns, with the right and bottom limited to the
// buffer; a left or top before the buffer is limited at 0 as well, so nothing is written
// outside it.
TEST_F(PaintingTest, InvalidationsArePaintedAtOnceWithinTheBuffer)
{
    CreateDriverWithStoppedMovie(0x00000000u);
    const RECT wide{300, 200, 1000, 900};
    ASSERT_EQ(Controls.InvalidateRect(Control(), &wide), S_OK);
    EXPECT_EQ(Painted, (std::vector<TRect>{{300, 200, 320, 240}}));
    auto draws = LinesOf(TakeLog(), "IViewObject.Draw");
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(Contains(draws[0], "clip=(300,200,320,240)")) << draws[0];

    Painted.clear();
    const RECT before{-20, -5, 30, 30};
    ASSERT_EQ(Controls.InvalidateRect(Control(), &before), S_OK);
    EXPECT_EQ(Painted, (std::vector<TRect>{{0, 0, 30, 30}}));

    Painted.clear();
    ASSERT_EQ(Controls.InvalidateRect(Control(), nullptr), S_OK);
    EXPECT_EQ(Painted, (std::vector<TRect>{{0, 0, 320, 240}}));

    // A rectangle wholly outside the buffer draws nothing.
    Painted.clear();
    TakeLog();
    const RECT outside{400, 300, 500, 400};
    ASSERT_EQ(Controls.InvalidateRect(Control(), &outside), S_OK);
    EXPECT_TRUE(LinesOf(TakeLog(), "IViewObject.Draw").empty());
}

// What the control draws outside Draw, through the site's GetDC, lands in the buffer.
TEST_F(PaintingTest, TheControlDrawsThroughTheSitesContextIntoTheBuffer)
{
    CreateDriverWithStoppedMovie(0xFF0000FFu);
    FillLongwordRect(Driver->BufferBits(), 320, 240, 0, 0, 320, 240, 0xFF123456u);
    ASSERT_EQ(Controls.DrawThroughSite(Control()), S_OK);
    GdiFlush();
    EXPECT_TRUE(Near(Pixel(150, 150), 0xFF00B400u));
    EXPECT_EQ(Pixel(5, 5), 0xFF123456u);
    const auto log = TakeLog();
    const auto contexts = LinesOf(log, "Site.GetDC");
    ASSERT_EQ(contexts.size(), 1u);
    char dc[24];
    std::snprintf(dc, sizeof dc, "dc=0x%08x",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(Driver->BufferDC())));
    EXPECT_TRUE(Contains(contexts[0], dc)) << contexts[0];
    EXPECT_EQ(LinesOf(log, "Site.ReleaseDC").size(), 1u);
}

// A resize tells the control its new rectangles, and the whole new buffer is painted (once by the
// driver, and again when the control invalidates itself on hearing its new size).
TEST_F(PaintingTest, AResizeTellsTheControlAndRepaintsTheNewBuffer)
{
    CreateDriverWithStoppedMovie(0x00000000u);
    Driver->Resize(200, 100);
    const auto log = TakeLog();
    const auto rects = LinesOf(log, "IOleInPlaceObject.SetObjectRects");
    ASSERT_FALSE(rects.empty());
    for (const std::string& line : rects)
        EXPECT_TRUE(Contains(line, "position=(0,0,200,100) clip=(0,0,200,100)")) << line;
    const auto draws = LinesOf(log, "IViewObject.Draw");
    ASSERT_FALSE(draws.empty());
    for (const std::string& line : draws)
        EXPECT_TRUE(Contains(line, "bounds=(0,0,200,100) clip=(0,0,200,100)")) << line;
    ASSERT_FALSE(Painted.empty());
    for (const TRect& rect : Painted)
        EXPECT_EQ(rect, (TRect{0, 0, 200, 100}));
}

TEST_F(PaintingTest, UpdateRectanglesAreOutlinedBeforeTheOwnerHearsOfThem)
{
    CreateDriverWithStoppedMovie(0x00000000u);
    Driver->SetShowUpdateRects(true);
    std::uint32_t corner_when_painted = 0;
    AfterEvent = [&](const std::string& Event) {
        if (Event == "paint")
            corner_when_painted = Pixel(10, 10);
    };
    const RECT rect{10, 10, 30, 30};
    ASSERT_EQ(Controls.InvalidateRect(Control(), &rect), S_OK);
    EXPECT_EQ(corner_when_painted & 0x00FFFFFFu, 0x00FF0000u);
}

} // namespace
