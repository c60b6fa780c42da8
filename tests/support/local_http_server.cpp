// The loopback HTTP server (see local_http_server.h).
#include "support/local_http_server.h"

#include <windows.h>

namespace zn::test {

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

TLocalHttpServer::TLocalHttpServer()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    FListener = BindLoopback(FPort);
    listen(FListener, 4);
    FThread = std::thread([this] { Serve(); });
}

TLocalHttpServer::~TLocalHttpServer()
{
    closesocket(FListener);
    FThread.join();
    WSACleanup();
}

std::vector<std::string> TLocalHttpServer::RequestLines()
{
    std::lock_guard lock(FMutex);
    return FRequestLines;
}

void TLocalHttpServer::Serve()
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
        const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                                   "Content-Length: " +
                                   std::to_string(LocalHttpBodySize) +
                                   "\r\nConnection: close\r\n\r\n";
        send(client, header.data(), static_cast<int>(header.size()), 0);
        const std::string body(LocalHttpBodySize, 'x');
        send(client, body.data(), static_cast<int>(LocalHttpBodySize / 2), 0);
        Sleep(300);
        send(client, body.data() + LocalHttpBodySize / 2,
             static_cast<int>(LocalHttpBodySize - LocalHttpBodySize / 2), 0);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}

} // namespace zn::test
