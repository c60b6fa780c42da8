// FLV video goes through the built-in playback movie: which loads count as video, and what the
// playback movie is handed, in which order and form.
#include "driver_fixture.h"

#include "support/messages.h"
#include "sample_video.h"
#include "zintara/framework/module_paths.h"
#include "zintara/framework/streams.h"

#include <windows.h>

#include <algorithm>

using namespace zn;
using namespace zn::test;

namespace {

// The methods the driver invoked on the player's scriptable object, each as its arguments.
std::vector<std::string> InvokedArguments(const std::vector<std::string>& Log)
{
    std::vector<std::string> calls;
    for (const std::string& line : LinesOf(Log, "NPObject.Invoke")) {
        const std::size_t method = line.find("method=");
        calls.push_back(method == std::string::npos ? line : line.substr(method));
    }
    return calls;
}

// The buffer after the frame clock ran for Milliseconds.
std::vector<std::uint32_t> PictureAfter(TznFlashDriverNS& Driver, DWORD Milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        Sleep(5);
    } while (GetTickCount() - start < Milliseconds);
    const std::uint32_t* bits = Driver.BufferBits();
    return {bits, bits + static_cast<std::size_t>(Driver.Width()) * Driver.Height()};
}

// Whether the picture shows the sample video's first band, opaque.
bool ShowsTheVideo(const std::vector<std::uint32_t>& Picture)
{
    const swf::Rgba band = swf::samples::SampleVideoBands[0];
    const std::uint32_t pixel = 0xFF000000u | static_cast<std::uint32_t>(band.red) << 16 |
                                static_cast<std::uint32_t>(band.green) << 8 | band.blue;
    return std::count(Picture.begin(), Picture.end(), pixel) > 1000;
}

} // namespace

class VideoTest : public DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        CreateDriver(0u);
    }
};

TEST_F(VideoTest, AnFlvNameLoadsThePlaybackMovieAndHandsItSkinVolumeAndPathInOrder)
{
    Driver->SetSkin(L"SteelOverAll");
    Driver->SetVolume(80);
    Driver->LoadMovie(L"C:\\video\\clip.flv");
    EXPECT_EQ(
        InvokedArguments(TakeLog()),
        (std::vector<std::string>{
            R"(method="LoadMovie" args=(0, "flvplayback.swf"))",
            R"(method="SetVariable" args=("flv.skin", "SteelOverAll.swf"))",
            R"(method="SetVariable" args=("flv.volume", "80"))",
            // The pseudo host's prefix and the name as given, with no "/" between them.
            R"(method="SetVariable" args=("flv.contentPath", "http://zintaraC:\\video\\clip.flv"))",
        }));
}

TEST_F(VideoTest, PauseAndVolumeReachThePlaybackMovieOnlyWhileVideoPlays)
{
    Driver->LoadMovie(L"clip.flv");
    TakeLog();
    Driver->SetPause(true);
    Driver->SetPause(false);
    Driver->SetVolume(30);
    EXPECT_EQ(
        InvokedArguments(TakeLog()),
        (std::vector<std::string>{
            R"(method="StopPlay" args=())",
            R"(method="CallFunction" args=("<invoke name=\"stopflv\" returntype=\"xml\"></invoke>"))",
            R"(method="Play" args=())",
            R"(method="CallFunction" args=("<invoke name=\"playflv\" returntype=\"xml\"></invoke>"))",
            R"(method="SetVariable" args=("flv.volume", "30"))",
        }));

    // Only ".flv" in exactly that case counts: this is an ordinary movie, and ends the video.
    Driver->LoadMovie(L"clip.FLV");
    Driver->SetPause(true);
    Driver->SetVolume(40);
    EXPECT_EQ(InvokedArguments(TakeLog()), (std::vector<std::string>{
                                               R"(method="LoadMovie" args=(0, "clip.FLV"))",
                                               R"(method="StopPlay" args=())",
                                           }));
    EXPECT_EQ(Driver->Volume(), 40);
}

TEST_F(VideoTest, AStreamIsVideoByItsSignatureAndItsCopyIsServedUnderTheToken)
{
    const std::string video = "FLV\x01\x01\0\0\0\x09\0\0\0\0";
    TMemoryStream stream;
    stream.WriteBuffer(video.data(), video.size());
    stream.SetPosition(0);
    Driver->LoadMovieFromStream(stream);
    stream.SetSize(0);
    const auto log = TakeLog();
    const auto calls = InvokedArguments(log);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], R"(method="LoadMovie" args=(0, "flvplayback.swf"))");
    const std::size_t marker = calls[3].find("<stream>");
    ASSERT_NE(marker, std::string::npos) << calls[3];
    const std::string token = calls[3].substr(marker + 8, 8);
    EXPECT_EQ(calls[3],
              R"(method="SetVariable" args=("flv.contentPath", "http://zintara/<stream>)" + token +
                  R"(.flv"))");

    // The playback movie asked for it at once and got the copy, whatever became of the stream.
    const auto streams = LinesOf(log, "NPP_NewStream");
    EXPECT_EQ(std::count_if(streams.begin(), streams.end(),
                            [&](const std::string& Line) {
                                return Contains(Line, "url=\"/<stream>" + token + ".flv\" end=" +
                                                          std::to_string(video.size()));
                            }),
              1)
        << log.size();
}

TEST_F(VideoTest, AStreamWithTheMovieSignatureIsAnOrdinaryMovie)
{
    TMemoryStream movie;
    movie.WriteBuffer(SampleMovieBytes().data(), SampleMovieBytes().size());
    movie.SetPosition(0);
    Driver->LoadMovieFromStream(movie);
    const auto calls = InvokedArguments(TakeLog());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(Contains(calls[0], ".swf\")")) << calls[0];
    TakeLog();
    Driver->SetPause(true);
    EXPECT_EQ(InvokedArguments(TakeLog()),
              std::vector<std::string>{R"(method="StopPlay" args=())"});
}

// The whole way: the playback movie and its skin from the library's resources, the video from
// the file beside the executable, frames in the driver's buffer; pause holds the picture.
TEST_F(VideoTest, TheSampleVideoPlaysInTheBufferAndPausesAndResumes)
{
    WriteBytes(ExecutableFolder() + L"clip.flv", swf::samples::SampleVideo(60));
    CreateDriver(0u, 550, 400);
    Driver->LoadMovie(L"clip.flv");
    std::vector<std::uint32_t> before = PictureAfter(*Driver, 0);
    for (int wait = 0; wait < 40 && !ShowsTheVideo(before); ++wait)
        before = PictureAfter(*Driver, 50);
    ASSERT_TRUE(ShowsTheVideo(before));
    EXPECT_NE(PictureAfter(*Driver, 400), before) << "the video does not advance";

    Driver->SetPause(true);
    const std::vector<std::uint32_t> paused = PictureAfter(*Driver, 200);
    EXPECT_EQ(PictureAfter(*Driver, 400), paused) << "the video goes on while paused";
    Driver->SetPause(false);
    EXPECT_NE(PictureAfter(*Driver, 400), paused) << "the video does not resume";
}

TEST_F(VideoTest, AMissingVideoReachesTheApplicationAsThePlaybackMoviesError)
{
    CreateDriver(0u, 550, 400);
    Driver->LoadMovie(L"no such clip.flv");
    for (int wait = 0; wait < 20 && Requests.empty(); ++wait)
        PictureAfter(*Driver, 50);
    EXPECT_EQ(Requests, std::vector<std::wstring>{L"flvError|NetStream.Play.StreamNotFound"});
}
