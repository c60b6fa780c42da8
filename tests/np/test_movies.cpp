// Writing the test movies.
#include "test_movies.h"

#include "znswf/action_assembler.h"
#include "znswf/movie_writer.h"

namespace zn::test {

using namespace zn::swf;

namespace {

constexpr int kTwips = TwipsPerPixel;

Shape Square(uint16_t id, Rgba color, int left, int size)
{
    ShapeBuilder builder;
    uint32_t fill = builder.AddFill(color);
    builder.Rectangle(left * kTwips, 0, (left + size) * kTwips, size * kTwips, fill);
    return builder.Build(id);
}

} // namespace

std::vector<std::uint8_t> SemiTransparentMovie(bool compressed)
{
    MovieWriter writer(100, 50, 12);
    writer.SetBackgroundColor({0, 255, 0, 255})
        .DefineShape(Square(1, {255, 0, 0, 255}, 0, 50))
        .DefineShape(Square(2, {0, 0, 255, 128}, 50, 50))
        .PlaceObject(1, 1)
        .PlaceObject(2, 2)
        .DoAction(ActionAssembler().Stop().Assemble())
        .ShowFrame()
        .ShowFrame();
    return writer.Finish(compressed);
}

std::vector<std::uint8_t> ScriptedMovie()
{
    ActionAssembler echo_body;
    echo_body.Push({"echo:"})
        .Push({"text"})
        .Op(Action::GetVariable)
        .Op(Action::Add2)
        .Op(Action::Return);
    // return ExternalInterface.call("hostFunction", text)
    ActionAssembler relay_body;
    relay_body.Push({"text"}).Op(Action::GetVariable).Push({"hostFunction", 2});
    relay_body.PushExternalInterface().Push({"call"}).Op(Action::CallMethod).Op(Action::Return);
    ActionAssembler frame;
    frame.FSCommand("quit", "true")
        .DefineFunction("echoFunction", {"text"}, echo_body)
        .AddCallback("echo", "echoFunction")
        .Op(Action::Pop)
        .DefineFunction("relayFunction", {"text"}, relay_body)
        .AddCallback("relay", "relayFunction")
        .Op(Action::Pop)
        .SetVariable("greeting", "hello")
        .Push({"answer"})
        .CallExternal("hostFunction", {"a", 2})
        .Op(Action::SetVariable)
        .Stop();
    MovieWriter writer(100, 50, 12);
    writer.DefineShape(Square(1, {255, 0, 0, 255}, 0, 20))
        .PlaceObject(1, 1)
        .DoAction(frame.Assemble())
        .ShowFrame();
    return writer.Finish();
}

std::vector<std::uint8_t> RequestingMovie()
{
    ActionAssembler frame;
    frame.GetUrl("http://example.test/data.xml", "").GetUrl("local.xml", "").Stop();
    MovieWriter writer(100, 50, 12);
    writer.DoAction(frame.Assemble()).ShowFrame();
    return writer.Finish();
}

std::vector<std::uint8_t> LevelLoadingMovie()
{
    MovieWriter writer(100, 50, 12);
    writer.DoAction(ActionAssembler().GetUrl("next.swf", "_level0").Stop().Assemble()).ShowFrame();
    return writer.Finish();
}

std::vector<std::uint8_t> AnimatedMovie()
{
    MovieWriter writer(100, 50, 30);
    writer.DefineShape(Square(1, {255, 0, 0, 255}, 0, 10));
    for (int frame = 0; frame < 3; ++frame) {
        PlaceCommand place;
        place.depth = 1;
        place.move = frame > 0;
        if (frame == 0)
            place.character = 1;
        place.matrix = TranslateMatrix(frame * 20 * kTwips, 0);
        writer.Place(place).ShowFrame();
    }
    return writer.Finish();
}

} // namespace zn::test
