// Writer to reader: every tag the writer makes comes back as it was written, compressed or
// not, whole or in pieces.
#include <gtest/gtest.h>

#include "sample_movies.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_reader.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

constexpr int T = TwipsPerPixel;

Shape TwoStyleShape()
{
    ShapeBuilder builder;
    uint32_t fill = builder.AddFill({10, 20, 30, 255});
    uint32_t line = builder.AddLine(40, {200, 100, 50, 255});
    builder.Styles(0, fill, line).MoveTo(100, 100).LineTo(900, 100).CurveTo(1200, 500, 900, 900);
    builder.LineTo(100, 900).LineTo(100, 100);
    builder.MoveTo(-300, -7).LineTo(-300, 77); // vertical and negative coordinates
    return builder.Build(7);
}

struct RoundTrip : testing::Test {
    std::shared_ptr<const Movie> WriteAndRead(const MovieWriter& writer, bool compressed = false)
    {
        bytes = writer.Finish(compressed);
        auto movie = ReadMovie(bytes);
        EXPECT_TRUE(movie);
        return movie;
    }
    std::vector<uint8_t> bytes;
};

TEST_F(RoundTrip, HeaderAndBackgroundComeBack)
{
    MovieWriter writer(550, 400, 24.5, 9);
    writer.SetBackgroundColor({1, 2, 3, 255}).ShowFrame().ShowFrame();
    auto movie = WriteAndRead(writer);
    EXPECT_EQ(movie->header.version, 9);
    EXPECT_EQ(movie->header.stage, (TwipsRect{0, 550 * T, 0, 400 * T}));
    EXPECT_EQ(movie->header.frameRate, static_cast<uint16_t>(24.5 * 256));
    EXPECT_EQ(movie->header.declaredFrameCount, 2);
    EXPECT_EQ(movie->header.declaredLength, bytes.size());
    EXPECT_EQ(movie->background, (Rgba{1, 2, 3, 255}));
    EXPECT_EQ(movie->frames.size(), 2u);
    EXPECT_TRUE(movie->complete);
}

TEST_F(RoundTrip, HeaderBytesMatchTheFormat)
{
    // A 550 x 400 stage is the well-known RECT 78 00 05 5F 00 00 0F A0 00 (15-bit fields).
    MovieWriter writer(550, 400, 12, 6);
    bytes = writer.Finish();
    std::vector<uint8_t> expected = {'F',  'W',  'S',  6,    static_cast<uint8_t>(bytes.size()),
                                     0,    0,    0,    0x78, 0x00,
                                     0x05, 0x5F, 0x00, 0x00, 0x0F,
                                     0xA0, 0x00, 0x00, 0x0C, 0x00,
                                     0x00, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);
}

TEST_F(RoundTrip, ShapesOfEveryVersionKeepStylesAndRecords)
{
    Shape opaque = TwoStyleShape();
    ShapeBuilder translucent;
    translucent.Ellipse(0, 0, 400, 300, translucent.AddFill({255, 0, 0, 128}));
    Shape alpha = translucent.Build(8);
    ShapeBuilder many;
    for (int i = 0; i < 300; ++i)
        many.AddFill({static_cast<uint8_t>(i), 0, 0, 255});
    many.Rectangle(0, 0, 100, 100, 299);
    Shape wide = many.Build(9);
    ASSERT_EQ(opaque.version, 1);
    ASSERT_EQ(alpha.version, 3);
    ASSERT_EQ(wide.version, 2);

    MovieWriter writer(100, 100, 12);
    writer.DefineShape(opaque).DefineShape(alpha).DefineShape(wide).ShowFrame();
    auto movie = WriteAndRead(writer);
    for (const Shape* written : {&opaque, &alpha, &wide}) {
        SCOPED_TRACE(written->id);
        ASSERT_TRUE(movie->shapes.contains(written->id));
        const Shape& read = *movie->shapes.at(written->id);
        EXPECT_EQ(read.version, written->version);
        EXPECT_EQ(read.bounds, written->bounds);
        EXPECT_EQ(read.styles, written->styles);
        EXPECT_EQ(read.records, written->records);
        EXPECT_EQ(read.edgeBounds, written->edgeBounds);
    }
}

TEST_F(RoundTrip, NewStylesInsideAShapeComeBack)
{
    Shape shape = TwoStyleShape();
    shape.version = 2;
    ShapeRecord change;
    change.kind = ShapeRecord::Kind::StyleChange;
    change.newStyles = StyleTables{{{FillStyle::Kind::Solid, {9, 9, 9, 255}}}, {}};
    change.fill1 = 1;
    change.hasMove = true;
    change.moveX = 5;
    change.moveY = 6;
    shape.records.push_back(change);
    ShapeRecord edge;
    edge.anchorX = 50;
    edge.anchorY = -50;
    shape.records.push_back(edge);
    MovieWriter writer(100, 100, 12);
    writer.DefineShape(shape).ShowFrame();
    auto movie = WriteAndRead(writer);
    ASSERT_TRUE(movie->shapes.contains(7));
    EXPECT_EQ(movie->shapes.at(7)->records, shape.records);
}

