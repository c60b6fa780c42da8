// Playback, properties and events of the ActiveX driver against the reference control: what the
// control's log shows of each call, its events reaching the driver's handlers, and the
// enumerated property read from the control's type information.
#include "sample_movies.h"
#include "control_identity.h"
#include "support/driver_events.h"
#include "support/reference_control_exports.h"
#include "support/taken_lines.h"
#include "zintara/framework/controls.h"
#include "zintara/framework/streams.h"
#include "zintara/zn_driver_activex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace zn;
using namespace zn::test;

namespace {

constexpr DISPID ScaleModeDispID = 0x78;
constexpr DISPID WModeDispID = 0x85;

// The property access a derived driver has.
class TPropertyDriver : public TznFlashDriverActiveX {
public:
    using TznFlashDriverActiveX::GetIntegerProp;
    using TznFlashDriverActiveX::GetOleBoolProp;
    using TznFlashDriverActiveX::GetPropDisplayString;
    using TznFlashDriverActiveX::GetStringProp;
    using TznFlashDriverActiveX::SetIntegerProp;
    using TznFlashDriverActiveX::SetOleBoolProp;
    using TznFlashDriverActiveX::SetPropDisplayString;
    using TznFlashDriverActiveX::SetStringProp;
    using TznFlashDriverActiveX::TznFlashDriverActiveX;
    const std::wstring& Movie() const { return FMovie; }
};

// The calls of the control's log, each without the control's identity.
std::vector<std::string> Calls(const std::vector<std::string>& Log, const std::string& Prefix)
{
    std::vector<std::string> calls;
    for (const std::string& line : Log) {
        if (line.rfind(Prefix, 0) != 0)
            continue;
        std::string call = line.substr(0, line.find(' '));
        const std::size_t rest = line.find(' ', line.find(" control=") + 1);
        if (rest != std::string::npos)
            call += line.substr(rest);
        calls.push_back(call);
    }
    return calls;
}

// What the application's exception handler was given.
struct TReports {
    std::vector<std::string> Messages;
    void Report(TObject*, const std::exception& E) { Messages.push_back(E.what()); }
};

class ScriptingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CreateDriver();
    }
    void TearDown() override
    {
        Driver.reset();
        SetApplicationExceptionHandler(nullptr);
        if (Controls.SetVersion)
            Controls.SetVersion(10);
        EXPECT_EQ(TakeLines(Controls.TakeViolations), std::vector<std::string>());
        CoUninitialize();
    }
    void CreateDriver()
    {
        Driver.reset();
        Driver = std::make_unique<TPropertyDriver>(64, 48, 0xFF000000u);
        ASSERT_TRUE(Driver->GetIsFlashAvailable());
        Raised = TDriverEvents();
        Raised.Listen(*Driver);
        Controls = ReferenceControlExports();
        Identity = ControlIdentity(*Driver);
        TakeLines(Controls.TakeLog);
    }
    std::vector<std::string> TakeLog() { return TakeLines(Controls.TakeLog); }
    void LoadSampleMovie()
    {
        const std::vector<std::uint8_t> bytes = swf::samples::SampleMovie();
        TMemoryStream movie;
        movie.Write(bytes.data(), bytes.size());
        Driver->LoadMovieFromStream(movie);
    }

    std::unique_ptr<TPropertyDriver> Driver;
    TReferenceControlExports Controls;
    void* Identity = nullptr;
    TDriverEvents Raised;
    TReports Reports;
};

} // namespace

// Each playback operation is one call of the control's dual interface with the driver's
// arguments: a loop is switched on with -1, as automation booleans are.
TEST_F(ScriptingTest, PlaybackOperationsReachTheControlWithTheirArguments)
{
    LoadSampleMovie();
    TakeLog();
    Driver->Play();
    Driver->StopPlay();
    Driver->Rewind();
    Driver->Forward();
    Driver->Back();
    Driver->SetLoop(true);
    Driver->SetLoop(false);
    Driver->SetCurrentFrame(3);
    Driver->SetVariable(L"name", L"value");
    EXPECT_EQ(Calls(TakeLog(), "IznFlashPlayer."),
              (std::vector<std::string>{
                  "IznFlashPlayer.Play",
                  "IznFlashPlayer.StopPlay",
                  "IznFlashPlayer.Rewind",
                  "IznFlashPlayer.Forward",
                  "IznFlashPlayer.Back",
                  "IznFlashPlayer.put_Loop value=-1",
                  "IznFlashPlayer.put_Loop value=0",
                  "IznFlashPlayer.put_FrameNum value=3",
                  "IznFlashPlayer.GotoFrame frame=3",
                  "IznFlashPlayer.SetVariable name=\"name\" value=\"value\"",
              }));
    EXPECT_FALSE(Driver->GetLoop());
}

