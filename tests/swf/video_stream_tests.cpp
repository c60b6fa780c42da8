// The stream's playback of the sample video: which picture is due as the clock ticks, the
// status events in their order, a download that arrives slower than it plays, pause, seek,
// close, and files it cannot play.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "sample_video.h"
#include "znswf/flv_writer.h"
#include "znswf/video_stream.h"

namespace zn::swf {
namespace {

constexpr unsigned Tick = 1000 / 12; // the player's clock at 12 frames per second

std::vector<std::string> Codes(VideoStream& stream)
{
    std::vector<std::string> codes;
    for (const VideoStreamEvent& event : stream.TakeEvents())
        codes.push_back(event.kind == VideoStreamEvent::Kind::MetaData ? "onMetaData" : event.code);
    return codes;
}

int ShownFrame(const VideoStream& stream)
{
    return stream.Picture() ? samples::SampleVideoFrameNumber(*stream.Picture()) : -1;
}

// The last frame whose timestamp has been reached.
int DueFrame(double seconds)
{
    int frame = 0;
    while (frame + 1 < samples::SampleVideoFrames &&
           static_cast<long>(samples::SampleVideoTimestamp(frame + 1)) <=
               std::lround(seconds * 1000))
        ++frame;
    return frame;
}

struct VideoStreamTest : testing::Test {
    std::vector<uint8_t> video = samples::SampleVideo();
    VideoStream stream;
    void PlayWhole()
    {
        stream.Play();
        stream.SetBytesTotal(video.size());
        stream.Append(video);
        stream.EndOfData();
    }
};

TEST_F(VideoStreamTest, PlaysEachFrameWhenItsTimeComesAndStopsAtTheEnd)
{
    PlayWhole();
    EXPECT_EQ(Codes(stream), (std::vector<std::string>{"NetStream.Play.Start", "onMetaData"}));
    EXPECT_EQ(stream.Duration(), 10.0);
    EXPECT_TRUE(stream.Advance(Tick)); // the buffer is full: frame 0 at time 0
    EXPECT_EQ(Codes(stream), std::vector<std::string>{"NetStream.Buffer.Full"});
    EXPECT_EQ(stream.Time(), 0.0);
    EXPECT_EQ(ShownFrame(stream), 0);
    for (int tick = 1; tick < 200 && stream.GetState() == VideoStream::State::Playing; ++tick) {
        bool changed = stream.Advance(Tick);
        ASSERT_EQ(ShownFrame(stream), DueFrame(stream.Time())) << "at " << stream.Time();
        EXPECT_EQ(changed, ShownFrame(stream) != DueFrame(stream.Time() - Tick / 1000.0));
    }
    EXPECT_EQ(stream.GetState(), VideoStream::State::Stopped);
    EXPECT_NEAR(stream.Time(), 10.0, 0.001); // the last frame shown for as long as the others
    EXPECT_EQ(ShownFrame(stream), 119);
    EXPECT_EQ(Codes(stream),
              (std::vector<std::string>{"NetStream.Play.Stop", "NetStream.Buffer.Empty"}));
    EXPECT_EQ(stream.BytesLoaded(), video.size());
    EXPECT_EQ(stream.BytesTotal(), video.size());
}

TEST_F(VideoStreamTest, ADownloadSlowerThanPlaybackWaitsForItsBytes)
{
    stream.Play();
    stream.SetBytesTotal(video.size());
    stream.Append(std::span(video).first(video.size() / 4));
    EXPECT_EQ(stream.BytesLoaded(), video.size() / 4);
    EXPECT_EQ(stream.BytesTotal(), video.size());
    stream.TakeEvents();
    stream.Advance(Tick);
    for (int tick = 0; tick < 200 && stream.GetState() == VideoStream::State::Playing; ++tick)
        stream.Advance(Tick);
    double waiting_at = stream.Time();
    EXPECT_GT(waiting_at, 0.5);
    EXPECT_LT(waiting_at, 5.0);
    EXPECT_EQ(Codes(stream),
              (std::vector<std::string>{"NetStream.Buffer.Full", "NetStream.Buffer.Empty"}));
    stream.Advance(Tick);
    EXPECT_EQ(stream.Time(), waiting_at); // the clock stands while the bytes are missing
    EXPECT_EQ(ShownFrame(stream), DueFrame(waiting_at));

    stream.Append(std::span(video).subspan(video.size() / 4));
    stream.Advance(Tick);
    stream.Advance(Tick);
    EXPECT_EQ(Codes(stream), std::vector<std::string>{"NetStream.Buffer.Full"});
    EXPECT_GT(stream.Time(), waiting_at);
    EXPECT_EQ(ShownFrame(stream), DueFrame(stream.Time()));
}

TEST_F(VideoStreamTest, PauseHoldsTheClockAndThePicture)
{
    PlayWhole();
    for (int tick = 0; tick < 13; ++tick)
        stream.Advance(Tick);
    stream.TakeEvents();
    stream.Pause();
    stream.Pause();
    int paused_frame = ShownFrame(stream);
    double paused_time = stream.Time();
    for (int tick = 0; tick < 10; ++tick)
        EXPECT_FALSE(stream.Advance(Tick));
    EXPECT_EQ(stream.Time(), paused_time);
    EXPECT_EQ(ShownFrame(stream), paused_frame);
    stream.Resume();
    stream.Resume();
    stream.Advance(Tick);
    stream.Advance(Tick);
    EXPECT_GT(ShownFrame(stream), paused_frame);
    EXPECT_EQ(Codes(stream),
              (std::vector<std::string>{"NetStream.Pause.Notify", "NetStream.Unpause.Notify"}));
}

TEST_F(VideoStreamTest, SeekGoesToTheKeyFrameBeforeAndShowsItEvenWhenPaused)
{
    PlayWhole();
    stream.Advance(Tick);
    stream.Pause();
    stream.TakeEvents();
    stream.Seek(5.5); // key frames every two seconds
    EXPECT_EQ(stream.Time(), 4.0);
    EXPECT_TRUE(stream.Advance(Tick));
    EXPECT_EQ(ShownFrame(stream), 48);
    stream.Seek(2.0);
    stream.Advance(Tick);
    EXPECT_EQ(ShownFrame(stream), 24); // backwards, from its own key frame
    stream.Seek(-3);
    EXPECT_EQ(stream.Time(), 0.0);
    stream.Seek(1e9);
    EXPECT_EQ(stream.Time(), 8.0);
    EXPECT_EQ(Codes(stream), std::vector<std::string>(4, "NetStream.Seek.Notify"));

    stream.Resume();
    while (stream.GetState() == VideoStream::State::Playing)
        stream.Advance(Tick);
    stream.Seek(0);
    EXPECT_EQ(stream.GetState(), VideoStream::State::Playing); // plays on from the start
    stream.Advance(Tick);
    EXPECT_EQ(ShownFrame(stream), 1);
}

TEST_F(VideoStreamTest, CloseStopsAndIgnoresTheRestOfTheDownload)
{
    stream.Play();
    stream.Append(std::span(video).first(video.size() / 2));
    stream.Advance(Tick);
    stream.Advance(Tick);
    stream.Close();
    EXPECT_EQ(stream.GetState(), VideoStream::State::Idle);
    EXPECT_EQ(stream.Time(), 0.0);
    EXPECT_EQ(ShownFrame(stream), 1); // the picture stays
    stream.Append(std::span(video).subspan(video.size() / 2));
    EXPECT_EQ(stream.BytesLoaded(), 0u);
    stream.Pause();
    EXPECT_EQ(Codes(stream), (std::vector<std::string>{"NetStream.Play.Start", "onMetaData",
                                                       "NetStream.Buffer.Full"}));
}

TEST_F(VideoStreamTest, MissingForeignAndUndecodableFilesSayWhy)
{
    stream.Play();
    stream.NotFound();
    EXPECT_EQ(stream.GetState(), VideoStream::State::Failed);
    std::vector<VideoStreamEvent> events = stream.TakeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].code, "NetStream.Play.StreamNotFound");
    EXPECT_EQ(events[1].level, "error");

