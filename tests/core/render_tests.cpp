// Rendering a dirty rectangle through the base class's helper, with GDI standing in for the
// player's drawing, in both modes; and the outline drawn for updated rectangles.
#include "recording_driver.h"

#include "support/test_surface.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>

using namespace zn;
using namespace zn::test;

namespace {

constexpr int kWidth = 12;
constexpr int kHeight = 10;
constexpr std::uint32_t kBackground = 0xFF0000FFu; // opaque blue

// A stand-in for the player: paints the whole device context, so anything outside the clip
// rectangle shows where clipping failed.
struct TGdiPlayer {
    std::vector<TRect> Calls;
    std::vector<HDC> DCs;
    COLORREF Colour = RGB(0, 255, 0);
    BYTE Opacity = 255;
    std::function<void()> WhileDrawing;

    void Draw(HDC DC, const TRect& ARect)
    {
        Calls.push_back(ARect);
        DCs.push_back(DC);
        if (Opacity == 255) {
            const TGdiObject brush(CreateSolidBrush(Colour));
            const RECT all{0, 0, kWidth, kHeight};
            FillRect(DC, &all, static_cast<HBRUSH>(brush.get()));
        } else {
            CompositeTranslucent(DC);
        }
        if (WhileDrawing)
            WhileDrawing();
    }

    // Colour at the given opacity composited with AlphaBlend, as the player composites
    // semi-transparent shapes.
    void CompositeTranslucent(HDC DC)
    {
        const TTestSurface source(1, 1, 0xFF000000u | ColorRef(Colour));
        CompositeOnto(DC, kWidth, kHeight, source, Opacity, false);
    }

    TznDrawPlayerMethod Method() { return TznDrawPlayerMethod::Bind<&TGdiPlayer::Draw>(this); }
};

// The owner's side of the opaque mode: fills the erased rectangle with its background.
struct TBackgroundOwner {
    explicit TBackgroundOwner(TRecordingDriver* ADriver) : Driver(ADriver) {}
    TRecordingDriver* Driver;
    std::vector<TRect> Erased;

    void Erase(TObject* ASender, const TRect& ARect)
    {
        Erased.push_back(ARect);
        FillLongwordRect(Driver->BufferBits(), Driver->Width(), Driver->Height(), ARect.Left,
                         ARect.Top, ARect.Right, ARect.Bottom, Driver->Background());
    }
};

} // namespace

class RenderOpaque : public ::testing::Test {
protected:
    TRecordingDriver driver{kWidth, kHeight, kBackground};
    TBackgroundOwner owner{&driver};
    TGdiPlayer player;

    void SetUp() override
    {
        FillLongwordRect(driver.BufferBits(), kWidth, kHeight, 0, 0, kWidth, kHeight, 0x00777777u);
        driver.SetOnEraseBackground(
            TznEraseBackgroundEvent::Bind<&TBackgroundOwner::Erase>(&owner));
    }
};

