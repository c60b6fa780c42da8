// The movie state the base class keeps for both hosts: pause and volume reach the player's
// operations, the callbacks from the movie reach the component, and the null driver's player
// operations answer nothing.
#include "recording_driver.h"

#include "zintara/framework/streams.h"

#include <gtest/gtest.h>

using namespace zn;
using namespace zn::test;

class DriverMovieState : public ::testing::Test {
protected:
    TRecordingDriver driver{4, 4, 0xFFFFFFFFu};
};

TEST_F(DriverMovieState, PauseStopsAndResumesTheMovie)
{
    driver.SetPause(true);
    EXPECT_TRUE(driver.Pause());
    driver.SetPause(true);
    driver.SetPause(false);
    EXPECT_FALSE(driver.Pause());
    EXPECT_EQ(driver.Calls, (std::vector<std::wstring>{L"StopPlay", L"StopPlay", L"Play"}));
}

TEST_F(DriverMovieState, PauseOfAVideoAlsoStopsAndResumesThePlayback)
{
    driver.SetIsVideo(true);
    driver.SetPause(true);
    driver.SetPause(false);
    EXPECT_EQ(
        driver.Calls,
        (std::vector<std::wstring>{
            L"StopPlay", L"CallFunction <invoke name=\"stopflv\" returntype=\"xml\"></invoke>",
            L"Play", L"CallFunction <invoke name=\"playflv\" returntype=\"xml\"></invoke>"}));
}

TEST_F(DriverMovieState, VolumeIsStoredAndPassedToAPlayingVideo)
{
    driver.SetVolume(200);
    EXPECT_EQ(driver.Volume(), 200);
    EXPECT_TRUE(driver.Calls.empty());

    driver.SetIsVideo(true);
    driver.SetVolume(75);
    driver.SetVolume(-3);
    EXPECT_EQ(driver.Volume(), -3);
    EXPECT_EQ(driver.Calls, (std::vector<std::wstring>{L"SetVariable flv.volume = 75",
                                                       L"SetVariable flv.volume = -3"}));
}

TEST_F(DriverMovieState, CallsFromTheMovieReachTheComponentWithTheDriverAsSender)
{
    struct TReceiver {
        std::vector<std::wstring> Received;
        TObject* Sender = nullptr;
        void FSCommand(TObject* ASender, const std::wstring& command, const std::wstring& args)
        {
            Sender = ASender;
            Received.push_back(command + L"(" + args + L")");
        }
        void FlashCall(TObject* ASender, const std::wstring& request)
        {
            Sender = ASender;
            Received.push_back(request);
        }
    } receiver;

    driver.DoFSCommand(L"quit", L"");
    driver.DoFlashCall(L"<invoke name=\"f\"/>");
    EXPECT_TRUE(receiver.Received.empty());

    driver.SetOnFSCommand(TznFSCommandEvent::Bind<&TReceiver::FSCommand>(&receiver));
    driver.SetOnFlashCall(TznFlashCallEvent::Bind<&TReceiver::FlashCall>(&receiver));
    driver.DoFSCommand(L"fullscreen", L"true");
    driver.DoFlashCall(L"<invoke name=\"f\"/>");
    EXPECT_EQ(receiver.Received,
              (std::vector<std::wstring>{L"fullscreen(true)", L"<invoke name=\"f\"/>"}));
    EXPECT_EQ(receiver.Sender, &driver);
}

TEST(NullDriver, AnswersEveryPlayerOperationWithNothing)
{
    TznFlashDriver driver(4, 4, 0);
    IznFlash& flash = driver;
    std::vector<std::uint8_t> bytes{'F', 'W', 'S'};
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());

    flash.LoadMovie(L"movie.swf");
    flash.LoadMovieFromStream(stream);
    flash.SetVariable(L"a", L"1");
    flash.SetLoop(true);
    flash.SetCurrentFrame(5);
    flash.Play();
    EXPECT_EQ(flash.GetVariable(L"a"), L"");
    EXPECT_EQ(flash.CallFunction(L"<invoke name=\"f\"/>"), L"");
    EXPECT_FALSE(flash.GetLoop());
    EXPECT_FALSE(flash.GetIsPlaying());
    EXPECT_EQ(flash.GetCurrentFrame(), 0);
    EXPECT_EQ(flash.GetTotalFrames(), 0);
    EXPECT_FALSE(TznFlashDriver::PluginExists());
    EXPECT_EQ(driver.ClassName(), L"TznFlashDriver");
}