// Before version 8 the control's interface ends before CallFunction: the driver asks the
// version and calls neither CallFunction nor SetReturnValue.
TEST_F(ScriptingTest, CallFunctionBeforeVersion8NeverReachesTheControl)
{
    Controls.SetVersion(7);
    CreateDriver();
    EXPECT_EQ(Driver->CallFunction(L"<invoke name=\"echo\" returntype=\"xml\"><arguments>"
                                   L"<string>a</string></arguments></invoke>"),
              L"");
    Driver->SetReturnValue(L"<string>b</string>");
    const auto log = TakeLog();
    EXPECT_EQ(Calls(log, "IznFlashPlayer.CallFunction"), std::vector<std::string>());
    EXPECT_EQ(Calls(log, "IznFlashPlayer.SetReturnValue"), std::vector<std::string>());
    EXPECT_EQ(Calls(log, "IznFlashPlayer.FlashVersion").size(), 2u);
}

// An exception raised by a handler goes to the application's exception handler; the control
// is told S_OK and the driver goes on taking events.
TEST_F(ScriptingTest, AnExceptionInAHandlerIsReportedAndTheControlSeesSuccess)
{
    SetApplicationExceptionHandler(TExceptionEvent::Bind<&TReports::Report>(&Reports));
    Raised.AfterEvent = [](const std::string&) { throw Exception(L"handler failed"); };
    EXPECT_EQ(Controls.FSCommand(Identity, "first", "1"), S_OK);
    Raised.AfterEvent = nullptr;
    EXPECT_EQ(Controls.FSCommand(Identity, "second", "2"), S_OK);
    EXPECT_EQ(Raised.Requests, (std::vector<std::wstring>{L"first|1", L"second|2"}));
    EXPECT_EQ(Reports.Messages, std::vector<std::string>{"handler failed"});
    for (const std::string& line : Calls(TakeLog(), "Event"))
        EXPECT_EQ(line, "Event dispid=150 hr=0x00000000");
}

// Ready-state and progress events are taken (S_OK) and have no handler; only FSCommand and
// FlashCall have one.
TEST_F(ScriptingTest, ReadyStateAndProgressEventsAreDropped)
{
    EXPECT_EQ(Driver->GetEventMethod(-609), nullptr);
    EXPECT_EQ(Driver->GetEventMethod(1958), nullptr);
    EXPECT_NE(Driver->GetEventMethod(150), nullptr);
    EXPECT_NE(Driver->GetEventMethod(197), nullptr);
    EXPECT_EQ(Driver->GetEventMethod(12345), nullptr);

    LoadSampleMovie();
    const std::vector<std::string> events = Calls(TakeLog(), "Event");
    for (const char* event : {"Event dispid=-609 hr=0x00000000", "Event dispid=1958 hr=0x00000000"})
        EXPECT_NE(std::find(events.begin(), events.end(), event), events.end()) << event;
    // The movie's own call is all the driver raised.
    EXPECT_EQ(std::count(Raised.Events.begin(), Raised.Events.end(), "fscommand"), 0);
    EXPECT_EQ(Raised.Requests.size(), 1u);
}

// The control's one enumerated property, from its type information, as strings both ways.
TEST_F(ScriptingTest, EnumeratedPropertiesComeFromTheTypeInformation)
{
    const std::vector<TEnumPropDesc>& descs = Driver->CreateEnumPropDescs();
    ASSERT_EQ(descs.size(), 1u);
    const TEnumPropDesc& scale = descs[0];
    EXPECT_EQ(scale.DispID(), ScaleModeDispID);
    EXPECT_EQ(scale.GetStrings(),
              (std::vector<std::wstring>{L"0 - ShowAll", L"1 - NoBorder", L"2 - ExactFit"}));
    EXPECT_EQ(scale.ValueToString(1), L"1 - NoBorder");
    EXPECT_EQ(scale.ValueToString(9), L"9");
    EXPECT_EQ(scale.StringToValue(L"2 - ExactFit"), 2);
    EXPECT_EQ(scale.StringToValue(L"0"), 0);
    EXPECT_EQ(scale.StringToValue(L"noborder"), 1);
    EXPECT_THROW(scale.StringToValue(L"7 - ExactFit"), EOleException);
    EXPECT_THROW(scale.StringToValue(L"Stretch"), EOleException);
    EXPECT_THROW(scale.StringToValue(L""), EOleException);
}

