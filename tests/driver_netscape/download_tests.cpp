// HTTP downloads through the system URL library, from a server on 127.0.0.1 that the test runs
// on a thread of its own: the plug-in gets the stream at once, the data in pieces while the
// application pumps messages, and the end; a failed download leaves the stream open.
#include "driver_fixture.h"

#include <winsock2.h>
#include <objbase.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace zn;
using namespace zn::test;

namespace {

constexpr std::size_t BodySize = 200000;

// A socket bound to a free port of 127.0.0.1.
SOCKET BindLoopback(int& Port)
{
    SOCKET bound = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(bound, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length);
    Port = ntohs(address.sin_port);
    return bound;
}

// Answers every connection with BodySize bytes in two parts a little apart, and remembers the
// request lines it saw.
class TLocalHttpServer {
public:
    TLocalHttpServer()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        FListener = BindLoopback(FPort);
        listen(FListener, 4);
        FThread = std::thread([this] { Serve(); });
    }
    ~TLocalHttpServer()
    {
        closesocket(FListener);
        FThread.join();
        WSACleanup();
    }

    int Port() const { return FPort; }
    std::vector<std::string> RequestLines()
    {
        std::lock_guard lock(FMutex);
        return FRequestLines;
    }

private:
    void Serve()
    {
        for (;;) {
            SOCKET client = accept(FListener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int read = recv(client, buffer, sizeof buffer, 0);
                if (read <= 0)
                    break;
                request.append(buffer, read);
            }
            {
                std::lock_guard lock(FMutex);
                FRequestLines.push_back(request.substr(0, request.find("\r\n")));
            }
            const std::string header =
                "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                "Content-Length: " +
                std::to_string(BodySize) + "\r\nConnection: close\r\n\r\n";
            send(client, header.data(), static_cast<int>(header.size()), 0);
            const std::string body(BodySize, 'x');
            send(client, body.data(), static_cast<int>(BodySize / 2), 0);
            Sleep(300);
            send(client, body.data() + BodySize / 2, static_cast<int>(BodySize - BodySize / 2), 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    SOCKET FListener;
    int FPort = 0;
    std::thread FThread;
    std::mutex FMutex;
    std::vector<std::string> FRequestLines;
};

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
    EXPECT_EQ(delivered, static_cast<std::int64_t>(BodySize));
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
