// A new web bookmark gets its site's icon and description from a real server on loopback.
#include "mainwindow/AutoIcon.h"
#include "mainwindow/WebAccess.h"
#include "platform/PollEventLoop.h"
#include "platform/image/IconFile.h"
#include "store/TIniFile32.h"
#include "support/Nginx.h"
#include "support/TestCertificates.h"

#include "mainwindow/web_fakes.h"

#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A 2 x 2 red PNG.
const std::string
    kPng("\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00"
         "\x00\x02\x08\x06\x00\x00\x00\x72\xb6\x0d\x24\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9c\x63"
         "\xf8\xcf\xc0\xf0\x1f\x84\x19\x60\x0c\x00\x47\xca\x07\xf9\x67\x59\x6e\xb7\x00\x00\x00\x00"
         "\x49\x45\x4e\x44\xae\x42\x60\x82",
         74);
// An icon directory entry is enough for the judgement; the button shows what it can.
const std::string kIco("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14);

class WebIcon : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lvtest::Nginx::Available()) {
            GTEST_SKIP() << "nginx is not installed";
        }
        nginx.Start();
    }

    // The browser shows `path` of the server; "Bookmark current Web Page" takes it.
    lv::TForm1& Capture(const std::string& path) {
        auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop);
        address = nginx.BaseUrl() + path;
        h.browser.frontPage = "\"" + address + "\",\"The Page\"";
        form.AddBookmarkClick();
        return form;
    }

    std::string IconDir() const { return lv::WebIconDirectory(h.DataFile()); }
    std::vector<std::string> IconFiles() const {
        std::vector<std::string> names;
        if (fs::exists(IconDir())) {
            for (const auto& entry : fs::directory_iterator(IconDir())) {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    lvtest::Nginx nginx;
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    std::string address;
};

TEST_F(WebIcon, PageNamesItsIconRelativelyAndDescribesItself) {
    nginx.WriteDoc("dir/page.html",
                   "<html><HEAD>\n<title>T</title>\n<LINK href=\"/img/Logo.PNG\"\n rel='icon'>\n"
                   "<meta content=\"Fish &amp; chips\nby the sea\" name=\"Description\">\n"
                   "</HEAD><body>x</body></html>\n");
    nginx.WriteDoc("img/Logo.PNG", kPng);
    nginx.WriteDoc("img/logo.png", "<html>the lower-case name is the wrong file</html>");
    auto& form = Capture("/dir/page.html");

    const std::string icon = IconDir() + lv::SiteStem(address) + ".PNG";
    EXPECT_EQ(IconFiles(), std::vector<std::string>{fs::path(icon).filename().string()});
    EXPECT_EQ(lvtest::ReadBytes(icon), kPng);
    EXPECT_EQ(h.Read("Page1", "01G"), "600");
    EXPECT_EQ(h.Read("Page1", "01I"), icon);
    EXPECT_EQ(h.Read("Page1", "01P"), "Fish & chips by the sea");
    const lv::BookmarkButton& button = form.State().buttons[0];
    EXPECT_EQ(button.glyph.kind, lv::GlyphRef::Kind::IconFile);
    EXPECT_EQ(button.glyph.file, icon);
    EXPECT_NE(button.hint.find("Fish & chips by the sea"), std::string::npos);
    EXPECT_TRUE(lv::LoadButtonGlyph(icon, 0, lv::Rgba{}, 15).Ok());
}

TEST_F(WebIcon, WithoutAnIconInThePageTheSiteRootIsAsked) {
    nginx.WriteDoc("a/b/page.html", "<html><head><title>No icon</title></head></html>");
    nginx.WriteDoc("favicon.ico", kIco);
    Capture("/a/b/page.html");
    const std::string icon = IconDir() + lv::SiteStem(address) + ".ico";
    EXPECT_EQ(lvtest::ReadBytes(icon), kIco);
    EXPECT_EQ(h.Read("Page1", "01G"), "600");
    EXPECT_EQ(h.Read("Page1", "01I"), icon);
    EXPECT_EQ(h.Read("Page1", "01P"), "<none>");
}

TEST_F(WebIcon, AnErrorPageSavedAsTheIconIsDeleted) {
    // A site that answers every address with 200 and an HTML page.
    nginx.WriteDoc("page.html", "<link rel=\"shortcut icon\" href=\"icons/site.ico\">");
    nginx.WriteDoc("icons/site.ico", "<html><body><h1>Sorry</h1>We moved.</body></html>");
    Capture("/page.html");
    EXPECT_TRUE(IconFiles().empty());
    // The page named its icon: G says so, as it always did, and the button shows the default.
    EXPECT_EQ(h.Read("Page1", "01G"), "600");
}

// A picture far larger than any icon is not taken, whatever its first bytes say.
TEST_F(WebIcon, AnOversizedIconIsNotTaken) {
    nginx.WriteDoc("page.html", "<link rel=icon href=/huge.ico>");
    nginx.WriteDoc("huge.ico", kIco + std::string(lv::kMaxWebIconBytes, '\0'));
    Capture("/page.html");
    EXPECT_TRUE(IconFiles().empty());
}

TEST_F(WebIcon, AClickOnABookmarkWithoutIconFetchesIt) {
    nginx.WriteDoc("index.html",
                   "<link rel=icon href=/i.gif><meta name=description content=Theirs>");
    nginx.WriteDoc("i.gif", "GIF89a\x01\0\x01\0");
    h.Start("Count=1\r\nTab1=Page1\r\n",
            "[Page1]\r\n01N=Site\r\n01P=Mine\r\n01U=" + nginx.BaseUrl() +
                "/index.html\r\n02N=Other\r\n"
                "02U=" +
                nginx.BaseUrl() + "/index.html\r\n02G=57\r\n",
            &loop);
    h.form->ButtonClick(2);
    EXPECT_EQ(h.Read("Page1", "02G"), "57"); // has its icon: left alone
    EXPECT_TRUE(IconFiles().empty());
    h.form->ButtonClick(1);
    const std::string icon = IconDir() + lv::SiteStem(nginx.BaseUrl() + "/index.html") + ".gif";
    EXPECT_TRUE(fs::exists(icon));
    EXPECT_EQ(h.Read("Page1", "01G"), "600");
    EXPECT_EQ(h.Read("Page1", "01P"), "Mine"); // notes of its own are never replaced
    EXPECT_EQ(h.launcher.starts.size(), 2u);
}

TEST(WebIconLamp, ASiteSendingACookieLightsTheLampYellowUntilTheFetchIsOver) {
    if (!lvtest::Nginx::Available()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    lvtest::Nginx nginx;
    nginx.Start("add_header Set-Cookie \"visit=1\";");
    nginx.WriteDoc("page.html", "<title>Cookie</title>");
    struct Case {
        std::optional<bool> online;
        lv::ConnectionLamp::Image after;
    } cases[] = {
        {true, lv::ConnectionLamp::Image::LedOn},
        {false, lv::ConnectionLamp::Image::LedOff},
        // A state that cannot be read changes nothing: the lamp stays as the site lit it.
        {std::nullopt, lv::ConnectionLamp::Image::LedYellow},
    };
    for (const Case& c : cases) {
        lv::PollEventLoop loop;
        lvtest::WebHarness h;
        auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop);
        h.network.online = c.online;
        h.browser.frontPage = "\"" + nginx.BaseUrl() + "/page.html\",\"Cookie\"";
        form.AddBookmarkClick();
        EXPECT_EQ(form.State().DialUp.image, c.after);
    }
}

TEST(WebIconTls, AMovedHttpsPageNamesItsIconRelativeToWhereItEndedUp) {
    if (!lvtest::Nginx::Available()) {
        GTEST_SKIP() << "nginx is not installed";
    }
    lvtest::TempDir certDir;
    lvtest::TestCertificates certs(certDir.Path());
    const auto pair = certs.Localhost();
    const lvtest::Nginx::Tls tls{pair.certFile, pair.keyFile};
    lvtest::Nginx nginx;
    nginx.Start("location = /old { return 301 https://127.0.0.1:{tlsport}/new/page.html; }", &tls);
    nginx.WriteDoc("new/page.html", "<head><link rel=icon href=\"Pics/Site.PNG\"></head>");
    nginx.WriteDoc("new/Pics/Site.PNG", kPng);
    nginx.WriteDoc("Pics/Site.PNG", "<html>not here</html>");
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop, certs.CaFile());
    const std::string address = nginx.BaseUrl() + "/old";
    h.browser.frontPage = "\"" + address + "\",\"Moved\"";
    form.AddBookmarkClick();
    const std::string icon = lv::WebIconDirectory(h.DataFile()) + lv::SiteStem(address) + ".PNG";
    EXPECT_EQ(lvtest::ReadBytes(icon), kPng);
    EXPECT_EQ(h.Read("Page1", "01I"), icon);
}

// A server that takes the connection and never says a word.
class SilentServer {
public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof at;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
            ::listen(fd_, 8) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&at), &length) == 0) {
            port_ = ntohs(at.sin_port);
        }
    }
    ~SilentServer() { ::close(fd_); }
    int Port() const { return port_; }
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

