// Scripting both ways: the application calls the movie's callbacks and variables, the movie
// raises FSCommands and ExternalInterface calls that the application answers, also from inside
// the application's own call into the movie.
#include "driver_fixture.h"

#include "zintara/framework/application.h"

#include <stdexcept>

using namespace zn;
using namespace zn::test;

namespace {

std::wstring Invoke(const std::wstring& Name, const std::wstring& Argument)
{
    return L"<invoke name=\"" + Name + L"\" returntype=\"xml\"><arguments><string>" + Argument +
           L"</string></arguments></invoke>";
}

// The movie's ExternalInterface call of Name with Arguments, through the plug-in; the answer
// the plug-in received.
std::string CallOut(void* Npp, const char* Name, std::vector<ZnNpArgument> Arguments)
{
    char answer[512] = {};
    const std::int32_t length = TReferencePlugin::Loaded().ExternalCall(
        Npp, Name, Arguments.data(), static_cast<std::uint32_t>(Arguments.size()), answer,
        sizeof answer);
    return length < 0 ? "refused" : std::string(answer);
}

struct TExceptionRecorder {
    void Record(TObject*, const std::exception& E) { Messages.push_back(E.what()); }
    std::vector<std::string> Messages;
};

} // namespace

class ScriptingTest : public DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        CreateDriver(0u);
        Driver->LoadMovie(SampleMovieName);
        Driver->StopPlay();
        Requests.clear();
        Events.clear();
        TakeLog();
    }
};

TEST_F(ScriptingTest, TheMoviesFirstFrameCalledOutWithItsArguments)
{
    CreateDriver(0u);
    Driver->LoadMovie(SampleMovieName);
    ASSERT_FALSE(Requests.empty());
    EXPECT_EQ(Requests[0], L"<invoke name=\"movieReady\" returntype=\"xml\"><arguments>"
                           L"<string>sample</string><number>1</number></arguments></invoke>");
}

TEST_F(ScriptingTest, CallFunctionReachesACallbackTheMovieRegistered)
{
    const std::wstring answer = Driver->CallFunction(Invoke(L"echo", L"hi"));
    EXPECT_NE(answer.find(L"echo:hi"), std::wstring::npos)
        << std::string(answer.begin(), answer.end());
    const auto invokes = LinesOf(TakeLog(), "NPObject.Invoke");
    ASSERT_EQ(invokes.size(), 1u);
    EXPECT_TRUE(Contains(invokes[0], "method=\"CallFunction\""));
}

TEST_F(ScriptingTest, VariablesGoBothWays)
{
    Driver->SetVariable(L"colour", L"blue");
    EXPECT_EQ(Driver->GetVariable(L"colour"), L"blue");
    const auto invokes = LinesOf(TakeLog(), "NPObject.Invoke");
    ASSERT_EQ(invokes.size(), 2u);
    EXPECT_TRUE(Contains(invokes[0], "method=\"SetVariable\" args=(\"colour\", \"blue\")"));
    EXPECT_TRUE(Contains(invokes[1], "method=\"GetVariable\" args=(\"colour\")"));
}

TEST_F(ScriptingTest, AnFSCommandRaisesOnFSCommand)
{
    ASSERT_EQ(TReferencePlugin::Loaded().FSCommand(Npp(), "quit", "true"), 0);
    EXPECT_EQ(Requests, std::vector<std::wstring>{L"quit|true"});
}

TEST_F(ScriptingTest, AnExternalCallIsAnsweredWithTheReturnValue)
{
    FlashCallHandler = [&](const std::wstring&) { Driver->SetReturnValue(L"<string>ok</string>"); };
    EXPECT_EQ(CallOut(Npp(), "hostFunction", {{"a", 0}, {"2", 1}}), "<string>ok</string>");
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0], L"<invoke name=\"hostFunction\" returntype=\"xml\"><arguments>"
                           L"<string>a</string><number>2</number></arguments></invoke>");
}

TEST_F(ScriptingTest, WithoutAnAnswerTheCallReturnsEmpty)
{
    Driver->SetReturnValue(L"left over");
    EXPECT_EQ(CallOut(Npp(), "hostFunction", {}), "");
    EXPECT_EQ(Requests.at(0),
              L"<invoke name=\"hostFunction\" returntype=\"xml\"><arguments></arguments></invoke>");
}

TEST_F(ScriptingTest, TheMovieMayCallOutWhileTheApplicationCallsIn)
{
    // The application answers the outer call, then calls the movie, which calls out again
    // before the outer call has returned.
    int depth = 0;
    std::string inner_answer;
    FlashCallHandler = [&](const std::wstring& Request) {
        if (Request.find(L"\"outer\"") != std::wstring::npos) {
            Driver->SetReturnValue(L"<string>outer answer</string>");
            ++depth;
            inner_answer = CallOut(Npp(), "inner", {});
            EXPECT_NE(Driver->CallFunction(Invoke(L"echo", L"nested")).find(L"echo:nested"),
                      std::wstring::npos);
            --depth;
        } else {
            EXPECT_EQ(depth, 1);
            Driver->SetReturnValue(L"<string>inner answer</string>");
        }
    };
    EXPECT_EQ(CallOut(Npp(), "outer", {}), "<string>outer answer</string>");
    EXPECT_EQ(inner_answer, "<string>inner answer</string>");
    EXPECT_EQ(Requests.size(), 2u);
}

// An application's handler that raises: the exception reaches the application's exception
// handler, the plug-in gets the entry's answer and the movie goes on.
TEST_F(ScriptingTest, AnExceptionInTheHandlerGoesToTheApplicationNotThePlugin)
{
    TApplication application(nullptr);
    TExceptionRecorder recorder;
    application.OnException = TExceptionEvent::Bind<&TExceptionRecorder::Record>(&recorder);

    FlashCallHandler = [&](const std::wstring&) { throw std::runtime_error("call failed"); };
    EXPECT_EQ(CallOut(Npp(), "hostFunction", {}), "");
    FlashCallHandler = nullptr;
    AfterEvent = [](const std::string& Event) {
        if (Event == "fscommand")
            throw std::runtime_error("command failed");
    };
    EXPECT_EQ(TReferencePlugin::Loaded().FSCommand(Npp(), "quit", "true"), 0);
    AfterEvent = nullptr;
    EXPECT_EQ(recorder.Messages, (std::vector<std::string>{"call failed", "command failed"}));

    EXPECT_NE(Driver->CallFunction(Invoke(L"echo", L"after")).find(L"echo:after"),
              std::wstring::npos);
}

TEST_F(ScriptingTest, AMovieArgumentCannotAddMarkupToTheRequest)
{
    CallOut(Npp(), "f", {{"</string><string>x", 0}});
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0], L"<invoke name=\"f\" returntype=\"xml\"><arguments>"
                           L"<string>&lt;/string&gt;&lt;string&gt;x</string></arguments></invoke>");
}

// The plug-in quotes the movie's text for its script; the application gets the text itself,
// escaped once, for XML.
TEST_F(ScriptingTest, AMovieArgumentArrivesAsTheMoviePassedIt)
{
    CallOut(Npp(), "f", {{"a\"b\\c\nd", 0}});
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0], L"<invoke name=\"f\" returntype=\"xml\"><arguments>"
                           L"<string>a&quot;b\\c\nd</string></arguments></invoke>");
}