TEST_F(RenderOpaque, ErasesThenDrawsClippedToTheRectangle)
{
    const TRect rendered = driver.RenderDirtyRect({2, 3, 6, 7}, player.Method());
    EXPECT_EQ(rendered, (TRect{2, 3, 6, 7}));
    EXPECT_EQ(owner.Erased, (std::vector<TRect>{{2, 3, 6, 7}}));
    ASSERT_EQ(player.Calls, (std::vector<TRect>{{2, 3, 6, 7}}));
    EXPECT_EQ(player.DCs[0], driver.BufferDC());

    GdiFlush();
    // GDI leaves the alpha byte of what it paints at 0.
    EXPECT_EQ(driver.Pixel(2, 3) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(driver.Pixel(5, 6) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(driver.Pixel(6, 6), 0x00777777u);
    EXPECT_EQ(driver.Pixel(5, 7), 0x00777777u);
    EXPECT_EQ(driver.Pixel(1, 3), 0x00777777u);
}

TEST_F(RenderOpaque, RestoresTheDeviceContextAfterDrawing)
{
    driver.RenderDirtyRect({0, 0, 2, 2}, player.Method());
    // Without the clip the player set up, painting reaches the whole buffer again.
    const TGdiObject brush(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(driver.BufferDC(), &all, static_cast<HBRUSH>(brush.get()));
    GdiFlush();
    EXPECT_EQ(driver.Pixel(kWidth - 1, kHeight - 1) & 0xFFFFFFu, 0xFF0000u);
}

TEST_F(RenderOpaque, ClipsTheRectangleToTheBufferOnEverySide)
{
    const TRect rendered = driver.RenderDirtyRect({-4, -2, 50, 3}, player.Method());
    EXPECT_EQ(rendered, (TRect{0, 0, kWidth, 3}));
    EXPECT_EQ(owner.Erased, (std::vector<TRect>{{0, 0, kWidth, 3}}));
    GdiFlush();
    EXPECT_EQ(driver.Pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(driver.Pixel(0, 3), 0x00777777u);
}

TEST_F(RenderOpaque, EmptyOrOutsideRectangleDrawsNothing)
{
    EXPECT_TRUE(driver.RenderDirtyRect({20, 20, 30, 30}, player.Method()).IsEmpty());
    EXPECT_TRUE(driver.RenderDirtyRect({4, 4, 4, 9}, player.Method()).IsEmpty());
    EXPECT_TRUE(player.Calls.empty());
    EXPECT_TRUE(owner.Erased.empty());
}

TEST_F(RenderOpaque, WithoutABufferNothingIsDrawn)
{
    driver.FreeBuffer();
    const TRect rendered = driver.RenderDirtyRect({0, 0, 4, 4}, player.Method());
    EXPECT_EQ(rendered, (TRect{0, 0, 4, 4}));
    EXPECT_TRUE(player.Calls.empty());
    EXPECT_TRUE(owner.Erased.empty());
}

TEST_F(RenderOpaque, ResizeFromInsideTheEraseEndsTheRendering)
{
    struct TResizingOwner {
        TRecordingDriver* Driver;
        int Erases = 0;
        void Erase(TObject*, const TRect&)
        {
            if (++Erases == 1)
                Driver->Resize(4, 4);
        }
    } resizer{&driver};
    driver.SetOnEraseBackground(TznEraseBackgroundEvent::Bind<&TResizingOwner::Erase>(&resizer));
    const TRect rendered = driver.RenderDirtyRect({2, 2, 10, 10}, player.Method());
    // The erase of the rectangle, then the erase of the recreated buffer from inside it.
    EXPECT_EQ(resizer.Erases, 2);
    EXPECT_TRUE(player.Calls.empty());
    EXPECT_EQ(rendered, (TRect{2, 2, 4, 4}));
}

class RenderTransparent : public ::testing::Test {
protected:
    TRecordingDriver driver{kWidth, kHeight, 0x00000000u};
    TCallbackLog log;
    TGdiPlayer player;

    void SetUp() override
    {
        ASSERT_TRUE(driver.Transparent());
        FillLongwordRect(driver.BufferBits(), kWidth, kHeight, 0, 0, kWidth, kHeight, 0x00777777u);
        driver.SetOnEraseBackground(log.EraseEvent());
    }
};

TEST_F(RenderTransparent, DrawsOverBlackAndWhiteAndRecoversPremultipliedAlpha)
{
    player.Colour = RGB(255, 0, 0);
    player.Opacity = 0x80;
    const TRect rendered = driver.RenderDirtyRect({1, 1, 5, 4}, player.Method());
    EXPECT_EQ(rendered, (TRect{1, 1, 5, 4}));
    ASSERT_EQ(player.DCs, (std::vector<HDC>{driver.BufferDC(), driver.SecondBufferDC()}));
    EXPECT_TRUE(log.Entries.empty()) << "transparent mode erases nothing";

    const TznColorRec pixel = TznColorRec::FromColor(driver.Pixel(1, 1));
    EXPECT_NEAR(pixel.A, 0x80, 1);
    EXPECT_NEAR(pixel.R, 0x80, 1);
    EXPECT_EQ(pixel.G, 0);
    EXPECT_EQ(pixel.B, 0);
    EXPECT_EQ(driver.Pixel(4, 3), driver.Pixel(1, 1));
    EXPECT_EQ(driver.Pixel(5, 3), 0x00777777u);
    EXPECT_EQ(driver.Pixel(0, 0), 0x00777777u);
}

TEST_F(RenderTransparent, OpaqueContentKeepsItsColourAndUntouchedPixelsVanish)
{
    struct TPartialPlayer {
        void Draw(HDC DC, const TRect&)
        {
            const TGdiObject brush(CreateSolidBrush(RGB(0, 0, 255)));
            const RECT left{0, 0, 3, kHeight};
            FillRect(DC, &left, static_cast<HBRUSH>(brush.get()));
        }
    } partial;
    driver.RenderDirtyRect({0, 0, 6, 2},
                           TznDrawPlayerMethod::Bind<&TPartialPlayer::Draw>(&partial));
    EXPECT_EQ(driver.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(driver.Pixel(2, 1), 0xFF0000FFu);
    EXPECT_EQ(driver.Pixel(3, 0), 0x00000000u);
    EXPECT_EQ(driver.Pixel(5, 1), 0x00000000u);
    EXPECT_EQ(driver.Pixel(0, 2), 0x00777777u);
}

TEST_F(RenderTransparent, ResizeFromInsideTheFirstDrawEndsTheRendering)
{
    player.WhileDrawing = [&] {
        player.WhileDrawing = nullptr;
        driver.Resize(3, 3);
    };
    const TRect rendered = driver.RenderDirtyRect({0, 0, kWidth, kHeight}, player.Method());
    EXPECT_EQ(player.Calls.size(), 1u);
    EXPECT_EQ(rendered, (TRect{0, 0, 3, 3}));
    EXPECT_TRUE(driver.Transparent());
}

TEST(DrawUpdateRect, OutlinesTheRectangleInRedOnTheFirstBufferOnly)
{
    TRecordingDriver driver(kWidth, kHeight, 0);
    FillLongwordRect(driver.BufferBits(), kWidth, kHeight, 0, 0, kWidth, kHeight, 0);
    FillLongwordRect(driver.SecondBufferBits(), kWidth, kHeight, 0, 0, kWidth, kHeight, 0);

    driver.DrawUpdateRect({2, 2, 6, 5});
    EXPECT_EQ(driver.Pixel(2, 2), 0u) << "nothing drawn while ShowUpdateRects is off";

    driver.SetShowUpdateRects(true);
    driver.DrawUpdateRect({2, 2, 6, 5});
    for (auto [x, y] : {std::pair{2, 2}, {5, 2}, {2, 4}, {5, 4}, {3, 2}, {2, 3}})
        EXPECT_EQ(driver.Pixel(x, y) & 0xFFFFFFu, 0xFF0000u) << x << ", " << y;
    for (auto [x, y] : {std::pair{3, 3}, {4, 3}, {6, 2}, {2, 5}, {1, 1}})
        EXPECT_EQ(driver.Pixel(x, y), 0u) << x << ", " << y;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(driver.SecondPixel(x, y), 0u);
}

// Callbacks that end the driver's life or start another rendering while one runs.
class RenderReentered : public ::testing::Test {
protected:
    TGdiPlayer player;
};

TEST_F(RenderReentered, AnEraseHandlerThatFreesTheDriverEndsTheRendering)
{
    auto* driver = new TRecordingDriver(kWidth, kHeight, kBackground);
    struct TFreeingOwner {
        TRecordingDriver* Driver;
        void Erase(TObject*, const TRect&) { delete Driver; }
    } owner{driver};
    driver->SetOnEraseBackground(TznEraseBackgroundEvent::Bind<&TFreeingOwner::Erase>(&owner));
    EXPECT_TRUE(driver->RenderDirtyRect({0, 0, 4, 4}, player.Method()).IsEmpty());
    EXPECT_TRUE(player.Calls.empty());
}

TEST_F(RenderReentered, APlayerCallOutThatFreesTheDriverEndsTheRendering)
{
    auto* driver = new TRecordingDriver(kWidth, kHeight, 0);
    player.WhileDrawing = [&] { delete driver; };
    EXPECT_TRUE(driver->RenderDirtyRect({0, 0, 4, 4}, player.Method()).IsEmpty());
    EXPECT_EQ(player.Calls.size(), 1u);
}

TEST_F(RenderReentered, ARenderingAskedForWhileOneRunsWaitsForIt)
{
    TRecordingDriver driver(kWidth, kHeight, 0);
    std::vector<TRect> nested;
    bool nesting = false;
    player.WhileDrawing = [&] {
        if (std::exchange(nesting, true))
            return;
        nested.push_back(driver.RenderDirtyRect({5, 5, 7, 6}, player.Method()));
        nested.push_back(driver.RenderDirtyRect({8, 1, 9, 2}, player.Method()));
    };
    EXPECT_EQ(driver.RenderDirtyRect({0, 0, 4, 4}, player.Method()), (TRect{0, 0, 4, 4}));
    // Both passes of the outer rendering drew, and nothing else did.
    EXPECT_EQ(player.Calls, (std::vector<TRect>{{0, 0, 4, 4}, {0, 0, 4, 4}}));
    EXPECT_EQ(nested, (std::vector<TRect>{{}, {}}));
    EXPECT_EQ(driver.TakeDeferredRect(), (TRect{5, 1, 9, 6}));
    EXPECT_TRUE(driver.TakeDeferredRect().IsEmpty());
}
