// The sample movie, written with the engine's writer and assembler.
#include "sample_movies.h"

#include <memory>

#include "znswf/action_assembler.h"
#include "znswf/movie_writer.h"

namespace zn::swf::samples {
namespace {

constexpr int T = TwipsPerPixel;

std::vector<uint8_t> FirstFrameScript()
{
    ActionAssembler echo;
    echo.Push({"echo:", Register{1}}).Op(Action::Add2).Op(Action::Return);
    ActionAssembler add;
    add.Push({"a"})
        .Op(Action::GetVariable)
        .Push({"b"})
        .Op(Action::GetVariable)
        .Op(Action::Add2)
        .Op(Action::Return);
    ActionAssembler seek;
    seek.Push({"label"}).Op(Action::GetVariable).Push({1, "_root"}).Op(Action::GetVariable);
    seek.Push({"gotoAndStop"})
        .Op(Action::CallMethod)
        .Op(Action::Pop)
        .Push({true})
        .Op(Action::Return);

    ActionAssembler script;
    script.DefineFunction2("echo", {{"text", 1}}, 2, 0, echo);
    script.DefineFunction("add", {"a", "b"}, add);
    script.DefineFunction("seek", {"label"}, seek);
    script.AddCallback("echo", "echo").Op(Action::Pop);
    script.AddCallback("add", "add").Op(Action::Pop);
    script.AddCallback("seek", "seek").Op(Action::Pop);
    script.Push({"flv", 0, "Object"}).Op(Action::NewObject).Op(Action::SetVariable);
    script.Push({"flv"}).Op(Action::GetVariable).Push({"volume", 50}).Op(Action::SetMember);
    script.CallExternal("movieReady", {"sample", 1});
    script.Push({"readyAnswer"}).Op(Action::StackSwap).Op(Action::SetVariable);
    return script.Assemble();
}

} // namespace

std::vector<uint8_t> SampleMovie(bool compressed)
{
    MovieWriter movie(SampleWidth, SampleHeight, 12);
    movie.SetBackgroundColor(SampleBackground);

    ShapeBuilder square;
    square.Rectangle(40 * T, 40 * T, 200 * T, 200 * T, square.AddFill(SampleSquareColor));
    movie.DefineShape(square.Build(1));

    ShapeBuilder circle;
    circle.Ellipse(0, 0, SampleCircleRadius * T, SampleCircleRadius * T,
                   circle.AddFill(SampleCircleColor));
    movie.DefineShape(circle.Build(2));

    ShapeBuilder triangle;
    uint32_t yellow = triangle.AddFill({255, 220, 0, 255});
    uint32_t outline = triangle.AddLine(3 * T, {0, 0, 0, 255});
    triangle.Styles(0, yellow, outline).MoveTo(230 * T, 150 * T);
    triangle.LineTo(300 * T, 150 * T).LineTo(265 * T, 90 * T).LineTo(230 * T, 150 * T);
    movie.DefineShape(triangle.Build(3));

    for (int frame = 0; frame < SampleFrames; ++frame) {
        PlaceCommand circle_place;
        circle_place.depth = 2;
        circle_place.matrix = TranslateMatrix(SampleCircleX(frame) * T, SampleCircleY * T);
        if (frame == 0) {
            movie.FrameLabel("start");
            movie.PlaceObject(1, 1);
            circle_place.character = 2;
            movie.DoAction(FirstFrameScript());
        } else {
            circle_place.move = true;
        }
        movie.Place(circle_place);
        if (frame == 3) {
            movie.FrameLabel("middle");
            movie.DoAction(ActionAssembler().FSCommand("reached", "middle").Assemble());
        }
        if (frame == 4)
            movie.PlaceObject(3, 3);
        if (frame == 7) {
            movie.FrameLabel("end");
            movie.DoAction(ActionAssembler().FSCommand("reached", "end").Assemble());
        }
        movie.ShowFrame();
    }
    return movie.Finish(compressed);
}

std::vector<uint8_t> ButtonMovie()
{
    MovieWriter movie(200, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    Button button;
    button.id = 10;
    uint16_t id = 1;
    for (auto [color, states] : {std::pair{ButtonUpColor, ButtonRecord::Up | ButtonRecord::HitTest},
                                 std::pair{ButtonOverColor, +ButtonRecord::Over},
                                 std::pair{ButtonDownColor, +ButtonRecord::Down}}) {
        ShapeBuilder face;
        face.Rectangle(0, 0, 100 * T, 50 * T, face.AddFill(color));
        movie.DefineShape(face.Build(id));
        button.records.push_back(
            {static_cast<uint8_t>(states), id, 1, TranslateMatrix(50 * T, 25 * T), {}});
        ++id;
    }
    auto actions = [](const ActionAssembler& code) {
        return std::make_shared<const std::vector<uint8_t>>(code.Assemble());
    };
    button.actions.push_back(
        {ButtonAction::RollOver, actions(ActionAssembler().FSCommand("button", "over"))});
    button.actions.push_back(
        {ButtonAction::Press, actions(ActionAssembler().FSCommand("button", "pressed"))});
    button.actions.push_back(
        {ButtonAction::Release,
         actions(ActionAssembler().CallExternal("clicked", {1}).Op(Action::Pop))});
    movie.DefineButton(button).PlaceObject(10, 1).ShowFrame();
    return movie.Finish();
}

} // namespace zn::swf::samples
