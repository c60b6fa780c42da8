// Bad movies: truncated, lying, mutated, hostile scripts and shapes. The engine shows what it
// could read, keeps its work per frame and per script bounded, and never touches memory
// outside its buffers (premultiplied pixels stay consistent, nothing crashes).
#include <gtest/gtest.h>

#include <zlib.h>

#include <chrono>
#include <random>

#include "sample_movies.h"
#include "test_support.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_reader.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using test::RecordingHost;
using Clock = std::chrono::steady_clock;

constexpr int T = TwipsPerPixel;

bool Premultiplied(const Image& image)
{
    for (uint32_t p : image.Pixels())
        if (PixelRed(p) > PixelAlpha(p) || PixelGreen(p) > PixelAlpha(p) ||
            PixelBlue(p) > PixelAlpha(p))
            return false;
    return true;
}

// Loads, plays a few frames, talks to the movie and renders it; true when the rendering is sound.
bool Exercise(MoviePlayer& player, std::span<const uint8_t> bytes)
{
    player.Load(bytes);
    for (int i = 0; i < 3; ++i)
        player.Advance();
    player.InvokeCallback("<invoke name=\"echo\" "
                          "returntype=\"xml\"><arguments><string>x</string></arguments></invoke>");
    player.GetVariable("flv.volume");
    player.MouseMove(24, 18);
    player.MouseButton(24, 18, true);
    player.MouseButton(30, 20, false);
    player.GotoFrame(1);
    Image image(48, 36);
    player.Render(image.View());
    return Premultiplied(image) && player.CurrentFrame() < std::max(1, player.TotalFrames());
}

// The same movie as CWS: a mutated body then reaches the parser through the inflater.
std::vector<uint8_t> Compressed(const std::vector<uint8_t>& movie)
{
    if (movie.size() < 8)
        return movie;
    uLongf size = compressBound(static_cast<uLong>(movie.size() - 8));
    std::vector<uint8_t> out(movie.begin(), movie.begin() + 8);
    out[0] = 'C';
    std::vector<uint8_t> packed(size);
    compress(packed.data(), &size, movie.data() + 8, static_cast<uLong>(movie.size() - 8));
    out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
    return out;
}

std::string MutatedRequest(std::mt19937& random)
{
    std::string request =
        "<invoke name=\"echo\" returntype=\"xml\"><arguments><string>a&amp;b</string>"
        "<number>2</number><true/></arguments></invoke>";
    for (int m = 0; m < 3; ++m) {
        size_t at = random() % request.size();
        if (random() % 2)
            request[at] = static_cast<char>(random());
        else
            request.erase(at, random() % 8);
        if (request.empty())
            break;
    }
    return request;
}

std::vector<uint8_t> ScriptedMovie()
{
    ActionAssembler body;
    body.Push({"a"})
        .Op(Action::GetVariable)
        .Push({"b"})
        .Op(Action::GetVariable)
        .Op(Action::Add2)
        .Op(Action::Return);
    ActionAssembler script;
    auto loop = script.NewLabel(), done = script.NewLabel();
    script.ConstantPool({"count", "list"})
        .DefineFunction("add", {"a", "b"}, body)
        .AddCallback("echo", "add");
    script.Op(Action::Pop).SetVariable("count", 0).Bind(loop);
    script.Push({Constant{0}})
        .Op(Action::GetVariable)
        .Push({5})
        .Op(Action::Less2)
        .Op(Action::Not)
        .If(done);
    script.Push({Constant{0}, Constant{0}})
        .Op(Action::GetVariable)
        .Op(Action::Increment)
        .Op(Action::SetVariable);
    script.Jump(loop)
        .Bind(done)
        .Push({Constant{1}, 1, 2, 3, 3})
        .Op(Action::InitArray)
        .Op(Action::SetVariable);
    script.CallExternal("done", {"x", 1}).Op(Action::Pop).FSCommand("finished", "yes");
    MovieWriter writer(64, 48, 30);
    ShapeBuilder shape;
    shape.Ellipse(32 * T, 24 * T, 20 * T, 10 * T, shape.AddFill({1, 2, 3, 200}));
    uint32_t line = shape.AddLine(2 * T, {9, 9, 9, 255});
    shape.Styles(0, 0, line).MoveTo(0, 0).LineTo(64 * T, 48 * T);
    writer.DefineShape(shape.Build(1)).PlaceObject(1, 1).DoAction(script.Assemble()).ShowFrame();
    PlaceCommand move;
    move.depth = 1;
    move.move = true;
    move.matrix = ScaleTranslateMatrix(0.5, 2, 5 * T, 5 * T);
    move.colorTransform = ColorTransform{128, 256, 256, 200, 10, 0, 0, 0};
    writer.Place(move).FrameLabel("second").ShowFrame().RemoveObject(1).ShowFrame();
    return writer.Finish();
}

