// Alpha recovered from a rendering over black and one over white: the rule over every pair of
// red values, the rectangle walk, and real GDI renderings of semi-transparent colour.
#include "zintara/core/alpha.h"
#include "support/test_surface.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

// The rule, spelled out independently of the library: the coverage is 255 minus the lift of red
// from black to white (modulo 256); no coverage gives the pixel 0, otherwise the colour drawn
// over black stays, each channel capped at the coverage.
std::uint32_t Expected(std::uint32_t overBlack, std::uint32_t overWhite)
{
    const TznColorRec b = TznColorRec::FromColor(overBlack);
    const TznColorRec w = TznColorRec::FromColor(overWhite);
    const int a = 255 - ((int(w.R) - int(b.R) + 256) % 256);
    if (a == 0)
        return 0;
    TznColorRec result{std::uint8_t(std::min<int>(b.B, a)), std::uint8_t(std::min<int>(b.G, a)),
                       std::uint8_t(std::min<int>(b.R, a)), std::uint8_t(a)};
    return result.Color();
}

// A pixel drawn over black with the given red; green, blue and the alpha byte the player left
// vary with the pair so that every channel meets the cap both below and above it.
std::uint32_t OverBlack(int blackRed, int whiteRed)
{
    const int green = (blackRed * 7 + whiteRed * 3) & 0xFF;
    const int blue = (255 - blackRed + whiteRed * 5) & 0xFF;
    const int left_alpha = (blackRed ^ whiteRed) & 0xFF;
    return TznColorRec{std::uint8_t(blue), std::uint8_t(green), std::uint8_t(blackRed),
                       std::uint8_t(left_alpha)}
        .Color();
}

std::uint32_t OverWhite(int blackRed, int whiteRed)
{
    return TznColorRec{0xFF, 0xFF, std::uint8_t(whiteRed), 0}.Color();
}

} // namespace

TEST(AlphaRecoveryRule, EveryPairOfRedValuesPixelByPixel)
{
    for (int black_red = 0; black_red < 256; ++black_red)
        for (int white_red = 0; white_red < 256; ++white_red) {
            const std::uint32_t b = OverBlack(black_red, white_red);
            const std::uint32_t w = OverWhite(black_red, white_red);
            ASSERT_EQ(RecoverAlphaPixel(b, w), Expected(b, w))
                << "red over black " << black_red << ", over white " << white_red;
        }
}

TEST(AlphaRecoveryRule, EveryPairOfRedValuesThroughTheRectanglePass)
{
    // Row = red over white, column = red over black; the rectangle starts at an odd column and
    // ends before the last, so whole groups and leftover pixels of each row are both exercised.
    const int width = 259;
    std::vector<std::uint32_t> black(width * 256), white(width * 256);
    for (int white_red = 0; white_red < 256; ++white_red)
        for (int column = 0; column < width; ++column) {
            const int black_red = (column + 255) % 256;
            black[white_red * width + column] = OverBlack(black_red, white_red);
            white[white_red * width + column] = OverWhite(black_red, white_red);
        }
    const std::vector<std::uint32_t> drawn = black;
    const std::vector<std::uint32_t> white_before = white;
    RecoverAlpha(black.data(), white.data(), width, 256, {1, 0, 258, 256});

    for (int row = 0; row < 256; ++row)
        for (int column = 0; column < width; ++column) {
            const int i = row * width + column;
            const bool inside = column >= 1 && column < 258;
            ASSERT_EQ(black[i], inside ? Expected(drawn[i], white[i]) : drawn[i])
                << "row " << row << ", column " << column;
        }
    EXPECT_EQ(white, white_before);
}

TEST(AlphaRecoveryRule, RectangleOfWholeRowsCoversThoseRowsOnly)
{
    // Whole rows are one run through the row kernel; it must start at the first row asked for
    // and stop at the last, with widths that leave part groups of pixels.
    for (int width : {5, 8, 13}) {
        std::vector<std::uint32_t> black(width * 4), white(width * 4, 0xFFFFFFFFu);
        for (std::size_t i = 0; i < black.size(); ++i)
            black[i] = OverBlack(int(i * 37 % 256), 255);
        const std::vector<std::uint32_t> drawn = black;
        RecoverAlpha(black.data(), white.data(), width, 4, {-2, 1, width + 5, 3});
        for (int i = 0; i < width * 4; ++i) {
            const bool inside = i >= width && i < 3 * width;
            ASSERT_EQ(black[i], inside ? Expected(drawn[i], white[i]) : drawn[i])
                << "width " << width << ", pixel " << i;
        }
    }
}

