// Compositing onto a real memory device context: AlphaBlend of the premultiplied frame, inside
// the context's clip, with or without the movie's background.
#include <gtest/gtest.h>
#include <windows.h>

#include "sample_movies.h"
#include "support/dib_surface.h"
#include "test_support.h"
#include "znswf/compositor.h"

namespace zn::swf {
namespace {

constexpr int W = samples::SampleWidth, H = samples::SampleHeight;

using zn::test::TDibSurface;

test::Color ColorAt(const TDibSurface& canvas, int x, int y)
{
    const uint32_t p = canvas.At(x, y);
    return {PixelRed(p), PixelGreen(p), PixelBlue(p), PixelAlpha(p)};
}

bool RgbNear(test::Color a, int red, int green, int blue)
{
    return test::Near({a.red, a.green, a.blue, 0}, {red, green, blue, 0}, 2);
}

struct Compositing : testing::Test {
    void SetUp() override { player.Load(samples::SampleMovie()); }
    test::RecordingHost host;
    MoviePlayer player{host};
    Compositor compositor;
};

TEST_F(Compositing, TransparentMovieBlendsOverWhatIsThere)
{
    TDibSurface white(W, H, 0xFFFFFFFF), black(W, H, 0xFF000000);
    RECT view{0, 0, W, H};
    ASSERT_TRUE(compositor.Paint(player, white.DC(), view, false));
    ASSERT_TRUE(compositor.Paint(player, black.DC(), view, false));
    EXPECT_TRUE(RgbNear(ColorAt(white, 25, 120), 255, 127, 127))
        << test::Describe(ColorAt(white, 25, 120));
    EXPECT_TRUE(RgbNear(ColorAt(black, 25, 120), 128, 0, 0))
        << test::Describe(ColorAt(black, 25, 120));
    EXPECT_TRUE(RgbNear(ColorAt(white, 150, 100), 0, 180, 0));
    EXPECT_TRUE(RgbNear(ColorAt(black, 150, 100), 0, 180, 0));
    EXPECT_EQ(white.At(5, 5), 0xFFFFFFFFu); // untouched where the movie is empty
}

TEST_F(Compositing, OpaqueWindowsGetTheBackgroundColour)
{
    TDibSurface canvas(W, H, 0xFFFFFFFF);
    ASSERT_TRUE(compositor.Paint(player, canvas.DC(), RECT{0, 0, W, H}, true));
    EXPECT_TRUE(RgbNear(ColorAt(canvas, 5, 5), 0x20, 0x30, 0x60))
        << test::Describe(ColorAt(canvas, 5, 5));
    EXPECT_TRUE(RgbNear(ColorAt(canvas, 25, 120), 144, 24, 48))
        << test::Describe(ColorAt(canvas, 25, 120));
}

TEST_F(Compositing, OnlyTheCurrentClipIsPainted)
{
    TDibSurface canvas(W, H, 0xFFFFFFFF);
    HRGN clip = CreateRectRgn(100, 100, 120, 110);
    SelectClipRgn(canvas.DC(), clip);
    DeleteObject(clip);
    ASSERT_TRUE(compositor.Paint(player, canvas.DC(), RECT{0, 0, W, H}, true));
    EXPECT_TRUE(RgbNear(ColorAt(canvas, 110, 105), 0, 180, 0));
    EXPECT_EQ(canvas.At(99, 105), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.At(120, 105), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.At(110, 110), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.At(5, 5), 0xFFFFFFFFu);
}

TEST_F(Compositing, TheViewMayLieAnywhereInTheContext)
{
    TDibSurface canvas(W + 40, H + 40, 0xFF000000);
    RECT view{10, 20, 10 + W, 20 + H};
    ASSERT_TRUE(compositor.Paint(player, canvas.DC(), view, true));
    EXPECT_TRUE(RgbNear(ColorAt(canvas, 5, 5), 0, 0, 0));
    EXPECT_TRUE(RgbNear(ColorAt(canvas, 15, 25), 0x20, 0x30, 0x60));
    EXPECT_TRUE(RgbNear(ColorAt(canvas, 10 + 150, 20 + 100), 0, 180, 0));
    // The same compositor paints a smaller area again with its buffer.
    TDibSurface small(50, 50, 0xFFFFFFFF);
    ASSERT_TRUE(compositor.Paint(player, small.DC(), RECT{-190, -100, -190 + W, -100 + H}, false));
    EXPECT_TRUE(RgbNear(ColorAt(small, 5, 5), 0, 180, 0))
        << test::Describe(ColorAt(small, 5, 5)); // the square's right end
    EXPECT_TRUE(RgbNear(ColorAt(small, 20, 5), 255, 255, 255))
        << test::Describe(ColorAt(small, 20, 5));
}

TEST_F(Compositing, ANullContextIsRefused)
{
    EXPECT_FALSE(compositor.Paint(player, nullptr, RECT{0, 0, W, H}, false));
}

} // namespace
} // namespace zn::swf