    stream.Play();
    stream.Append(std::vector<uint8_t>{'F', 'W', 'S', 8, 30, 0, 0, 0, 0, 0});
    EXPECT_EQ(Codes(stream), (std::vector<std::string>{"NetStream.Play.Start",
                                                       "NetStream.Play.FileStructureInvalid"}));

    // Another codec: no picture, the clock runs to the end all the same.
    FlvWriter other(false, true);
    for (uint32_t frame = 0; frame < 12; ++frame)
        other.Video(frame * Tick, frame ? VideoFrameType::Inter : VideoFrameType::Key, 2,
                    std::vector<uint8_t>{0, 0, 0x84, 0});
    stream.Play();
    stream.Append(other.Bytes());
    stream.EndOfData();
    while (stream.GetState() == VideoStream::State::Buffering ||
           stream.GetState() == VideoStream::State::Playing)
        stream.Advance(Tick);
    EXPECT_EQ(stream.Picture(), nullptr) << "kept from no earlier stream either";
    EXPECT_EQ(stream.Time(), 12 * Tick / 1000.0);
    EXPECT_EQ(Codes(stream),
              (std::vector<std::string>{"NetStream.Play.Start", "NetStream.Buffer.Full",
                                        "NetStream.Play.NoSupportedTrackFound",
                                        "NetStream.Play.Stop", "NetStream.Buffer.Empty"}));
}

// Mutated files (bytes changed or cut out, sizes and timestamps overwritten) play to an end:
// every stream stops or fails by the time its last timestamp allows, nothing crashes.
TEST(VideoStreamMutations, EveryMutatedFileReachesAnEnd)
{
    const std::vector<uint8_t> original = samples::SampleVideo(12);
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = original;
        for (int change = 0; change < 1 + round % 6; ++change) {
            size_t at = random() % bytes.size();
            if (round % 3 == 0)
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(
                                                std::min(bytes.size(), at + random() % 64)));
            else
                bytes[at] = static_cast<uint8_t>(random());
            if (bytes.empty())
                break;
        }
        VideoStream stream;
        stream.Play();
        stream.Append(std::span(bytes).first(bytes.size() / 2));
        stream.Advance(Tick);
        stream.Append(std::span(bytes).subspan(bytes.size() / 2));
        stream.EndOfData();
        // Long ticks: a mutated timestamp may lie weeks ahead, and the stream plays that long.
        constexpr unsigned LongTick = 1u << 20;
        std::optional<FlvStream> file = ReadFlv(bytes);
        uint64_t ticks_allowed = 4 + (file ? 2 * uint64_t{file->lastTimestamp} / LongTick : 0);
        for (uint64_t tick = 0; tick < ticks_allowed; ++tick)
            stream.Advance(LongTick);
        ASSERT_NE(stream.GetState(), VideoStream::State::Playing) << "round " << round;
        ASSERT_NE(stream.GetState(), VideoStream::State::Buffering) << "round " << round;
        if (stream.Picture()) {
            EXPECT_LE(stream.Picture()->Width(), 4095);
        }
    }
}

} // namespace
} // namespace zn::swf