TEST(BadInput, ThousandsOfMutatedMoviesAreSurvived)
{
    std::vector<std::vector<uint8_t>> bases = {samples::SampleMovie(false), ScriptedMovie(),
                                               samples::ButtonMovie(), samples::SampleMovie(true)};
    std::mt19937 random(20260101);
    RecordingHost host;
    MoviePlayer player(host);
    player.SetViewSize(48, 36);
    int unsound = 0;
    auto started = Clock::now();
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = bases[round % 10 == 9 ? 3 : round % 3];
        int mutations = 1 + static_cast<int>(random() % 6);
        for (int m = 0; m < mutations && !bytes.empty(); ++m) {
            size_t at = random() % bytes.size();
            switch (random() % 6) {
            case 0: bytes[at] ^= static_cast<uint8_t>(1u << (random() % 8)); break;
            case 1: bytes[at] = static_cast<uint8_t>(random()); break;
            case 2: bytes[at] = (random() % 2) ? 0xFF : 0x00; break;
            case 3: bytes.resize(at); break;
            case 4:
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), random() % 16,
                             static_cast<uint8_t>(random()));
                break;
            case 5: {
                size_t from = random() % bytes.size(),
                       length = std::min<size_t>(random() % 32, bytes.size() - from);
                std::vector<uint8_t> chunk(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                           bytes.begin() +
                                               static_cast<std::ptrdiff_t>(from + length));
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(),
                             chunk.end());
                break;
            }
            }
        }
        if (round % 7 == 6)
            bytes = Compressed(bytes);
        if (!Exercise(player, bytes))
            ++unsound;
        player.InvokeCallback(MutatedRequest(random));
    }
    EXPECT_EQ(unsound, 0);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(120));
}

TEST(BadInput, EveryTruncationShowsWhatArrived)
{
    std::vector<uint8_t> sample = samples::SampleMovie();
    size_t previous_frames = 0;
    for (size_t length = 0; length <= sample.size(); ++length) {
        auto movie = ReadMovie(std::span(sample).first(length));
        if (length < 8) {
            EXPECT_FALSE(movie);
            continue;
        }
        ASSERT_TRUE(movie) << length;
        EXPECT_TRUE(movie->complete);
        EXPECT_GE(movie->frames.size(), previous_frames) << length;
        previous_frames = movie->frames.size();
    }
    EXPECT_EQ(previous_frames, static_cast<size_t>(samples::SampleFrames));
}

TEST(BadInput, ALyingTagLengthKeepsTheFramesBeforeIt)
{
    MovieWriter writer(100, 100, 12);
    writer.FrameLabel("kept").ShowFrame().RawTag(777, std::vector<uint8_t>(100, 1));
    std::vector<uint8_t> bytes = writer.Finish();
    // The raw tag's long length field sits after its two-byte code; make it claim 2 GB.
    size_t at = bytes.size() - 2 - 100 - 4;
    bytes[at] = 0xFF;
    bytes[at + 1] = 0xFF;
    bytes[at + 2] = 0xFF;
    bytes[at + 3] = 0x7F;
    RecordingHost host;
    MoviePlayer player(host);
    player.Load(bytes);
    EXPECT_TRUE(player.LoadComplete());
    ASSERT_EQ(player.TotalFrames(), 1);
    EXPECT_EQ(player.GetMovie()->frames[0].label, "kept");
}

TEST(BadInput, DeclaredLengthsThatLieEitherWay)
{
    std::vector<uint8_t> bytes = samples::SampleMovie();
    std::vector<uint8_t> shorter = bytes;
    shorter[4] = 30; // the movie claims to end after 30 bytes
    shorter[5] = shorter[6] = shorter[7] = 0;
    auto cut = ReadMovie(shorter);
    ASSERT_TRUE(cut);
    EXPECT_TRUE(cut->frames.empty());
    std::vector<uint8_t> longer = bytes;
    longer[7] = 0x40; // a gigabyte
    auto whole = ReadMovie(longer);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->frames.size(), static_cast<size_t>(samples::SampleFrames));
}

