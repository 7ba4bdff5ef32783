// A small HTTP server on 127.0.0.1 for tests of the program's web requests: it runs on threads of the test
// process, answers each path with a reply the test sets, logs every request line, and closes the connection after
// each answer. Paths without a reply get a 404 with an HTML body.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "QLock.h"

namespace shell_test {

struct HttpReply {
    int status = 200;
    std::string body;
    std::string contentType = "application/octet-stream";
    // False: no Content-Length header; the end of the body is the end of the connection.
    bool sendLength = true;
    // When set, the answer waits until this event is signalled (or the server stops): a slow server on demand.
    HANDLE gate = nullptr;
};

class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Listens on a free port of 127.0.0.1; false when no socket could be opened.
    bool Start();
    int Port() const { return m_port; }
    // "http://127.0.0.1:<port>/"
    std::wstring BaseUrl() const;

    // The reply for a path ("/dllapi.php"); the query part of a request is not matched.
    void Set(const std::string& path, const HttpReply& reply);
    // Request lines received so far ("GET /dllapi.php?os=... HTTP/1.1"), in order.
    std::vector<std::string> RequestLines() const;
    // The targets of the requests for one path ("/dllapi.php?os=..."), in order.
    std::vector<std::string> Targets(const std::string& path) const;

private:
    void Accept();
    void Serve(uintptr_t socket);
    HttpReply ReplyFor(const std::string& target) const;

    uintptr_t m_listener;
    int m_port = 0;
    HANDLE m_stop = nullptr;
    mutable qcore::Lock m_lock;
    std::map<std::string, HttpReply> m_replies;
    std::vector<std::string> m_lines;
    std::thread m_acceptor;
    std::vector<std::thread> m_connections;
};

}  // namespace shell_test
