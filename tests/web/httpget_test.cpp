// Downloads to a file on the worker thread: a real nginx on 127.0.0.1 over http and https, and
// a scripted peer for replies nginx never sends.
#include "ScriptedServer.h"

#include "platform/PollEventLoop.h"
#include "support/Nginx.h"
#include "support/TempDir.h"
#include "support/TestCertificates.h"
#include "web/THTTPGet.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string IconBytes() {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) {
        bytes += static_cast<char>(i * 13 % 256);
    }
    return bytes;
}

// A listening socket on 127.0.0.1. Without Serve() nobody accepts: connections complete in the
// backlog and then hear nothing. Serve(reply) answers one request with reply and closes.
class RawHttpPeer {
public:
    RawHttpPeer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(fd_, 4);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    ~RawHttpPeer() {
        ::shutdown(fd_, SHUT_RDWR);
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(fd_);
    }
    void Serve(const std::string& reply) {
        thread_ = std::thread([this, reply] {
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, 10000) <= 0) {
                return;
            }
            const int conn = ::accept(fd_, nullptr, nullptr);
            if (conn < 0) {
                return;
            }
            std::string request;
            char buffer[1024];
            pollfd cpfd{conn, POLLIN, 0};
            while (request.find("\r\n\r\n") == std::string::npos && ::poll(&cpfd, 1, 10000) > 0) {
                const ssize_t n = ::recv(conn, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(n));
            }
            ::send(conn, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(conn);
        });
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};

class HttpGet : public ::testing::Test {
protected:
    HttpGet() {
        get.Agent = "Linkvane HTTPGet";
        get.FileName = dir.File("site_test.ico");
        get.OnDoneFile = [this](lv::THTTPGet&, const std::string& file, std::int64_t size) {
            doneFile = file;
            doneSize = size;
        };
        get.OnError = [this](lv::THTTPGet&) { ++errors; };
        get.OnProgress = [this](lv::THTTPGet&, std::int64_t total, std::int64_t received) {
            progressTotal = total;
            progressReceived = received;
        };
    }

    // Nothing but the wanted file in the folder: no temporary leftovers.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.Path())) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    lvtest::TempDir dir;
    lv::PollEventLoop loop;
    lv::THTTPGet get{loop};
    std::string doneFile;
    std::int64_t doneSize = -1;
    int errors = 0;
    std::int64_t progressTotal = 0;
    std::int64_t progressReceived = 0;
};

TEST_F(HttpGet, FetchesOverHttpAndHttps) {
    if (!lvtest::Nginx::Available()) {
        GTEST_SKIP() << "nginx not installed (scripts/install-deps)";
    }
    lvtest::TempDir certDir;
    lvtest::TestCertificates certs(certDir.Path());
    const auto pair = certs.Localhost();
    const lvtest::Nginx::Tls tls{pair.certFile, pair.keyFile};
    lvtest::Nginx nginx;
    nginx.WriteDoc("images/site.ico", IconBytes());
    nginx.Start("", &tls);
    get.CaFile = certs.CaFile();

    for (const std::string& url :
         {nginx.BaseUrl() + "/images/site.ico",
          "https://localhost:" + std::to_string(nginx.TlsPort()) + "/images/site.ico"}) {
        SCOPED_TRACE(url);
        fs::remove(get.FileName);
        doneFile.clear();
        get.URL = url;
        ASSERT_TRUE(get.FetchFile());
        EXPECT_FALSE(get.Busy()); // WaitThread: returns when the download has ended
        EXPECT_EQ(errors, 0) << get.LastError();
        EXPECT_EQ(doneFile, get.FileName);
        EXPECT_EQ(doneSize, 5000);
        EXPECT_EQ(progressTotal, 5000);
        EXPECT_EQ(progressReceived, 5000);
        EXPECT_EQ(lvtest::ReadBytes(get.FileName), IconBytes());
        EXPECT_EQ(Files(), std::vector<std::string>{"site_test.ico"});
    }
}

