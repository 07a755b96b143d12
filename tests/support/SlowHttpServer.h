#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lvtest {

// An HTTP server for link checks that takes its time: it listens on one port of several
// loopback addresses (127.0.0.1, 127.0.0.2, ...), answers every request after a delay with a
// small page, and counts how many connections each address had open at the same time. One
// thread serves everything; the destructor stops it.
class SlowHttpServer {
public:
    // addresses: how many of 127.0.0.1, 127.0.0.2, ... to listen on (1 to 254).
    SlowHttpServer(int addresses, std::chrono::milliseconds delay);
    ~SlowHttpServer();
    SlowHttpServer(const SlowHttpServer&) = delete;
    SlowHttpServer& operator=(const SlowHttpServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.<n>:<port>/<path>", n from 1.
    std::string Url(int address, const std::string& path) const;
    // Most connections open at once to each address ("127.0.0.2"), and in all.
    std::map<std::string, int> PeakPerAddress() const;
    int PeakTotal() const;
    // The request paths in the order the requests arrived.
    std::vector<std::string> Paths() const;

private:
    void Run();

    std::chrono::milliseconds delay_;
    std::vector<int> listenFds_;
    int stopFd_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, int> peak_;
    int peakTotal_ = 0;
    std::vector<std::string> paths_;
    std::thread thread_;
};

} // namespace lvtest
