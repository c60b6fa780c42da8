// Rendered pixels: shapes, colours, alpha and anti-aliasing of real renderings, over black
// and over white, at other sizes and in parts. The renderings are also written as PNG files
// beside the test executable for a person to look at.
#include <gtest/gtest.h>

#include <random>

#include "sample_movies.h"
#include "test_support.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using test::Color;
using test::ColorAt;
using test::Near;
using test::RecordingHost;

constexpr int T = TwipsPerPixel;
constexpr int W = samples::SampleWidth, H = samples::SampleHeight;

#define EXPECT_COLOR(image, x, y, ...)                                                             \
    EXPECT_PRED3(Near, ColorAt(image, x, y), (Color{__VA_ARGS__}), 2)                              \
        << "at " << (x) << "," << (y) << ": " << test::Describe(ColorAt(image, x, y))

struct SampleRendering : testing::Test {
    void SetUp() override { player.Load(samples::SampleMovie()); }
    RecordingHost host;
    MoviePlayer player{host};
};

TEST_F(SampleRendering, OpaqueWindowShowsBackgroundSquareAndTranslucentCircle)
{
    Image image = test::RenderView(player, W, H, true);
    test::WritePng("sample_opaque.png", image);
    EXPECT_COLOR(image, 5, 5, 0x20, 0x30, 0x60, 255);
    EXPECT_COLOR(image, 150, 100, 0, 180, 0, 255);
    EXPECT_COLOR(image, 60, 120, 128, 90, 0, 255);  // red at half alpha over green
    EXPECT_COLOR(image, 25, 120, 144, 24, 48, 255); // red at half alpha over the background
}

TEST_F(SampleRendering, TransparentWindowLooksDifferentOverBlackAndWhite)
{
    Image image = test::RenderView(player, W, H, false);
    Image over_black = test::Over(image, {0, 0, 0, 255});
    Image over_white = test::Over(image, {255, 255, 255, 255});
    test::WritePng("sample_transparent.png", image);
    test::WritePng("sample_over_white.png", over_white);
    EXPECT_COLOR(image, 5, 5, 0, 0, 0, 0);
    EXPECT_COLOR(image, 25, 120, 128, 0, 0, 128); // premultiplied
    EXPECT_COLOR(over_black, 25, 120, 128, 0, 0, 255);
    EXPECT_COLOR(over_white, 25, 120, 255, 127, 127, 255);
    EXPECT_COLOR(over_black, 150, 100, 0, 180, 0, 255); // opaque parts agree
    EXPECT_COLOR(over_white, 150, 100, 0, 180, 0, 255);
    // The alpha a host recovers from the two renderings is the movie's own.
    Color black = ColorAt(over_black, 25, 120), white = ColorAt(over_white, 25, 120);
    EXPECT_NEAR(255 - (white.green - black.green), 128, 2);
}

TEST_F(SampleRendering, TheCircleMovesWithTheFrames)
{
    player.GotoFrame(7);
    Image image = test::RenderView(player, W, H, false);
    int x = samples::SampleCircleX(7);
    EXPECT_COLOR(image, x, samples::SampleCircleY, 128, 0, 0, 128); // now right of the square
    EXPECT_COLOR(image, 25, 120, 0, 0, 0, 0);
}

TEST_F(SampleRendering, StrokesAreDrawnOverTheirFills)
{
    player.GotoFrame(4);
    Image image = test::RenderView(player, W, H, true);
    test::WritePng("sample_frame5.png", image);
    EXPECT_COLOR(image, 265, 140, 255, 220, 0, 255); // inside the triangle
    EXPECT_COLOR(image, 265, 150, 0, 0, 0, 255);     // on its 3-pixel bottom outline
    EXPECT_COLOR(image, 265, 155, 0x20, 0x30, 0x60, 255);
}