TEST_F(HttpGet, FailuresGiveOnErrorAndLeaveTheOldFileAlone) {
    if (!lvtest::Nginx::Available()) {
        GTEST_SKIP() << "nginx not installed (scripts/install-deps)";
    }
    lvtest::Nginx nginx;
    nginx.Start();
    lvtest::WriteBytes(get.FileName, "old icon");
    const std::string urls[] = {
        nginx.BaseUrl() + "/missing.ico",                                    // 404
        "http://127.0.0.1:" + std::to_string(lvtest::FreeLocalPort()) + "/", // refused
        "favicon.ico",                                                       // no host
        "http://127.0.0.1:" + std::to_string(nginx.Port()),                  // no path
    };
    int expectedErrors = 0;
    for (const std::string& url : urls) {
        SCOPED_TRACE(url);
        get.URL = url;
        ASSERT_TRUE(get.FetchFile());
        EXPECT_EQ(errors, ++expectedErrors);
        EXPECT_EQ(doneFile, "");
        EXPECT_EQ(lvtest::ReadBytes(get.FileName), "old icon");
        EXPECT_EQ(Files(), std::vector<std::string>{"site_test.ico"});
    }
}

TEST_F(HttpGet, ContentLengthDecidesWhetherABinaryDownloadIsWhole) {
    const struct {
        const char* reply;
        bool binary;
        bool ok;
    } cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc", true, true},
        {"HTTP/1.0 200 OK\r\n\r\nabc", true, false},                        // size unknown
        {"HTTP/1.0 200 OK\r\n\r\nabc", false, true},                        // text: fine
        {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc", false, false}, // cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        fs::remove(get.FileName);
        errors = 0;
        doneFile.clear();
        RawHttpPeer peer;
        peer.Serve(c.reply);
        get.URL = peer.Url("/x.ico");
        get.BinaryData = c.binary;
        ASSERT_TRUE(get.FetchFile());
        EXPECT_EQ(errors == 0, c.ok) << get.LastError();
        EXPECT_EQ(fs::exists(get.FileName), c.ok);
        if (c.ok) {
            EXPECT_EQ(lvtest::ReadBytes(get.FileName), "abc");
        }
    }
}

TEST_F(HttpGet, TimeOutIsADeadlineThatArrivingBytesDoNotExtend) {
    // A byte every 20 ms for three seconds: never idle for long, never done in time.
    lvtest::ScriptedServer server({[](lvtest::ScriptedServer::Peer& peer) {
        peer.ReadRequest();
        peer.Send("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n");
        for (int i = 0; i < 150 && !peer.WaitClosed(std::chrono::milliseconds(20)); ++i) {
            peer.Send("x");
        }
    }});
    get.URL = server.Url("/slow.ico");
    get.TimeOut = std::chrono::milliseconds(300);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(get.FetchFile());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(get.LastError(), "timed out");
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST_F(HttpGet, OneWorkerAtATime) {
    RawHttpPeer silent; // accepts nothing: the first download hangs until aborted
    get.WaitThread = false;
    get.URL = silent.Url("/slow.ico");
    ASSERT_TRUE(get.FetchFile());
    EXPECT_TRUE(get.Busy());

    get.URL = "http://127.0.0.1:1/other.ico";
    get.FileName = dir.File("other.ico");
    EXPECT_FALSE(get.FetchFile()); // refused while the first runs: nothing starts
    EXPECT_TRUE(get.Busy());

    get.Abort();
    ASSERT_TRUE(loop.RunUntil([&] { return !get.Busy(); }, std::chrono::seconds(10)));
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(get.LastError(), "cancelled");
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST_F(HttpGet, DestroyingCancelsWithoutEvents) {
    RawHttpPeer silent;
    auto owned = std::make_unique<lv::THTTPGet>(loop);
    bool fired = false;
    owned->OnError = [&](lv::THTTPGet&) { fired = true; };
    owned->WaitThread = false;
    owned->URL = silent.Url("/slow.ico");
    owned->FileName = dir.File("x.ico");
    ASSERT_TRUE(owned->FetchFile());
    owned.reset(); // joins the worker
    loop.ProcessPending(std::chrono::milliseconds(20));
    EXPECT_FALSE(fired);
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

} // namespace