// Properties by DISPID: typed puts reach the control as their variant types, gets read them
// back, and a property the control lacks raises.
TEST_F(ScriptingTest, PropertiesByDispIDReachTheControl)
{
    Driver->SetIntegerProp(ScaleModeDispID, 2);
    EXPECT_EQ(Driver->GetIntegerProp(ScaleModeDispID), 2);
    EXPECT_EQ(Driver->GetStringProp(WModeDispID), L"Transparent");
    EXPECT_EQ(Driver->GetPropDisplayString(WModeDispID), L"Transparent");
    Driver->SetPropDisplayString(WModeDispID, L"Opaque");
    EXPECT_EQ(Driver->GetStringProp(WModeDispID), L"Opaque");
    Driver->SetOleBoolProp(0x6a, true);
    EXPECT_TRUE(Driver->GetOleBoolProp(0x6a));
    const auto calls = Calls(TakeLog(), "IznFlashPlayer.put_");
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "IznFlashPlayer.put_ScaleMode value=2",
                         "IznFlashPlayer.put_WMode value=\"Opaque\"",
                         "IznFlashPlayer.put_Loop value=-1",
                     }));
    EXPECT_THROW(Driver->GetIntegerProp(0x7777), EOleSysError);
}

// FLV video is played by the built-in playback movie, handed the skin, the volume and the video's
// name with forward slashes under the pseudo host; the driver keeps that name as its movie.
TEST_F(ScriptingTest, AnFlvNameLoadsThePlaybackMovieAndHandsItTheVideo)
{
    Driver->SetSkin(L"SteelOverAll");
    Driver->SetVolume(80);
    Driver->LoadMovie(L"C:\\video\\clip.flv");
    const auto log = TakeLog();
    std::vector<std::string> loads = Calls(log, "IznFlashPlayer.LoadMovie");
    const std::vector<std::string> variables = Calls(log, "IznFlashPlayer.SetVariable");
    loads.insert(loads.end(), variables.begin(), variables.end());
    EXPECT_EQ(loads, (std::vector<std::string>{
                         R"(IznFlashPlayer.LoadMovie layer=0 url="http://zintara/flvplayback.swf")",
                         R"(IznFlashPlayer.SetVariable name="flv.skin" value="SteelOverAll.swf")",
                         R"(IznFlashPlayer.SetVariable name="flv.volume" value="80")",
                         R"(IznFlashPlayer.SetVariable name="flv.contentPath" )"
                         R"(value="http://zintara/C:/video/clip.flv")",
                     }));
    EXPECT_EQ(Driver->Movie(), L"C:/video/clip.flv");

    // Only ".flv" in exactly that case counts; an ordinary movie ends the video's pause calls.
    Driver->LoadMovie(L"clip.FLV");
    Driver->SetPause(true);
    const auto after = TakeLog();
    EXPECT_EQ(Calls(after, "IznFlashPlayer.LoadMovie"),
              std::vector<std::string>{
                  R"(IznFlashPlayer.LoadMovie layer=0 url="http://zintara/clip.FLV")"});
    EXPECT_TRUE(Calls(after, "IznFlashPlayer.CallFunction").empty());
    EXPECT_EQ(Driver->Movie(), L"clip.FLV");
}

// A stream of video is named by its copy's token and handed over before the skin and volume.
TEST_F(ScriptingTest, AStreamOfVideoHandsThePlaybackMovieItsTokenFirst)
{
    const std::string video = std::string("FLV\x01\x01\0\0\0\x09\0\0\0\0", 13);
    TMemoryStream stream;
    stream.Write(video.data(), video.size());
    Driver->LoadMovieFromStream(stream);
    const auto variables = Calls(TakeLog(), "IznFlashPlayer.SetVariable");
    ASSERT_EQ(variables.size(), 3u);
    EXPECT_NE(variables[0].find(R"(name="flv.contentPath" value="http://zintara/<stream>)"),
              std::string::npos)
        << variables[0];
    EXPECT_NE(variables[0].find(R"(.flv")"), std::string::npos) << variables[0];
    EXPECT_NE(variables[1].find("flv.skin"), std::string::npos);
    EXPECT_NE(variables[2].find("flv.volume"), std::string::npos);
    EXPECT_TRUE(Driver->Movie().empty());
}