TEST_F(SampleRendering, TheStageIsFittedIntoAnyView)
{
    Image doubled = test::RenderView(player, 2 * W, 2 * H, true);
    EXPECT_COLOR(doubled, 300, 200, 0, 180, 0, 255);
    EXPECT_COLOR(doubled, 2 * 25, 2 * 120, 144, 24, 48, 255);
    // A wider view keeps the stage's proportions, centred, with the background either side.
    Image wide = test::RenderView(player, 2 * W, H, false);
    EXPECT_COLOR(wide, W / 2 + 150, 100, 0, 180, 0, 255);
    EXPECT_COLOR(wide, W / 2 - 10, 100, 0, 0, 0, 0);
    Image small = test::RenderView(player, W / 4, H / 4, true);
    EXPECT_COLOR(small, 150 / 4, 100 / 4, 0, 180, 0, 255);
}

TEST_F(SampleRendering, PartsOfTheViewRenderExactlyAsTheWhole)
{
    Image whole = test::RenderView(player, W, H, false);
    Image part(50, 60);
    RenderOptions options;
    options.viewWidth = W;
    options.viewHeight = H;
    options.originX = 30;
    options.originY = 90;
    player.Render(part.View(), options);
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
            ASSERT_EQ(part.At(x, y), whole.At(x + 30, y + 90)) << x << "," << y;
}

TEST_F(SampleRendering, ClipLeavesOtherPixelsAlone)
{
    constexpr uint32_t sentinel = 0x12345678;
    Image image(W, H, sentinel);
    RenderOptions options;
    options.clip = {100, 100, 120, 110};
    player.Render(image.View(), options);
    EXPECT_EQ(image.At(99, 100), sentinel);
    EXPECT_EQ(image.At(120, 105), sentinel);
    EXPECT_EQ(image.At(110, 110), sentinel);
    EXPECT_COLOR(image, 110, 105, 0, 180, 0, 255);
}

TEST(Rendering, EdgesAreAntiAliasedByCoverage)
{
    // A square from 10.5 to 20.5 pixels: the columns and rows it half covers get half alpha.
    MovieWriter writer(40, 40, 12);
    ShapeBuilder square;
    square.Rectangle(10 * T + T / 2, 10 * T + T / 2, 20 * T + T / 2, 20 * T + T / 2,
                     square.AddFill({0, 0, 255, 255}));
    writer.DefineShape(square.Build(1)).PlaceObject(1, 1).ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.Load(writer.Finish());
    Image image = test::RenderView(player, 40, 40, false);
    EXPECT_COLOR(image, 15, 15, 0, 0, 255, 255);
    EXPECT_COLOR(image, 10, 15, 0, 0, 128, 128);
    EXPECT_COLOR(image, 20, 15, 0, 0, 128, 128);
    EXPECT_COLOR(image, 15, 10, 0, 0, 128, 128);
    EXPECT_COLOR(image, 10, 10, 0, 0, 64, 64); // a quarter at the corner
    EXPECT_COLOR(image, 9, 15, 0, 0, 0, 0);
    EXPECT_COLOR(image, 21, 15, 0, 0, 0, 0);
}

TEST(Rendering, PlacementsScaleRotateAndRecolour)
{
    MovieWriter writer(100, 100, 12);
    ShapeBuilder unit;
    unit.Rectangle(0, 0, 10 * T, 10 * T, unit.AddFill({255, 255, 255, 255}));
    writer.DefineShape(unit.Build(1));
    PlaceCommand scaled;
    scaled.depth = 1;
    scaled.character = 1;
    scaled.matrix = ScaleTranslateMatrix(3, 2, 10 * T, 10 * T);         // (10,10)-(40,30)
    scaled.colorTransform = ColorTransform{256, 0, 0, 128, 0, 0, 0, 0}; // red at half alpha
    PlaceCommand rotated;
    rotated.depth = 2;
    rotated.character = 1;
    rotated.matrix = Matrix{0, 0, 65536, -65536, 80 * T, 60 * T}; // a quarter turn: (70,60)-(80,70)
    rotated.colorTransform = ColorTransform{0, 0, 0, 256, 0, 255, 0, 0}; // green
    writer.Place(scaled).Place(rotated).ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.Load(writer.Finish());
    Image image = test::RenderView(player, 100, 100, false);
    test::WritePng("placements.png", image);
    EXPECT_COLOR(image, 35, 25, 128, 0, 0, 128);
    EXPECT_COLOR(image, 45, 25, 0, 0, 0, 0);
    EXPECT_COLOR(image, 35, 35, 0, 0, 0, 0);
    EXPECT_COLOR(image, 75, 65, 0, 255, 0, 255);
    EXPECT_COLOR(image, 85, 65, 0, 0, 0, 0);
    EXPECT_COLOR(image, 75, 55, 0, 0, 0, 0);
}

