// Instances as a host creates, announces and destroys them, and what the entries make of bad
// arguments: a refusal with the NPAPI code, never a crash.
#include "log_text.h"
#include "hosted_instance.h"
#include "test_movies.h"

#include <gtest/gtest.h>

using namespace zn::np;

namespace zn::test {
namespace {

class InstanceEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library.browser.Reset();
        library.TakeLog();
    }
    PluginLibrary& library = PluginLibrary::Get();
    const NPPluginFuncs& funcs = library.funcs;
};

TEST_F(InstanceEntriesTest, NewRecordsTheAttributesAndOffersAScriptableObject)
{
    std::size_t before = library.controls.LiveInstances();
    {
        HostedInstance instance(100, 50);
        ASSERT_EQ(instance.created, NPERR_NO_ERROR);
        ASSERT_NE(instance.Object(), nullptr);
        EXPECT_EQ(library.controls.LiveInstances(), before + 1);
        auto log = library.TakeLog();
        ASSERT_EQ(log.size(), 2u);
        std::string npp = HexAddress(instance.Npp());
        EXPECT_EQ(log[0], "NPP_New npp=" + npp +
                              " mime=\"application/x-shockwave-flash\" mode=1 argc=4 "
                              "wmode=\"transparent\" bgcolor=\"#0\" width=\"100\" height=\"50\"");
        EXPECT_EQ(log[1], "NPP_GetValue npp=" + npp + " variable=15");
        // One reference for the host, one the instance keeps.
        EXPECT_EQ(instance.Object()->referenceCount, 2u);
    }
    EXPECT_EQ(library.controls.LiveInstances(), before);
    EXPECT_EQ(library.TakeLog().at(0).rfind("NPP_Destroy npp=", 0), 0u);
}

TEST_F(InstanceEntriesTest, NewAsksForWindowlessAndTransparentDrawing)
{
    HostedInstance instance(10, 10);
    EXPECT_EQ(library.browser.valuesSet,
              (std::vector<NPPVariable>{NPPVpluginWindowBool, NPPVpluginTransparentBool}));
}