TEST(BadInput, NotAMovie)
{
    RecordingHost host;
    MoviePlayer player(host);
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    player.Load(gif);
    EXPECT_TRUE(player.LoadFailed());
    EXPECT_FALSE(player.HasMovie());
    EXPECT_TRUE(player.Advance().Empty());
    EXPECT_EQ(player.TotalFrames(), 0);
    EXPECT_FALSE(player.GetVariable("x"));
}

struct HostileScript : testing::Test {
    std::chrono::milliseconds Load(const ActionAssembler& script, int frames = 1)
    {
        MovieWriter writer(100, 100, 12);
        writer.DoAction(script.Assemble()).ShowFrame();
        for (int i = 1; i < frames; ++i)
            writer.ShowFrame();
        auto started = Clock::now();
        player.Load(writer.Finish());
        for (int i = 0; i < frames + 1; ++i)
            player.Advance();
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    }
    RecordingHost host;
    MoviePlayer player{host};
};

TEST_F(HostileScript, EndlessLoopsStopAtTheBudget)
{
    ActionAssembler script;
    auto top = script.NewLabel();
    script.FSCommand("before", "")
        .Bind(top)
        .Push({"n", "n"})
        .Op(Action::GetVariable)
        .Op(Action::Increment);
    script.Op(Action::SetVariable).Jump(top);
    EXPECT_LT(Load(script, 3).count(), 5000);
    EXPECT_EQ(host.commands.size(), 2u);  // the first frame ran twice: loaded, then looped back to
    EXPECT_TRUE(player.GetVariable("n")); // it ran, then it was stopped
    player.GotoFrame(2);                  // and the player still answers
    EXPECT_EQ(player.CurrentFrame(), 2);
}

TEST_F(HostileScript, AFrameOfManyEndlessBlocksSharesOneBudget)
{
    ActionAssembler endless;
    auto top = endless.NewLabel();
    endless.Bind(top).Jump(top);
    MovieWriter writer(100, 100, 12);
    for (int i = 0; i < 2000; ++i)
        writer.DoAction(endless.Assemble());
    writer.ShowFrame();
    auto started = Clock::now();
    player.Load(writer.Finish());
    player.Advance();
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(3));
}

TEST_F(HostileScript, EndlessRecursionStopsAtTheCallDepth)
{
    ActionAssembler body;
    body.Push({0, "again"}).Op(Action::CallFunction).Op(Action::Return);
    ActionAssembler script;
    script.DefineFunction("again", {}, body).Push({"result", 0, "again"}).Op(Action::CallFunction);
    script.Op(Action::SetVariable).SetVariable("after", "reached");
    EXPECT_LT(Load(script).count(), 5000);
    EXPECT_EQ(player.GetVariable("after"), "reached");
}

TEST_F(HostileScript, GrowingStringsAndObjectsStayBounded)
{
    // s = "xxxxxxxx"; forever { s = s + s; o = new Object(); list[i] = o }
    ActionAssembler script;
    auto top = script.NewLabel();
    script.SetVariable("s", "xxxxxxxx")
        .Push({"list", 0})
        .Op(Action::InitArray)
        .Op(Action::SetVariable);
    script.Bind(top).Push({"s", "s"}).Op(Action::GetVariable).Push({"s"}).Op(Action::GetVariable);
    script.Op(Action::Add2).Op(Action::SetVariable);
    script.Push({"list"}).Op(Action::GetVariable).Push({"i"}).Op(Action::GetVariable);
    script.Push({0, "Object"}).Op(Action::NewObject).Op(Action::SetMember);
    script.Push({"i", "i"})
        .Op(Action::GetVariable)
        .Op(Action::Increment)
        .Op(Action::SetVariable)
        .Jump(top);
    EXPECT_LT(Load(script, 2).count(), 10000);
    EXPECT_LE(player.GetVariable("s").value_or("").size(), size_t{1} << 20);
}

TEST_F(HostileScript, ChainedGotosBetweenFramesStop)
{
    // Frame 1 goes to frame 2, whose script goes back to frame 1: an endless chain of gotos.
    MovieWriter writer(100, 100, 12);
    writer.DoAction(ActionAssembler().GotoFrame(1).Assemble()).ShowFrame();
    writer.DoAction(ActionAssembler().GotoFrame(0).FSCommand("bounce", "").Assemble()).ShowFrame();
    player.Load(writer.Finish());
    EXPECT_GT(host.commands.size(), 0u);
    EXPECT_LE(host.commands.size(), 16u);
}

