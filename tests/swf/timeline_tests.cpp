// Playing the timeline: frames, labels, gotos, loop, and the rectangles a frame advance reports.
#include <gtest/gtest.h>

#include <utility>

#include "sample_movies.h"
#include "test_support.h"
#include "znswf/action_assembler.h"
#include "znswf/movie_writer.h"

namespace zn::swf {
namespace {

using test::RecordingHost;

struct SampleTimeline : testing::Test {
    void SetUp() override
    {
        player.SetViewSize(samples::SampleWidth, samples::SampleHeight);
        player.Load(samples::SampleMovie());
        host.invalidated.clear();
    }
    RecordingHost host;
    MoviePlayer player{host};
};

TEST_F(SampleTimeline, StartsOnTheFirstFramePlaying)
{
    EXPECT_TRUE(player.LoadComplete());
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_EQ(player.TotalFrames(), samples::SampleFrames);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_TRUE(player.Loop());
    EXPECT_DOUBLE_EQ(player.FrameRate(), 12);
    EXPECT_EQ(player.FrameIntervalMilliseconds(), 83u);
}

TEST_F(SampleTimeline, AdvanceStepsFramesAndLoops)
{
    for (int frame = 1; frame < samples::SampleFrames; ++frame) {
        player.Advance();
        EXPECT_EQ(player.CurrentFrame(), frame);
    }
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 0);
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(SampleTimeline, WithoutLoopPlayingStopsOnTheLastFrame)
{
    player.SetLoop(false);
    for (int i = 0; i < samples::SampleFrames + 3; ++i)
        player.Advance();
    EXPECT_EQ(player.CurrentFrame(), samples::SampleFrames - 1);
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(SampleTimeline, StoppedPlayersDoNotAdvance)
{
    player.StopPlay();
    EXPECT_TRUE(player.Advance().Empty());
    EXPECT_EQ(player.CurrentFrame(), 0);
    player.Play();
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 1);
}

TEST_F(SampleTimeline, GotoRewindForwardAndBack)
{
    player.GotoFrame(5);
    EXPECT_EQ(player.CurrentFrame(), 5);
    player.Back();
    EXPECT_EQ(player.CurrentFrame(), 4);
    player.Forward();
    player.Forward();
    EXPECT_EQ(player.CurrentFrame(), 6);
    player.Forward();
    player.Forward();
    EXPECT_EQ(player.CurrentFrame(), 7);
    player.Rewind();
    EXPECT_EQ(player.CurrentFrame(), 0);
    player.Back();
    EXPECT_EQ(player.CurrentFrame(), 0);
    player.GotoFrame(1000);
    EXPECT_EQ(player.CurrentFrame(), 7);
    EXPECT_TRUE(player.IsPlaying());
}

TEST_F(SampleTimeline, GoingBackRebuildsTheDisplayList)
{
    player.GotoFrame(6); // the triangle appeared in frame 5
    player.GotoFrame(2);
    Image image = test::RenderView(player, samples::SampleWidth, samples::SampleHeight, true);
    EXPECT_TRUE(test::Near(test::ColorAt(image, 265, 130), {0x20, 0x30, 0x60, 255}));
    player.GotoFrame(4);
    image = test::RenderView(player, samples::SampleWidth, samples::SampleHeight, true);
    EXPECT_TRUE(test::Near(test::ColorAt(image, 265, 130), {255, 220, 0, 255}));
}

TEST_F(SampleTimeline, AdvanceReportsWhereTheCircleWasAndIs)
{
    PixelRect changed = player.Advance();
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], changed);
    int left = samples::SampleCircleX(0) - samples::SampleCircleRadius;
    int right = samples::SampleCircleX(1) + samples::SampleCircleRadius;
    EXPECT_LE(changed.left, left);
    EXPECT_GE(changed.left, left - 3);
    EXPECT_GE(changed.right, right);
    EXPECT_LE(changed.right, right + 3);
    EXPECT_LE(changed.top, samples::SampleCircleY - samples::SampleCircleRadius);
    EXPECT_GE(changed.bottom, samples::SampleCircleY + samples::SampleCircleRadius);
    EXPECT_GT(changed.top, 0); // not the whole view
}