TEST_F(InstanceEntriesTest, NewRefusesOtherTypesAndMissingRecords)
{
    NPP_t npp{};
    EXPECT_EQ(
        funcs.newp(const_cast<char*>("text/html"), &npp, NP_EMBED, 0, nullptr, nullptr, nullptr),
        NPERR_INVALID_PARAM);
    EXPECT_EQ(npp.pdata, nullptr);
    EXPECT_EQ(funcs.newp(nullptr, &npp, NP_EMBED, 0, nullptr, nullptr, nullptr),
              NPERR_INVALID_PARAM);
    EXPECT_EQ(funcs.newp(const_cast<char*>("application/x-shockwave-flash"), nullptr, NP_EMBED, 0,
                         nullptr, nullptr, nullptr),
              NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(funcs.newp(const_cast<char*>("application/x-shockwave-flash"), &npp, NP_EMBED, 3,
                         nullptr, nullptr, nullptr),
              NPERR_INVALID_PARAM);
    EXPECT_EQ(npp.pdata, nullptr);
    HostedInstance live(10, 10);
    void* first = live.Npp()->pdata;
    EXPECT_EQ(funcs.newp(const_cast<char*>("application/x-shockwave-flash"), live.Npp(), NP_EMBED,
                         0, nullptr, nullptr, nullptr),
              NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(live.Npp()->pdata, first);
}

TEST_F(InstanceEntriesTest, EntriesRefuseUnknownInstancesAndNullPointers)
{
    NPP_t stranger{reinterpret_cast<void*>(0x1234), nullptr};
    // An address that is no record at all is never read.
    auto* unreadable = reinterpret_cast<NPP>(0x10);
    EXPECT_EQ(funcs.destroy(unreadable, nullptr), NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(library.controls.FSCommand(unreadable, "quit", ""), NPERR_INVALID_INSTANCE_ERROR);
    NPWindow window{};
    NPStream stream{};
    NPEvent event{WM_PAINT, 0, 0};
    NPObject* object = reinterpret_cast<NPObject*>(0x77);
    char data[4] = {};
    for (NPP npp : {static_cast<NPP>(nullptr), &stranger}) {
        EXPECT_EQ(funcs.destroy(npp, nullptr), NPERR_INVALID_INSTANCE_ERROR);
        EXPECT_EQ(funcs.setwindow(npp, &window), NPERR_INVALID_INSTANCE_ERROR);
        EXPECT_EQ(funcs.event(npp, &event), 0);
        EXPECT_EQ(funcs.newstream(npp, nullptr, &stream, false, nullptr),
                  NPERR_INVALID_INSTANCE_ERROR);
        EXPECT_EQ(funcs.write(npp, &stream, 0, 4, data), -1);
        EXPECT_EQ(funcs.destroystream(npp, &stream, NPRES_DONE), NPERR_INVALID_INSTANCE_ERROR);
        funcs.urlnotify(npp, "x", NPRES_DONE, nullptr);
        EXPECT_EQ(funcs.getvalue(npp, NPPVpluginScriptableNPObject, &object),
                  NPERR_INVALID_INSTANCE_ERROR);
        EXPECT_EQ(object, reinterpret_cast<NPObject*>(0x77));
    }
    HostedInstance instance(10, 10);
    NPP npp = instance.Npp();
    EXPECT_EQ(funcs.setwindow(npp, nullptr), NPERR_INVALID_PARAM);
    EXPECT_EQ(funcs.event(npp, nullptr), 0);
    EXPECT_EQ(funcs.newstream(npp, nullptr, nullptr, false, nullptr), NPERR_INVALID_PARAM);
    EXPECT_EQ(funcs.getvalue(npp, NPPVpluginScriptableNPObject, nullptr), NPERR_INVALID_PARAM);
    EXPECT_EQ(funcs.getvalue(npp, NPPVpluginNeedsXEmbed, &object), NPERR_INVALID_PARAM);
    // A stream record the instance never opened, and one it opened, misused.
    EXPECT_EQ(funcs.write(npp, &stream, 0, 4, data), -1);
    EXPECT_EQ(funcs.destroystream(npp, &stream, NPRES_DONE), NPERR_INVALID_PARAM);
    std::uint16_t type = 0;
    ASSERT_EQ(funcs.newstream(npp, nullptr, &stream, false, &type), NPERR_NO_ERROR);
    EXPECT_EQ(funcs.write(npp, &stream, 0, -1, data), -1);
    EXPECT_EQ(funcs.write(npp, &stream, 0, 4, nullptr), -1);
    EXPECT_EQ(funcs.write(npp, &stream, 0, 0, nullptr), 0);
    EXPECT_EQ(funcs.destroystream(npp, &stream, NPRES_NETWORK_ERR), NPERR_NO_ERROR);
    EXPECT_EQ(funcs.destroystream(npp, &stream, NPRES_DONE), NPERR_INVALID_PARAM);
}

TEST_F(InstanceEntriesTest, ADestroyedInstanceIsForgottenAndItsObjectGoesQuiet)
{
    HostedInstance instance(10, 10);
    NPObject* object = instance.Object();
    ASSERT_EQ(instance.Destroy(), NPERR_NO_ERROR);
    EXPECT_EQ(instance.Npp()->pdata, nullptr);
    EXPECT_EQ(object->referenceCount, 1u); // the host's own
    NPVariant result{};
    EXPECT_FALSE(instance.Invoke("TotalFrames", {}, result));
    NPWindow window{};
    window.type = NPWindowTypeDrawable;
    EXPECT_EQ(funcs.setwindow(instance.Npp(), &window), NPERR_INVALID_INSTANCE_ERROR);
}

TEST_F(InstanceEntriesTest, ADestroyFromInsideAnFSCommandWaitsForTheCallToReturn)
{
    auto instance = std::make_unique<HostedInstance>(10, 10);
    NPP npp = instance->Npp();
    std::size_t live = library.controls.LiveInstances();
    library.browser.onInvoke = [&](const InvokeSeen&) {
        EXPECT_EQ(instance->Destroy(), NPERR_NO_ERROR);
    };
    EXPECT_EQ(library.controls.FSCommand(npp, "quit", "true"), NPERR_NO_ERROR);
    EXPECT_EQ(library.controls.LiveInstances(), live - 1);
    EXPECT_EQ(library.controls.FSCommand(npp, "quit", "true"), NPERR_INVALID_INSTANCE_ERROR);
    EXPECT_EQ(library.browser.invokes.size(), 1u);
    EXPECT_EQ(library.browser.windowObject.referenceCount, 1u);
}

TEST_F(InstanceEntriesTest, TheLogRecordsTheHostsCallsInOrder)
{
    HostedInstance instance(100, 50);
    TDibSurface canvas(100, 50);
    library.TakeLog();
    instance.SetWindow(canvas.DC(), 100, 50);
    instance.Deliver(SemiTransparentMovie(), "movie.swf", nullptr, 2);
    instance.Paint(canvas.DC(), RECT{0, 0, 100, 50});
    std::vector<std::string> calls;
    for (const std::string& line : library.TakeLog())
        calls.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(calls,
              (std::vector<std::string>{"NPP_SetWindow", "NPP_NewStream", "NPP_Write", "NPP_Write",
                                        "NPP_URLNotify", "NPP_DestroyStream", "NPP_HandleEvent"}));
}

TEST_F(InstanceEntriesTest, LogLinesCarryTheArguments)
{
    HostedInstance instance(100, 50);
    TDibSurface canvas(100, 50);
    library.TakeLog();
    std::string npp = HexAddress(instance.Npp());
    instance.SetWindow(canvas.DC(), 100, 50);
    instance.Deliver(SemiTransparentMovie(), "movie.swf", reinterpret_cast<void*>(7));
    auto log = library.TakeLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0], "NPP_SetWindow npp=" + npp + " window=" + HexAddress(canvas.DC()) +
                          " x=0 y=0 width=100 height=50 type=2");
    EXPECT_NE(log[1].find(" type=\"application/x-shockwave-flash\""), std::string::npos) << log[1];
    EXPECT_NE(
        log[1].find(" url=\"movie.swf\" end=" + std::to_string(SemiTransparentMovie().size()) +
                    " notifyData=0x00000007 seekable=1"),
        std::string::npos)
        << log[1];
    EXPECT_NE(log[2].find(" offset=0 length=" + std::to_string(SemiTransparentMovie().size())),
              std::string::npos)
        << log[2];
    EXPECT_EQ(log[3],
              "NPP_URLNotify npp=" + npp + " url=\"movie.swf\" reason=0 notifyData=0x00000007");
    EXPECT_NE(log[4].find(" reason=0"), std::string::npos) << log[4];
}

TEST_F(InstanceEntriesTest, ABrowserWithoutWindowlessHostingKeepsItsDefault)
{
    library.browser.supportsWindowless = false;
    HostedInstance instance(10, 10);
    EXPECT_TRUE(library.browser.valuesSet.empty());
    NPWindow window{};
    window.type = NPWindowTypeWindow;
    EXPECT_EQ(library.funcs.setwindow(instance.Npp(), &window), NPERR_INVALID_PARAM);
}

TEST_F(InstanceEntriesTest, ADestroyFromInsideThePaintRequestOfAnArrivingMovieIsSafe)
{
    auto instance = std::make_unique<HostedInstance>(100, 50);
    std::size_t live = library.controls.LiveInstances();
    library.browser.onInvalidate = [&](const InvalidatedRect&) { instance->Destroy(); };
    instance->Deliver(AnimatedMovie(), "animated.swf", nullptr);
    EXPECT_EQ(library.controls.LiveInstances(), live - 1);
    EXPECT_EQ(library.browser.invalidated.size(), 1u);
}

TEST_F(InstanceEntriesTest, AMovieReplacedFromInsideItsOwnScriptKeepsRunningToTheEnd)
{
    HostedInstance instance(100, 50);
    library.browser.onInvoke = [&](const InvokeSeen&) {
        library.browser.onInvoke = nullptr;
        library.browser.onRequest = [&](const UrlRequestSeen& request) {
            instance.Deliver(SemiTransparentMovie(), request.url, request.notifyData);
        };
        instance.InvokeOrFail("LoadMovie", {IntegerVariant(0), StringVariant("next.swf")});
    };
    std::string url = "scripted.swf";
    instance.Deliver(ScriptedMovie(), url, nullptr);
    EXPECT_EQ(instance.InvokeOrFail("TotalFrames").value.intValue, 2);
    // The first movie's script ran on after its FSCommand: its ExternalInterface call came.
    EXPECT_EQ(library.browser.evaluations.size(), 1u);
}

TEST_F(InstanceEntriesTest, MouseAndKeyMessagesReachTheMovie)
{
    HostedInstance instance(100, 50);
    TDibSurface canvas(100, 50);
    instance.SetWindow(canvas.DC(), 100, 50);
    instance.Deliver(ScriptedMovie(), "scripted.swf", nullptr);
    NPEvent move{WM_MOUSEMOVE, 0, MAKELPARAM(30, 20)};
    EXPECT_EQ(library.funcs.event(instance.Npp(), &move), 1);
    NPVariant x = instance.InvokeOrFail("GetVariable", {StringVariant("_xmouse")});
    NPVariant y = instance.InvokeOrFail("GetVariable", {StringVariant("_ymouse")});
    // The stage is the window's size: the movie sees the same point, to a pixel's rounding.
    EXPECT_NEAR(std::stod(VariantString(x)), 30, 1);
    EXPECT_NEAR(std::stod(VariantString(y)), 20, 1);
    library.browserTable.releasevariantvalue(&x);
    library.browserTable.releasevariantvalue(&y);
    NPEvent key{WM_KEYDOWN, 'A', 0};
    EXPECT_EQ(library.funcs.event(instance.Npp(), &key), 1);
    NPEvent right_click{WM_RBUTTONDOWN, 0, 0};
    EXPECT_EQ(library.funcs.event(instance.Npp(), &right_click), 0);
}

} // namespace
} // namespace zn::test