TEST(WebIconGuard, ABookmarkErasedWhileItsPageComesGetsNoKeys) {
    // The page comes after a moment, with an icon and a description.
    SilentServer server;
    ASSERT_NE(server.Port(), 0);
    std::thread answer([&server] {
        const int peer = ::accept(server.Fd(), nullptr, nullptr);
        std::string request;
        char chunk[512];
        while (peer >= 0 && request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = ::recv(peer, chunk, sizeof chunk, 0);
            if (got <= 0) {
                break;
            }
            request.append(chunk, static_cast<std::size_t>(got));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
                                  "<link rel=icon href=/i.ico><meta name=description content=D>";
        if (peer >= 0) {
            (void)::send(peer, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(peer);
        }
    });
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    auto& form = h.Start("Count=2\r\nTab1=Page1\r\nTab2=Page2\r\n", "", &loop);
    h.browser.frontPage = "\"http://127.0.0.1:" + std::to_string(server.Port()) + "/\",\"Slow\"";
    // Meanwhile another command erases the page's bookmarks.
    loop.StartTimer(std::chrono::milliseconds(150), false, [&h] {
        lv::TIniFile32 ini(h.DataFile());
        ini.EraseSection("Page1");
    });
    form.AddBookmarkClick();
    answer.join();
    const std::string bytes = lvtest::ReadBytes(h.DataFile());
    EXPECT_EQ(bytes.find("[Page1]"), std::string::npos) << bytes;
}

TEST(WebIconGuard, AStallingServerEndsAtTheGuardAndTheWindowKeepsWorking) {
    SilentServer server;
    ASSERT_NE(server.Port(), 0);
    lv::PollEventLoop loop;
    lvtest::WebHarness h;
    auto& form = h.Start("Count=1\r\nTab1=Page1\r\n", "", &loop);
    const std::string address = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
    h.browser.frontPage = "\"" + address + "\",\"Stalls\"";
    int ticks = 0;
    const auto timer = loop.StartTimer(std::chrono::milliseconds(100), true, [&ticks] { ++ticks; });
    const auto start = std::chrono::steady_clock::now();
    form.AddBookmarkClick();
    const auto took = std::chrono::steady_clock::now() - start;
    loop.StopTimer(timer);
    EXPECT_GE(took, std::chrono::milliseconds(9900));
    EXPECT_LT(took, std::chrono::seconds(14));
    EXPECT_GT(ticks, 50); // the loop ran all along
    EXPECT_EQ(h.Read("Page1", "01U"), address);
    EXPECT_EQ(h.Read("Page1", "01G"), "<none>");
    EXPECT_EQ(h.Read("Page1", "01P"), "<none>");
}

} // namespace
