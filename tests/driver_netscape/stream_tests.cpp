// Streams the driver serves for the plug-in's requests: files, decoded names, query pairs,
// application streams, resources, and requests that find nothing.
#include "driver_fixture.h"

#include "netscape_unit.h"

#include "zintara/core/flash_list.h"
#include "zintara/framework/streams.h"
#include "zintara/framework/text.h"

#include <stdexcept>

using namespace zn;
using namespace zn::test;

namespace {

const std::string SampleSize = std::to_string(SampleMovieBytes().size());

// The stream calls of a log in order, without the painting around them.
std::vector<std::string> StreamCalls(const std::vector<std::string>& Log)
{
    std::vector<std::string> calls;
    for (const std::string& call : CallOrder(Log))
        if (call.rfind("NPP_", 0) == 0 && call != "NPP_New" && call != "NPP_Destroy" &&
            call != "NPP_GetValue")
            calls.push_back(call);
    return calls;
}

const std::vector<std::string> OneStream{"NPP_NewStream", "NPP_Write", "NPP_URLNotify",
                                         "NPP_DestroyStream"};

} // namespace

class StreamTest : public DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        CreateDriver(0xFF000000u);
    }
};

TEST_F(StreamTest, AMovieBesideTheExecutableIsDeliveredWholeInOneWrite)
{
    Driver->LoadMovie(SampleMovieName);
    const auto log = TakeLog();
    EXPECT_EQ(StreamCalls(log), OneStream);
    const std::string opened = LinesOf(log, "NPP_NewStream").at(0);
    EXPECT_TRUE(Contains(opened, "type=\"application/x-shockwave-flash\""));
    EXPECT_TRUE(Contains(opened, "url=\"sample.swf\" end=" + SampleSize));
    EXPECT_TRUE(Contains(opened, "seekable=1"));
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_Write").at(0), "offset=0 length=" + SampleSize));
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_URLNotify").at(0), "url=\"sample.swf\" reason=0"));
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_DestroyStream").at(0), "reason=0"));
    // The window is announced once the movie is there.
    EXPECT_FALSE(LinesOf(log, "NPP_SetWindow").empty());
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
}

TEST_F(StreamTest, AFileUrlIsDecodedToTheFileNameWithABlank)
{
    std::string folder = ExecutableFolderAnsi();
    for (char& c : folder)
        if (c == '\\')
            c = '/';
    const std::string url = "file:///" + folder + "sample%20movie.swf";
    Driver->LoadMovie(std::wstring(url.begin(), url.end()));
    const auto log = TakeLog();
    EXPECT_EQ(StreamCalls(log), OneStream);
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream").at(0),
                         "url=\"" + folder + "sample%20movie.swf\" end=" + SampleSize));
}

TEST_F(StreamTest, QueryPairsAreSetAfterTheStreamInOrder)
{
    Driver->LoadMovie(SampleMovieName + L"?lang=en&level=2");
    const auto log = TakeLog();
    std::vector<std::string> order;
    for (const std::string& line : log)
        if (Contains(line, "NPP_DestroyStream") || Contains(line, "method=\"SetVariable\""))
            order.push_back(line);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_TRUE(Contains(order[0], "NPP_DestroyStream"));
    EXPECT_TRUE(Contains(order[1], "args=(\"lang\", \"en\")"));
    EXPECT_TRUE(Contains(order[2], "args=(\"level\", \"2\")"));
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream").at(0), "url=\"sample.swf\""));
    EXPECT_EQ(Driver->GetVariable(L"level"), L"2");
}

TEST_F(StreamTest, AnApplicationStreamIsServedOnceUnderItsToken)
{
    TMemoryStream movie;
    movie.WriteBuffer(SampleMovieBytes().data(), SampleMovieBytes().size());
    movie.SetPosition(0);
    Driver->LoadMovieFromStream(movie);
    const auto log = TakeLog();
    const std::string load = LinesOf(log, "NPObject.Invoke").at(0);
    const std::size_t marker = load.find("<stream>");
    ASSERT_NE(marker, std::string::npos) << load;
    const std::string token = load.substr(marker + 8, 8);
    EXPECT_TRUE(Contains(load, "args=(0, \"http://zintara/<stream>" + token + ".swf\")"));
    EXPECT_EQ(StreamCalls(log), OneStream);
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream").at(0),
                         "url=\"/<stream>" + token + ".swf\" end=" + SampleSize));

    const std::string again = "http://zintara/<stream>" + token + ".swf";
    EXPECT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), again.c_str()), 0);
    EXPECT_TRUE(LinesOf(TakeLog(), "NPP_NewStream").empty());
}

