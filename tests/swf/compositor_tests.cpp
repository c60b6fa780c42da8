// Compositing onto a real memory device context: AlphaBlend of the premultiplied frame, inside
// the context's clip, with or without the movie's background.
#include <gtest/gtest.h>
#include <windows.h>

#include "sample_movies.h"
#include "test_support.h"
#include "znswf/compositor.h"

namespace zn::swf {
namespace {

constexpr int W = samples::SampleWidth, H = samples::SampleHeight;

// A top-down 32-bit DIB section selected into a memory context, filled with one colour.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, uint32_t fill) : width_(width)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        std::fill_n(bits_, width * height, fill);
    }
    ~MemoryCanvas()
    {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Context() const { return dc_; }
    test::Color At(int x, int y) const
    {
        GdiFlush();
        uint32_t p = bits_[y * width_ + x];
        return {PixelRed(p), PixelGreen(p), PixelBlue(p), PixelAlpha(p)};
    }
    uint32_t Raw(int x, int y) const
    {
        GdiFlush();
        return bits_[y * width_ + x];
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t* bits_ = nullptr;
};

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
    MemoryCanvas white(W, H, 0xFFFFFFFF), black(W, H, 0xFF000000);
    RECT view{0, 0, W, H};
    ASSERT_TRUE(compositor.Paint(player, white.Context(), view, false));
    ASSERT_TRUE(compositor.Paint(player, black.Context(), view, false));
    EXPECT_TRUE(RgbNear(white.At(25, 120), 255, 127, 127)) << test::Describe(white.At(25, 120));
    EXPECT_TRUE(RgbNear(black.At(25, 120), 128, 0, 0)) << test::Describe(black.At(25, 120));
    EXPECT_TRUE(RgbNear(white.At(150, 100), 0, 180, 0));
    EXPECT_TRUE(RgbNear(black.At(150, 100), 0, 180, 0));
    EXPECT_EQ(white.Raw(5, 5), 0xFFFFFFFFu); // untouched where the movie is empty
}

TEST_F(Compositing, OpaqueWindowsGetTheBackgroundColour)
{
    MemoryCanvas canvas(W, H, 0xFFFFFFFF);
    ASSERT_TRUE(compositor.Paint(player, canvas.Context(), RECT{0, 0, W, H}, true));
    EXPECT_TRUE(RgbNear(canvas.At(5, 5), 0x20, 0x30, 0x60)) << test::Describe(canvas.At(5, 5));
    EXPECT_TRUE(RgbNear(canvas.At(25, 120), 144, 24, 48)) << test::Describe(canvas.At(25, 120));
}

TEST_F(Compositing, OnlyTheCurrentClipIsPainted)
{
    MemoryCanvas canvas(W, H, 0xFFFFFFFF);
    HRGN clip = CreateRectRgn(100, 100, 120, 110);
    SelectClipRgn(canvas.Context(), clip);
    DeleteObject(clip);
    ASSERT_TRUE(compositor.Paint(player, canvas.Context(), RECT{0, 0, W, H}, true));
    EXPECT_TRUE(RgbNear(canvas.At(110, 105), 0, 180, 0));
    EXPECT_EQ(canvas.Raw(99, 105), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.Raw(120, 105), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.Raw(110, 110), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.Raw(5, 5), 0xFFFFFFFFu);
}

TEST_F(Compositing, TheViewMayLieAnywhereInTheContext)
{
    MemoryCanvas canvas(W + 40, H + 40, 0xFF000000);
    RECT view{10, 20, 10 + W, 20 + H};
    ASSERT_TRUE(compositor.Paint(player, canvas.Context(), view, true));
    EXPECT_TRUE(RgbNear(canvas.At(5, 5), 0, 0, 0));
    EXPECT_TRUE(RgbNear(canvas.At(15, 25), 0x20, 0x30, 0x60));
    EXPECT_TRUE(RgbNear(canvas.At(10 + 150, 20 + 100), 0, 180, 0));
    // The same compositor paints a smaller area again with its buffer.
    MemoryCanvas small(50, 50, 0xFFFFFFFF);
    ASSERT_TRUE(
        compositor.Paint(player, small.Context(), RECT{-190, -100, -190 + W, -100 + H}, false));
    EXPECT_TRUE(RgbNear(small.At(5, 5), 0, 180, 0))
        << test::Describe(small.At(5, 5)); // the square's right end
    EXPECT_TRUE(RgbNear(small.At(20, 5), 255, 255, 255)) << test::Describe(small.At(20, 5));
}

TEST_F(Compositing, ANullContextIsRefused)
{
    EXPECT_FALSE(compositor.Paint(player, nullptr, RECT{0, 0, W, H}, false));
}

} // namespace
} // namespace zn::swf
