// HTTP downloads through the system URL library, from a server on 127.0.0.1 that the test runs
// on a thread of its own: the plug-in gets the stream at once, the data in pieces while the
// application pumps messages, and the end; a failed download leaves the stream open.
#include "driver_fixture.h"
#include "support/local_http_server.h"

#include <objbase.h>

using namespace zn;
using namespace zn::test;

namespace {

std::int64_t NumberAfter(const std::string& Line, const std::string& Key)
{
    const std::size_t at = Line.find(Key + "=");
    return at == std::string::npos ? -1 : std::stoll(Line.substr(at + Key.size() + 1));
}

} // namespace

class DownloadTest : public DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        CreateDriver(0u);
        Driver->LoadMovie(SampleMovieName);
        Driver->StopPlay();
        TakeLog();
    }
    void TearDown() override
    {
        DriverTest::TearDown();
        CoUninitialize();
    }

    // Everything the plug-in logged until its stream was destroyed or the time ran out.
    std::vector<std::string> LogUntilDestroyed(std::chrono::milliseconds Timeout)
    {
        std::vector<std::string> log;
        PumpUntil(
            [&] {
                const auto more = TakeLog();
                log.insert(log.end(), more.begin(), more.end());
                return !LinesOf(log, "NPP_DestroyStream").empty();
            },
            Timeout);
        return log;
    }
};

TEST_F(DownloadTest, AnHttpUrlIsDownloadedWholeWithItsQueryInPieces)
{
    TLocalHttpServer server;
    const std::string url =
        "http://127.0.0.1:" + std::to_string(server.Port()) + "/data.bin?x=1&y=2";
    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), url.c_str()), 0);
    const auto log = LogUntilDestroyed(std::chrono::seconds(20));

    ASSERT_FALSE(LinesOf(log, "NPP_NewStream").empty());
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream")[0], "url=\"" + url + "\" end=0"));
    ASSERT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(server.RequestLines()[0], "GET /data.bin?x=1&y=2 HTTP/1.1");

    std::int64_t delivered = 0;
    for (const std::string& write : LinesOf(log, "NPP_Write")) {
        EXPECT_EQ(NumberAfter(write, "offset"), 0);
        delivered += NumberAfter(write, "length");
    }
    EXPECT_EQ(delivered, static_cast<std::int64_t>(LocalHttpBodySize));
    // A notification after every piece, one more at the end, then the stream goes.
    const auto order = CallOrder(log);
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(order.front(), "NPP_NewStream");
    EXPECT_EQ(std::vector<std::string>(order.end() - 3, order.end()),
              (std::vector<std::string>{"NPP_URLNotify", "NPP_URLNotify", "NPP_DestroyStream"}));
    EXPECT_EQ(LinesOf(log, "NPP_URLNotify").size(), LinesOf(log, "NPP_Write").size() + 1);
    EXPECT_TRUE(LinesOf(log, "NPObject.Invoke").empty());
}

// The library holds a resource TESTRESOURCE; another host's file of that name is still fetched.
TEST_F(DownloadTest, AnHttpUrlNamedLikeABuiltInResourceIsDownloaded)
{
    TLocalHttpServer server;
    const std::string url =
        "http://127.0.0.1:" + std::to_string(server.Port()) + "/testresource.bin";
    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), url.c_str()), 0);
    const auto log = LogUntilDestroyed(std::chrono::seconds(20));
    ASSERT_EQ(server.RequestLines().size(), 1u);
    EXPECT_EQ(server.RequestLines()[0], "GET /testresource.bin HTTP/1.1");
    ASSERT_FALSE(LinesOf(log, "NPP_NewStream").empty());
    EXPECT_TRUE(Contains(LinesOf(log, "NPP_NewStream")[0], "url=\"" + url + "\" end=0"));
}

TEST_F(DownloadTest, AFailedDownloadLeavesTheStreamOpenAndReportsNothing)
{
    // A port nobody listens on: the connection is refused.
    int port = 0;
    closesocket(BindLoopback(port));
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/gone";

    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), url.c_str()), 0);
    const auto log = LogUntilDestroyed(std::chrono::seconds(3));
    EXPECT_EQ(LinesOf(log, "NPP_NewStream").size(), 1u);
    EXPECT_TRUE(LinesOf(log, "NPP_Write").empty());
    EXPECT_TRUE(LinesOf(log, "NPP_URLNotify").empty());
    EXPECT_TRUE(LinesOf(log, "NPP_DestroyStream").empty());
}

TEST_F(DownloadTest, ADownloadThatOutlivesItsDriverFeedsNobody)
{
    TLocalHttpServer server;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/late.bin";
    ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), url.c_str()), 0);
    Driver.reset();
    TakeLog();
    PumpUntil([&] { return !server.RequestLines().empty(); }, std::chrono::seconds(10));
    PumpUntil([] { return false; }, std::chrono::milliseconds(1500));
    const auto log = TakeLog();
    EXPECT_TRUE(LinesOf(log, "NPP_Write").empty());
    EXPECT_TRUE(LinesOf(log, "NPP_DestroyStream").empty());
}

// The plug-in leaves pdata null, as a player may: the instance a download feeds is named by its
// generation, not by pdata or by the driver's address.
class DownloadIdentityTest : public DownloadTest {
protected:
    void SetUp() override
    {
        DownloadTest::SetUp();
        TReferencePlugin::Loaded().SetHostile(ZnNpHostileNullPdata, nullptr);
        Driver->LoadMovie(SampleMovieName);
        Driver->StopPlay();
        ASSERT_EQ(static_cast<PNPP>(Npp())->pdata, nullptr);
        Url = "http://127.0.0.1:" + std::to_string(Server.Port()) + "/late.bin";
        ASSERT_EQ(TReferencePlugin::Loaded().RequestUrl(Npp(), Url.c_str()), 0);
    }

    // Everything the plug-in logged while the download ran to its end.
    std::vector<std::string> LogOfTheDownload()
    {
        TakeLog();
        PumpUntil([&] { return !Server.RequestLines().empty(); }, std::chrono::seconds(10));
        PumpUntil([] { return false; }, std::chrono::milliseconds(1500));
        return TakeLog();
    }

    TLocalHttpServer Server;
    std::string Url;
};

TEST_F(DownloadIdentityTest, ADownloadForAMovieSinceReloadedFeedsNobody)
{
    Driver->LoadMovie(SpacedMovieName);
    const auto log = LogOfTheDownload();
    EXPECT_TRUE(LinesOf(log, "NPP_Write").empty());
    EXPECT_TRUE(LinesOf(log, "NPP_DestroyStream").empty());
}

TEST_F(DownloadIdentityTest, ADownloadFeedsNoDriverAllocatedWhereItsDriverWas)
{
    const void* freed = Driver.get();
    Driver.reset();
    // The heap soon hands the freed block out again.
    std::vector<std::unique_ptr<TznFlashDriverNS>> others;
    while (others.size() < 20 && (others.empty() || others.back().get() != freed)) {
        others.push_back(std::make_unique<TznFlashDriverNS>(320, 240, 0u));
        others.back()->LoadMovie(SampleMovieName);
        others.back()->StopPlay();
    }
    ASSERT_EQ(others.back().get(), freed);
    const auto log = LogOfTheDownload();
    others.clear();
    EXPECT_TRUE(LinesOf(log, "NPP_Write").empty());
    EXPECT_TRUE(LinesOf(log, "NPP_DestroyStream").empty());
}