TEST_F(SampleTimeline, ChangedRectanglesFollowTheViewScale)
{
    player.SetViewSize(samples::SampleWidth * 2, samples::SampleHeight * 2);
    host.invalidated.clear();
    PixelRect changed = player.Advance();
    EXPECT_LE(changed.left, 2 * (samples::SampleCircleX(0) - samples::SampleCircleRadius));
    EXPECT_GE(changed.right, 2 * (samples::SampleCircleX(1) + samples::SampleCircleRadius));
    EXPECT_LE(changed.right, 2 * (samples::SampleCircleX(1) + samples::SampleCircleRadius) + 3);
}

TEST_F(SampleTimeline, GotosFromTheHostInvalidate)
{
    player.GotoFrame(4);
    ASSERT_FALSE(host.invalidated.empty());
    PixelRect triangle = host.invalidated.back();
    EXPECT_LE(triangle.left, 230);
    EXPECT_GE(triangle.right, 300);
}

TEST_F(SampleTimeline, HostsMayDriveThePlayerFromInsideAnInvalidation)
{
    bool once = false;
    host.onInvalidate = [&](const PixelRect&) {
        if (!std::exchange(once, true))
            player.GotoFrame(7);
    };
    PixelRect changed = player.Advance();
    EXPECT_EQ(player.CurrentFrame(), 7);
    ASSERT_EQ(host.commands.size(), 1u); // frame 8's script ran
    EXPECT_EQ(host.commands[0].second, "end");
    ASSERT_EQ(host.invalidated.size(), 2u); // the step, then the goto the host made
    EXPECT_EQ(changed, host.invalidated[0].United(host.invalidated[1]));
}

TEST(Timeline, LabelsAndScriptedGotos)
{
    // Frame 1 jumps to "target" and stops there; frame 2 would fire an FSCommand if played.
    MovieWriter writer(100, 100, 12);
    writer.DoAction(ActionAssembler().GotoLabel("target").Stop().Assemble()).ShowFrame();
    writer.DoAction(ActionAssembler().FSCommand("skipped", "").Assemble()).ShowFrame();
    writer.FrameLabel("target")
        .DoAction(ActionAssembler().FSCommand("arrived", "").Assemble())
        .ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.Load(writer.Finish());
    EXPECT_EQ(player.CurrentFrame(), 2);
    EXPECT_FALSE(player.IsPlaying());
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].first, "arrived");
}

TEST(Timeline, GotoFrameTwoCountsFromOneAndTakesLabels)
{
    MovieWriter writer(100, 100, 12);
    writer.DoAction(ActionAssembler().Push({3}).GotoFrame2(false).Assemble()).ShowFrame();
    writer.ShowFrame();
    writer.DoAction(ActionAssembler().Push({"last"}).GotoFrame2(true).Assemble()).ShowFrame();
    writer.FrameLabel("last").ShowFrame();
    RecordingHost host;
    MoviePlayer player(host);
    player.Load(writer.Finish());
    EXPECT_EQ(player.CurrentFrame(), 3); // frame 3 (index 2) ran and went on to "last"
    EXPECT_TRUE(player.IsPlaying());
}

TEST(Timeline, FramesPlayAsTheDownloadArrives)
{
    std::vector<uint8_t> bytes = samples::SampleMovie(true);
    RecordingHost host;
    MoviePlayer player(host);
    player.BeginLoad();
    size_t half = 0;
    while (half < bytes.size() && player.FramesLoaded() < 2)
        player.Append(std::span(bytes).subspan(half++, 1));
    ASSERT_TRUE(player.HasMovie());
    int loaded = player.FramesLoaded();
    EXPECT_EQ(loaded, 2);
    EXPECT_FALSE(player.LoadComplete());
    for (int i = 0; i < 20; ++i)
        player.Advance();
    EXPECT_EQ(player.CurrentFrame(), loaded - 1); // waits for the rest instead of looping
    player.Append(std::span(bytes).subspan(half));
    player.EndLoad();
    player.Advance();
    EXPECT_EQ(player.CurrentFrame(), loaded);
    EXPECT_EQ(player.TotalFrames(), samples::SampleFrames);
}

} // namespace
} // namespace zn::swf
