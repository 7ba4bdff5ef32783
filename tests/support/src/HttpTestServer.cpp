#include <winsock2.h>
#include <ws2tcpip.h>

#include "QHttpTestServer.h"

#include <cstdio>

namespace shell_test {

namespace {

const char* ReasonOf(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// The path of a request target: everything before the query.
std::string PathOf(const std::string& target) { return target.substr(0, target.find('?')); }

bool SendAll(SOCKET s, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        int n = ::send(s, data.data() + sent, int(data.size() - sent), 0);
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

}  // namespace

LocalHttpServer::LocalHttpServer() : m_listener(INVALID_SOCKET)
{
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

LocalHttpServer::~LocalHttpServer()
{
    ::SetEvent(m_stop);
    if (m_listener != INVALID_SOCKET) ::closesocket(SOCKET(m_listener));
    if (m_acceptor.joinable()) m_acceptor.join();
    std::vector<std::thread> connections;
    {
        qcore::ScopedLock hold(m_lock);
        connections.swap(m_connections);
    }
    for (std::thread& t : connections) t.join();
    if (m_port) ::WSACleanup();
    ::CloseHandle(m_stop);
}

bool LocalHttpServer::Start()
{
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        ::WSACleanup();
        return false;
    }
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int len = sizeof(addr);
    if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::listen(s, 16) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::closesocket(s);
        ::WSACleanup();
        return false;
    }
    m_listener = s;
    m_port = ntohs(addr.sin_port);
    m_acceptor = std::thread([this] { Accept(); });
    return true;
}

std::wstring LocalHttpServer::BaseUrl() const
{
    wchar_t text[64];
    std::swprintf(text, 64, L"http://127.0.0.1:%d/", m_port);
    return text;
}

void LocalHttpServer::Set(const std::string& path, const HttpReply& reply)
{
    qcore::ScopedLock hold(m_lock);
    m_replies[path] = reply;
}

std::vector<std::string> LocalHttpServer::RequestLines() const
{
    qcore::ScopedLock hold(m_lock);
    return m_lines;
}

std::vector<std::string> LocalHttpServer::Targets(const std::string& path) const
{
    std::vector<std::string> targets;
    for (const std::string& line : RequestLines()) {
        size_t a = line.find(' ');
        size_t b = line.rfind(' ');
        if (a == std::string::npos || b <= a) continue;
        std::string target = line.substr(a + 1, b - a - 1);
        if (PathOf(target) == path) targets.push_back(target);
    }
    return targets;
}

HttpReply LocalHttpServer::ReplyFor(const std::string& target) const
{
    qcore::ScopedLock hold(m_lock);
    auto it = m_replies.find(PathOf(target));
    HttpReply reply;
    if (it != m_replies.end()) {
        reply = it->second;
    } else {
        reply.status = 404;
        reply.contentType = "text/html";
        reply.body = "<html><head><title>404 Not Found</title></head><body>Not Found</body></html>";
    }
    return reply;
}

void LocalHttpServer::Accept()
{
    for (;;) {
        SOCKET c = ::accept(SOCKET(m_listener), nullptr, nullptr);
        if (c == INVALID_SOCKET) return;  // the listener was closed
        qcore::ScopedLock hold(m_lock);
        m_connections.emplace_back([this, c] { Serve(c); });
    }
}

void LocalHttpServer::Serve(uintptr_t socket)
{
    SOCKET s = SOCKET(socket);
    DWORD timeout = 10000;
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    // A client that stops reading (a refused answer it leaves unread) must not hold the server for ever.
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        int n = ::recv(s, buffer, sizeof(buffer), 0);
        if (n <= 0) break;
        request.append(buffer, size_t(n));
    }
    std::string line = request.substr(0, request.find("\r\n"));
    if (!line.empty()) {
        {
            qcore::ScopedLock hold(m_lock);
            m_lines.push_back(line);
        }
        size_t a = line.find(' ');
        size_t b = line.rfind(' ');
        std::string target = a != std::string::npos && b > a ? line.substr(a + 1, b - a - 1) : std::string("/");
        HttpReply reply = ReplyFor(target);
        if (reply.gate) {
            HANDLE waits[] = {reply.gate, m_stop};
            ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        }
        char head[512];
        std::snprintf(head, sizeof(head), "HTTP/1.1 %d %s\r\nContent-Type: %s\r\nConnection: close\r\n", reply.status,
                      ReasonOf(reply.status), reply.contentType.c_str());
        std::string answer = head;
        if (reply.sendLength) answer += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
        answer += "\r\n";
        if (line.compare(0, 5, "HEAD ") != 0) answer += reply.body;
        SendAll(s, answer);
    }
    ::shutdown(s, SD_SEND);
    ::closesocket(s);
}

}  // namespace shell_test