TEST(AlphaRecoveryRule, KnownPixels)
{
    // Left untouched by the player: black in the first pass, white in the second.
    EXPECT_EQ(RecoverAlphaPixel(0xFF000000u, 0xFFFFFFFFu), 0u);
    // Opaque red drawn identically over both.
    EXPECT_EQ(RecoverAlphaPixel(0xFFFF0000u, 0xFFFF0000u), 0xFFFF0000u);
    // Half-covered red: coverage 0x7F, and red keeps its premultiplied 0x40.
    EXPECT_EQ(RecoverAlphaPixel(0xFF400000u, 0xFFC0FFFFu), 0x7F400000u);
}

TEST(AlphaRecoveryRule, RectangleOutsideTheBuffersTouchesNothing)
{
    std::vector<std::uint32_t> black(16, 0xFF102030u), white(16, 0xFFFFFFFFu);
    RecoverAlpha(black.data(), white.data(), 4, 4, {-8, -8, -1, 9});
    RecoverAlpha(black.data(), white.data(), 4, 4, {4, 0, 9, 4});
    RecoverAlpha(nullptr, white.data(), 4, 4, {0, 0, 4, 4});
    EXPECT_EQ(black, std::vector<std::uint32_t>(16, 0xFF102030u));

    RecoverAlpha(black.data(), white.data(), 4, 4, {-8, 3, 1, 99});
    EXPECT_EQ(black[12], RecoverAlphaPixel(0xFF102030u, 0xFFFFFFFFu));
    EXPECT_EQ(black[13], 0xFF102030u);
    EXPECT_EQ(black[11], 0xFF102030u);
}

// Semi-transparent colour composited by GDI itself onto a black and a white DIB section, the way
// the player composites its content over whatever the buffer holds.
class AlphaRecoveryFromGdi : public ::testing::Test {
protected:
    static constexpr int kSize = 16;

    TTestSurface content{kSize, kSize};
    TTestSurface black{kSize, kSize, 0xFF000000u};
    TTestSurface white{kSize, kSize, 0xFFFFFFFFu};

    void CompositeAndRecover(BYTE opacity, bool perPixelAlpha)
    {
        CompositeOnto(black.DC(), kSize, kSize, content, opacity, perPixelAlpha);
        CompositeOnto(white.DC(), kSize, kSize, content, opacity, perPixelAlpha);
        RecoverAlpha(black.Bits(), white.Bits(), kSize, kSize, {0, 0, kSize, kSize});
    }
};

TEST_F(AlphaRecoveryFromGdi, PremultipliedContentComesBackAsDrawn)
{
    // Every coverage from 0 to 255 in steps, with colours at and below the coverage.
    for (int i = 0; i < kSize * kSize; ++i) {
        const int a = i;
        content.Bits()[i] =
            TznColorRec{std::uint8_t(a / 3), std::uint8_t(a / 2), std::uint8_t(a), std::uint8_t(a)}
                .Color();
    }
    CompositeAndRecover(255, true);

    for (int i = 0; i < kSize * kSize; ++i) {
        const std::uint32_t expected = i == 0 ? 0u : content.Bits()[i];
        ASSERT_EQ(black.Bits()[i], expected) << "coverage " << i;
    }
}

TEST_F(AlphaRecoveryFromGdi, HalfOpaqueColourIsPremultipliedOnce)
{
    // Opaque colours composited at opacity 0x80: the buffer must hold colour * 0x80 / 255, not
    // that value scaled by the coverage a second time.
    const std::uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF808040u};
    for (int i = 0; i < kSize * kSize; ++i)
        content.Bits()[i] = colours[i % 4];
    CompositeAndRecover(0x80, false);

    for (int i = 0; i < 4; ++i) {
        const TznColorRec drawn = TznColorRec::FromColor(colours[i]);
        const TznColorRec result = TznColorRec::FromColor(black.Bits()[i]);
        EXPECT_NEAR(result.A, 0x80, 1) << "colour " << i;
        EXPECT_NEAR(result.R, drawn.R * 0x80 / 255.0, 1) << "colour " << i;
        EXPECT_NEAR(result.G, drawn.G * 0x80 / 255.0, 1) << "colour " << i;
        EXPECT_NEAR(result.B, drawn.B * 0x80 / 255.0, 1) << "colour " << i;
        EXPECT_LE(std::max({result.R, result.G, result.B}), result.A) << "colour " << i;
    }
}