// A name the system code page cannot carry reaches the player as a copy read at load time.
TEST_F(StreamTest, AMovieWhoseNameTheCodePageCannotCarryStillPlays)
{
    for (const std::wstring name : {L"\u0444\u0438\u043b\u044c\u043c.swf", L"\u96fb\u5f71.swf"}) {
        if (AnsiToWide(WideToAnsi(name)) == name)
            GTEST_SKIP() << "the system code page carries the test's names";
        const std::wstring path = ExecutableFolder() + name;
        WriteBytes(path, SampleMovieBytes());
        Driver->LoadMovie(path);
        DeleteFileW(path.c_str());
        const auto log = TakeLog();
        ASSERT_EQ(StreamCalls(log), OneStream);
        EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream").at(0), ".swf\" end=" + SampleSize));
        EXPECT_EQ(Driver->GetTotalFrames(), 8);
    }
}

TEST_F(StreamTest, AStreamWithFewerBytesThanItsSizeLoadsNothing)
{
    TMemoryStream movie;
    movie.WriteBuffer(SampleMovieBytes().data(), SampleMovieBytes().size());
    movie.SetPosition(10);
    EXPECT_THROW(Driver->LoadMovieFromStream(movie), Exception);
    EXPECT_TRUE(LinesOf(TakeLog(), "NPObject.Invoke").empty());
}

TEST_F(StreamTest, MadeUpTokensAndUnknownNamesDeliverNothingAndAreRefused)
{
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    for (const char* url :
         {"http://zintara/<stream>00000000.swf", "<stream>FFFFFFFF", "/<stream>12345",
          "no such movie.swf", "", "http://zintara/", "C:\\nowhere\\at\\all.swf"})
        EXPECT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), url), 0) << url;
    const auto log = TakeLog();
    EXPECT_TRUE(LinesOf(log, "NPP_NewStream").empty());
    // Each refusal reaches the player, which would otherwise wait for the file for ever.
    const auto notices = LinesOf(log, "NPP_URLNotify");
    ASSERT_EQ(notices.size(), 7u);
    EXPECT_TRUE(Contains(notices[3], "url=\"no such movie.swf\" reason=1"));
}

TEST_F(StreamTest, ScriptUrlsAreRefused)
{
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    EXPECT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), "javascript:alert(1)"), 10);
    EXPECT_TRUE(LinesOf(TakeLog(), "NPP_NewStream").empty());
}

// The stream was delivered and notified before the handler threw: an error answer would make
// the plug-in end the request a second time.
TEST_F(StreamTest, AnExceptionFromAHandlerDuringTheDeliveryLeavesTheRequestAccepted)
{
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    AfterEvent = [](const std::string& Raised) {
        if (Raised == "paint")
            throw std::runtime_error("the application's handler failed");
    };
    EXPECT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), "sample.swf"), NPERR_NO_ERROR);
    AfterEvent = nullptr;
    EXPECT_EQ(StreamCalls(TakeLog()), OneStream);
}

TEST_F(StreamTest, ARequestForAnotherWindowStartsNothing)
{
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    const auto& funcs = netscape::TNetscapeUnit::Instance().BrowserFuncs();
    EXPECT_EQ(funcs.geturlnotify(Driver->Instance(), "sample.swf", "_blank", nullptr),
              NPERR_NO_ERROR);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(StreamTest, AResourceOfTheLibraryModuleIsServedByItsNameWithoutExtension)
{
    Driver->LoadMovie(SampleMovieName);
    TakeLog();
    EXPECT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), "skins/testresource.bin"), 0);
    const auto log = TakeLog();
    EXPECT_EQ(StreamCalls(log), OneStream);
    EXPECT_TRUE(
        Contains(LinesOf(log, "NPP_NewStream").at(0), "url=\"skins/testresource.bin\" end=11"));
}

TEST_F(StreamTest, AnEmbeddedFileIsServedByTheFilePartOfTheName)
{
    TznFlashList list(nullptr);
    TznFlashStream* item = list.Flashs()->Add();
    item->SetFlashStore(L"Embedded.SWF");
    item->Flash().WriteBuffer(SampleMovieBytes().data(), SampleMovieBytes().size());
    Driver->LoadMovie(L"http://zintara/some/folder/embedded.swf");
    const auto log = TakeLog();
    EXPECT_EQ(StreamCalls(log), OneStream);
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream").at(0),
                         "url=\"/some/folder/embedded.swf\" end=" + SampleSize));
    EXPECT_EQ(Driver->GetTotalFrames(), 8);
}

TEST_F(StreamTest, AFileBesideTheExecutableWinsOverAnEmbeddedFileOfTheSameName)
{
    TznFlashList list(nullptr);
    TznFlashStream* item = list.Flashs()->Add();
    item->SetFlashStore(SampleMovieName);
    const std::uint8_t other[] = {'F', 'W', 'S'};
    item->Flash().WriteBuffer(other, sizeof other);
    Driver->LoadMovie(SampleMovieName);
    EXPECT_TRUE(Contains(LinesOf(TakeLog(), "NPP_NewStream").at(0), "end=" + SampleSize));
}
