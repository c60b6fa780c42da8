// What lasts as long as the loaded library: the local-file restriction that
// Flash_DisableLocalSecurity lifts, and NP_Shutdown, after which the library can be unloaded
// with movies still playing. Each changes the whole process, so this suite has one of its own.
#include "hosted_instance.h"
#include "test_movies.h"

#include <gtest/gtest.h>

using namespace zn::np;

namespace zn::test {
namespace {

std::vector<std::string> RequestedUrls()
{
    std::vector<std::string> urls;
    for (const auto& request : PluginLibrary::Get().browser.requests)
        urls.push_back(request.url);
    return urls;
}

void PumpMessagesFor(DWORD milliseconds)
{
    DWORD until = GetTickCount() + milliseconds;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(5);
    }
}

// In declaration order: the restriction first, then its lifting, a sparse browser table, and
// shutdown last.
TEST(ModuleLifetimeTest, ALocalMovieFetchesOnlyLocalFilesUntilTheRestrictionIsLifted)
{
    PluginLibrary& library = PluginLibrary::Get();
    library.browser.Reset();
    {
        HostedInstance instance(100, 50);
        instance.Deliver(RequestingMovie(), "C:\\movies\\requesting.swf", nullptr);
        EXPECT_EQ(RequestedUrls(), std::vector<std::string>{"local.xml"});
    }
    {
        library.browser.Reset();
        HostedInstance instance(100, 50);
        instance.Deliver(RequestingMovie(), "http://example.test/requesting.swf", nullptr);
        EXPECT_EQ(RequestedUrls(),
                  (std::vector<std::string>{"http://example.test/data.xml", "local.xml"}));
    }
    library.TakeLog();
    EXPECT_EQ(library.exports.disableLocalSecurity(), NPERR_NO_ERROR);
    EXPECT_EQ(library.TakeLog(), std::vector<std::string>{"Flash_DisableLocalSecurity"});
    {
        library.browser.Reset();
        HostedInstance instance(100, 50);
        instance.Deliver(RequestingMovie(), "requesting.swf", nullptr);
        EXPECT_EQ(RequestedUrls(),
                  (std::vector<std::string>{"http://example.test/data.xml", "local.xml"}));
    }
}

TEST(ModuleLifetimeTest, EntriesTheBrowserLeftOutAreNeverCalled)
{
    PluginLibrary& library = PluginLibrary::Get();
    library.browser.Reset();
    NPNetscapeFuncs sparse = library.browser.Table();
    sparse.getvalue = nullptr;
    sparse.geturlnotify = nullptr;
    sparse.invoke = nullptr;
    sparse.evaluate = nullptr;
    sparse.invalidaterect = nullptr;
    ASSERT_EQ(library.exports.initialize(&sparse), NPERR_NO_ERROR);
    {
        HostedInstance instance(100, 50);
        ASSERT_EQ(instance.created, NPERR_NO_ERROR);
        instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
        EXPECT_EQ(library.controls.FSCommand(instance.Npp(), "quit", ""), NPERR_GENERIC_ERROR);
        char answer[32];
        EXPECT_EQ(
            library.controls.ExternalCall(instance.Npp(), "fn", nullptr, 0, answer, sizeof answer),
            12);
        EXPECT_STREQ(answer, "<undefined/>");
        EXPECT_EQ(library.controls.RequestUrl(instance.Npp(), "data.xml"), NPERR_GENERIC_ERROR);
        EXPECT_EQ(library.controls.InvalidateRect(instance.Npp(), 0, 0, 10, 10), NPERR_NO_ERROR);
        NPVariant result{};
        EXPECT_FALSE(
            instance.Invoke("LoadMovie", {IntegerVariant(0), StringVariant("x.swf")}, result));
    }
    EXPECT_TRUE(library.browser.invokes.empty());
    EXPECT_TRUE(library.browser.evaluations.empty());
    EXPECT_TRUE(library.browser.requests.empty());
    EXPECT_TRUE(library.browser.invalidated.empty());
    EXPECT_EQ(library.browser.windowObjectRequests, 0);
    ASSERT_EQ(library.exports.initialize(&library.browserTable), NPERR_NO_ERROR);
}

TEST(ModuleLifetimeTest, ShutdownEndsEveryInstanceSoTheLibraryCanBeUnloaded)
{
    PluginLibrary& library = PluginLibrary::Get();
    library.browser.Reset();
    // Left alive on purpose, with its frame timer running, as a careless host might; never
    // deleted, since its library is gone.
    auto* forgotten = new HostedInstance(100, 50);
    forgotten->Deliver(AnimatedMovie(), "animated.swf", nullptr);
    ASSERT_EQ(library.controls.LiveInstances(), 1u);
    library.TakeLog();
    EXPECT_EQ(library.exports.shutdown(), NPERR_NO_ERROR);
    EXPECT_EQ(library.controls.LiveInstances(), 0u);
    EXPECT_EQ(library.TakeLog(), std::vector<std::string>{"NP_Shutdown"});
    library.browser.invalidated.clear();
    EXPECT_TRUE(FreeLibrary(library.module));
    // A timer still pointing into the unloaded library would crash here.
    PumpMessagesFor(200);
    EXPECT_TRUE(library.browser.invalidated.empty());
}

} // namespace
} // namespace zn::test
