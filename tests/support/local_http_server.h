// An HTTP server on 127.0.0.1 that a test runs on a thread of its own, for downloads through the
// system's URL library.
#pragma once

#include <winsock2.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zn::test {

// What the server answers to every request.
inline constexpr std::size_t LocalHttpBodySize = 200000;

// A socket bound to a free port of 127.0.0.1.
SOCKET BindLoopback(int& Port);

// Answers every connection with LocalHttpBodySize bytes in two parts a little apart, and
// remembers the request lines it saw.
class TLocalHttpServer {
public:
    TLocalHttpServer();
    ~TLocalHttpServer();
    TLocalHttpServer(const TLocalHttpServer&) = delete;
    TLocalHttpServer& operator=(const TLocalHttpServer&) = delete;

    int Port() const { return FPort; }
    std::vector<std::string> RequestLines();

private:
    void Serve();

    SOCKET FListener;
    int FPort = 0;
    std::thread FThread;
    std::mutex FMutex;
    std::vector<std::string> FRequestLines;
};

} // namespace zn::test
