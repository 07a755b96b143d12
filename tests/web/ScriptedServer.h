#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

typedef struct ssl_st SSL;

namespace lvtest {

// A TCP server on 127.0.0.1 that plays a script per connection on its own thread: it replies
// with exact bytes and records what it received. Connection i runs scripts[i], the last script
// again for any further connections. Every wait is bounded, and the destructor interrupts a
// script still waiting.
class ScriptedServer {
public:
    class Peer {
    public:
        // Reads until the end of a request header (an empty line), the peer closes, or the
        // bound passes; returns what came.
        std::string ReadRequest(std::chrono::milliseconds bound = std::chrono::seconds(5));
        // Reads until text has arrived (true) or the bound passes / the peer closes (false).
        bool ReadUntil(std::string_view text,
                       std::chrono::milliseconds bound = std::chrono::seconds(5));
        void Send(std::string_view bytes);
        // Ends the connection with a reset (RST) instead of an orderly close.
        void Reset();
        // Waits until the client closes; false when the bound passes first.
        bool WaitClosed(std::chrono::milliseconds bound = std::chrono::seconds(5));
        // Switches to TLS as the server, with this certificate and key (STARTTLS, https).
        bool AcceptTls(const std::string& certFile, const std::string& keyFile);
        int Index() const { return index_; }

    private:
        friend class ScriptedServer;
        Peer(ScriptedServer& server, int fd, int index) : server_(server), fd_(fd), index_(index) {}
        int ReadChunk(char* buffer, std::size_t size, std::chrono::milliseconds bound);
        ScriptedServer& server_;
        int fd_;
        int index_;
        SSL* ssl_ = nullptr;
        bool closed_ = false;
        std::string pending_;
    };
    using Script = std::function<void(Peer&)>;

    explicit ScriptedServer(std::vector<Script> scripts);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const;
    // Bytes received on each connection so far, in connection order.
    std::vector<std::string> Received() const;
    int Connections() const;

    // Reads the request, sends bytes, closes.
    static Script Reply(std::string bytes);

private:
    void Run();
    void Record(int index, std::string_view bytes);

    std::vector<Script> scripts_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    std::thread thread_;
};

} // namespace lvtest