TEST_F(RoundTrip, PlacementsRemovalsLabelsAndActionsComeBack)
{
    PlaceCommand full;
    full.depth = 3;
    full.character = 7;
    full.matrix = Matrix{-65536 * 2, 32768, 1000, -1000, -12345, 67890};
    full.colorTransform = ColorTransform{256, 128, 0, 64, -255, 0, 255, -10};
    full.ratio = 17;
    full.name = "circle";
    PlaceCommand move;
    move.depth = 3;
    move.move = true;
    move.matrix = TranslateMatrix(20, 40);
    PlaceCommand first;
    first.version = 1;
    first.depth = 4;
    first.character = 7;
    first.matrix = ScaleTranslateMatrix(0.5, 3, 1, 2);
    first.colorTransform = ColorTransform{100, 200, 300, 256, 1, 2, 3, 0};
    std::vector<uint8_t> actions = ActionAssembler().Stop().FSCommand("a", "b").Assemble();

    MovieWriter writer(100, 100, 12);
    writer.DefineShape(TwoStyleShape())
        .FrameLabel("one")
        .Place(full)
        .Place(first)
        .DoAction(actions)
        .ShowFrame();
    writer.Place(move).Remove({1, 4, 7}).ShowFrame();
    writer.RemoveObject(3).FrameLabel("three").ShowFrame();
    auto movie = WriteAndRead(writer, true);
    ASSERT_EQ(movie->frames.size(), 3u);
    const Frame& one = movie->frames[0];
    EXPECT_EQ(one.label, "one");
    ASSERT_EQ(one.commands.size(), 2u);
    EXPECT_EQ(std::get<PlaceCommand>(one.commands[0]), full);
    EXPECT_EQ(std::get<PlaceCommand>(one.commands[1]), first);
    ASSERT_EQ(one.actions.size(), 1u);
    EXPECT_EQ(*one.actions[0], actions);
    ASSERT_EQ(movie->frames[1].commands.size(), 2u);
    EXPECT_EQ(std::get<PlaceCommand>(movie->frames[1].commands[0]), move);
    EXPECT_EQ(std::get<RemoveCommand>(movie->frames[1].commands[1]), (RemoveCommand{1, 4, 7}));
    EXPECT_EQ(std::get<RemoveCommand>(movie->frames[2].commands[0]), (RemoveCommand{2, 3, 0}));
    EXPECT_EQ(movie->frames[2].label, "three");
}

TEST_F(RoundTrip, UnknownTagsAreSkippedByTheirLength)
{
    MovieWriter writer(100, 100, 12);
    writer.RawTag(777, std::vector<uint8_t>(100, 0xFF))
        .RawTag(56, {1, 2})
        .FrameLabel("after")
        .ShowFrame();
    auto movie = WriteAndRead(writer);
    ASSERT_EQ(movie->frames.size(), 1u);
    EXPECT_EQ(movie->frames[0].label, "after");
    EXPECT_EQ(movie->skippedTags, (std::vector<uint16_t>{777, 56}));
}

TEST_F(RoundTrip, CompressedAndPlainSampleReadTheSame)
{
    auto plain = ReadMovie(samples::SampleMovie(false));
    auto packed = ReadMovie(samples::SampleMovie(true));
    ASSERT_TRUE(plain && packed);
    EXPECT_TRUE(packed->header.compressed);
    EXPECT_FALSE(plain->header.compressed);
    EXPECT_EQ(packed->frames.size(), plain->frames.size());
    EXPECT_EQ(packed->shapes.size(), plain->shapes.size());
    for (size_t i = 0; i < plain->frames.size(); ++i) {
        EXPECT_EQ(packed->frames[i].commands, plain->frames[i].commands);
        EXPECT_EQ(packed->frames[i].label, plain->frames[i].label);
    }
}

TEST_F(RoundTrip, ReadingInPiecesShowsFramesAsTheyArrive)
{
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        std::vector<uint8_t> sample = samples::SampleMovie(compressed);
        MovieReader reader;
        size_t seen_frames = 0;
        bool grew_before_the_end = false;
        for (size_t i = 0; i < sample.size(); i += 7) {
            reader.Append(std::span(sample).subspan(i, std::min<size_t>(7, sample.size() - i)));
            if (auto movie = reader.GetMovie()) {
                EXPECT_GE(movie->frames.size(), seen_frames);
                if (movie->frames.size() > seen_frames && i + 7 < sample.size())
                    grew_before_the_end = true;
                seen_frames = movie->frames.size();
            }
        }
        reader.Finish();
        EXPECT_TRUE(grew_before_the_end);
        EXPECT_EQ(reader.GetState(), MovieReader::State::Complete);
        EXPECT_EQ(reader.GetMovie()->frames.size(), static_cast<size_t>(samples::SampleFrames));
    }
}

TEST_F(RoundTrip, AssemblerResolvesBranchesBothWays)
{
    ActionAssembler code;
    auto back = code.NewLabel(), ahead = code.NewLabel();
    code.Bind(back).Push({true}).If(ahead).Jump(back).Bind(ahead).Stop();
    std::vector<uint8_t> bytes = code.Bytes();
    // Push true, If +5 (over the Jump), Jump -15 (back to the Push), Stop.
    std::vector<uint8_t> expected = {0x96, 2, 0,    5, 1, 0x9D, 2,    0,
                                     5,    0, 0x99, 2, 0, 0xF1, 0xFF, 0x07};
    EXPECT_EQ(bytes, expected);
}

} // namespace
} // namespace zn::swf
