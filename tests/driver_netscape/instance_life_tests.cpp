// The life of the plug-in instance against a hostile plug-in: movies reloaded and drivers freed
// from inside the plug-in's own calls, requests made from inside NPP_New, and calls that fail.
// The fixture checks after each case that the plug-in saw no violation of its contract.
#include "driver_fixture.h"

#include "netscape_unit.h"

#include <cstring>

using namespace zn;
using namespace zn::test;

namespace {

std::string NppText(void* Npp)
{
    char text[16];
    snprintf(text, sizeof text, "npp=0x%08x",
             static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(Npp)));
    return text;
}

// The lines of Log from the first one that begins with Call on; all of it when there is none.
std::vector<std::string> From(const std::vector<std::string>& Log, const std::string& Call,
                              std::size_t Occurrence = 0)
{
    for (std::size_t i = 0; i < Log.size(); ++i)
        if (Log[i].rfind(Call + " ", 0) == 0 && Occurrence-- == 0)
            return {Log.begin() + static_cast<std::ptrdiff_t>(i), Log.end()};
    return {};
}

} // namespace

class InstanceLifeTest : public DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        CreateDriverWithStoppedMovie(0xFF000000u);
    }

    void Hostile(unsigned Flags, const char* Url = nullptr)
    {
        TReferencePlugin::Loaded().SetHostile(Flags, Url);
    }

    // Runs Action in the handler of the first FSCommand whose text begins with Command.
    void OnFirstFSCommand(const std::wstring& Command, std::function<void()> Action)
    {
        AfterEvent = [this, Command, Action, done = false](const std::string& Raised) mutable {
            if (Raised == "fscommand" && !done && Requests.back().rfind(Command, 0) == 0) {
                done = true;
                Action();
            }
        };
    }
};

TEST_F(InstanceLifeTest, AMovieReloadedDuringNPP_WriteGetsNothingOfTheOldStream)
{
    void* old_npp = Npp();
    Hostile(ZnNpHostileWriteCallsOut);
    OnFirstFSCommand(L"write|sample.swf", [this] { Driver->LoadMovie(SpacedMovieName); });
    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(old_npp, "sample.swf?lang=en"), 0);
    AfterEvent = nullptr;

    const auto log = TakeLog();
    EXPECT_NE(Npp(), old_npp);
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
    // From the reload on, the old stream is only broken off, on its own instance, which is
    // destroyed after that; its query pair is dropped.
    const auto after_reload = From(log, "NPP_New");
    ASSERT_FALSE(after_reload.empty());
    for (const std::string& line : after_reload)
        if (Contains(line, "url=\"sample.swf\"")) {
            EXPECT_TRUE(Contains(line, NppText(old_npp)) && Contains(line, "reason=2")) << line;
        }
    EXPECT_EQ(LinesOf(after_reload, "NPP_DestroyStream").size(), 2u);
    EXPECT_EQ(LinesOf(log, "NPP_Destroy"),
              std::vector<std::string>{"NPP_Destroy " + NppText(old_npp)});
    const auto destroyed = From(log, "NPP_Destroy");
    EXPECT_TRUE(LinesOf(destroyed, "NPP_DestroyStream").empty());
    for (const std::string& line : LinesOf(log, "NPObject.Invoke"))
        EXPECT_FALSE(Contains(line, "SetVariable")) << line;
}

TEST_F(InstanceLifeTest, ADriverFreedDuringNPP_WriteDestroysItsInstanceAfterTheWrite)
{
    void* npp = Npp();
    Hostile(ZnNpHostileWriteCallsOut);
    OnFirstFSCommand(L"write|sample.swf", [this] { Driver.reset(); });
    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(npp, "sample.swf?lang=en"), 0);
    AfterEvent = nullptr;

    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
    const auto order = CallOrder(From(TakeLog(), "NPP_Write"));
    EXPECT_EQ(order, (std::vector<std::string>{"NPP_Write", "NPP_URLNotify", "NPP_DestroyStream",
                                               "NPP_Destroy"}));
}

