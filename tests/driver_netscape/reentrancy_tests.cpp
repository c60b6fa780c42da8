// Event handlers that act on the driver from inside the plug-in's call-outs: freeing it,
// loading another movie, calling back into the movie.
#include "driver_fixture.h"

using namespace zn;
using namespace zn::test;

class ReentrancyTest : public DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        CreateDriverWithStoppedMovie(0xFF000000u);
    }

    // The handler of Event frees the driver.
    void FreeDriverOn(const std::string& Event)
    {
        AfterEvent = [this, Event](const std::string& Raised) {
            if (Raised == Event)
                Driver.reset();
        };
    }
};

TEST_F(ReentrancyTest, AnFSCommandHandlerMayFreeTheDriver)
{
    void* npp = Npp();
    FreeDriverOn("fscommand");
    EXPECT_EQ(TReferencePlugin::Loaded().FSCommand(npp, "quit", "true"), 0);
    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
    EXPECT_EQ(CallOrder(TakeLog()), std::vector<std::string>{"NPP_Destroy"});
}

TEST_F(ReentrancyTest, AFlashCallHandlerMayFreeTheDriver)
{
    void* npp = Npp();
    FreeDriverOn("flashcall");
    char answer[64] = {1};
    EXPECT_EQ(
        TReferencePlugin::Loaded().ExternalCall(npp, "bye", nullptr, 0, answer, sizeof answer), 0);
    EXPECT_STREQ(answer, "");
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
}

TEST_F(ReentrancyTest, APaintHandlerMayFreeTheDriver)
{
    void* npp = Npp();
    FreeDriverOn("paint");
    EXPECT_EQ(TReferencePlugin::Loaded().InvalidateRect(npp, 0, 0, 50, 50), 0);
    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
}

TEST_F(ReentrancyTest, AHandlerMayLoadAnotherMovieWhileTheOldOneCallsOut)
{
    void* npp = Npp();
    AfterEvent = [this](const std::string& Raised) {
        if (Raised == "fscommand")
            Driver->LoadMovie(SpacedMovieName);
    };
    EXPECT_EQ(TReferencePlugin::Loaded().FSCommand(npp, "next", ""), 0);
    AfterEvent = nullptr;
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 1u);
    const auto log = TakeLog();
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream").at(0), "url=\"sample movie.swf\""));
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
}

TEST_F(ReentrancyTest, AMovieLoadedWhileTheMovieLoadsIsServedToo)
{
    // The first frame's call-out happens while the plug-in takes the stream.
    bool reloaded = false;
    AfterEvent = [&](const std::string& Raised) {
        if (Raised == "flashcall" && !reloaded) {
            reloaded = true;
            Driver->LoadMovie(SpacedMovieName);
        }
    };
    Driver->LoadMovie(SampleMovieName);
    AfterEvent = nullptr;
    EXPECT_TRUE(reloaded);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 1u);
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
    const auto streams = LinesOf(TakeLog(), "NPP_NewStream");
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_TRUE(Contains(streams[1], "url=\"sample movie.swf\""));
}
