// FLV video goes through the built-in playback movie: which loads count as video, and what the
// playback movie is handed, in which order and form.
#include "driver_fixture.h"

#include "zintara/framework/streams.h"

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
    const auto calls = InvokedArguments(TakeLog());
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], R"(method="LoadMovie" args=(0, "flvplayback.swf"))");
    const std::size_t marker = calls[3].find("<stream>");
    ASSERT_NE(marker, std::string::npos) << calls[3];
    const std::string url = "http://zintara/<stream>" + calls[3].substr(marker + 8, 8) + ".flv";
    EXPECT_EQ(calls[3], R"(method="SetVariable" args=("flv.contentPath", ")" + url + "\")");

    // What the playback movie then asks for is the copy, whatever became of the stream.
    stream.SetSize(0);
    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), url.c_str()), 0);
    const auto streams = LinesOf(TakeLog(), "NPP_NewStream");
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_TRUE(Contains(streams[0], ".flv\" end=" + std::to_string(video.size())));
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