TEST_F(HostileScript, GotoLoopsOverALongTimelinePayForTheirWork)
{
    // 400 frames of 100 placements each; the first frame's script jumps to the end and back forever.
    MovieWriter writer(100, 100, 12);
    ShapeBuilder dot;
    dot.Rectangle(0, 0, 20, 20, dot.AddFill({1, 1, 1, 255}));
    writer.DefineShape(dot.Build(1));
    ActionAssembler script;
    auto top = script.NewLabel();
    script.Bind(top).GotoFrame(399).GotoFrame(0).Jump(top);
    writer.DoAction(script.Assemble());
    for (int frame = 0; frame < 400; ++frame) {
        for (uint16_t depth = 1; depth <= 100; ++depth)
            writer.PlaceObject(1, depth, TranslateMatrix(frame, depth));
        writer.ShowFrame();
    }
    auto started = Clock::now();
    player.Load(writer.Finish());
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(player.CurrentFrame() == 0 || player.CurrentFrame() == 399)
        << player.CurrentFrame();
}

TEST_F(HostileScript, GarbageActionsAreSkipped)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> garbage(1 + random() % 200);
        for (uint8_t& byte : garbage)
            byte = static_cast<uint8_t>(random());
        MovieWriter writer(100, 100, 12);
        writer.DoAction(garbage)
            .DoAction(ActionAssembler().SetVariable("survived", true).Assemble())
            .ShowFrame();
        player.Load(writer.Finish());
        ASSERT_EQ(player.GetVariable("survived"), "true") << round;
    }
}

TEST(BadInput, HugeStagesAndShapesRenderInBoundedTime)
{
    MovieWriter writer(1 << 25, 1 << 25, 12); // a stage of 33 million pixels square
    ShapeBuilder huge;
    uint32_t fill = huge.AddFill({255, 0, 0, 255});
    huge.Styles(0, fill, huge.AddLine(65535, {0, 255, 0, 128})).MoveTo(-(1 << 29), -(1 << 29));
    for (int i = 0; i < 60000; ++i)
        huge.LineTo((i % 2 ? 1 : -1) * (1 << 29), (i - 30000) * 8000);
    writer.DefineShape(huge.Build(1));
    PlaceCommand place;
    place.depth = 1;
    place.character = 1;
    place.matrix = ScaleTranslateMatrix(30000, 30000, 0, 0);
    writer.Place(place);
    for (int depth = 2; depth < 400; ++depth)
        writer.PlaceObject(1, static_cast<uint16_t>(depth));
    writer.ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.Load(writer.Finish());
    auto started = Clock::now();
    Image image(640, 480);
    RenderOptions options;
    options.opaqueBackground = true;
    player.Render(image.View(), options);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(20));
    EXPECT_TRUE(Premultiplied(image));
}

} // namespace
} // namespace zn::swf

namespace zn::swf {
namespace {

// Sprites that place themselves, or many of each other, would nest or multiply without end.
TEST(BadInput, SpritesThatNestWithoutEndOrMultiplyStayBounded)
{
    MovieWriter writer(100, 100, 12);
    ShapeBuilder dot;
    dot.Rectangle(0, 0, 20, 20, dot.AddFill({255, 0, 0, 255}));
    writer.DefineShape(dot.Build(1));
    MovieWriter itself(1, 1, 12);
    itself.PlaceObject(1, 1).PlaceObject(2, 2, TranslateMatrix(20, 0)).ShowFrame();
    writer.DefineSprite(2, itself);
    // Sprite 3 holds 200 of sprite 4, which holds 200 of sprite 5: 40 000 clips.
    MovieWriter leaves(1, 1, 12);
    leaves.PlaceObject(1, 1).ShowFrame();
    writer.DefineSprite(5, leaves);
    for (uint16_t sprite : {uint16_t(4), uint16_t(3)}) {
        MovieWriter many(1, 1, 12);
        for (uint16_t depth = 1; depth <= 200; ++depth)
            many.PlaceObject(static_cast<uint16_t>(sprite + 1), depth);
        many.ShowFrame();
        writer.DefineSprite(sprite, many);
    }
    writer.Place(NamedPlacement(2, 1, "deep")).PlaceObject(3, 2).ShowFrame().ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    auto started = Clock::now();
    player.Load(writer.Finish());
    player.Advance();
    Image image(100, 100);
    player.Render(image.View());
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(20));
    EXPECT_TRUE(player.GetVariable("deep._x").has_value());
}

} // namespace
} // namespace zn::swf
