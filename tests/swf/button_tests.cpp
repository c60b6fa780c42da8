// Buttons: written and read back, and driven by the mouse: states drawn, transitions' actions
// run, the button's area repainted.
#include <gtest/gtest.h>

#include "sample_movies.h"
#include "test_support.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_reader.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using test::ColorAt;
using test::RecordingHost;

test::Color Of(Rgba c)
{
    return {c.red, c.green, c.blue, c.alpha};
}

TEST(Buttons, RoundTripKeepsRecordsAndActions)
{
    Button button;
    button.id = 5;
    button.trackAsMenu = true;
    button.records.push_back({ButtonRecord::Up | ButtonRecord::HitTest, 1, 2,
                              TranslateMatrix(-40, 80),
                              ColorTransform{256, 128, 0, 256, 0, 0, 10, -20}});
    button.records.push_back({ButtonRecord::Down, 1, 3, ScaleTranslateMatrix(2, 0.5, 0, 0), {}});
    button.actions.push_back(
        {ButtonAction::Press | ButtonAction::DragOver,
         std::make_shared<const std::vector<uint8_t>>(ActionAssembler().Stop().Assemble())});
    button.actions.push_back(
        {ButtonAction::Release, std::make_shared<const std::vector<uint8_t>>(
                                    ActionAssembler().FSCommand("a", "b").Assemble())});
    MovieWriter writer(100, 100, 12);
    writer.DefineButton(button).ShowFrame();
    auto movie = ReadMovie(writer.Finish());
    ASSERT_TRUE(movie && movie->buttons.contains(5));
    const Button& read = *movie->buttons.at(5);
    EXPECT_TRUE(read.trackAsMenu);
    EXPECT_EQ(read.records, button.records);
    EXPECT_EQ(read.actions, button.actions);
}

struct ButtonMovie : testing::Test {
    void SetUp() override
    {
        player.SetViewSize(200, 100);
        player.Load(samples::ButtonMovie());
        host.invalidated.clear();
    }
    test::Color Face()
    {
        Image image = test::RenderView(player, 200, 100, true);
        return ColorAt(image, 100, 50);
    }
    RecordingHost host;
    MoviePlayer player{host};
};

TEST_F(ButtonMovie, HoverPressAndReleaseRunTheirActions)
{
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonUpColor)));
    player.MouseMove(100, 50);
    EXPECT_EQ(host.commands,
              (std::vector<std::pair<std::string, std::string>>{{"button", "over"}}));
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonOverColor)));
    ASSERT_FALSE(host.invalidated.empty());
    PixelRect area = host.invalidated.back();
    EXPECT_LE(area.left, 50);
    EXPECT_GE(area.right, 150);
    EXPECT_LE(area.top, 25);
    EXPECT_GE(area.bottom, 75);

    player.MouseButton(100, 50, true);
    EXPECT_EQ(host.commands.back(), (std::pair<std::string, std::string>{"button", "pressed"}));
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonDownColor)));
    EXPECT_TRUE(host.calls.empty());

    player.MouseButton(100, 50, false);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].name, "clicked");
    EXPECT_EQ(host.calls[0].arguments, (std::vector<ExternalValue>{ExternalValue::Number(1)}));
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonOverColor)));

    player.MouseMove(10, 10);
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonUpColor)));
    EXPECT_EQ(host.commands.size(), 2u);
}

TEST_F(ButtonMovie, OnlyTheHitAreaCounts)
{
    player.MouseMove(49, 50);
    player.MouseMove(100, 76);
    player.MouseButton(160, 50, true);
    player.MouseButton(160, 50, false);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(host.invalidated.empty());
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonUpColor)));
}

TEST_F(ButtonMovie, ReleasingOutsideIsNoClick)
{
    player.MouseMove(100, 50);
    player.MouseButton(100, 50, true);
    player.MouseMove(190, 90);
    player.MouseButton(190, 90, false);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(test::Near(Face(), Of(samples::ButtonUpColor)));
}

TEST_F(ButtonMovie, AButtonMayReplaceTheMovieFromItsActions)
{
    std::vector<uint8_t> sample = samples::SampleMovie();
    host.onFSCommand = [&](const std::string&, const std::string& arguments) {
        if (arguments == "pressed")
            player.Load(sample);
    };
    player.MouseMove(100, 50);
    player.MouseButton(100, 50, true);
    EXPECT_EQ(player.TotalFrames(), samples::SampleFrames);
    player.MouseButton(100, 50, false);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].name, "movieReady"); // the sample's, not the button's click
}

TEST_F(ButtonMovie, PointerPositionsFollowTheViewScale)
{
    player.SetViewSize(400, 200);
    player.MouseMove(290, 140); // stage (145, 70): on the button
    EXPECT_EQ(host.commands.size(), 1u);
    player.MouseMove(310, 140); // stage (155, 70): off it
    player.MouseMove(290, 140);
    EXPECT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(player.GetVariable("_xmouse"), "145");
    EXPECT_EQ(player.GetVariable("_ymouse"), "70");
}

} // namespace
} // namespace zn::swf