TEST_F(InstanceLifeTest, ARequestMadeInsideNPP_NewIsServed)
{
    Hostile(ZnNpHostileRequestInNew, "sample movie.swf");
    CreateDriver(0xFF000000u);
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
}

TEST_F(InstanceLifeTest, ADriverFreedInsideNPP_NewIsDestroyedAfterIt)
{
    Hostile(ZnNpHostileRequestInNew | ZnNpHostileWriteCallsOut, "sample movie.swf");
    OnFirstFSCommand(L"write|sample movie.swf", [this] { Driver.reset(); });
    Driver->LoadMovie(SampleMovieName);
    AfterEvent = nullptr;
    EXPECT_EQ(Driver, nullptr);
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
    EXPECT_TRUE(LinesOf(TakeLog(), "NPObject.Invoke").empty());
}

TEST_F(InstanceLifeTest, ASetVariableRefusedTwiceReachesTheCaller)
{
    Hostile(ZnNpHostileSetVariableFails);
    EXPECT_THROW(Driver->SetVariable(L"level", L"2"), Exception);
    EXPECT_EQ(LinesOf(TakeLog(), "NPObject.Invoke").size(), 2u);
    EXPECT_EQ(Requests, (std::vector<std::wstring>{L"setvariable|level", L"setvariable|level"}));
}

// The refusal ends the delivery (the movie has its stream by then), not the request.
TEST_F(InstanceLifeTest, AQueryPairTheMovieRefusesLeavesTheRequestAccepted)
{
    Hostile(ZnNpHostileSetVariableFails);
    EXPECT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), "sample.swf?lang=en"), NPERR_NO_ERROR);
    EXPECT_EQ(
        CallOrder(TakeLog()),
        (std::vector<std::string>{"NPP_NewStream", "NPP_Write", "NPP_URLNotify",
                                  "NPP_DestroyStream", "NPObject.Invoke", "NPObject.Invoke"}));
}

TEST_F(InstanceLifeTest, SetVariableIsNotMadeAgainOnAFreedDriver)
{
    Hostile(ZnNpHostileSetVariableFails);
    TznFlashDriverNS* driver = Driver.get();
    OnFirstFSCommand(L"setvariable|", [this] { Driver.reset(); });
    driver->SetVariable(L"level", L"2");
    AfterEvent = nullptr;
    const auto log = TakeLog();
    EXPECT_EQ(LinesOf(log, "NPObject.Invoke").size(), 1u);
    EXPECT_EQ(CallOrder(log), (std::vector<std::string>{"NPObject.Invoke", "NPP_Destroy"}));
}

TEST_F(InstanceLifeTest, AnInstanceThatLeavesPdataNullStillPlays)
{
    Hostile(ZnNpHostileNullPdata);
    Driver->LoadMovie(SpacedMovieName);
    EXPECT_EQ(static_cast<PNPP>(Npp())->pdata, nullptr);
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
    Driver.reset();
    EXPECT_EQ(TReferencePlugin::Loaded().LiveInstances(), 0u);
}

// A plug-in that trusts the table's minor version 18 calls enumerate. Until the table carries
// that entry the plug-in reports the null entry, and this case is skipped rather than failed.
TEST_F(InstanceLifeTest, APluginThatCallsEnumerateFindsTheEntry)
{
    const auto& funcs = netscape::TNetscapeUnit::Instance().BrowserFuncs();
    void* enumerate = nullptr;
    std::memcpy(&enumerate, reinterpret_cast<const char*>(&funcs) + BrowserFuncsSize,
                sizeof enumerate);
    if (!enumerate)
        GTEST_SKIP() << "the browser table has no enumerate entry yet";
    Hostile(ZnNpHostileEnumerate);
    Driver->LoadMovie(SpacedMovieName);
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
}
