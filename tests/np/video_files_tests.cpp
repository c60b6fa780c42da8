// Files a movie fetches through the browser reach the movie: the playback movie's skin loads
// into its clip, the video plays, and a video the browser cannot find raises the movie's error.
#include "builtin_movies.h"
#include "hosted_instance.h"
#include "sample_video.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zn::np;

namespace zn::test {
namespace {

class VideoFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.browser.Reset();
        library.TakeLog();
    }

    std::string Variable(const char* path)
    {
        NPVariant result = instance.InvokeOrFail("GetVariable", {StringVariant(path)});
        std::string text = result.type == NPVariantType_String ? VariantString(result) : "<none>";
        library.browserTable.releasevariantvalue(&result);
        return text;
    }

    bool Requested(const std::string& url) const
    {
        const auto& requests = library.browser.requests;
        return std::any_of(requests.begin(), requests.end(),
                           [&](const UrlRequestSeen& r) { return r.url == url; });
    }

    PluginLibrary& library = PluginLibrary::Get();
    HostedInstance instance{550, 400};
};

TEST_F(VideoFilesTest, TheSkinAndTheVideoArriveThroughTheBrowser)
{
    library.browser.onRequest = [&](const UrlRequestSeen& request) {
        if (request.url == "SteelOverAll.swf")
            instance.Deliver(movies::SkinMovie(movies::SkinTheme::Steel), request.url,
                             request.notifyData, 3);
        else if (request.url == "clip.flv")
            instance.Deliver(swf::samples::SampleVideo(), request.url, request.notifyData, 5);
    };
    instance.Deliver(movies::PlaybackMovie(), "flvplayback.swf", nullptr);
    EXPECT_TRUE(Requested("ClearOverAll.swf"));
    instance.InvokeOrFail("SetVariable",
                          {StringVariant("flv.skin"), StringVariant("SteelOverAll.swf")});
    EXPECT_EQ(Variable("flv.skin_mc.playButton._name"), "playButton");
    instance.InvokeOrFail("SetVariable",
                          {StringVariant("flv.contentPath"), StringVariant("clip.flv")});
    EXPECT_EQ(Variable("ns.bytesLoaded"), std::to_string(swf::samples::SampleVideo().size()));
    EXPECT_EQ(Variable("duration"), "10");
}

TEST_F(VideoFilesTest, AVideoTheBrowserCannotFetchRaisesTheMoviesError)
{
    instance.Deliver(movies::PlaybackMovie(), "flvplayback.swf", nullptr);
    instance.InvokeOrFail("SetVariable",
                          {StringVariant("flv.contentPath"), StringVariant("gone.flv")});
    auto request = std::find_if(library.browser.requests.begin(), library.browser.requests.end(),
                                [](const UrlRequestSeen& r) { return r.url == "gone.flv"; });
    ASSERT_NE(request, library.browser.requests.end());
    library.browser.invokes.clear();
    instance.Funcs().urlnotify(instance.Npp(), "gone.flv", NPRES_NETWORK_ERR, request->notifyData);
    ASSERT_FALSE(library.browser.invokes.empty());
    EXPECT_EQ(library.browser.invokes.back().method, "_DoFSCommand");
    EXPECT_EQ(library.browser.invokes.back().stringArgs,
              (std::vector<std::string>{movies::ErrorCommand, "NetStream.Play.StreamNotFound"}));
    EXPECT_EQ(Variable("flv.errorSign._visible"), "true");
}

} // namespace
} // namespace zn::test
