// Files the control fetches through its container: the bind host's monikers bound with the
// control's own callback in the bind context, the local-file restriction, and downloads that
// fail.
#include "control_fixture.h"

#include "../np/test_movies.h"
#include "sample_movies.h"

#include <gmock/gmock.h>

namespace zn::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class LoadingTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        site.offersBindHost = true;
        Activate();
    }
};

TEST_F(LoadingTest, MoviesComeThroughTheBindHostWithTheControlsCallback)
{
    LoadMovie(swf::samples::SampleMovie(), L"http://movies.test/sample.swf");
    LONG frames = 0;
    ASSERT_EQ(player->get_TotalFrames(&frames), S_OK);
    EXPECT_EQ(frames, swf::samples::SampleFrames);
    EXPECT_THAT(site.monikerNames, ElementsAre(L"http://movies.test/sample.swf"));
    EXPECT_TRUE(site.callbackInEveryContext);
    auto calls = Log();
    EXPECT_THAT(LinesStarting(calls, "Site.QueryService"),
                ElementsAre(HasSubstr("service=\"IBindHost\"")));
    EXPECT_THAT(LinesStarting(calls, "Site.CreateMoniker"),
                ElementsAre(HasSubstr("hr=0x00000000")));
    BSTR movie = nullptr;
    ASSERT_EQ(player->get_Movie(&movie), S_OK);
    EXPECT_STREQ(movie, L"http://movies.test/sample.swf");
    SysFreeString(movie);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(LoadingTest, TheControlReadsWhatArrivesUntilTheBindingStops)
{
    site.delivered[L"http://movies.test/sample.swf"] = swf::samples::SampleMovie();
    BSTR url = SysAllocString(L"http://movies.test/sample.swf");
    ASSERT_EQ(player->LoadMovie(0, url), S_OK);
    SysFreeString(url);
    LONG frames = 0;
    ASSERT_EQ(player->get_TotalFrames(&frames), S_OK);
    EXPECT_EQ(frames, swf::samples::SampleFrames);
    std::vector<std::string> callbacks;
    for (const auto& line : LinesStarting(Log(), "IBindStatusCallback."))
        callbacks.push_back(line.substr(0, line.find(" control=")) +
                            line.substr(line.find(' ', line.find(" control=") + 1)));
    const auto size = std::to_string(swf::samples::SampleMovie().size() / 2);
    EXPECT_THAT(
        callbacks,
        ElementsAre("IBindStatusCallback.OnStartBinding binding=0x00000000",
                    "IBindStatusCallback.OnProgress progress=100 max=100 status=6 text=\"\"",
                    "IBindStatusCallback.OnDataAvailable flags=5 size=" + size +
                        " format=0x00000000 tymed=4",
                    "IBindStatusCallback.OnStopBinding hr=0x00000000 error=\"\""));
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(LoadingTest, FilesAMovieAsksForAreFetchedTheSameWay)
{
    const std::wstring data = WriteFile({'<', 'a', '/', '>'});
    site.files[L"http://movies.test/data.xml"] = data;
    ASSERT_EQ(exports.RequestUrl(control, "http://movies.test/data.xml"), S_OK);
    EXPECT_THAT(Log(), Contains(HasSubstr("Download.End")));
    EXPECT_THAT(site.monikerNames, ElementsAre(L"http://movies.test/data.xml"));
    // A name the bind host declines is fetched by the control only when it is a file path.
    Log();
    EXPECT_EQ(exports.RequestUrl(control, "http://movies.test/unknown.xml"), E_NOTIMPL);
    EXPECT_THAT(LinesStarting(Log(), "Moniker.BindToStorage"), IsEmpty());
    EXPECT_NE(exports.RequestUrl(control, "Z:\\no\\such\\file.xml"), S_OK);
    EXPECT_THAT(LinesStarting(Log(), "Moniker.BindToStorage"), ::testing::SizeIs(1));
    LONG state = 0;
    ASSERT_EQ(player->get_ReadyState(&state), S_OK);
    EXPECT_EQ(state, READYSTATE_COMPLETE);
    EXPECT_THAT(Violations(), IsEmpty());
}

TEST_F(LoadingTest, ALocalMovieReachesTheNetworkOnlyOnceSecurityIsLifted)
{
    // The movie itself is a local path, which the bind host leaves to the system.
    LoadMovie(RequestingMovie());
    EXPECT_THAT(site.monikerNames, ElementsAre(files.back(), L"local.xml"));
    EXPECT_THAT(Log(), Contains(HasSubstr("Movie.RequestRefused")));
    site.monikerNames.clear();
    ASSERT_EQ(player->DisableLocalSecurity(), S_OK);
    LoadMovie(RequestingMovie());
    EXPECT_THAT(site.monikerNames,
                ElementsAre(files.back(), L"http://example.test/data.xml", L"local.xml"));
    EXPECT_THAT(Violations(), IsEmpty());
}

} // namespace
} // namespace zn::test