TEST(Rendering, CoverageAddsUpToTheAreaOfTheShape)
{
    // Random triangles and ellipses: the alpha summed over the image is the shape's area.
    std::mt19937 random(99);
    for (int round = 0; round < 40; ++round) {
        MovieWriter writer(64, 64, 12);
        ShapeBuilder shape;
        uint32_t fill = shape.AddFill({255, 255, 255, 255});
        double area = 0;
        auto coordinate = [&] { return static_cast<int32_t>(4 * T + random() % (56 * T)); };
        if (round % 2) {
            int32_t ax = coordinate(), ay = coordinate(), bx = coordinate(), by = coordinate();
            int32_t cx = coordinate(), cy = coordinate();
            shape.Styles(0, fill, 0).MoveTo(ax, ay).LineTo(bx, by).LineTo(cx, cy).LineTo(ax, ay);
            area = std::abs((double(bx) - ax) * (double(cy) - ay) -
                            (double(cx) - ax) * (double(by) - ay)) /
                   2;
        } else {
            int32_t rx = static_cast<int32_t>(2 * T + random() % (20 * T)),
                    ry = static_cast<int32_t>(2 * T + random() % (20 * T));
            shape.Ellipse(32 * T, 32 * T, rx, ry, fill);
            area = 3.14159265358979 * rx * ry;
        }
        writer.DefineShape(shape.Build(1)).PlaceObject(1, 1).ShowFrame();
        RecordingHost host;
        MoviePlayer player(host);
        player.Load(writer.Finish());
        Image image = test::RenderView(player, 64, 64, false);
        double covered = 0;
        for (uint32_t p : image.Pixels())
            covered += PixelAlpha(p) / 255.0;
        double expected = area / (T * T);
        // Eight arcs lie within 1% of the ellipse; alpha is rounded to 1/255 per pixel.
        EXPECT_NEAR(covered, expected, 0.012 * expected + 0.5) << "round " << round;
    }
}

TEST(Rendering, DeclaredBoundsThatLieDoNotHideTheShape)
{
    MovieWriter writer(100, 100, 12);
    ShapeBuilder builder;
    builder.Rectangle(50 * T, 50 * T, 90 * T, 90 * T, builder.AddFill({255, 255, 255, 255}));
    Shape shape = builder.Build(1);
    shape.bounds = {0, T, 0, T}; // claims to be one pixel at the origin
    writer.DefineShape(shape).ShowFrame().PlaceObject(1, 1).ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.SetViewSize(100, 100);
    player.Load(writer.Finish());
    PixelRect changed = player.Advance();
    EXPECT_LE(changed.left, 50);
    EXPECT_GE(changed.right, 90);
    Image image = test::RenderView(player, 100, 100, false);
    EXPECT_COLOR(image, 70, 70, 255, 255, 255, 255);
}

TEST(Rendering, WithoutAMovieOnlyTheBackgroundIsDrawn)
{
    RecordingHost host;
    MoviePlayer player(host);
    Image transparent = test::RenderView(player, 8, 8, false);
    EXPECT_COLOR(transparent, 3, 3, 0, 0, 0, 0);
    Image opaque = test::RenderView(player, 8, 8, true);
    EXPECT_COLOR(opaque, 3, 3, 255, 255, 255, 255);
}

} // namespace
} // namespace zn::swf
